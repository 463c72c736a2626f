#!/usr/bin/env bash
# windows-same-bytes.sh WINDOWS_CLI LINUX_BUILD SOURCE_DIR [WINDOWS_PLOT QT_PREFIX QT_DLL_DIR]
# The Windows build against the Linux build on one reference set: the recordings the tests of the
# exact analysis make, recordings that are refused, 200 recordings and 30 units of one product of
# scripts/make-recordings.py and a few of those under Cyrillic names, all in a folder with a
# Cyrillic name. tulvo-cli.exe (under wine) and the Linux tulvo-cli analyse copies of the set, learn
# masks of averages and of max-hold spectra from its units and check the set against them; every
# spectrum byte, the report, every mask byte, the check tables, the messages and the exit statuses
# must be the same, and so must the tables of the reference set's frames (show --frames) and, where
# the Windows build has its drawing helper, the picture of a recording's frames (plot --frames:
# tulvo-cli.exe and its drawing helper laid out as installed, with the offscreen platform's plugin,
# Qt's DLLs found in QT_DLL_DIR) and three reports (report: against masks, in Russian, against the
# median).
# Skipped (77) without a Linux build.
set -euo pipefail
win_cli=$1
linux_build=$2
source_dir=$3
win_plot=${4:-}
qt_prefix=${5:-}
qt_dlls=${6:-}
linux_cli=$linux_build/cli/tulvo-cli
maker=$linux_build/tests/cli/tulvo_make_recordings
if [ ! -x "$linux_cli" ] || [ ! -x "$maker" ]; then
  echo "skipped: no Linux build of tulvo-cli and tulvo_make_recordings in $linux_build"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
