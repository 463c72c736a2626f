#!/usr/bin/python3
"""Times two or more tulvo-cli builds on the same batch, side by side in one run.

    bench/compare_cli.py CLI [CLI ...] [--count 500] [--rounds 5] [--jobs N]

Makes COUNT recordings with scripts/make-recordings.py, then in every round,
for each build in turn (the order alternating from round to round), links the
recordings into a new folder and times `tulvo-cli batch` over them twice: the
first run, which creates every spectrum file, and the rerun, which replaces
them. Prints the medians and every round's time per build, and checks that all
builds wrote the same bytes. New folders and no deletion before the end keep
the first runs apart from the cost of recently freed inodes (see
compare_scipy.py); a rerun that replaces files by new ones frees inodes
itself, which is part of what it costs.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def time_batch(cli, paths, jobs):
    command = [cli, "batch", *paths] + (["--jobs", str(jobs)] if jobs else [])
    start = time.perf_counter()
    done = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - start
    if done.returncode != 0:
        sys.exit(f"{cli} failed: " + done.stderr.decode(errors="replace"))
    return elapsed


def link_recordings(names, source, folder):
    os.mkdir(folder)
    for name in names:
        os.link(os.path.join(source, name), os.path.join(folder, name))
    return [os.path.join(folder, name) for name in names]


def spectra(folder):
    return {name: open(os.path.join(folder, name), "rb").read()
            for name in sorted(os.listdir(folder)) if name.endswith(".spm")}


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("cli", nargs="+", help="tulvo-cli executables to compare")
    parser.add_argument("--count", type=int, default=500)
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--jobs", type=int, default=0, help="tulvo-cli --jobs (default: its own)")
    args = parser.parse_args()

    folder = tempfile.mkdtemp(prefix="tulvo-cli-compare-")
    try:
        source = os.path.join(folder, "recordings")
        os.mkdir(source)
        subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "make-recordings.py"), source,
                        str(args.count)], check=True)
        names = sorted(os.listdir(source))
        for i, cli in enumerate(args.cli):  # warm up the caches
            time_batch(cli, link_recordings(names[:10], source, os.path.join(folder, f"warm-{i}")), args.jobs)
        times = {(cli, s): [] for cli in args.cli for s in ("first run", "rerun")}
        outputs = {}
        for r in range(args.rounds):
            order = list(enumerate(args.cli))
            if r % 2:
                order.reverse()
            for i, cli in order:
                run_folder = os.path.join(folder, f"round{r}-cli{i}")
                paths = link_recordings(names, source, run_folder)
                times[(cli, "first run")].append(time_batch(cli, paths, args.jobs))
                times[(cli, "rerun")].append(time_batch(cli, paths, args.jobs))
                outputs[cli] = run_folder
        print(f"recordings: {args.count}, rounds: {args.rounds}, jobs: {args.jobs or 'default'}")
        for scenario in ("first run", "rerun"):
            print(f"{scenario}:")
            for cli in args.cli:
                runs = times[(cli, scenario)]
                print(f"  {statistics.median(runs):.3f} s  {cli}  (rounds: {', '.join(f'{t:.3f}' for t in runs)})")
        reference = spectra(outputs[args.cli[0]])
        same = all(spectra(outputs[cli]) == reference for cli in args.cli[1:])
        print(f"spectrum files: {len(reference)}, identical across builds: {'yes' if same else 'NO'}")
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
