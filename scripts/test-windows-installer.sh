#!/usr/bin/env bash
# Tests the Windows installer as an operator meets it, under wine on a virtual display:
#   scripts/test-windows-installer.sh SETUP_EXE LINUX_TULVO_CLI [PICTURES_DIR]
#  - a 64-bit installer (PE32+);
#  - a silent install (/S, /D= a folder with a Cyrillic name) into a new wine prefix: the files, the
#    Start menu entry, the "Apps & features" entry with version and publisher, the .spm file type
#    and "Open with Tulvo", PATH left alone;
#  - the installed tulvo-cli.exe writes the same spectrum bytes as the Linux build for a set of
#    recordings (in a folder with a Cyrillic name), and its plot the same pictures (of spectra and
#    of a recording's frames);
#  - the installed tulvo.exe starts and draws its main window;
#  - a spectrum file opened as Explorer opens it (the file type's command) shows the spectrum;
#  - the silent uninstall leaves no file, shortcut or registry key of the program, nor the
#    publisher's key.
# Pictures of the two windows go to PICTURES_DIR when given. Each check is counted; the last line
# says how many passed and failed, and the exit status is 1 when one failed.
set -euo pipefail
setup=$(realpath "$1")
linux_cli=$(realpath "$2")
pictures=${3:-}
root=$(cd "$(dirname "$0")/.." && pwd)

work=$(mktemp -d /tmp/tulvo-installer.XXXXXX)
# No wine menu builder: the Start menu entry and the file type stay inside the prefix instead of
# becoming desktop entries and MIME types of this machine.
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" LC_ALL=C.UTF-8
display=":$((60 + RANDOM % 30))"
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
check() { # name, command...
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok: $name"
  else
    failed=$((failed + 1))
    echo "FAILED: $name"
  fi
}

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
wine wineboot --init >/dev/null 2>&1
wineserver -w

# A registry value, read from `reg export` (UTF-16): `reg query` prints through the console's code
# page, which turns Cyrillic letters into "?".
reg_value() { # key, value name ("" for the default) -> the data, or nothing
  rm -f "$WINEPREFIX/drive_c/value.reg"
  wine reg export "$1" 'C:\value.reg' /y >/dev/null 2>&1 || return 0
  python3 - "$WINEPREFIX/drive_c/value.reg" "$2" <<'PYTHON'
import re, sys
name = '@' if sys.argv[2] == '' else '"%s"' % sys.argv[2]
section = open(sys.argv[1], encoding='utf-16').read().split('\n\n[')[1].replace('\\\n  ', '')
for line in section.splitlines():
    if line.startswith(name + '='):
        data = line[len(name) + 1:]  # "text", or hex(2):... for an expandable string such as Path
        print(re.sub(r'\\(.)', r'\1', data[1:-1]) if data.startswith('"') else data)
        break
PYTHON
}
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tulvo'
classes='HKLM\Software\Classes'
environment='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'
wav_type_before=$(reg_value "$classes\\.wav" "")
path_before=$(reg_value "$environment" Path)

pe32_plus() { [[ $(x86_64-w64-mingw32-objdump -f "$1") == *"file format pei-x86-64"* ]]; }
check "the installer is a 64-bit program" pe32_plus "$setup"

# No spaces in /D=: NSIS takes the rest of its command line as the folder, unquoted.
install_dir='C:\Программы\Tulvo'
unix_dir="$WINEPREFIX/drive_c/Программы/Tulvo"
wine "$setup" /S "/D=$install_dir" >/dev/null 2>&1
wineserver -w

