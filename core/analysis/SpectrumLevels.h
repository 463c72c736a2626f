#pragma once

#include "core/analysis/SpmFile.h"

#include <array>
#include <string>

// Levels of spectrum lines and recordings in dB, one definition for everything
// that learns, checks or draws them:
//   line level  L_i = 10 log10(c_i x s) dB, c_i the line's code and s the
//               file's scale; a code of 0 counts as half a code (0.5 x s), so
//               that a line below the quantisation has a finite level under
//               that of one code;
//   recording   20 log10(Rms / 32768) dBFS, Rms the figure the analysis
//               divides the filtered samples by (the square root of their sum
//               of squares over 16383): a full-scale sine in the band reads
//               -3.01 dBFS.
// The products are formed in extended and the logarithm is
// dspExactMath::Log10, so a level has the same bits on every system (under
// the exact floating-point state); the result is rounded once to double.

// The 361 line levels of a spectrum in dB, band line 0 first.
using TLineLevels = std::array<double, SpectrumLines>;

// The level in dB of a line of code code (0..32767) in a file of scale scale.
double LineLevelDb(int code, extended scale);

// LineLevelDb of every line of spectrum.
TLineLevels LineLevelsDb(const TSpectrum& spectrum);

// The level in dBFS of a recording whose filtered samples have the RMS rms
// (in sample counts, > 0).
double RecordingLevelDbfs(extended rms);

// 10 log10(ratio) in dB, ratio > 0: the level step of a power ratio.
double PowerRatioDb(extended ratio);

// value rounded to the nearest 0.001 dB (halves to even, as the program
// prints three decimals): what a mask holds and a check compares.
double RoundToMilliDb(double value);

// The fill value of a band: its smallest non-zero value below 1.0, or 1.0
// when there is none. The charts draw a zero line at half of it.
double FillValue(const TBandValues& band);

// Refuses a spectrum that cannot be a unit's: a negative code, no positive
// code, or a scale that is not a positive finite number. Raises
// EContentError naming path, what() saying which ("not a unit's spectrum:
// code -3 at 1025 Hz").
void CheckUnitSpectrum(const TSpectrum& spectrum, const std::string& path);
