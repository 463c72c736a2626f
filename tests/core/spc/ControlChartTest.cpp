// Limits from baselines, worked out by hand with the textbook formulas.

#include "core/spc/ControlChart.h"

#include <gtest/gtest.h>

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
    const TControlLimits l = BaselineLimits(points, row.Baseline);
    const TControlLimits& e = row.Expected;
    EXPECT_EQ(points.LeftOut, row.LeftOut);
    EXPECT_EQ(points.Values.size() * static_cast<std::size_t>(row.SubgroupSize) + row.LeftOut, row.Values.size());
    ASSERT_EQ(l.Status, e.Status);
    const std::vector<double> actual = {l.Centre.value_or(-1), l.Lower,      l.Upper,
                                        l.MeanRange,           l.RangeLower, l.RangeUpper};
    const std::vector<double> expected = {*e.Centre, e.Lower, e.Upper, e.MeanRange, e.RangeLower, e.RangeUpper};
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-12) << "centre, limits, mean range, range limits: " << i;
    }
}

// count values from start in steps of step, after first.
std::vector<double> Ramp(std::vector<double> first, double start, double step, int count)
{
    for (int i = 0; i < count; ++i) {
        first.push_back(start + step * i);
    }
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
        // Fives 1..5, 2..10 by 2 (the baseline), 3..7 and three left out: means 3 and 6, centre 4.5;
        // ranges 4 and 8, R-bar 6; A2 = 0.577: -/+ 3.462; D3 = 0, D4 = 2.114: 12.684.
        TLimitsCase{"n5",
                    5,
                    Ramp(Ramp(Ramp({}, 1, 1, 5), 2, 2, 5), 3, 1, 8),
                    {0, 2},
                    3,
                    {Set, 4.5, 1.038, 7.962, 6, 0, 12.684}},
        // 0..24 and 0..48 by 2: means 12 and 24, centre 18; ranges 24 and 48, R-bar 36; A2 = 0.153:
        // -/+ 5.508; D3 = 0.459: 16.524, D4 = 1.541: 55.476.
        TLimitsCase{
            "n25", 25, Ramp(Ramp({}, 0, 1, 25), 0, 2, 25), {0, 2}, 0, {Set, 18, 12.492, 23.508, 36, 16.524, 55.476}},
        // One point (mean 6): its centre, no limits.
        TLimitsCase{"one_point", 5, Ramp(Ramp({}, 1, 1, 5), 2, 2, 5), {1, 1}, 0, {TLimitsStatus::TooFewPoints, 6}},
        // Moving ranges 0, 0 within the baseline (the 1 after it does not count).
        TLimitsCase{"no_spread", 1, {7, 7, 7, 8}, {0, 3}, 0, {TLimitsStatus::NoSpread, 7}}),
    [](const testing::TestParamInfo<TLimitsCase>& info) { return std::string(info.param.Name); });

} // namespace
