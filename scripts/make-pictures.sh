#!/usr/bin/env bash
# Makes the README's spectrum pictures: writes six sample recordings, turns them
# into spectrum files with tulvo-cli batch and draws them with tulvo-cli plot
# into docs/images/; then 24 recordings of one product, one of them unlike the
# others, which tulvo-cli compare finds first and plot --heatmap shows; then
# recordings of a steady product, one with a click, whose frames plot --frames shows; last the
# report of the README's worked example of mask and check, as chromium shows it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/setup.sh --tools
bash scripts/build.sh
cli="$root/build/release/cli/tulvo-cli"
images="$root/docs/images"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$images"

cd "$work"
python3 "$root/scripts/make-recordings.py" . 6
"$cli" batch rec*.wav
"$cli" plot rec1.spm -o "$images/one-linear.png"
"$cli" plot rec1.spm --log -o "$images/one-log.png"
"$cli" plot rec1.spm rec2.spm rec3.spm -o "$images/three-stacked.png"
"$cli" plot rec*.spm --overlay --size 630x420 -o "$images/six-overlaid.png"
# The table goes to a file first: head closing the pipe early would end show
# with SIGPIPE, which pipefail counts as a failure.
"$cli" show rec1.spm rec2.spm > table.csv
head -4 table.csv

mkdir units
python3 "$root/scripts/make-recordings.py" units 24 --odd 17
"$cli" batch --quiet units/*.wav
golden=(--reference units/unit01.spm --reference units/unit02.spm --reference units/unit03.spm)
# Exit status 1: a unit differs, as it should.
status=0
"$cli" compare "${golden[@]}" units/*.spm --sort distance --max-distance 3 > compare.csv || status=$?
[ "$status" = 1 ] || { echo "compare gave exit status $status, not 1" >&2; exit 1; }
head -4 compare.csv
"$cli" plot --heatmap --log units/*.spm -o "$images/heatmap-log.png"
"$cli" plot --heatmap --log units/*.spm --sort distance "${golden[@]}" -o "$images/heatmap-sorted.png"

mkdir steady
python3 "$root/scripts/make-recordings.py" steady 8 --burst 5
"$cli" plot --frames steady/unit05.wav -o "$images/frames-burst.png"

mkdir good batch
python3 "$root/scripts/make-recordings.py" good 30 --odd 0
python3 "$root/scripts/make-recordings.py" batch 20 --odd 7 --seed 12
"$cli" mask -o good.csv good/*.wav
status=0
"$cli" report --mask good.csv -o report.html batch/*.wav || status=$?
[ "$status" = 1 ] || { echo "report gave exit status $status, not 1" >&2; exit 1; }
chromium --headless --no-sandbox --disable-gpu --disable-background-networking --disable-component-update \
  --disable-sync --no-first-run --user-data-dir="$work/profile" --hide-scrollbars --window-size=820,1335 \
  --screenshot="$images/report.png" "file://$work/report.html" 2>/dev/null
echo "Pictures written to $images"
