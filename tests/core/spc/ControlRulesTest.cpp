// The rules on constructed sequences, each firing exactly its rule at its points, against limits
// 7 and 13 around a centre of 10: the zones' boundaries lie at 8, 9, 11 and 12, so 13, 12, 11, 9, 8
// and 7 lie exactly on a boundary and 10 on the centre. Every range is 1, inside its limits 0.5
// and 5, unless a row gives the ranges.

#include "core/spc/ControlRules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct TRulesCase {
    const char* Name;
    TRuleSet Rules;
    std::vector<double> Values;
    std::map<int, std::string> Signals; // point number from 1: its signals; no other point signals
    std::vector<double> Ranges = {};
    bool CentreOnly = false; // a baseline of one point: a centre without limits
};

class Rules : public testing::TestWithParam<TRulesCase> {};

TEST_P(Rules, FireExactlyAtTheirPoints)
{
    const TRulesCase& row = GetParam();
    const std::vector<double> ranges = row.Ranges.empty() ? std::vector<double>(row.Values.size(), 1) : row.Ranges;
    const TControlLimits limits = row.CentreOnly ? TControlLimits{TLimitsStatus::TooFewPoints, 10}
                                                 : TControlLimits{TLimitsStatus::Set, 10, 7, 13, 1, 0.5, 5};
    const std::vector<TSignals> signals = ChartSignals({5, row.Values, ranges}, limits, row.Rules);
    ASSERT_EQ(signals.size(), row.Values.size());
    for (std::size_t i = 0; i < signals.size(); ++i) {
        const auto expected = row.Signals.find(static_cast<int>(i) + 1);
        EXPECT_EQ(SignalsText(signals[i]), expected == row.Signals.end() ? "" : expected->second) << "point " << i + 1;
    }
}

constexpr TRuleSet We = TRuleSet::WesternElectric;
constexpr TRuleSet Nelson = TRuleSet::Nelson;

// first, then count copies of value, then last.
std::vector<double> Run(std::vector<double> first, double value, int count, const std::vector<double>& last = {})
{
    first.insert(first.end(), count, value);
    first.insert(first.end(), last.begin(), last.end());
    return first;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Rules,
    testing::Values(
        TRulesCase{"we1_beyond_a_limit", We, {10, 13.5, 6.5}, {{2, "1"}, {3, "1"}}},
        // Each is beyond two thirds, but alone on its side.
        TRulesCase{"we1_on_the_limits_is_not_beyond", We, {13, 10, 7}, {}},
        TRulesCase{"we1_and_we2_in_rule_order", We, {12.5, 13.5}, {{2, "1 2"}}},
        // Points 3-5 hold two beyond two thirds, but point 5 is not one of them.
        TRulesCase{"we2_two_of_three", We, {12.5, 10, 12.5, 12.5, 10.5}, {{3, "2"}, {4, "2"}}},
        // Two of the first two; then two of three above, but the third point is below.
        TRulesCase{"we2_third_point_on_the_other_side", We, {12.5, 12.5, 7.5}, {{2, "2"}}},
        TRulesCase{"we2_on_the_two_thirds_boundary", We, {12, 12, 12}, {}},
        // Points 3-7 hold four beyond one third, but point 7 is not one of them.
        TRulesCase{"we3_four_of_five", We, {11.5, 10, 11.5, 11.5, 11.5, 11.5, 10.5}, {{5, "3"}, {6, "3"}}},
        // 11 is not beyond one third: three of points 1-5, four of points 2-6.
        TRulesCase{"we3_on_the_one_third_boundary", We, {11, 11.5, 11, 11.5, 11.5, 11.5}, {{6, "3"}}},
        TRulesCase{"we4_run_of_ten", We, Run({}, 10.5, 10), {{8, "4"}, {9, "4"}, {10, "4"}}},
        // Point 9 on the centre ends the run of eight and starts none: eight more end at point 17.
        TRulesCase{"we4_restarts_after_the_centre", We, Run(Run({}, 10.5, 8, {10}), 10.5, 8), {{8, "4"}, {17, "4"}}},
        TRulesCase{"we4_restarts_on_the_other_side", We, Run(Run({}, 10.5, 7), 9.5, 8), {{15, "4"}}},
        // Ranges exactly on their limits are inside them.
        TRulesCase{"ranges_outside_their_limits", We, Run({}, 10, 5), {{3, "R"}, {5, "R"}}, {1, 5, 5.5, 0.5, 0.4}},
        // No limits: no zone rule and no R, but runs about the centre.
        TRulesCase{
            "a_centre_without_limits", We, Run({}, 13.5, 9), {{8, "4"}, {9, "4"}}, {9, 9, 9, 9, 9, 9, 9, 9, 9}, true},
        TRulesCase{"nelson_in_rule_order_then_r", Nelson, {12.5, 13.5}, {{2, "1 5 R"}}, {1, 6}},
        // Eight above, one on the centre, nine above; a lone 11.5 in each run keeps fifteen from
        // lying within one third.
        TRulesCase{"nelson2_restarts_after_the_centre",
                   Nelson,
                   Run(Run(Run({}, 10.5, 6, {11.5, 10.5, 10}), 10.5, 4, {11.5}), 10.5, 4),
                   {{18, "2"}}},
        TRulesCase{"nelson3_six_falling", Nelson, {10.5, 10.3, 10.1, 9.9, 9.7, 9.5}, {{6, "3"}}},
        // Points 3 and 4 are equal: the rise starts again at point 4 and has six points at point 9.
        TRulesCase{
            "nelson3_an_equal_one_ends_it", Nelson, {9.5, 9.7, 9.9, 9.9, 10.1, 10.3, 10.5, 10.7, 10.8}, {{9, "3"}}},
        // Points 7 and 8 are equal: fourteen alternate from point 8 to point 21.
        TRulesCase{"nelson4_an_equal_one_ends_it",
                   Nelson,
                   {9.5, 11.5, 9.5, 11.5, 9.5, 11.5, 9.5, 9.5,  11.5, 9.5, 11.5,
                    9.5, 11.5, 9.5, 11.5, 9.5, 11.5, 9.5, 11.5, 9.5,  11.5},
                   {{21, "4"}}},
        TRulesCase{"nelson6_four_of_five", Nelson, {11.5, 11.5, 10, 11.5, 11.5}, {{5, "6"}}},
        // Values on the one-third boundaries and on the centre lie within one third.
        TRulesCase{"nelson7_fifteen_within_one_third",
                   Nelson,
                   {10.5, 11, 9.5, 9, 10, 10.5, 10.5, 9.5, 9.5, 11, 11, 9, 9, 10.5, 10.5, 9.5},
                   {{15, "7"}, {16, "7"}}},
        TRulesCase{"nelson8_eight_beyond_one_third_on_both_sides",
                   Nelson,
                   {11.5, 8.5, 11.5, 11.5, 8.5, 8.5, 11.5, 8.5},
                   {{8, "8"}}},
        TRulesCase{"nelson8_one_on_the_boundary_breaks_it", Nelson, {11.5, 8.5, 11.5, 11, 8.5, 8.5, 11.5, 8.5}, {}}),
    [](const testing::TestParamInfo<TRulesCase>& info) { return std::string(info.param.Name); });

} // namespace
