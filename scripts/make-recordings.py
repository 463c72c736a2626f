#!/usr/bin/env python3
"""Writes synthetic recordings for trying the program out: FOLDER COUNT [--odd N | --burst N] [--seed S].

Each file has a 44-byte WAV header (mono, 16-bit, 51200 Hz) and 16384 samples:
two tones in white noise. Without --odd the files are rec1.wav.., the tones
placed differently in every file, so that the spectra of a batch are easy to
tell apart. With --odd N they are unit01.wav.., recordings of one product:
the same two resonances in every file, each a little off in frequency and
level, but in unit N (none for 0) the upper resonance lies 800 Hz higher.
--seed S draws another set (by default 7 for rec*.wav, 11 for units). With
--burst N they are unit01.wav.. of a steady product: noise of 300 counts RMS
and a weak hum near 2400 Hz, but unit N also holds a click: a 5 ms burst of
6000 Hz from 200 ms on, its peak ten times the noise's RMS.
"""
import argparse
import math
import random
import struct

RATE = 51200
SAMPLES = 16384


def header():
    data = SAMPLES * 2
    return (b"RIFF" + struct.pack("<I", 36 + data) + b"WAVE" +
            b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE * 2, 2, 16) +
            b"data" + struct.pack("<I", data))


def wave_file(tones, rng, noise=2500.0, burst=None):
    """The bytes of a recording of tones ((Hz, amplitude) pairs) in noise of the given RMS, and a
    burst (start in s, length in s, Hz, amplitude) when given."""
    samples = []
    for n in range(SAMPLES):
        t = n / RATE
        x = rng.gauss(0.0, noise) + sum(a * math.sin(2 * math.pi * f * t) for f, a in tones)
        if burst and burst[0] <= t < burst[0] + burst[1]:
            x += burst[3] * math.sin(2 * math.pi * burst[2] * (t - burst[0]))
        samples.append(max(-32768, min(32767, round(x))))
    return header() + struct.pack("<%dh" % SAMPLES, *samples)


def steady_unit(click, rng):
    hum = [(2400.0 + rng.uniform(-10.0, 10.0), 300.0 * rng.uniform(0.9, 1.1))]
    return wave_file(hum, rng, noise=300.0, burst=(0.2, 0.005, 6000.0, 3000.0) if click else None)


def unit(odd, rng):
    upper = 7600.0 if odd else 6800.0
    tones = [(2400.0 + rng.uniform(-10.0, 10.0), 6000.0 * rng.uniform(0.9, 1.1)),
             (upper + rng.uniform(-10.0, 10.0), 3000.0 * rng.uniform(0.9, 1.1))]
    return wave_file(tones, rng)


def recording(index, rng):
    tones = [(1500.0 + 700.0 * index, 6000.0), (6000.0 + 400.0 * index, 2500.0)]
    return wave_file(tones, rng)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder")
    parser.add_argument("count", type=int)
    kinds = parser.add_mutually_exclusive_group()
    kinds.add_argument("--odd", type=int, help="write unit01.wav.., unit ODD unlike the others (0: none)")
    kinds.add_argument("--burst", type=int, help="write unit01.wav.. of steady noise, unit BURST with a click")
    parser.add_argument("--seed", type=int, help="draw another set of recordings")
    args = parser.parse_args()
    if args.burst is not None:
        rng = random.Random(13)
        for i in range(1, args.count + 1):
            with open(f"{args.folder}/unit{i:02d}.wav", "wb") as out:
                out.write(steady_unit(i == args.burst, rng))
        return
    if args.odd is None:
        rng = random.Random(7 if args.seed is None else args.seed)
        for i in range(args.count):
            with open(f"{args.folder}/rec{i + 1}.wav", "wb") as out:
                out.write(recording(i, rng))
        return
    rng = random.Random(11 if args.seed is None else args.seed)
    for i in range(1, args.count + 1):
        with open(f"{args.folder}/unit{i:02d}.wav", "wb") as out:
            out.write(unit(i == args.odd, rng))


if __name__ == "__main__":
    main()
