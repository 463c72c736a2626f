// Limits from baselines worked out by hand with the textbook formulas, and the false alarms of
// the four Western Electric rules on stable lines against the textbook's average run length.

#include "core/spc/ControlChart.h"
#include "core/base/Statistics.h"
#include "core/spc/ControlRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <limits>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

struct TLimitsCase {
    const char* Name;
    int SubgroupSize;
    std::vector<double> Values;
    TPointRange Baseline;
    std::size_t LeftOut;
    TControlLimits Expected;
};

class Limits : public testing::TestWithParam<TLimitsCase> {};

TEST_P(Limits, FollowTheTextbookFormulas)
{
    const TLimitsCase& row = GetParam();
    const TChartPoints points = ChartPoints(row.Values, row.SubgroupSize);
    const TControlLimits limits = BaselineLimits(points, row.Baseline);
    const TControlLimits& e = row.Expected;

    EXPECT_EQ(points.LeftOut, row.LeftOut);
    EXPECT_EQ(points.Values.size(), (row.Values.size() - row.LeftOut) / static_cast<std::size_t>(row.SubgroupSize));
    ASSERT_EQ(limits.Status, e.Status);
    ASSERT_TRUE(limits.Centre);
    EXPECT_NEAR(*limits.Centre, *e.Centre, 1e-12);
    EXPECT_NEAR(limits.Lower, e.Lower, 1e-12);
    EXPECT_NEAR(limits.Upper, e.Upper, 1e-12);
    EXPECT_NEAR(limits.MeanRange, e.MeanRange, 1e-12);
    EXPECT_NEAR(limits.RangeLower, e.RangeLower, 1e-12);
    EXPECT_NEAR(limits.RangeUpper, e.RangeUpper, 1e-12);
}

// count values from start in steps of step.
std::vector<double> Ramp(double start, double step, int count)
{
    std::vector<double> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(start + step * i);
    }
    return values;
}

std::vector<double> Join(std::vector<double> first, const std::vector<double>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

constexpr TLimitsStatus Set = TLimitsStatus::Set;

INSTANTIATE_TEST_SUITE_P(
    Table, Limits,
    testing::Values(
        // Individuals, the baseline points 2-6: mean 61 / 5 = 12.2; moving ranges 2, 1, 4, 2 (not the
        // 30 into the baseline), MR-bar 2.25; 12.2 -/+ 2.66 * 2.25 = 5.985; 3.267 * 2.25 = 7.35075.
        TLimitsCase{"n1", 1, {40, 10, 12, 11, 15, 13, 99}, {1, 5}, 0, {Set, 12.2, 6.215, 18.185, 2.25, 0, 7.35075}},
        // Pairs: means 11, 13, 13, 10.5, centre 47.5 / 4 = 11.875; ranges 2, 4, 0, 3, R-bar 2.25;
        // A2 = 1.880: -/+ 4.23; D3 = 0, D4 = 3.267: 7.35075. The odd last value is left out.
        TLimitsCase{
            "n2", 2, {10, 12, 11, 15, 13, 13, 9, 12, 30}, {0, 4}, 1, {Set, 11.875, 7.645, 16.105, 2.25, 0, 7.35075}},
        // Fives, the first two points: means 3 and 6, centre 4.5; ranges 4 and 8, R-bar 6; A2 = 0.577:
        // -/+ 3.462; D3 = 0, D4 = 2.114: 12.684. Three values left out.
        TLimitsCase{"n5",
                    5,
                    Join(Join(Ramp(1, 1, 5), Ramp(2, 2, 5)), Join(Ramp(3, 1, 5), {50, 50, 50})),
                    {0, 2},
                    3,
                    {Set, 4.5, 1.038, 7.962, 6, 0, 12.684}},
        // 0..24 and 0, 2, .., 48: means 12 and 24, centre 18; ranges 24 and 48, R-bar 36; A2 = 0.153:
        // -/+ 5.508; D3 = 0.459: 16.524, D4 = 1.541: 55.476.
        TLimitsCase{
            "n25", 25, Join(Ramp(0, 1, 25), Ramp(0, 2, 25)), {0, 2}, 0, {Set, 18, 12.492, 23.508, 36, 16.524, 55.476}},
        // One point (mean 6): its centre, no limits.
        TLimitsCase{"one_point", 5, Join(Ramp(1, 1, 5), Ramp(2, 2, 5)), {1, 1}, 0, {TLimitsStatus::TooFewPoints, 6}},
        // Moving ranges 0, 0 within the baseline (the 1 after it does not count).
        TLimitsCase{"no_spread", 1, {7, 7, 7, 8}, {0, 3}, 0, {TLimitsStatus::NoSpread, 7}}),
    [](const testing::TestParamInfo<TLimitsCase>& info) { return std::string(info.param.Name); });

TEST(Limits, RefuseSubgroupsAndBaselinesOutOfRange)
{
    const std::vector<double> values(10, 1.0);
    EXPECT_THROW(ChartPoints(values, 0), std::invalid_argument);
    EXPECT_THROW(ChartPoints(values, 26), std::invalid_argument);
    EXPECT_THROW(ChartPoints(std::vector<double>{1, std::numeric_limits<double>::quiet_NaN()}, 1),
                 std::invalid_argument);
    EXPECT_THROW(BaselineLimits(ChartPoints(values, 5), {1, 2}), std::out_of_range);
}

// Stable lines of normal values (mean 0, sigma 1) against the known limits -/+ 3 / sqrt(N) of their
// points: the units up to the first point where a Western Electric rule fires. With known limits
// the textbook's average run length of the four rules together is 91.75 points (Champ and Woodall,
// Technometrics 29, 1987), 91.75 N units; the median is shorter, the run lengths being skewed.
TEST(FalseAlarms, AreAsRareAsTheTextbookSays)
{
    constexpr int Lines = 2000;
    constexpr int ChunkPoints = 200;
    std::mt19937_64 generator(38);
    std::normal_distribution<double> normal;
    for (const int n : {1, 5}) {
        TControlLimits limits;
        limits.Status = TLimitsStatus::Set;
        limits.Centre = 0;
        limits.Lower = -3 / std::sqrt(n);
        limits.Upper = 3 / std::sqrt(n);
        limits.RangeUpper = std::numeric_limits<double>::infinity();
        std::vector<double> units;
        std::vector<double> values;
        for (int line = 0; line < Lines; ++line) {
            values.clear();
            std::size_t first = 0;
            for (bool found = false; !found;) {
                for (int i = 0; i < ChunkPoints * n; ++i) {
                    values.push_back(normal(generator));
                }
                const std::vector<TSignals> signals =
                    ChartSignals(ChartPoints(values, n), limits, TRuleSet::WesternElectric);
                while (first < signals.size() && signals[first] == 0) {
                    ++first;
                }
                found = first < signals.size();
            }
            units.push_back(static_cast<double>((first + 1) * static_cast<std::size_t>(n)));
        }
        double sum = 0;
        for (const double count : units) {
            sum += count;
        }
        const double mean = sum / Lines;
        const double median = Median(units);
        std::cout << "subgroups of " << n << ": " << Lines << " lines, units before the first false signal: mean "
                  << mean << ", median " << median << "; textbook mean 91.75 x " << n << " = " << 91.75 * n << "\n";
        EXPECT_NEAR(mean / (91.75 * n), 1, 0.1) << "subgroups of " << n;
    }
}

} // namespace
