#!/usr/bin/env bash
# Builds tulvo-cli (optimised) and times it against two SciPy pipelines over
# 500 synthetic recordings: bench/compare_scipy.sh [BUILD_DIR] [-- options of
# compare_scipy.py, e.g. --count 200 --rounds 5 --jobs 1].
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/release}"
shift || true
[ "${1:-}" = "--" ] && shift
bash "$root/scripts/setup.sh" --tools
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target tulvo-cli -- -j2 --quiet
exec /usr/bin/python3 "$root/bench/compare_scipy.py" "$build/cli/tulvo-cli" "$@"
