#!/usr/bin/python3
"""Times tulvo-cli batch against the same analysis written with SciPy.

Makes N synthetic recordings (44-byte header, 16384 signed 16-bit samples at
51200 Hz: a few tones in noise), then, side by side in one run, times

  * `tulvo-cli batch` over all of them (a separate process, start-up
    included), and
  * the pipeline a user would otherwise write with NumPy and SciPy: an order 8
    Butterworth band-pass 1000..10000 Hz as second-order sections through
    sosfilt, normalised to unit RMS, 15 half-overlapping 2048-point frames
    weighted by the same triangle, the magnitudes summed, squared and
    normalised to unit power, the band 1000..10000 Hz quantised to a top code
    of 10000 and written as a 732-byte spectrum file (imports not timed),

  * the tighter loop a numerically minded user writes: the same order 8
    sosfilt with no carried state, the 15 frames cut from the filtered signal
    as one array of overlapping views, weighted in float32 and transformed by
    numpy's rfft at once, the 361 lines quantised and written,

and prints the wall times (median of the rounds) and the ratios, once for a
first run, which creates every spectrum file, and once for a rerun over the
same recordings, which replaces them (creating a file is the dearest file
operation on many file systems, so the two differ). As a check
that all did the same work it also prints the largest difference between
the codes of tulvo-cli's files and each peer's.

Every round works in new folders (the recordings hard-linked in) and nothing
is deleted until the end. An ext4 file system without a journal keeps the
inodes of files deleted in the last half minute out of use and scans past
them at every creation, so creations right after thousands of deletions
(a previous run's clean-up, for instance) cost several times more, for both
programs alike: leave half a minute between runs for figures of the first run.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

import numpy as np
from scipy import fft, signal

SAMPLE_RATE = 51200
SAMPLES = 16384
FRAME = 2048
FRAMES = 15
HEADER = 44


def make_recordings(folder, count, seed=2024):
    rng = np.random.default_rng(seed)
    t = np.arange(SAMPLES) / SAMPLE_RATE
    header = b"RIFF" + bytes(HEADER - 4)
    paths = []
    for i in range(count):
        x = rng.normal(0.0, 800.0, SAMPLES)
        for _ in range(3):
            f = rng.uniform(900.0, 11000.0)
            x += rng.uniform(500.0, 6000.0) * np.sin(2 * np.pi * f * t + rng.uniform(0, 2 * np.pi))
        samples = np.clip(np.rint(x), -32768, 32767).astype("<i2")
        path = os.path.join(folder, f"rec{i:04d}.wav")
        with open(path, "wb") as out:
            out.write(header)
            out.write(samples.tobytes())
        paths.append(path)
    return paths


class ScipyPipeline:
    def __init__(self):
        self.sos = signal.butter(8, [1000.0, 10000.0], btype="bandpass", fs=SAMPLE_RATE, output="sos")
        i = np.arange(FRAME)
        self.window = 1.0 - np.abs(2.0 * i - FRAME) / (FRAME + 1.0)
        self.starts = np.arange(FRAMES) * (FRAME // 2)

    def analyse(self, path, out_path):
        x = np.fromfile(path, dtype="<i2", count=SAMPLES, offset=HEADER).astype(np.float64)
        y = signal.sosfilt(self.sos, x)
        y /= np.sqrt(np.dot(y, y) / (SAMPLES - 1))
        frames = np.lib.stride_tricks.sliding_window_view(y, FRAME)[self.starts] * self.window
        magnitudes = np.abs(fft.rfft(frames, axis=1))[:, : FRAME // 2] * (2.0 / FRAME)
        power = magnitudes.sum(axis=0) ** 2 / (FRAME * FRAMES)
        power /= power.sum() * (SAMPLE_RATE / FRAME)
        band = power[40:401]
        scale = np.longdouble(band.max()) / np.longdouble(10000)
        codes = np.rint(band / float(scale)).astype("<i2")
        with open(out_path, "wb") as out:
            out.write(scale.tobytes()[:10])
            out.write(codes.tobytes())


class TightPipeline:
    """The shortest loop over NumPy and SciPy: no intermediate copies of the frames."""

    def __init__(self):
        self.sos = signal.butter(8, [1000.0, 10000.0], btype="bandpass", fs=SAMPLE_RATE, output="sos")
        i = np.arange(FRAME)
        self.window = (1.0 - np.abs(2.0 * i - FRAME) / (FRAME + 1.0)).astype(np.float32)

    def analyse(self, path, out_path):
        x = np.fromfile(path, dtype="<i2", count=SAMPLES, offset=HEADER)
        y = signal.sosfilt(self.sos, x).astype(np.float32)
        y *= np.float32(1.0 / np.sqrt(np.dot(y, y) / (SAMPLES - 1)))
        # 15 overlapping frames as one (15, 2048) view, hop half a frame.
        frames = np.lib.stride_tricks.as_strided(y, shape=(FRAMES, FRAME), strides=(FRAME // 2 * 4, 4))
        spectrum = np.abs(np.fft.rfft(frames * self.window, axis=1)[:, : FRAME // 2]).sum(axis=0)
        power = spectrum * spectrum
        power /= power.sum() * (SAMPLE_RATE / FRAME)
        band = power[40:401]
        scale = np.longdouble(band.max()) / np.longdouble(10000)
        codes = np.rint(band / float(scale)).astype("<i2")
        with open(out_path, "wb") as out:
            out.write(scale.tobytes()[:10])
            out.write(codes.tobytes())


def time_cli(cli, paths, jobs):
    command = [cli, "batch", *paths]
    if jobs:
        command += ["--jobs", str(jobs)]
    start = time.perf_counter()
    done = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - start
    if done.returncode != 0:
        sys.exit("tulvo-cli failed: " + done.stderr.decode(errors="replace"))
    return elapsed


def time_scipy(pipeline, paths, out_folder):
    start = time.perf_counter()
    for path in paths:
        pipeline.analyse(path, os.path.join(out_folder, os.path.basename(path)[:-4] + ".spm"))
    return time.perf_counter() - start


def time_tight(pipeline, paths):
    """The tighter loop writes each spectrum file beside its recording, as tulvo-cli does."""
    start = time.perf_counter()
    for path in paths:
        pipeline.analyse(path, path[:-4] + ".spm")
    return time.perf_counter() - start


def link_recordings(paths, folder):
    """Hard links of the recordings in a new folder: no new inodes, new names."""
    os.mkdir(folder)
    linked = []
    for path in paths:
        target = os.path.join(folder, os.path.basename(path))
        os.link(path, target)
        linked.append(target)
    return linked


def largest_code_difference(paths, their_paths):
    worst = 0
    for path, their_path in zip(paths, their_paths):
        ours = np.fromfile(path[:-4] + ".spm", dtype="<i2", offset=10)
        theirs = np.fromfile(their_path[:-4] + ".spm", dtype="<i2", offset=10)
        worst = max(worst, int(np.max(np.abs(ours.astype(int) - theirs.astype(int)))))
    return worst


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("cli", help="path of the tulvo-cli executable")
    parser.add_argument("--count", type=int, default=500, help="recordings (default 500)")
    parser.add_argument("--rounds", type=int, default=5, help="timed rounds of each (default 5)")
    parser.add_argument("--jobs", type=int, default=0, help="tulvo-cli --jobs (default: its own)")
    args = parser.parse_args()

    folder = tempfile.mkdtemp(prefix="tulvo-vs-scipy-")
    try:
        recordings = os.path.join(folder, "recordings")
        os.mkdir(recordings)
        paths = make_recordings(recordings, args.count)
        pipeline = ScipyPipeline()
        tight = TightPipeline()
        warm_up = os.path.join(folder, "warm-up")
        os.mkdir(warm_up)
        time_cli(args.cli, link_recordings(paths[:10], os.path.join(warm_up, "tulvo")), args.jobs)
        time_scipy(pipeline, paths[:10], warm_up)
        time_tight(tight, link_recordings(paths[:10], os.path.join(warm_up, "tight")))
        # Every round works in new folders (the recordings hard-linked in) and nothing is deleted
        # before the end: on a file system that keeps recently deleted inodes out of use for a
        # while, deleting the last round's spectrum files would make every later creation scan
        # past them, and the first run would measure that rather than the programs.
        programs = ("cli", "scipy", "tight")
        times = {(scenario, p): [] for scenario in ("first run", "rerun") for p in programs}
        for r in range(args.rounds):
            ours = link_recordings(paths, os.path.join(folder, f"tulvo-{r}"))
            scipy_out = os.path.join(folder, f"scipy-{r}")
            os.mkdir(scipy_out)
            tight_paths = link_recordings(paths, os.path.join(folder, f"tight-{r}"))
            for scenario in ("first run", "rerun"):
                times[(scenario, "cli")].append(time_cli(args.cli, ours, args.jobs))
                times[(scenario, "scipy")].append(time_scipy(pipeline, paths, scipy_out))
                times[(scenario, "tight")].append(time_tight(tight, tight_paths))
        print(f"recordings: {args.count}, rounds: {args.rounds}, tulvo-cli jobs: {args.jobs or 'default'}")
        names = {"cli": "tulvo-cli batch:", "scipy": "SciPy pipeline:", "tight": "tighter SciPy loop:"}
        for scenario, what in (("first run", "spectrum files created"), ("rerun", "spectrum files replaced")):
            print(f"{scenario} ({what}):")
            medians = {p: statistics.median(times[(scenario, p)]) for p in programs}
            for p in programs:
                rounds = ", ".join(f"{t:.3f}" for t in times[(scenario, p)])
                print(f"  {names[p]:<21}{medians[p]:.3f} s  (rounds: {rounds})")
            for p in ("scipy", "tight"):
                round_ratios = [c / q for c, q in zip(times[(scenario, "cli")], times[(scenario, p)])]
                print(f"  ratio tulvo/{'SciPy' if p == 'scipy' else 'tighter'}: {medians['cli'] / medians[p]:.2f} of the "
                      f"medians, {statistics.median(round_ratios):.2f} the median of the rounds' own ratios")
        scipy_paths = [os.path.join(scipy_out, os.path.basename(p)) for p in ours]
        print("largest code difference from tulvo-cli's files: "
              f"SciPy pipeline {largest_code_difference(ours, scipy_paths)}, "
              f"tighter loop {largest_code_difference(ours, tight_paths)}")
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