set_dir="$work/set"
mkdir "$set_dir"
"$maker" --reference-set "$set_dir"
python3 "$source_dir/scripts/make-recordings.py" "$set_dir" 200
python3 "$source_dir/scripts/make-recordings.py" "$set_dir" 30 --odd 17
for i in 1 2 3 4 5; do cp "$set_dir/rec$i.wav" "$set_dir/запись $i.wav"; done
folder="Записи испытаний"
mkdir -p "$work/linux/$folder" "$work/windows/$folder"
cp "$set_dir"/*.wav "$work/linux/$folder/"
cp "$set_dir"/*.wav "$work/windows/$folder/"

# One run over the whole set, then each refused recording alone, in each build's copy; the
# Windows build also by its absolute Windows path (drive letter, backslashes).
run() { # system command... -> system/out-N, err-N, status-N
  local system=$1 n=$2
  shift 2
  local status=0
  (cd "$work/$system/$folder" && "$@" >"$work/$system.out-$n" 2>"$work/$system.err-$n") || status=$?
  echo "$status" >"$work/$system.status-$n"
}
names=()
while IFS= read -r -d '' f; do names+=("$(basename "$f")"); done < <(find "$set_dir" -name '*.wav' -print0 | LC_ALL=C sort -z)
broken=()
for name in "${names[@]}"; do [[ $name == broken-* ]] && broken+=("$name"); done

start=$(date +%s.%N)
run linux all "$linux_cli" batch --keep-going --jobs 2 --report - "${names[@]}"
middle=$(date +%s.%N)
run windows all wine "$win_cli" batch --keep-going --jobs 2 --report - "${names[@]}"
end=$(date +%s.%N)
n=0
for name in "${broken[@]}"; do
  n=$((n + 1))
  run linux "$n" "$linux_cli" batch "$name"
  run windows "$n" wine "$win_cli" batch "$name"
done
# Masks learned from the units (unit 17 is unlike the others) and the whole set checked against
# them: from spectrum files, from recordings (with a level band), with every option, of max-hold
# spectra; masks and checks that fail or are refused.
good=()
for name in "${names[@]}"; do [[ $name == unit* && $name != unit17.wav ]] && good+=("$name"); done
spectra=()
for name in "${names[@]}"; do [[ $name != broken-* ]] && spectra+=("${name%.wav}.spm"); done
for system in linux windows; do
  if [ $system = linux ]; then cli=("$linux_cli"); else cli=(wine "$win_cli"); fi
  run $system mask-spm "${cli[@]}" mask -o mask-spm.csv "${good[@]/%.wav/.spm}"
  run $system mask-wav "${cli[@]}" mask --jobs 2 -o mask-wav.csv "${good[@]}"
  run $system mask-options "${cli[@]}" mask -o mask-options.csv --factor 4.5 --offset 0.25 --lower-offset 1 \
    --floor 1 --exclude 4400-4600 --exclude 9000-10000 "${good[@]:0:12}"
  run $system mask-refused "${cli[@]}" mask -o mask-refused.csv "${good[@]}" broken-silent.wav missing.spm
  run $system check-spm "${cli[@]}" check --mask mask-spm.csv "${spectra[@]}"
  run $system check-wav "${cli[@]}" check --jobs 2 --mask mask-wav.csv "${names[@]}"
  run $system check-options "${cli[@]}" check --failed-only --mask mask-options.csv "${spectra[@]}"
  run $system check-refused "${cli[@]}" check --mask unit01.wav unit01.spm
  run $system mask-max-hold "${cli[@]}" mask --max-hold --jobs 2 -o mask-max-hold.csv "${good[@]}"
  run $system check-max-hold "${cli[@]}" check --jobs 2 --mask mask-max-hold.csv "${names[@]}"
  run $system check-max-hold-refused "${cli[@]}" check --max-hold --mask mask-wav.csv unit01.wav
done

# The frames of the whole reference set, and of one recording in columns and as a picture.
exact=()
for name in "${names[@]}"; do [[ $name == exact-* ]] && exact+=("$name"); done
run linux frames-long "$linux_cli" show --frames --long "${exact[@]}"
run windows frames-long wine "$win_cli" show --frames --long "${exact[@]}"
run linux frames-wide "$linux_cli" show --frames "запись 1.wav"
run windows frames-wide wine "$win_cli" show --frames "запись 1.wav"
pictures=0
if [ -n "$win_plot" ] && [ -x "$linux_build/cli/tulvo-plot" ]; then
  pictures=1
  mkdir -p "$work/bin/platforms"
  cp "$win_cli" "$win_plot" "$work/bin/"
  ln -s "$qt_prefix/plugins/platforms/qoffscreen.dll" "$work/bin/platforms/"
  run linux frames-png "$linux_cli" plot --frames exact-burst_6000.wav -o -
  run windows frames-png env WINEPATH="Z:$qt_dlls" wine "$work/bin/$(basename "$win_cli")" \
    plot --frames exact-burst_6000.wav -o -
  # Reports: the whole set against the mask of recordings (refused recordings among the units),
  # the spectrum files in Russian with a few charts, and the good units against their median.
  for system in linux windows; do
    if [ $system = linux ]; then cli=("$linux_cli"); else
      cli=(env WINEPATH="Z:$qt_dlls" wine "$work/bin/$(basename "$win_cli")")
    fi
    run $system report-wav "${cli[@]}" report --jobs 2 --mask mask-wav.csv -o - "${names[@]}"
    run $system report-ru "${cli[@]}" report --lang ru --charts 3 --date 2025-12-08 --mask mask-spm.csv \
      -o - "${spectra[@]}"
    run $system report-median "${cli[@]}" report -o - "${good[@]}"
  done
  pictures=4
fi
absolute=$(cd "$work/windows/$folder" && winepath -w "$PWD/запись 1.wav" 2>/dev/null)
rm "$work/windows/$folder/запись 1.spm"
run windows absolute wine "$win_cli" batch "$absolute"

failures=0
fail() { echo "DIFFERS: $*"; failures=$((failures + 1)); }
for f in "$work"/linux.*; do
  other="$work/windows.${f##*/linux.}"
  cmp -s "$f" "$other" || { fail "${f##*/linux.}"; diff "$f" "$other" | head -5 || true; }
done
[ "$(cat "$work/windows.status-absolute")" = 0 ] || fail "the run by absolute Windows path: $(cat "$work/windows.err-absolute")"
compared=0
for spm in "$work/linux/$folder"/*.spm; do
  compared=$((compared + 1))
  cmp -s "$spm" "$work/windows/$folder/${spm##*/}" || fail "spectrum file ${spm##*/}"
done
[ "$compared" -gt 200 ] || fail "only $compared spectrum files written"
masks=0
for mask in "$work/linux/$folder"/mask-*.csv; do
  masks=$((masks + 1))
  cmp -s "$mask" "$work/windows/$folder/${mask##*/}" || fail "mask ${mask##*/}"
done
[ "$masks" = 4 ] || fail "$masks masks written, not 4"

[ -s "$work/linux.out-frames-long" ] || fail "show --frames wrote no table"
echo "${#names[@]} recordings (${#broken[@]} refused), $compared spectrum files and $masks masks compared" \
  "byte for byte; output, messages and statuses of $((n + 14 + pictures)) runs compared; the frames of ${#exact[@]}" \
  "recordings as tables, and $pictures pictures and reports"
awk -v a="$start" -v b="$middle" -v c="$end" 'BEGIN { printf "whole set: Linux %.1f s, Windows under wine %.1f s\n", b - a, c - b }'
if [ "$failures" -gt 0 ]; then
  echo "$failures differences"
  exit 1
fi
echo "all identical"
