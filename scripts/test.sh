#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (widget tests on the
# offscreen platform, so no display is needed).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
ctest --preset release -j"$(nproc)"
