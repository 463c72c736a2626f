#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "dsp/dspBlockDivide.h"

namespace {

std::vector<single> ExtendedQuotients(const std::vector<single>& x, extended divisor)
{
    std::vector<single> q(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        q[i] = static_cast<single>(static_cast<extended>(x[i]) / divisor);
    }
    return q;
}

// Equal bit for bit; any two NaNs count as equal.
void ExpectSameBits(const std::vector<single>& actual, const std::vector<single>& expected, extended divisor)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        const bool same = std::memcmp(&actual[i], &expected[i], sizeof(single)) == 0 ||
                          (std::isnan(actual[i]) && std::isnan(expected[i]));
        EXPECT_TRUE(same) << "value " << i << ": " << actual[i] << " instead of " << expected[i] << ", divisor "
                          << divisor;
    }
}

void ExpectExtendedResults(const std::vector<single>& x, extended divisor)
{
    std::vector<single> actual = x;
    BlockDivide(actual.data(), static_cast<int>(actual.size()), divisor);
    ExpectSameBits(actual, ExtendedQuotients(x, divisor), divisor);
}

// Samples of every kind against divisors inside and outside the range the
// double path takes; lengths that leave a tail shorter than a block.
TEST(dspBlockDivide, MatchesExtendedDivision)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<single> uniform(-1, 1);
    const extended divisors[] = {1234.56789012345678L, 1.0L, 0.75L, 3.0L, 1e-30L, 7.1e5L, 0x1p-801L, 0x1p900L};
    for (const extended divisor : divisors) {
        for (const int length : {16384, 13, 3}) {
            std::vector<single> x(length);
            for (int i = 0; i < length; ++i) {
                switch (i % 4) {
                case 0: x[i] = static_cast<std::int16_t>(rng()); break;
                case 1: x[i] = uniform(rng) * 5000; break;
                case 2: x[i] = std::ldexp(uniform(rng), static_cast<int>(rng() % 260) - 130); break;
                default: {
                    const single specials[] = {0.0f,
                                               -0.0f,
                                               1e-40f,
                                               3e38f,
                                               -3e38f,
                                               std::numeric_limits<single>::infinity(),
                                               std::numeric_limits<single>::quiet_NaN(),
                                               1.0f};
                    x[i] = specials[rng() % 8];
                }
                }
            }
            ExpectExtendedResults(x, divisor);
        }
    }
}

// Divisors that put x/divisor within 2^-64 of a point halfway between two
// singles, normal or subnormal: there a quotient formed in double without the
// check would round to the wrong single about half the time. Each case is a
// block of eight with the near-tie value in a different lane.
TEST(dspBlockDivide, QuotientsNearRoundingTiesMatchExtendedDivision)
{
    std::mt19937 rng(5);
    int differing = 0;
    for (int j = 0; j < 400; ++j) {
        const bool subnormal = j % 2 != 0;
        const extended halfway = subnormal ? (static_cast<extended>(rng() % 4096) + 0.5L) * 0x1p-149L
                                           : 1.0L + (2.0L * (rng() % (1u << 22)) + 1.0L) * 0x1p-24L;
        const single x = 1.0f + static_cast<single>(rng() % (1u << 20)) * 0x1p-20f;
        const extended divisor = static_cast<extended>(x) / halfway;
        const double reciprocal = static_cast<double>(1.0L / divisor);
        if (static_cast<single>(static_cast<double>(x) * reciprocal) !=
            static_cast<single>(static_cast<extended>(x) / divisor)) {
            ++differing;
        }
        std::vector<single> block(8, 2.5f);
        block[j % 8] = x;
        ExpectExtendedResults(block, divisor);
    }
    // The cases really are ones that need the extended division.
    EXPECT_GT(differing, 10);
}

// Division by zero raises the same fault flags as the extended division; a
// usual divisor raises none.
TEST(dspBlockDivide, FaultFlagsAsExtendedDivision)
{
    const int faults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
    for (const extended divisor : {0.0L, 1234.5L, 1e-37L}) {
        for (const std::vector<single>& x :
             {std::vector<single>(8, 1.0f), std::vector<single>(9, 0.0f), std::vector<single>(8, 3e38f)}) {
            std::feclearexcept(faults);
            const std::vector<single> expected = ExtendedQuotients(x, divisor);
            const int expectedFlags = std::fetestexcept(faults);
            std::feclearexcept(faults);
            std::vector<single> actual = x;
            BlockDivide(actual.data(), static_cast<int>(actual.size()), divisor);
            EXPECT_EQ(std::fetestexcept(faults), expectedFlags) << "divisor " << divisor << ", x " << x[0];
            ExpectSameBits(actual, expected, divisor);
        }
    }
    std::feclearexcept(faults);
}

} // namespace
