// The figures comparing a spectrum with a reference, against values worked
// out by hand for small constructed spectra (the formulas are in
// core/qc/SpectrumComparison.h; each case's working is beside it).

#include "core/qc/SpectrumComparison.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// A band of `level` on every line but the given (line, value) pairs.
TBandValues Band(float level, std::initializer_list<std::pair<int, float>> lines = {})
{
    TBandValues band;
    band.fill(level);
    for (const auto& [line, value] : lines) {
        band[static_cast<std::size_t>(line)] = value;
    }
    return band;
}

// Sum of the 361 line frequencies: 361 * 1000 + 25 * (0 + 1 + ... + 360).
constexpr double SumOfFrequencies = 361 * 1000.0 + 25 * 64980.0;

// 10 log10(ratio): a level difference in dB.
double Db(double ratio) { return 10 * std::log10(ratio); }

struct TFiguresCase {
    const char* Name;
    TBandValues Band;
    TBandValues Reference;
    TSpectrumFigures Expected;
};

void PrintTo(const TFiguresCase& c, std::ostream* os) { *os << c.Name; }

// Equal to within 1e-9, or both NaN.
void ExpectFigure(double actual, double expected, const char* what)
{
    if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(actual)) << what << " = " << actual;
    } else {
        EXPECT_NEAR(actual, expected, 1e-9) << what;
    }
}

class Figures : public testing::TestWithParam<TFiguresCase> {};

TEST_P(Figures, MatchTheHandWorking)
{
    const TFiguresCase& c = GetParam();
    const TSpectrumFigures f = CompareBand(c.Band, BandLevels(c.Reference));
    const TSpectrumFigures& e = c.Expected;
    EXPECT_EQ(f.PeakHz, e.PeakHz);
    EXPECT_EQ(f.PeakShiftHz, e.PeakShiftHz);
    ExpectFigure(f.CentroidHz, e.CentroidHz, "centroid");
    ExpectFigure(f.Correlation, e.Correlation, "correlation");
    ExpectFigure(f.DistanceDb, e.DistanceDb, "distance");
    ExpectFigure(f.MaxDeviationDb, e.MaxDeviationDb, "max deviation");
    ExpectFigure(f.MaxDeviationHz, e.MaxDeviationHz, "max deviation at");
}

// A peak of 10 at line 100 (3500 Hz) on a level of 1: centroid
// (SumOfFrequencies + 9 * 3500) / (361 + 9).
const TBandValues Peak100 = Band(1, {{100, 10}});

INSTANTIATE_TEST_SUITE_P(
    Table, Figures,
    testing::Values(
        // Against itself: no shift, r = 1, every difference 0 (the first
        // line, 1000 Hz, is where the largest of equal deviations lies).
        TFiguresCase{
            "ItselfIsIdentical", Peak100, Peak100, {3500, 0, (SumOfFrequencies + 9 * 3500) / 370, 1, 0, 0, 1000}},
        // Twice the values: the same shape (r = 1), and every line, the floors
        // too, 10 log10 2 = 3.0103 dB up.
        TFiguresCase{"TwiceTheValues",
                     Band(2, {{100, 20}}),
                     Peak100,
                     {3500, 0, (SumOfFrequencies + 9 * 3500) / 370, 1, Db(2), Db(2), 1000}},
        // The peak one line up: a shift of 25 Hz. Deviations a = 9 (e101 -
        // 1/361), b = 9 (e100 - 1/361): sum(ab) = -81/361 and sum(a^2) =
        // 81 * 360/361, so r = -1/360. Two lines differ by 10 dB each way:
        // distance sqrt(200/361), the first of them at 3500 Hz.
        TFiguresCase{"PeakOneLineUp",
                     Band(1, {{101, 10}}),
                     Peak100,
                     {3525, 25, (SumOfFrequencies + 9 * 3525) / 370, -1.0 / 360, std::sqrt(200.0 / 361), 10, 3500}},
        // Two lines, 1 at 1000 Hz and 3 at 1100 Hz: centroid (1000 + 3 * 1100)
        // / 4 = 1075; the zero lines of both clamp to the same floor.
        TFiguresCase{
            "TwoLineCentroid", Band(0, {{0, 1}, {4, 3}}), Band(0, {{0, 1}, {4, 3}}), {1100, 0, 1075, 1, 0, 0, 1000}},
        // The same against a constant 3: the reference's peak is its first
        // line (shift 100 Hz) and its variance is 0 (no correlation). Zero
        // lines count as the floor 3e-6 against 3, -60 dB, from 1025 Hz on;
        // 1000 Hz is 10 log10(1/3) and 1100 Hz 0 dB.
        TFiguresCase{"ZeroLinesClampedToTheFloor",
                     Band(0, {{0, 1}, {4, 3}}),
                     Band(3),
                     {1100, 100, 1075, NaN, std::sqrt((359 * 3600.0 + Db(1.0 / 3) * Db(1.0 / 3)) / 361), 60, 1025}},
        // A constant spectrum: its first line is its peak, its centroid the
        // mean frequency 5500 Hz, and it has no correlation. 360 lines lie
        // 10 log10 2 up, line 100 10 log10 0.2 down.
        TFiguresCase{"ConstantSpectrum",
                     Band(2),
                     Peak100,
                     {1000, -2500, SumOfFrequencies / 361, NaN,
                      std::sqrt((360 * Db(2) * Db(2) + Db(0.2) * Db(0.2)) / 361), -Db(0.2), 3500}},
        // No positive value: no centroid, correlation or level figures.
        TFiguresCase{"AllZero", Band(0), Peak100, {1000, -2500, NaN, NaN, NaN, NaN, NaN}}),
    [](const testing::TestParamInfo<TFiguresCase>& info) { return std::string(info.param.Name); });

} // namespace
