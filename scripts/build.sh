#!/usr/bin/env bash
# Installs what is missing, then configures and builds the optimised build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -- -j"$(nproc)" --quiet