check "the programs are installed" test -f "$unix_dir/bin/tulvo.exe" -a -f "$unix_dir/bin/tulvo-cli.exe" -a -f "$unix_dir/bin/tulvo-plot.exe"
check "the windows platform plugin is installed" test -f "$unix_dir/bin/platforms/qwindows.dll"
# Windows finds DLLs whatever their case, wine too: only the names show a DLL installed in lowercase.
check "Qt's DLLs keep their names" test -f "$unix_dir/bin/Qt6Core.dll" -a -f "$unix_dir/bin/Qt6Widgets.dll"
check "the notices are installed" test -f "$unix_dir/notices/Qt-LGPL-3.txt" -a -f "$unix_dir/notices/GCC-runtime.txt"
start_menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu"
check "the Start menu has Tulvo" test -n "$(find "$start_menu" -name 'Tulvo.lnk' 2>/dev/null)"
version=$(sed -n 's/^project(tulvo VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
check "Apps & features names the version" test "$(reg_value "$uninstall_key" DisplayVersion)" = "$version"
check "Apps & features names the publisher" test "$(reg_value "$uninstall_key" Publisher)" = "Tulvo developers"
check ".spm is a Tulvo spectrum" test "$(reg_value "$classes\\.spm" "")" = "Tulvo.Spectrum"
check "the spectrum type is named" test "$(reg_value "$classes\\Tulvo.Spectrum" "")" = "Tulvo spectrum"
command=$(reg_value "$classes\\Tulvo.Spectrum\\shell\\open\\command" "")
echo "  the file type's command: $command"
check "the file type's command runs tulvo.exe" test "$command" = "\"$install_dir\\bin\\tulvo.exe\" \"%1\""
check "recordings get Open with Tulvo" \
  test "$(reg_value "$classes\\SystemFileAssociations\\.wav\\shell\\Tulvo" "")" = "Open with Tulvo"
check "the default program of recordings is left alone" test "$(reg_value "$classes\\.wav" "")" = "$wav_type_before"
check "PATH is left alone" test "$(reg_value "$environment" Path)" = "$path_before"

# The installed tulvo-cli against the Linux build, in a folder with a Cyrillic name.
data="$WINEPREFIX/drive_c/Записи"
mkdir -p "$data" "$work/linux"
python3 "$root/scripts/make-recordings.py" "$data" 12 >/dev/null
cp "$data"/*.wav "$work/linux/"
"$linux_cli" batch -q "$work"/linux/*.wav
(cd "$data" && wine "$unix_dir/bin/tulvo-cli.exe" batch -q ./*.wav) >/dev/null 2>&1 || true
same_bytes() {
  local f
  for f in "$work"/linux/*.spm; do cmp -s "$f" "$data/$(basename "$f")" || return 1; done
}
check "the installed tulvo-cli writes the Linux build's bytes" same_bytes
# Its drawing helper with the platform plugin and the fonts it needs: the Linux build's picture.
(cd "$work/linux" && "$linux_cli" plot -o plot.png rec1.spm rec2.spm)
(cd "$data" && wine "$unix_dir/bin/tulvo-cli.exe" plot -o plot.png rec1.spm rec2.spm) >/dev/null 2>&1 || true
check "the installed tulvo-cli plot draws the Linux build's picture" cmp -s "$work/linux/plot.png" "$data/plot.png"
(cd "$work/linux" && "$linux_cli" plot --frames rec1.wav -o frames.png)
(cd "$data" && wine "$unix_dir/bin/tulvo-cli.exe" plot --frames rec1.wav -o frames.png) >/dev/null 2>&1 || true
check "the installed tulvo-cli plot --frames draws the Linux build's picture" \
  cmp -s "$work/linux/frames.png" "$data/frames.png"

# Starts a command on the display, waits for a window of tulvo.exe, saves a picture of the screen,
# and ends every program of the prefix.
shot() { # picture, command...
  local picture=$1 window
  shift
  "$@" >/dev/null 2>&1 &
  window=$(timeout 90 xdotool search --sync --onlyvisible --class 'tulvo.exe' 2>/dev/null | head -n 1) || true
  if [ -z "$window" ]; then
    wineserver -k 2>/dev/null || true
    return 1
  fi
  sleep 4
  import -window root "$picture"
  wineserver -k 2>/dev/null || true
  sleep 1
}
# A picture with more than one colour: the window drew (an undrawn one is one flat colour).
drawn() { [ "$(convert "$1" -format '%k' info: 2>/dev/null || echo 0)" -gt 8 ]; }
check "tulvo.exe starts" shot "$work/main.png" wine "$unix_dir/bin/tulvo.exe"
check "tulvo.exe draws its main window" drawn "$work/main.png"
# As a double click in Explorer: ShellExecute follows .spm's file type to its command.
check "a spectrum file opens in tulvo.exe" shot "$work/spectrum.png" wine start 'C:\Записи\rec1.spm'
# The spectrum differs from the empty main window in many pixels (the curve, the axes' labels).
differs() {
  local pixels
  pixels=$(compare -metric AE "$work/main.png" "$work/spectrum.png" null: 2>&1) || true
  [ "${pixels%% *}" -gt 2000 ] 2>/dev/null
}
check "the spectrum is drawn" differs
if [ -n "$pictures" ]; then
  mkdir -p "$pictures"
  cp "$work/main.png" "$pictures/windows-main.png" 2>/dev/null || true
  cp "$work/spectrum.png" "$pictures/windows-spectrum.png" 2>/dev/null || true
fi

# The silent uninstall (it copies itself to a temporary folder and runs from there).
wine "$unix_dir/Uninstall.exe" /S >/dev/null 2>&1
wineserver -w
check "the uninstaller removes every file" test ! -e "$unix_dir"
check "the uninstaller removes the Start menu entry" test -z "$(find "$start_menu" -iname 'Tulvo*' 2>/dev/null)"
no_key() { ! wine reg query "$1" >/dev/null 2>&1; }
for key in "$uninstall_key" "$classes\\.spm" "$classes\\Tulvo.Spectrum" \
  "$classes\\SystemFileAssociations\\.wav\\shell\\Tulvo" "$classes\\Applications\\tulvo.exe" \
  'HKLM\Software\Tulvo developers'; do
  check "the uninstaller removes $key" no_key "$key"
done

echo "installer: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
