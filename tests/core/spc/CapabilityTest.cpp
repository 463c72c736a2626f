// Capability worked out by hand on four values, and the order that ranks the weakest first.

#include "core/spc/Capability.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct TCapabilityCase {
    const char* Name;
    std::vector<double> Values;
    TCapabilityLimits Limits;
    TCapability Expected;
};

class Capability : public testing::TestWithParam<TCapabilityCase> {};

TEST_P(Capability, FollowsItsDefinitions)
{
    const TCapability c = MeasureCapability(GetParam().Values, GetParam().Limits);
    const TCapability& e = GetParam().Expected;
    EXPECT_EQ(c.Count, e.Count);
    const char* names[] = {"mean", "sigma", "Ppk", "Cpk", "drift"};
    const std::optional<double> actual[] = {c.Mean, c.Sigma, c.Ppk, c.Cpk, c.Drift};
    const std::optional<double> expected[] = {e.Mean, e.Sigma, e.Ppk, e.Cpk, e.Drift};
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(actual[i].has_value(), expected[i].has_value()) << names[i];
        EXPECT_NEAR(actual[i].value_or(0), expected[i].value_or(0), 1e-12) << names[i];
    }
}

// 1, 3, 2, 4: mean 2.5; squared deviations 2.25 + 0.25 + 0.25 + 2.25 = 5, sigma sqrt(5 / 3), so
// 3 sigma = sqrt(15); moving ranges 2, 1, 2, MR-bar 5 / 3, 3 sigma short-term = 5 / 1.128; median 2.5.
const double Sigma = std::sqrt(5.0 / 3);
const double Root15 = std::sqrt(15.0);

INSTANTIATE_TEST_SUITE_P(
    Table, Capability,
    testing::Values(
        // The upper limit is the nearer: 1.5 / (3 sigma).
        TCapabilityCase{"both_limits", {1, 3, 2, 4}, {0, 4, 2}, {4, 2.5, Sigma, 1.5 / Root15, 1.5 * 1.128 / 5, 0.5}},
        TCapabilityCase{"upper_only", {1, 3, 2, 4}, {{}, 6, 3}, {4, 2.5, Sigma, 3.5 / Root15, 3.5 * 1.128 / 5, -0.5}},
        // The same values in another order: the same sigma, moving ranges 1, 1, 1.
        TCapabilityCase{
            "order_changes_cpk_only", {1, 2, 3, 4}, {0, 4, 2}, {4, 2.5, Sigma, 1.5 / Root15, 1.5 * 1.128 / 3, 0.5}},
        TCapabilityCase{"one_value", {5}, {0, 10, 4}, {1, 5, {}, {}, {}, 1}},
        TCapabilityCase{"no_spread", {2, 2, 2}, {0, 4, 2}, {3, 2, 0, {}, {}, 0}}),
    [](const testing::TestParamInfo<TCapabilityCase>& info) { return std::string(info.param.Name); });

TEST(Capability, RanksTheWeakestFirstAndEmptyIndicesLast)
{
    std::vector<std::pair<double, std::optional<double>>> lines = {{3000, 1.2}, {5000, 0.5}, {1000, {}},
                                                                   {2000, 0.5}, {1500, {}},  {4000, -0.3}};
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto& a, const auto& b) { return RanksBefore(a.second, a.first, b.second, b.first); });
    const std::vector<double> order = {4000, 2000, 5000, 3000, 1000, 1500};
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(lines[i].first, order[i]) << i;
    }
}

} // namespace
