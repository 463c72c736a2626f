#!/usr/bin/env bash
# Captures the windowed program as a person sees it: starts it on a virtual display, drives
# its menus and file dialogs with the mouse and keyboard, and saves each window as a PNG.
#
#   scripts/capture-windows.sh [OUT_DIR]     (default: docs/images)
#
# The recordings are the six of scripts/make-recordings.py and the eight of its --burst set;
# the display, locale and pointer positions are fixed, so two runs of the same program under
# the same fonts give the same pictures. Writes window-*.png (window-context-menu.png with the
# chart's menu open, window-spectrogram.png with the view of a recording with a click,
# window-check.png the check window of tolerance masks over the units of the README's worked
# example).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$(mkdir -p "${1:-$root/docs/images}" && cd "${1:-$root/docs/images}" && pwd)"
cd "$root"
bash scripts/setup.sh --tools
bash scripts/build.sh

# A fixed folder, so that the chart titles that name the files are the same in every run.
work=/tmp/tulvo-window-pictures
rm -rf "$work"
mkdir -p "$work"
display=":$((90 + RANDOM % 9))"
cleanup() {
  [ -n "${program:-}" ] && kill "$program" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

/usr/bin/python3 scripts/make-recordings.py "$work" 6
mkdir "$work/steady"
/usr/bin/python3 scripts/make-recordings.py "$work/steady" 8 --burst 5 >/dev/null
build/release/cli/tulvo-cli batch "$work"/rec*.wav >/dev/null

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display" LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

(cd "$work" && exec "$root/build/release/app/tulvo") >/dev/null 2>&1 &
program=$!
main="$(xdotool search --sync --onlyvisible --classname tulvo | head -n 1)"
sleep 0.5

# Position of a window's top left corner as "X Y".
origin() { xdotool getwindowgeometry "$1" | awk '/Position/ { split($2, p, ","); print p[1], p[2] }'; }
# Clicks at (x, y) inside window $1.
click() {
  read -r wx wy < <(origin "$1")
  xdotool mousemove $((wx + $2)) $((wy + $3)) click 1
  sleep 0.4
}
# Moves the pointer to (x, y) inside window $1.
point() {
  read -r wx wy < <(origin "$1")
  xdotool mousemove $((wx + $2)) $((wy + $3))
  sleep 0.4
}
# Answers the open-file dialog with the given files of the work folder.
pick() {
  local dialog names=""
  dialog="$(xdotool search --sync --onlyvisible --name '^Open$' | head -n 1)"
  point "$dialog" 300 200
  for name in "$@"; do names+="\"$work/$name\" "; done
  xdotool type --delay 2 "$names"
  xdotool key Return
  sleep 0.8
}
capture() { import -window "$1" "$out/$2.png"; }
# Like capture, but from the screen, so that a menu open over the window is in the picture.
capture_screen() {
  local size
  read -r wx wy < <(origin "$1")
  size="$(xdotool getwindowgeometry "$1" | awk '/Geometry/ { print $2 }')"
  import -window root -crop "${size}+${wx}+${wy}" +repage "$out/$2.png"
}
# The menu: "Просмотр" (Сигнал, Спектрограмма, Спектр: 1, 2, 3, 6), "Обработка".
view_menu() { click "$main" 115 8; }
spectrum_menu() { view_menu; click "$main" 134 72; }
comparison() { xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }

# One spectrum, then the logarithmic axis.
spectrum_menu; click "$main" 264 72; pick rec1.spm
point "$main" 300 180
capture "$main" window-one
# The chart's context menu, opened by a right click.
xdotool click 3
sleep 0.4
capture_screen "$main" window-context-menu
xdotool key Escape
sleep 0.2
click "$main" 69 400
point "$main" 300 180
capture "$main" window-one-log

# The waveform.
view_menu; click "$main" 134 28; pick rec2.wav
point "$main" 300 180
capture "$main" window-waveform

# The spectrogram of the recording with a click, the read-out over the click at 200 ms, 6 kHz.
view_menu; click "$main" 134 50; pick steady/unit05.wav
point "$main" 384 238
capture "$main" window-spectrogram

# Two spectra: split and overlaid.
spectrum_menu; click "$main" 268 94; pick rec1.spm rec2.spm
two="$(comparison 'Два спектра')"
point "$two" 300 230
capture "$two" window-2spm
click "$two" 419 396
point "$two" 300 200
capture "$two" window-2spm-common
click "$two" 553 393

# Three spectra: split and overlaid.
spectrum_menu; click "$main" 268 116; pick rec1.spm rec2.spm rec3.spm
three="$(comparison 'Три спектра')"
point "$three" 300 200
capture "$three" window-3spm
click "$three" 418 396
capture "$three" window-3spm-common
click "$three" 552 393

# Six spectra: split and the common spectrum.
spectrum_menu; click "$main" 268 138; pick rec1.spm rec2.spm rec3.spm rec4.spm rec5.spm rec6.spm
six="$(comparison 'Спектры')"
point "$six" 150 60
capture "$six" window-6spm
click "$six" 419 396
point "$six" 300 200
capture "$six" window-6spm-common
click "$six" 552 393

# Tolerance masks, as in the README's worked example: a mask from 30 good units, then a batch of
# 20 with two faulty ones checked against it; the window opens with the worst unit selected.
mkdir "$work/good" "$work/batch"
/usr/bin/python3 scripts/make-recordings.py "$work/good" 30 --odd 0 >/dev/null
/usr/bin/python3 scripts/make-recordings.py "$work/batch" 20 --odd 7 --seed 12 >/dev/null
mask_menu() { click "$main" 185 8; }
mask_menu; click "$main" 236 29; pick $(cd "$work" && echo good/unit*.wav)
xdotool search --sync --onlyvisible --name '^Сохранить допуск$' >/dev/null
xdotool type --delay 2 "$work/good.csv"
xdotool key Return
for _ in $(seq 100); do [ -f "$work/good.csv" ] && break; sleep 0.2; done
sleep 0.5
mask_menu; click "$main" 236 50; pick good.csv
pick $(cd "$work" && echo batch/unit*.wav)
check="$(comparison 'Проверка по допуску')"
sleep 0.5
point "$check" 610 420
capture "$check" window-check
click "$check" 740 562

# The batch run, during its completion text.
click "$main" 41 8; pick rec1.wav rec2.wav rec3.wav rec4.wav rec5.wav rec6.wav
capture "$main" window-batch-done
echo "Window pictures written to $out"
