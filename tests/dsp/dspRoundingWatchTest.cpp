#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "dsp/dspRoundingWatch.h"

namespace {

using namespace dspRoundingWatch;

// A double whose 29 lowest bits (the ones rounding to single drops) are
// 2^28 + offset, i.e. offset units of its last place above a point halfway
// between two singles, near `near`.
double NearHalfway(double near, std::int64_t offset)
{
    std::uint64_t bits;
    std::memcpy(&bits, &near, sizeof bits);
    bits = (bits & ~std::uint64_t{0x1FFFFFFF}) + 0x10000000 + static_cast<std::uint64_t>(offset);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// Watches eight doubles and tells whether the watch saw trouble.
__attribute__((target("avx2,fma"))) bool SawTrouble(const double* values, int slack)
{
    TRoundingWatch w = StartWatch(slack);
    Watch(w, _mm256_loadu_pd(values));
    Watch(w, _mm256_loadu_pd(values + 4));
    return WatchSawTrouble(w, slack);
}

struct TWatchCase {
    const char* Name;
    double Value;
    int Slack;
    bool Trouble;
};

class RoundingWatchCases : public testing::TestWithParam<TWatchCase> {};

// One doubtful value among ordinary ones, in every lane, is seen.
TEST_P(RoundingWatchCases, SeesExactlyTheDoubtfulValues)
{
    if (!__builtin_cpu_supports("avx2") || !__builtin_cpu_supports("fma")) {
        GTEST_SKIP() << "no AVX2";
    }
    const TWatchCase c = GetParam();
    for (int lane = 0; lane < 8; ++lane) {
        double values[8] = {1.0, -2.5, 12345.0, 0.0, -0.0, 1e-30, 7.0, 0x1p-125};
        values[lane] = c.Value;
        EXPECT_EQ(SawTrouble(values, c.Slack), c.Trouble) << "lane " << lane;
    }
}

INSTANTIATE_TEST_SUITE_P(
    dspRoundingWatch, RoundingWatchCases,
    testing::Values(TWatchCase{"halfway", NearHalfway(1.3, 0), 1, true},
                    TWatchCase{"oneBelowHalfway", NearHalfway(-1.3, -1), 1, true},
                    TWatchCase{"oneAboveHalfway", NearHalfway(5e20, 1), 1, true},
                    TWatchCase{"twoAboveHalfwaySlack1", NearHalfway(1.3, 2), 1, false},
                    TWatchCase{"twoBelowHalfwaySlack1", NearHalfway(1.3, -2), 1, false},
                    TWatchCase{"eightBelowHalfwaySlack8", NearHalfway(0.01, -8), 8, true},
                    TWatchCase{"nineAboveHalfwaySlack8", NearHalfway(0.01, 9), 8, false},
                    TWatchCase{"single", 1.25, 1, false}, TWatchCase{"smallestNormalSingle", 0x1p-126, 1, true},
                    TWatchCase{"belowTwoToMinus125", -0x1.fffffp-126, 1, true},
                    TWatchCase{"subnormalSingleRange", 3e-42, 1, true}, TWatchCase{"tinyDouble", 1e-300, 1, true},
                    TWatchCase{"twoToMinus125", -0x1p-125, 1, false}, TWatchCase{"aboveSingleRange", 1e300, 1, false},
                    TWatchCase{"infinity", -std::numeric_limits<double>::infinity(), 1, false},
                    TWatchCase{"nan", std::numeric_limits<double>::quiet_NaN(), 1, false}),
    [](const testing::TestParamInfo<TWatchCase>& info) { return std::string(info.param.Name); });

} // namespace
