#!/usr/bin/env bash
# Runs one of the README's "Large jobs" commands as written there, on a few
# recordings, and checks its result:
#   readme-commands.sh parallel-local|parallel-ssh|slurm|make BIN_DIR MAKE_RECORDINGS README SLURM_SCRIPT
# BIN_DIR holds tulvo-cli; MAKE_RECORDINGS FOLDER COUNT writes recordings. The slurm job runs
# on a one-node Slurm that the test starts and stops itself (root, Debian's Slurm packages).
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

# A one-node Slurm cluster of its own, as root and without systemd: munged with its own key and
# socket, slurmctld and slurmd on free ports, everything in $work/slurm. Skips the test (status 77)
# where that cannot be, except under CI, where it fails.
start_slurm() {
    local missing=() tool
    for tool in munged slurmctld slurmd sbatch sinfo; do
        PATH="$PATH:/usr/sbin" command -v "$tool" >/dev/null || missing+=("$tool")
    done
    if [ "$(id -u)" != 0 ] || ((${#missing[@]})); then
        local reason="a one-node Slurm needs root and the packages slurmctld slurmd slurm-client munge"
        if ((${#missing[@]})); then reason+=" (missing: ${missing[*]})"; else reason+=" (not root)"; fi
        if [ "${CI:-}" = true ]; then fail "$reason"; fi
        echo "skipped: $reason"
        exit 77
    fi
    export PATH="$PATH:/usr/sbin"
    slurm=$work/slurm
    mkdir -p "$slurm/state" "$slurm/spool"
    trap stop_slurm EXIT
    dd if=/dev/urandom of="$slurm/munge.key" bs=1024 count=1 status=none
    chmod 600 "$slurm/munge.key"
    munged --key-file="$slurm/munge.key" --socket="$slurm/munge.socket" --pid-file="$slurm/munged.pid" \
        --log-file="$slurm/munged.log" --seed-file="$slurm/munge.seed" --force ||
        fail "munged did not start"
    local host port
    host=$(hostname -s)
    port=$(free_port_pair)
    cat >"$slurm/slurm.conf" <<CONF
ClusterName=tulvotest
SlurmctldHost=$host(127.0.0.1)
SlurmctldPort=$port
SlurmdPort=$((port + 1))
AuthType=auth/munge
AuthInfo=socket=$slurm/munge.socket
CryptoType=crypto/munge
SlurmUser=root
SlurmdUser=root
StateSaveLocation=$slurm/state
SlurmdSpoolDir=$slurm/spool
SlurmctldPidFile=$slurm/slurmctld.pid
SlurmdPidFile=$slurm/slurmd.pid
SlurmctldLogFile=$slurm/slurmctld.log
SlurmdLogFile=$slurm/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
SchedulerType=sched/backfill
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
# The job asks for 4 processors per task, more than a small machine may have.
SlurmdParameters=config_overrides
ReturnToService=2
NodeName=$host NodeAddr=127.0.0.1 CPUs=4 State=UNKNOWN
PartitionName=tulvo Nodes=$host Default=YES MaxTime=INFINITE State=UP
CONF
    export SLURM_CONF=$slurm/slurm.conf
    slurmctld || fail "slurmctld did not start"
    slurmd || fail "slurmd did not start"
    local tries
    for ((tries = 0; tries < 60; ++tries)); do
        [ "$(sinfo --noheader --format=%T 2>/dev/null)" = idle ] && return 0
        sleep 0.5
    done
    fail "the node is not idle after 30 s: $(sinfo 2>&1)"
}

# Two free neighbouring TCP ports (nothing answers on either).
free_port_pair() {
    local port
    while :; do
        port=$((20000 + RANDOM % 20000))
        (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && continue
        (exec 3<>"/dev/tcp/127.0.0.1/$((port + 1))") 2>/dev/null && continue
        echo "$port"
        return
    done
}

# Stops the daemons start_slurm started, by their pids; shows their logs and the job's output when
# the test failed.
stop_slurm() {
    local status=$? name pid tries log
    if [ "$status" != 0 ]; then
        for log in "$slurm"/*.log "$work"/slurm-*.out; do
            [ -f "$log" ] && { echo "--- $log"; cat "$log"; }
        done
    fi
    # Tasks still running (sbatch timed out) are cancelled, so that no job step outlives slurmd.
    if [ -n "$(squeue --noheader 2>/dev/null)" ]; then
        scancel --user=root 2>/dev/null || true
        for ((tries = 0; tries < 50; ++tries)); do
            [ -z "$(squeue --noheader 2>/dev/null)" ] && break
            sleep 0.1
        done
    fi
    for name in slurmd slurmctld munged; do
        pid=$(cat "$slurm/$name.pid" 2>/dev/null) || continue
        kill "$pid" 2>/dev/null || continue
        for ((tries = 0; tries < 50; ++tries)); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
    exit "$status"
}

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
    start_slurm
    # The README's job on three tasks; --wait makes sbatch return when every task has ended, with
    # the job's exit status.
    sbatch() { timeout 180 sbatch --wait --quiet "$@"; }
    command=${command//scripts\/slurm-batch.sh/$slurm_script}
    eval "${command//0-31/0-2}" || fail "the Slurm job failed"
    check_spectra
    [ "$(ls reports | wc -l)" = 3 ] || fail "not one report per task: $(ls reports)"
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
