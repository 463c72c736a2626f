#!/usr/bin/env bash
# report-in-browser.sh BIN_DIR SOURCE_DIR
# A report as a reader gets it: tulvo-cli report over a batch of 80 units (one faulty, one under a
# name full of markup) against a mask of 30 good ones; tidy finds no error in the HTML, and
# Debian's chromium, kept off the network, prints it to PDF on A4, whose text (pdftotext) holds
# the summary line, the failing unit's name, the hostile name as text, and the table's header
# again on page 2. Skipped (77) without chromium, pdftotext or tidy (scripts/setup.sh installs
# them); under CI (CI=true) their absence fails the test instead.
set -euo pipefail
bin=$1 source_dir=$2
missing=()
for tool in chromium pdftotext pdfinfo tidy; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if ((${#missing[@]})); then
  if [ "${CI:-}" = true ]; then
    echo "FAILED: ${missing[*]} not installed (scripts/setup.sh installs them)"
    exit 1
  fi
  echo "skipped: ${missing[*]} not installed (scripts/setup.sh installs them)"
  exit 77
fi
export PATH="$bin:$PATH"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAILED: $*"; exit 1; }

mkdir good batch
python3 "$source_dir/scripts/make-recordings.py" good 30 --odd 0
python3 "$source_dir/scripts/make-recordings.py" batch 80 --odd 7 --seed 12
cp batch/unit40.wav "batch/a&b <i>.wav"
tulvo-cli mask -o good.csv good/*.wav
status=0
tulvo-cli check --mask good.csv batch/*.wav > check.csv 2>/dev/null || status=$?
[ "$status" = 1 ] || fail "check exited with $status, not 1"
tulvo-cli report --mask good.csv --title "Batch <12>" -o report.html batch/*.wav 2>/dev/null || status=$?
[ "$status" = 1 ] || fail "report exited with $status, not 1 as check"
tidy -errors -q report.html || fail "tidy found errors in the report"

units=$(($(wc -l < check.csv) - 1))
differs=$(grep -c ',differs,' check.csv || true)
summary="$units units: $((units - differs)) ok, $differs differs"
failing=$(grep -m1 ',differs,' check.csv | cut -d, -f1)

# As root chromium needs --no-sandbox; the other switches keep it off the network and out of any
# profile but its own.
timeout 180 chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
  --disable-component-update --disable-sync --no-first-run --user-data-dir="$work/profile" \
  --no-pdf-header-footer --print-to-pdf="$work/report.pdf" "file://$work/report.html" >/dev/null 2>&1 ||
  fail "chromium could not print the report"
pdfinfo report.pdf | grep -q '^Page size:.*(A4)' || fail "the printed report is not A4: $(pdfinfo report.pdf | grep 'Page size')"
pages=$(pdfinfo report.pdf | sed -n 's/^Pages: *//p')
text=$(pdftotext -layout report.pdf -)
page2=$(pdftotext -layout -f 2 -l 2 report.pdf -)
grep -qF "$summary" <<<"$text" || fail "no summary line '$summary'"
grep -qF "$failing" <<<"$text" || fail "the failing unit $failing is not named"
grep -qF "batch/a&b <i>.wav" <<<"$text" || fail "the name 'batch/a&b <i>.wav' does not show as text"
grep -qF "Batch <12>" <<<"$text" || fail "the title does not show as text"
grep -q "Verdict" <<<"$page2" && grep -q "SHA-256" <<<"$page2" && grep -q "batch/unit" <<<"$page2" ||
  fail "page 2 does not repeat the table's header above its rows"
echo "the report of $units units printed on $pages A4 pages: '$summary', $failing named, the table's header on page 2"
