#pragma once

#include <cstdint>

// Fixed quantities of the batch analysis. Nothing here is configurable: the
// spectrum files carry results that depend on every one of them.

// Samples read from each recording (signed 16-bit, one channel).
inline constexpr int SampleCount = 16384;
// Bytes of the recording's header, read and kept but never examined.
inline constexpr int WavHeaderSize = 44;
// Smallest recording that reads without error: header plus sample block.
inline constexpr int SampleBlockFileSize = WavHeaderSize + 2 * SampleCount;
// Sampling rate that every later stage assumes, in Hz.
inline constexpr int SampleRateHz = 51200;
// FFT length and the number of magnitude lines (25 Hz apart at 51200 Hz).
inline constexpr int FrameLength = 2048;
inline constexpr int SpectrumHalfSize = FrameLength / 2;
// Frames averaged per recording, advanced by half a frame: 15 frames cover
// samples 0..16383 exactly.
inline constexpr int AveragedFrames = 15;
// Lines of the analysis band, 1000 Hz to 10000 Hz in steps of 25 Hz: lines
// 40..400 of the magnitude spectrum.
inline constexpr int SpectrumLines = 361;
inline constexpr int FirstBandLine = 40;
inline constexpr int BandStartHz = 1000;
inline constexpr int BandStepHz = 25;
// Code of the largest line of a written spectrum file.
inline constexpr std::int16_t TopCode = 10000;
// Recordings the windowed batch accepts in one run.
inline constexpr int MaxBatchFiles = 500;

// Frequency in Hz of band line i (0..360).
constexpr int BandLineFrequencyHz(int line) { return BandStartHz + BandStepHz * line; }

static_assert(AveragedFrames * (FrameLength / 2) + FrameLength / 2 == SampleCount);
static_assert(FirstBandLine + SpectrumLines <= SpectrumHalfSize);
