#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <xmmintrin.h>

#include "dsp/TdspFFT.h"
#include "dsp/TdspIIRFilter.h"
#include "dsp/dspExactMath.h"
#include "dsp/dspFloatControl.h"

namespace {

#ifdef __GLIBC__
constexpr bool RuntimeIsGlibc = true; // where the stored values came from
#else
constexpr bool RuntimeIsGlibc = false;
#endif

bool SameBits(extended a, extended b) { return std::memcmp(&a, &b, 10) == 0; }

// A random significand, an exponent in [lo, hi] and a random sign.
extended RandomExtended(std::mt19937_64& random, int lo, int hi)
{
    const std::uint64_t bits[2] = {random() | 1ull << 63, (random() % (hi - lo + 1) + lo + 16383) | (random() & 1)
                                                                                                        << 15};
    extended x;
    std::memcpy(&x, bits, 10);
    return x;
}

// The tables are the reference: a failure on another glibc release means the runtime moved.
TEST(dspExactMath, TablesHoldTheRuntimeValuesOfGlibc)
{
    if (!RuntimeIsGlibc) {
        GTEST_SKIP() << "the tables hold glibc's values";
    }
    for (const auto& row : dspExactMath::CosSinRows()) {
        EXPECT_TRUE(SameBits(row.Cos, std::cos(row.Angle)) && SameBits(row.Sin, std::sin(row.Angle))) << row.Angle;
    }
    for (const auto& row : dspExactMath::TangentRows()) {
        EXPECT_TRUE(SameBits(row.Tan, std::tan(row.Angle))) << row.Angle;
    }
}

// A million pairs: both scaled paths, a negligible operand, near-equal ones, the
// common case. The FNV-1a digest of the results is glibc's, where every result
// is also compared with the runtime's.
TEST(dspExactMath, HypotGivesGlibcBitsEverywhere)
{
    const int lo[] = {-40, -16382, 8180, -16382};
    const int hi[] = {40, 16383, 16383, -8100};
    std::mt19937_64 random(20);
    std::uint64_t digest = 1469598103934665603u;
    int differing = 0;
    for (int i = 0; i < 1000000; ++i) {
        const extended x = RandomExtended(random, lo[i % 4], hi[i % 4]);
        const extended y =
            i % 8 == 1 ? x * (1 + RandomExtended(random, -70, -1)) : RandomExtended(random, lo[i % 4], hi[i % 4]);
        const extended h = dspExactMath::Hypot(x, y);
        for (int b = 0; b < 10; ++b) {
            digest = (digest ^ reinterpret_cast<const unsigned char*>(&h)[b]) * 1099511628211u;
        }
        differing += RuntimeIsGlibc && !SameBits(h, std::hypot(x, y)) ? 1 : 0;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(digest, 0xd8485cb1a2cab960u) << std::hex << digest;
}

// Units in the last place of b between a and b.
extended UlpsApart(extended a, extended b)
{
    if (a == b) {
        return 0;
    }
    return std::fabs(a - b) / std::ldexp(1.0L, std::ilogb(b) - 63);
}

// A million arguments over the whole exponent range, just either side of 1
// (where the result is smallest) and as the levels in dB meet them (a code
// of 1..32767 times a scale near 1e-5). The digest of the bits is the same on
// every system, and within 2 units in the last place of the runtime's log10l.
TEST(dspExactMath, Log10GivesTheSameBitsEverywhere)
{
    dspFloatControl::SetExactFloatControl();
    std::mt19937_64 random(21);
    std::uint64_t digest = 1469598103934665603u;
    extended worst = 0;
    for (int i = 0; i < 1000000; ++i) {
        extended x = std::fabs(RandomExtended(random, -16382, 16383));
        if (i % 4 == 1) {
            x = 1 + RandomExtended(random, -64, -2);
        } else if (i % 4 == 2) {
            x = static_cast<extended>(random() % 32767 + 1) * std::fabs(RandomExtended(random, -18, -16));
        }
        const extended y = dspExactMath::Log10(x);
        for (int b = 0; b < 10; ++b) {
            digest = (digest ^ reinterpret_cast<const unsigned char*>(&y)[b]) * 1099511628211u;
        }
        worst = std::max(worst, UlpsApart(y, std::log10(x)));
    }
    EXPECT_LE(worst, 2) << "units in the last place";
    EXPECT_EQ(digest, 0xc7531657152a5afu) << std::hex << digest;
    EXPECT_EQ(dspExactMath::Log10(1), 0);
    EXPECT_EQ(dspExactMath::Log10(0), -std::numeric_limits<extended>::infinity());
    EXPECT_TRUE(std::isnan(dspExactMath::Log10(-1)));
}

// The analysis' band-pass, last redesigned from 44100 Hz to 51200 Hz, and the FFT of every length.
TEST(dspExactMath, FixedAnalysisTakesEveryAngleFromTheTables)
{
    TdspIIRFilter bandPass(TdspIIRFilterProperties{fkButterworth, ftBandpass, 8, 1000.0L, 10000.0L, 44100.0L, 0.0L});
    const std::uint64_t before = dspExactMath::RuntimeFallbacks();
    bandPass.SetSampleRate(51200.0L);
    for (int power = 2; power <= 15; ++power) {
        const TdspFFT fft(TdspFFTProperties{power, 1 << power, fwParzen});
    }
    EXPECT_EQ(dspExactMath::RuntimeFallbacks(), before);
    bandPass.SetSampleRate(48000.0L);
    EXPECT_GT(dspExactMath::RuntimeFallbacks(), before);
}

TEST(dspFloatControl, SetRestoresPrecisionRoundingAndSubnormals)
{
    const std::uint16_t double53 = 0x027F;
    __asm__ __volatile__("fldcw %0" : : "m"(double53));
    std::fesetround(FE_UPWARD);
    _mm_setcsr(_mm_getcsr() | 0x8040); // flush-to-zero, denormals-are-zero
    EXPECT_FALSE(dspFloatControl::ExactFloatControlActive());
    dspFloatControl::SetExactFloatControl();
    EXPECT_TRUE(dspFloatControl::ExactFloatControlActive());
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
    volatile extended tiny = 0x1p-62L;
    EXPECT_NE(1 + tiny, 1.0L); // 64-bit significands
    volatile double subnormal = 0x1p-1070;
    EXPECT_NE(subnormal * 0.5, 0.0);
}

} // namespace
