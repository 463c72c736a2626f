#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <xmmintrin.h>

#include "dsp/TdspFFT.h"
#include "dsp/TdspIIRFilter.h"
#include "dsp/dspExactMath.h"
#include "dsp/dspFloatControl.h"

namespace {

// The stored values came from glibc; other runtimes differ in the last bits.
#ifdef __GLIBC__
constexpr bool RuntimeIsGlibc = true;
#else
constexpr bool RuntimeIsGlibc = false;
#endif

bool SameBits(extended a, extended b) { return std::memcmp(&a, &b, 10) == 0; }

// An extended value with a random significand, an exponent in [lo, hi] and a random sign.
extended RandomExtended(std::mt19937_64& random, int lo, int hi)
{
    const std::uint64_t significand = random() | 0x8000000000000000u;
    const auto exponent = static_cast<std::uint16_t>(lo + static_cast<int>(random() % (hi - lo + 1)) + 16383);
    const auto signExponent = static_cast<std::uint16_t>(exponent | ((random() & 1) != 0 ? 0x8000 : 0));
    unsigned char bytes[sizeof(extended)] = {};
    std::memcpy(bytes, &significand, 8);
    std::memcpy(bytes + 8, &signExponent, 2);
    extended x;
    std::memcpy(&x, bytes, sizeof x);
    return x;
}

TEST(dspExactMath, TablesHoldTheRuntimeValuesOfGlibc)
{
    if (!RuntimeIsGlibc) {
        GTEST_SKIP() << "the tables hold glibc's values";
    }
    for (const auto& row : dspExactMath::CosSinRows()) {
        EXPECT_TRUE(SameBits(row.Cos, std::cos(row.Angle))) << std::hexfloat << row.Angle;
        EXPECT_TRUE(SameBits(row.Sin, std::sin(row.Angle))) << std::hexfloat << row.Angle;
    }
    for (const auto& row : dspExactMath::TangentRows()) {
        EXPECT_TRUE(SameBits(row.Tan, std::tan(row.Angle))) << std::hexfloat << row.Angle;
    }
}

// One million pairs over the whole range (both scaled paths, the negligible
// operand, the common case). Their results' FNV-1a digest is glibc's, where
// the test also compares every result with the runtime's hypotl.
TEST(dspExactMath, HypotGivesGlibcBitsEverywhere)
{
    std::mt19937_64 random(20);
    std::uint64_t digest = 1469598103934665603u;
    int differing = 0;
    for (int i = 0; i < 1000000; ++i) {
        const int lo[] = {-40, -16382, 8180, -16382};
        const int hi[] = {40, 16383, 16383, -8100};
        const extended x = RandomExtended(random, lo[i % 4], hi[i % 4]);
        const extended y =
            i % 8 == 1 ? x * (1 + RandomExtended(random, -70, -1)) : RandomExtended(random, lo[i % 4], hi[i % 4]);
        const extended h = dspExactMath::Hypot(x, y);
        unsigned char bytes[10];
        std::memcpy(bytes, &h, 10);
        for (const unsigned char b : bytes) {
            digest = (digest ^ b) * 1099511628211u;
        }
        differing += RuntimeIsGlibc && !SameBits(h, std::hypot(x, y)) ? 1 : 0;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(digest, 0xd8485cb1a2cab960u) << std::hex << digest;
}

// Builds the band-pass of the analysis with a last redesign from
// 44100 Hz to 51200 Hz, and the FFT of every length.
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
    const unsigned int sse = _mm_getcsr();
    std::uint16_t x87 = 0;
    __asm__ __volatile__("fnstcw %0" : "=m"(x87));
    const auto double53 = static_cast<std::uint16_t>((x87 & ~0x0300) | 0x0200);
    __asm__ __volatile__("fldcw %0" : : "m"(double53));
    std::fesetround(FE_UPWARD);
    _mm_setcsr(_mm_getcsr() | 0x8040);
    EXPECT_FALSE(dspFloatControl::ExactFloatControlActive());

    dspFloatControl::SetExactFloatControl();
    EXPECT_TRUE(dspFloatControl::ExactFloatControlActive());
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
    volatile extended one = 1;
    volatile extended tiny = 0x1p-62L;
    EXPECT_NE(one + tiny, one); // 64-bit significand
    volatile double small = 0x1p-1070;
    EXPECT_NE(small * 0.5, 0.0); // subnormal kept
    __asm__ __volatile__("fldcw %0" : : "m"(x87));
    _mm_setcsr(sse);
}

} // namespace
