#!/usr/bin/env python3
"""Writes synthetic recordings for trying the program out: FOLDER COUNT.

Each file has a 44-byte WAV header (mono, 16-bit, 51200 Hz) and 16384 samples:
two tones in white noise, the tones placed differently in every file, so that
the spectra of a batch are easy to tell apart.
"""
import math
import random
import struct
import sys

RATE = 51200
SAMPLES = 16384


def header():
    data = SAMPLES * 2
    return (b"RIFF" + struct.pack("<I", 36 + data) + b"WAVE" +
            b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE * 2, 2, 16) +
            b"data" + struct.pack("<I", data))


def recording(index, rng):
    tones = [(1500.0 + 700.0 * index, 6000.0), (6000.0 + 400.0 * index, 2500.0)]
    samples = []
    for n in range(SAMPLES):
        t = n / RATE
        x = rng.gauss(0.0, 2500.0) + sum(a * math.sin(2 * math.pi * f * t) for f, a in tones)
        samples.append(max(-32768, min(32767, round(x))))
    return header() + struct.pack("<%dh" % SAMPLES, *samples)


def main():
    folder, count = sys.argv[1], int(sys.argv[2])
    rng = random.Random(7)
    for i in range(count):
        with open(f"{folder}/rec{i + 1}.wav", "wb") as out:
            out.write(recording(i, rng))


if __name__ == "__main__":
    main()
