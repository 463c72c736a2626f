#!/usr/bin/env bash
# A Slurm array job over a list of recordings: each task takes its share of
# the list (whole names, cut at NUL bytes) and writes the spectrum files and a
# report of its own, REPORTS/report-<task>.csv. Resubmitting the same job
# skips what is already up to date.
#
#   find /data/recordings -name '*.wav' -print0 > recordings.list
#   sbatch --array=0-31 scripts/slurm-batch.sh recordings.list reports
#
# tulvo-cli uses the processors Slurm gives the task (its affinity mask), so
# --cpus-per-task alone sets the threads.
#SBATCH --job-name=tulvo-batch
#SBATCH --cpus-per-task=4
#SBATCH --time=01:00:00
set -euo pipefail

list=${1:?usage: slurm-batch.sh LIST [REPORTS]}
reports=${2:-reports}
task=${SLURM_ARRAY_TASK_ID:?run as an array job: sbatch --array=0-N ...}
index=$((task - ${SLURM_ARRAY_TASK_MIN:-0}))
count=${SLURM_ARRAY_TASK_COUNT:-1}
mkdir -p "$reports"

split --separator='\0' --number="l/$((index + 1))/$count" "$list" |
    tulvo-cli batch --files-from - --null --keep-going --update --quiet \
        --report "$reports/report-$task.csv"
