#!/usr/bin/env bash
# Runs one of the README's "Large jobs" commands as written there, on a few
# recordings, and checks its result:
#   readme-commands.sh parallel-local|parallel-ssh|slurm|make BIN_DIR MAKE_RECORDINGS README SLURM_SCRIPT
# BIN_DIR holds tulvo-cli; MAKE_RECORDINGS FOLDER COUNT writes recordings.
set -euo pipefail
mode=$1 bin=$2 make_recordings=$3 readme=$4 slurm_script=$5
export PATH="$bin:$PATH"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir data
"$make_recordings" data 12

# The fenced block after the README's "<!-- tested: NAME -->" marker.
block() {
    awk -v marker="<!-- tested: $1 -->" '
        $0 == marker { found = 1; next }
        found && /^```/ { if (inside) exit; inside = 1; next }
        inside { print }' "$readme"
}

fail() { echo "FAILED: $*" >&2; exit 1; }

# Every recording has a whole spectrum file.
check_spectra() {
    local count=0
    for wav in data/*.wav; do
        [ "$(stat -c %s "${wav%.wav}.spm")" = 732 ] || fail "no whole spectrum file for $wav"
        count=$((count + 1))
    done
    [ "$count" = 12 ] || fail "$count recordings"
}

# The rows of the reports given: one header each, one row per recording.
check_rows() {
    local rows
    rows=$(cat "$@" | grep -c ',ok,' || true)
    [ "$rows" = 12 ] || fail "$rows report rows in $*"
}

case $mode in
parallel-local)
    command=$(block parallel-local)
    [ -n "$command" ] || fail "no command in the README"
    bash -euo pipefail -c "$command"
    check_spectra
    check_rows run.csv
    [ "$(grep -c '^File,Status' run.csv)" = 1 ] || fail "the report's header more than once"
    ;;
parallel-ssh)
    command=$(block parallel-ssh)
    [[ $command == *"-S 2/alpha,2/beta,: "* ]] || fail "the hosts are not where the test expects them"
    bash -euo pipefail -c "${command/-S 2\/alpha,2\/beta,: /-S : }"
    check_spectra
    ;;
slurm)
    command=$(block slurm)
    [ -n "$command" ] || fail "no command in the README"
    # sbatch runs the script once per array index; here bash does.
    sbatch() {
        local array=${1#--array=} script=$2
        shift 2
        for ((task = ${array%-*}; task <= ${array#*-}; ++task)); do
            SLURM_ARRAY_TASK_ID=$task SLURM_ARRAY_TASK_MIN=${array%-*} \
                SLURM_ARRAY_TASK_COUNT=$((${array#*-} - ${array%-*} + 1)) bash "$script" "$@"
        done
    }
    command=${command//scripts\/slurm-batch.sh/$slurm_script}
    eval "${command//0-31/0-2}"
    check_spectra
    [ "$(ls reports | wc -l)" = 3 ] || fail "not one report per task"
    check_rows reports/*.csv
    ;;
make)
    block make > Makefile
    make -s -j2
    check_spectra
    # A touched recording, and only it, is done again.
    sleep 0.01
    touch data/rec3.wav
    before=$(stat -c %Y.%y data/rec4.spm)
    [ "$(make -j2 -n | grep -c tulvo-cli)" = 1 ] || fail "make would redo more than the touched recording"
    make -s -j2
    [ data/rec3.spm -nt data/rec3.wav ] || [ ! data/rec3.wav -nt data/rec3.spm ] || fail "rec3 not redone"
    [ "$(stat -c %Y.%y data/rec4.spm)" = "$before" ] || fail "rec4 redone"
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac
echo "$mode: ok"
