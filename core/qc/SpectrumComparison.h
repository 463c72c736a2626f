#pragma once

#include "core/analysis/SpmFile.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// Figures that compare one spectrum with a reference spectrum, for finding
// the odd ones in a batch of spectrum files.
//
// x_i are the spectrum's 361 band values, r_i the reference's, f_i = 1000 +
// 25 i Hz, N = 361; sums run over the band in line order, in double.
//   Peak          f_p with x_p the largest value (the first of equals).
//   Peak shift    the spectrum's peak minus the reference's, in Hz.
//   Centroid      sum(f_i x_i) / sum(x_i), in Hz.
//   Correlation   Pearson's r: sum(a_i b_i) / sqrt(sum(a_i^2) sum(b_i^2)) with
//                 a_i = x_i - mean(x), b_i = r_i - mean(r); -1..1.
//   Level difference, per line, in dB:
//                 d_i = 10 log10(max(x_i, Fx) / max(r_i, Fr)), where the floor
//                 F of each spectrum is LevelFloorRatio times its largest
//                 value: lines below it (zero lines among them) count as the
//                 floor, so no difference is infinite and none exceeds about
//                 60 dB plus the spectra's level ratio. The ratio is formed
//                 in double and its decibels by PowerRatioDb
//                 (core/analysis/SpectrumLevels.h), the program's one exact
//                 logarithm, so a difference has the same bits on every system.
//   Distance      sqrt(sum(d_i^2) / N), in dB.
//   Max deviation max |d_i| (the first of equals) and the f_i where it lies.
// A figure that cannot be formed is NaN: the centroid when sum(x_i) is 0, the
// correlation when either spectrum is constant (zero variance), the level
// figures when either spectrum has no positive value. The figures depend on
// the values alone and come out the same on every run.

// A band's 361 values in double, band line 0 first.
using TBandLevels = std::array<double, SpectrumLines>;

// The floor of the level differences, as a fraction of a spectrum's largest
// value (-60 dB).
inline constexpr double LevelFloorRatio = 1e-6;

// The figures of one spectrum against a reference (see above). Frequencies in
// Hz, levels in dB; NaN where a figure cannot be formed.
struct TSpectrumFigures {
    double PeakHz = 0;
    double PeakShiftHz = 0;
    double CentroidHz = 0;
    double Correlation = 0;
    double DistanceDb = 0;
    double MaxDeviationDb = 0;
    double MaxDeviationHz = 0;
};

// A file's band values (single) as doubles.
TBandLevels BandLevels(const TBandValues& band);

// The line-by-line mean of bands (a reference made of several spectra): each
// line's values summed in the given order, then divided by their count.
// Raises std::invalid_argument when bands is empty.
TBandLevels MeanLevels(std::span<const TBandValues> bands);

// The line-by-line median of bands: each line's middle value, or the mean of
// the middle two for an even count; a few spectra far off move it little.
// Raises std::invalid_argument when bands is empty.
TBandLevels MedianLevels(std::span<const TBandValues> bands);

// The figures of band against reference.
TSpectrumFigures CompareBand(const TBandValues& band, const TBandLevels& reference);

// Limits a spectrum must keep to count as like the reference; an empty one
// does not apply.
struct TCompareThresholds {
    std::optional<double> MaxDistanceDb;  // differs when the distance is larger
    std::optional<double> MinCorrelation; // differs when the correlation is smaller
};

// True when figures keep every limit of thresholds. A figure that is NaN does
// not keep a limit set on it.
bool WithinThresholds(const TSpectrumFigures& figures, const TCompareThresholds& thresholds);

// What a batch of figures is sorted by.
enum class TCompareSort { Distance, Correlation };

// How different figures are by key, larger meaning more different: the
// distance, or minus the correlation; +infinity when that figure is NaN, so
// that a spectrum whose figure cannot be formed counts as most different.
double DifferenceRank(const TSpectrumFigures& figures, TCompareSort key);

// The positions 0..ranks.size()-1 ordered by rank from the largest down; equal
// ranks keep their given order.
std::vector<std::size_t> MostDifferentFirst(std::span<const double> ranks);
