#!/usr/bin/env bash
# The README's worked example of mask and check, run as written there:
#   readme-mask-example.sh BIN_DIR README SOURCE_DIR
# BIN_DIR holds tulvo-cli. The commands must print the README's table byte for byte and exit with 1
# (a unit differs).
set -euo pipefail
bin=$1 readme=$2 source_dir=$3
export PATH="$bin:$PATH"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
ln -s "$source_dir/scripts" scripts

# The fenced block after the README's "<!-- tested: NAME -->" marker.
block() {
    awk -v marker="<!-- tested: $1 -->" '
        $0 == marker { found = 1; next }
        found && /^```/ { if (inside) exit; inside = 1; next }
        inside { print }' "$readme"
}

commands=$(block mask-example)
[ -n "$commands" ] || { echo "no mask example in the README"; exit 1; }
block mask-example-output > expected.csv
status=0
bash -c "$commands" > table.csv || status=$?
[ "$status" = 1 ] || { echo "exit status $status, not 1"; exit 1; }
diff expected.csv table.csv || { echo "the table differs from the README's"; exit 1; }
echo "the README's mask example: $(($(wc -l < table.csv) - 1)) rows as shown"
