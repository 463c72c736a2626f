// Capability worked out by hand on four values, and the order that ranks the weakest first.

#include "core/spc/Capability.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

using Figure = std::optional<double>;

struct TCapabilityCase {
    const char* Name;
    std::vector<double> Values;
    TCapabilityLimits Limits;
    TCapability Expected;
};

class Capability : public testing::TestWithParam<TCapabilityCase> {};

void ExpectFigure(const Figure& actual, const Figure& expected, const char* name)
{
    ASSERT_EQ(actual.has_value(), expected.has_value()) << name;
    if (expected) {
        EXPECT_NEAR(*actual, *expected, 1e-12) << name;
    }
}

TEST_P(Capability, FollowsItsDefinitions)
{
    const TCapabilityCase& row = GetParam();
    const TCapability c = MeasureCapability(row.Values, row.Limits);
    const TCapability& e = row.Expected;
    EXPECT_EQ(c.Count, e.Count);
    ExpectFigure(c.Mean, e.Mean, "mean");
    ExpectFigure(c.Sigma, e.Sigma, "sigma");
    ExpectFigure(c.Ppk, e.Ppk, "Ppk");
    ExpectFigure(c.Cpk, e.Cpk, "Cpk");
    ExpectFigure(c.Drift, e.Drift, "drift");
}

// 1, 3, 2, 4: mean 2.5; squared deviations 2.25 + 0.25 + 0.25 + 2.25 = 5, sigma sqrt(5 / 3), so
// 3 sigma = sqrt(15); moving ranges 2, 1, 2, MR-bar 5 / 3, 3 sigma short-term = 5 / 1.128; median 2.5.
const std::vector<double> Units = {1, 3, 2, 4};
const double Sigma = std::sqrt(5.0 / 3);
const double Root15 = std::sqrt(15.0);

INSTANTIATE_TEST_SUITE_P(
    Table, Capability,
    testing::Values(
        // The upper limit is nearer: 1.5 / (3 sigma).
        TCapabilityCase{"both_limits", Units, {0, 4, 2}, {4, 2.5, Sigma, 1.5 / Root15, 1.5 * 1.128 / 5, 0.5}},
        TCapabilityCase{"upper_only", Units, {{}, 6, 3}, {4, 2.5, Sigma, 3.5 / Root15, 3.5 * 1.128 / 5, -0.5}},
        TCapabilityCase{"lower_only", Units, {1.5, {}, 2}, {4, 2.5, Sigma, 1 / Root15, 1 * 1.128 / 5, 0.5}},
        // The same values in another order: the same sigma, moving ranges 1, 1, 1.
        TCapabilityCase{
            "order_changes_cpk_only", {1, 2, 3, 4}, {0, 4, 2}, {4, 2.5, Sigma, 1.5 / Root15, 1.5 * 1.128 / 3, 0.5}},
        TCapabilityCase{"one_value", {5}, {0, 10, 4}, {1, 5, {}, {}, {}, 1}},
        TCapabilityCase{"no_spread", {2, 2, 2}, {0, 4, 2}, {3, 2, 0, {}, {}, 0}},
        TCapabilityCase{"no_value", {}, {0, 4, 2}, {}}),
    [](const testing::TestParamInfo<TCapabilityCase>& info) { return std::string(info.param.Name); });

TEST(Capability, RanksTheWeakestFirstAndEmptyIndicesLast)
{
    struct TLine {
        double Hz;
        Figure Ppk;
    };
    std::vector<TLine> lines = {{3000, 1.2}, {5000, 0.5}, {1000, {}}, {2000, 0.5}, {1500, {}}, {4000, -0.3}};
    std::stable_sort(lines.begin(), lines.end(),
                     [](const TLine& a, const TLine& b) { return RanksBefore(a.Ppk, a.Hz, b.Ppk, b.Hz); });
    std::vector<double> order;
    for (const TLine& line : lines) {
        order.push_back(line.Hz);
    }
    EXPECT_EQ(order, (std::vector<double>{4000, 2000, 5000, 3000, 1000, 1500}));
}

} // namespace
