#include "core/qc/SpectrumComparison.h"

#include "core/analysis/SpectrumLevels.h"
#include "core/base/Statistics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <stdexcept>

namespace {

constexpr double NotAFigure = std::numeric_limits<double>::quiet_NaN();

int PeakLine(const TBandLevels& levels)
{
    // max_element returns the first of equal largest values.
    return static_cast<int>(std::max_element(levels.begin(), levels.end()) - levels.begin());
}

double Sum(const TBandLevels& levels) { return std::accumulate(levels.begin(), levels.end(), 0.0); }

double CentroidHz(const TBandLevels& levels)
{
    double weighted = 0;
    for (int i = 0; i < SpectrumLines; ++i) {
        weighted += BandLineFrequencyHz(i) * levels[i];
    }
    const double total = Sum(levels);
    return total != 0 ? weighted / total : NotAFigure;
}

double Correlation(const TBandLevels& x, const TBandLevels& y)
{
    const double meanX = Sum(x) / SpectrumLines;
    const double meanY = Sum(y) / SpectrumLines;
    double sxy = 0;
    double sxx = 0;
    double syy = 0;
    for (int i = 0; i < SpectrumLines; ++i) {
        const double a = x[i] - meanX;
        const double b = y[i] - meanY;
        sxy += a * b;
        sxx += a * a;
        syy += b * b;
    }
    if (sxx == 0 || syy == 0) {
        return NotAFigure;
    }
    // One square root of the product: for x = y it gives back sxx exactly, so
    // a spectrum against itself has r = 1. Rounding may still carry r a hair
    // past +-1.
    return std::clamp(sxy / std::sqrt(sxx * syy), -1.0, 1.0);
}

// Distance and max deviation from the clamped level differences.
void LevelFigures(const TBandLevels& x, const TBandLevels& r, TSpectrumFigures& figures)
{
    const double maxX = *std::max_element(x.begin(), x.end());
    const double maxR = *std::max_element(r.begin(), r.end());
    if (!(maxX > 0) || !(maxR > 0)) {
        figures.DistanceDb = figures.MaxDeviationDb = figures.MaxDeviationHz = NotAFigure;
        return;
    }
    const double floorX = LevelFloorRatio * maxX;
    const double floorR = LevelFloorRatio * maxR;
    double squares = 0;
    double largest = -1;
    int largestLine = 0;
    for (int i = 0; i < SpectrumLines; ++i) {
        const double d = PowerRatioDb(std::max(x[i], floorX) / std::max(r[i], floorR));
        squares += d * d;
        if (std::fabs(d) > largest) {
            largest = std::fabs(d);
            largestLine = i;
        }
    }
    figures.DistanceDb = std::sqrt(squares / SpectrumLines);
    figures.MaxDeviationDb = largest;
    figures.MaxDeviationHz = BandLineFrequencyHz(largestLine);
}

} // namespace

TBandLevels BandLevels(const TBandValues& band)
{
    TBandLevels levels;
    std::copy(band.begin(), band.end(), levels.begin());
    return levels;
}

TBandLevels MeanLevels(std::span<const TBandValues> bands)
{
    if (bands.empty()) {
        throw std::invalid_argument("the mean of no spectra");
    }
    TBandLevels mean{};
    for (const TBandValues& band : bands) {
        for (int i = 0; i < SpectrumLines; ++i) {
            mean[i] += band[i];
        }
    }
    for (double& value : mean) {
        value /= static_cast<double>(bands.size());
    }
    return mean;
}

TBandLevels MedianLevels(std::span<const TBandValues> bands)
{
    if (bands.empty()) {
        throw std::invalid_argument("the median of no spectra");
    }
    TBandLevels median{};
    std::vector<double> values(bands.size());
    for (int i = 0; i < SpectrumLines; ++i) {
        for (std::size_t k = 0; k < bands.size(); ++k) {
            values[k] = bands[k][i];
        }
        median[i] = Median(values);
    }
    return median;
}

TSpectrumFigures CompareBand(const TBandValues& band, const TBandLevels& reference)
{
    const TBandLevels levels = BandLevels(band);
    TSpectrumFigures figures;
    figures.PeakHz = BandLineFrequencyHz(PeakLine(levels));
    figures.PeakShiftHz = figures.PeakHz - BandLineFrequencyHz(PeakLine(reference));
    figures.CentroidHz = CentroidHz(levels);
    figures.Correlation = Correlation(levels, reference);
    LevelFigures(levels, reference, figures);
    return figures;
}

bool WithinThresholds(const TSpectrumFigures& figures, const TCompareThresholds& thresholds)
{
    // Written as "keeps the limit" so that a NaN figure fails it.
    if (thresholds.MaxDistanceDb && !(figures.DistanceDb <= *thresholds.MaxDistanceDb)) {
        return false;
    }
    if (thresholds.MinCorrelation && !(figures.Correlation >= *thresholds.MinCorrelation)) {
        return false;
    }
    return true;
}

double DifferenceRank(const TSpectrumFigures& figures, TCompareSort key)
{
    const double rank = key == TCompareSort::Distance ? figures.DistanceDb : -figures.Correlation;
    return std::isnan(rank) ? std::numeric_limits<double>::infinity() : rank;
}

std::vector<std::size_t> MostDifferentFirst(std::span<const double> ranks)
{
    std::vector<std::size_t> order(ranks.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return ranks[a] > ranks[b]; });
    return order;
}
