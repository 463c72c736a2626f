#!/usr/bin/env bash
# The README's conversion of a recording into the expected layout, run as written there:
# sox-conversion.sh BINDIR README. A 3000 Hz tone at 44.1 kHz, stereo, 24-bit, converted with
# the README's sox command, gives exactly 32812 bytes, probe calls it "ok", and batch finds
# its peak at 3000 Hz. Exits 77 (skipped) when sox is not installed.
set -euo pipefail
bindir=$1 readme=$2
command -v sox >/dev/null || { echo "sox is not installed (scripts/setup.sh --tools)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# The command as the README shows it, in.wav and out.wav being its names.
conversion=$(grep -m1 -o '^ *sox in\.wav .*' "$readme" | sed 's/^ *//')
[[ -n $conversion ]] || { echo "no sox command in $readme"; exit 1; }

sox -n -r 44100 -c 2 -b 24 in.wav synth 1 sine 3000 vol 0.5
eval "$conversion"
size=$(stat -c %s out.wav)
[[ $size == 32812 ]] || { echo "out.wav has $size bytes, not 32812"; exit 1; }
"$bindir/tulvo-cli" probe out.wav >probe.csv || { cat probe.csv; echo "probe: out.wav does not conform"; exit 1; }
"$bindir/tulvo-cli" batch --quiet --report report.csv out.wav
row=$(sed -n 2p report.csv)
[[ $row == out.wav,ok,3000,* ]] || { echo "report row: $row"; exit 1; }
echo "conversion: $conversion -> $size bytes, probe ok, peak at 3000 Hz"
