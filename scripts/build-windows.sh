#!/usr/bin/env bash
# Cross-builds the Windows programs on Debian with MinGW-w64 into build/windows/.
#   --cli-only   tulvo-cli.exe and the Qt-free test programs (dsp, core, cli), run by CTest under
#                wine (ctest --preset windows-cli).
#   (no option)  also the windowed program, against the Qt for Windows that
#                scripts/build-qt-windows.sh cross-builds: not there yet.
# Installs what it needs (scripts/setup.sh --windows) and makes the wine prefix the tests run in
# (build/windows/wine-prefix) once, so that the first test does not pay for it.
set -euo pipefail
cd "$(dirname "$0")/.."

cli_only=false
for option in "$@"; do
  case "$option" in
    --cli-only) cli_only=true ;;
    *) echo "build-windows.sh: unknown option $option (known: --cli-only)" >&2; exit 2 ;;
  esac
done

bash scripts/setup.sh --windows

if ! $cli_only; then
  # The windowed program: configure against "$(bash scripts/build-qt-windows.sh --print-prefix)" with
  # TULVO_WITH_QT=ON once the Windows build of the windows is in place.
  echo "build-windows.sh: the windowed program for Windows is not built yet; building tulvo-cli.exe only" >&2
fi

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-D CMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake --preset windows-cli "${launcher[@]}" >/dev/null
cmake --build --preset windows-cli -- -j"$(nproc)" --quiet

prefix="$PWD/build/windows/wine-prefix"
if [ ! -f "$prefix/system.reg" ]; then
  echo "Making the wine prefix $prefix (once)"
  WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wineboot --init >/dev/null 2>&1
  WINEPREFIX="$prefix" wineserver --wait
fi
echo "build/windows/cli/tulvo-cli.exe: $(stat -c %s build/windows/cli/tulvo-cli.exe) bytes"
