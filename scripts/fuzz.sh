#!/usr/bin/env bash
# Fuzzes the targets of tests/fuzz for a bounded time: scripts/fuzz.sh [SECONDS
# [TARGET...]] (per target, default 60; every target unless some are named). Builds the `fuzz` preset (clang 14 with libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer), then runs each target with
# a memory limit (-rss_limit_mb), a time limit per input (-timeout) and the
# total time (-max_total_time), FUZZ_PARALLEL targets at a time (default 1).
# The checked-in seed corpus (tests/fuzz/corpus/<name>/) is read, never
# written: inputs found go to build/fuzz/work/<name>/corpus, findings (crash-,
# timeout-, oom-, leak- files) to build/fuzz/work/<name>/findings. Prints the
# executions and findings of each target; exits 1 when anything was found.
# Add a finding, once fixed, to the seed corpus so that its replay in CTest
# keeps it fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
parallel=${FUZZ_PARALLEL:-1}
targets=(spm_reader analysis wav_header mask_file axis_map axis_labels number_format chart_paint command_line)
if (($# > 1)); then
  targets=("${@:2}")
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -- -j"$(nproc)" --quiet

work=build/fuzz/work
run_target() {
  local name=$1 dir=$work/$1
  rm -rf "$dir/findings"
  mkdir -p "$dir/corpus" "$dir/findings"
  QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp build/fuzz/tests/fuzz/fuzz_"$name" "$dir/corpus" "tests/fuzz/corpus/$name" \
    -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$dir/findings/" >"$dir/log" 2>&1 || true
}

running=0
for name in "${targets[@]}"; do
  run_target "$name" &
  running=$((running + 1))
  if ((running >= parallel)); then
    wait -n
    running=$((running - 1))
  fi
done
wait

total=0
printf '%-15s %14s %10s %8s %9s\n' target executions "execs/s" corpus findings
for name in "${targets[@]}"; do
  dir=$work/$name
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$dir/log" | tail -1)
  found=$(find "$dir/findings" -type f | wc -l)
  corpus=$(find "$dir/corpus" -type f | wc -l)
  printf '%-15s %14s %10s %8s %9s\n' "$name" "${executions:-?}" "${rate:-?}" "$corpus" "$found"
  if ((found > 0)); then
    find "$dir/findings" -type f | sed 's/^/    /'
  fi
  total=$((total + found))
done
echo "findings: $total"
((total == 0))
