#!/usr/bin/env bash
# What one start of tulvo-cli costs: `tulvo-cli --version` and `tulvo-cli batch`
# of one recording, 100 runs each with hyperfine, against `true` as the floor
# of starting any process. Prints the medians in milliseconds.
#   bench/cli_start.sh [TULVO_CLI]   (default: build/release/cli/tulvo-cli)
# hyperfine comes with scripts/setup.sh --tools.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cli="$(realpath "${1:-$root/build/release/cli/tulvo-cli}")"
recordings="$root/build/release/tests/cli/tulvo_make_recordings"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$recordings" "$work" 1

hyperfine --runs 100 --warmup 5 --shell=none --export-csv "$work/times.csv" \
    --command-name true true \
    --command-name version "$cli --version" \
    --command-name batch "$cli batch --quiet $work/rec0.wav" >/dev/null
# Columns: command,mean,stddev,median,user,system,min,max (seconds).
awk -F, 'NR > 1 { printf "%-8s median %7.2f ms\n", $1, $4 * 1000 }' "$work/times.csv"
