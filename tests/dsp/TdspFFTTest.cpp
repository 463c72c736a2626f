#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "dsp/TdspFFT.h"
#include "tests/support/ReferenceFFT.h"

namespace {

using testsupport::ReferenceMagnitude;
using testsupport::ReferenceTransform;
using testsupport::TReferenceFrame;

// Equal bit for bit; any two NaNs count as equal (which NaN an operation on
// two NaNs passes on differs between the x87 and SSE units).
bool SameBits(const single* a, const single* b, int count)
{
    for (int i = 0; i < count; ++i) {
        if (std::memcmp(&a[i], &b[i], sizeof(single)) != 0 && !(std::isnan(a[i]) && std::isnan(b[i]))) {
            return false;
        }
    }
    return true;
}

// Transforms (re, im) with the component and checks OutReal, OutImag and the
// magnitudes against the reference, bit for bit.
void ExpectReferenceResults(TdspFFT& fft, const std::vector<single>& re, const std::vector<single>& im)
{
    const int n = fft.BufferSize();
    std::copy(re.begin(), re.end(), fft.InReal());
    std::copy(im.begin(), im.end(), fft.InImag());
    fft.Transform();
    const TReferenceFrame expected = ReferenceTransform(re, im);
    EXPECT_TRUE(SameBits(fft.OutReal(), expected.Re.data(), n)) << "OutReal, N = " << n;
    EXPECT_TRUE(SameBits(fft.OutImag(), expected.Im.data(), n)) << "OutImag, N = " << n;
    fft.Magnitude();
    EXPECT_TRUE(SameBits(fft.OutReal(), ReferenceMagnitude(expected).data(), n / 2)) << "magnitudes, N = " << n;
}

enum class TSignal { Samples16Bit, Uniform, WideExponents, SmallIntegers, SpecialValues };

std::vector<single> MakeSignal(TSignal kind, int n, std::mt19937& rng)
{
    std::vector<single> x(n);
    std::uniform_real_distribution<single> uniform(-1, 1);
    for (single& v : x) {
        switch (kind) {
        case TSignal::Samples16Bit: v = static_cast<std::int16_t>(rng()); break;
        case TSignal::Uniform: v = uniform(rng); break;
        case TSignal::WideExponents: v = std::ldexp(uniform(rng), static_cast<int>(rng() % 200) - 100); break;
        case TSignal::SmallIntegers: v = static_cast<single>(static_cast<int>(rng() % 5) - 2); break;
        case TSignal::SpecialValues: {
            const single specials[] = {0.0f,
                                       -0.0f,
                                       1e-40f,
                                       -3e-45f,
                                       3e38f,
                                       std::numeric_limits<single>::infinity(),
                                       std::numeric_limits<single>::quiet_NaN(),
                                       1.0f};
            v = specials[rng() % 8];
            break;
        }
        }
    }
    return x;
}

class FFTBitExact : public testing::TestWithParam<int> {};

TEST_P(FFTBitExact, MatchesExtendedReference)
{
    const int power = GetParam();
    TdspFFT fft(TdspFFTProperties{power, 1 << power, fwNone});
    std::mt19937 rng(power);
    for (const TSignal kind : {TSignal::Samples16Bit, TSignal::Uniform, TSignal::WideExponents, TSignal::SmallIntegers,
                               TSignal::SpecialValues}) {
        const int n = 1 << power;
        const std::vector<single> re = MakeSignal(kind, n, rng);
        const std::vector<single> im =
            kind == TSignal::Samples16Bit ? std::vector<single>(n, 0.0f) : MakeSignal(kind, n, rng);
        ExpectReferenceResults(fft, re, im);
    }
}

INSTANTIATE_TEST_SUITE_P(dspFFTPowers, FFTBitExact, testing::Range(2, 16));

// The window weighs InReal exactly once, also when the transform falls back
// from the vector passes (special values make it do so).
TEST_P(FFTBitExact, WindowWeighsInputOnceOnEveryPath)
{
    const int power = GetParam();
    const int n = 1 << power;
    TdspFFT fft(TdspFFTProperties{power, n, fwHanning});
    std::mt19937 rng(power + 100);
    for (const TSignal kind : {TSignal::Samples16Bit, TSignal::SpecialValues}) {
        const std::vector<single> re = MakeSignal(kind, n, rng);
        const std::vector<single> im = MakeSignal(TSignal::Uniform, n, rng);
        std::vector<single> weighted(n);
        for (int i = 0; i < n; ++i) {
            weighted[i] = re[i] * fft.WindowTable()[i];
        }
        std::copy(re.begin(), re.end(), fft.InReal());
        std::copy(im.begin(), im.end(), fft.InImag());
        fft.Transform();
        EXPECT_TRUE(SameBits(fft.InReal(), weighted.data(), n)) << "InReal, N = " << n;
        const TReferenceFrame expected = ReferenceTransform(weighted, im);
        EXPECT_TRUE(SameBits(fft.OutReal(), expected.Re.data(), n)) << "OutReal, N = " << n;
        EXPECT_TRUE(SameBits(fft.OutImag(), expected.Im.data(), n)) << "OutImag, N = " << n;
    }
}

// Singles (br, bi) for which u*b's real part, rounded to double first, would
// round to another single than through extended: the double lands on a point
// halfway between two singles. Found by a short search around such a point.
bool FindDoubleRoundingCase(single ur, single ui, single& br, single& bi)
{
    // x = p*br + q*bi; the factor of larger size makes x about 1.5, the other
    // brings it next to the halfway point above.
    const single p = ur;
    const single q = -ui;
    const bool pBig = std::fabs(p) >= std::fabs(q);
    const single big = pBig ? p : q;
    const single small = pBig ? q : p;
    for (int j = 0; j < 4096; ++j) {
        const single bBig = static_cast<single>((1.5 + j * 0x1p-13) / big);
        const double a = static_cast<double>(big) * bBig;
        const double ulp = std::ldexp(1.0, std::ilogb(a) - 23);
        for (int m = -1; m <= 1; ++m) {
            const double halfway = std::nearbyint(a / ulp) * ulp + (m + 0.5) * ulp;
            const single guess = static_cast<single>((halfway - a) / small);
            for (int d = -4; d <= 4; ++d) {
                single bSmall = guess;
                for (int s = 0; s < std::abs(d); ++s) {
                    bSmall = std::nextafter(bSmall, d > 0 ? 1e30f : -1e30f);
                }
                const double viaDouble = a + static_cast<double>(small) * bSmall;
                const extended viaExtended = static_cast<extended>(a) + static_cast<extended>(small) * bSmall;
                if (static_cast<single>(viaDouble) != static_cast<single>(viaExtended)) {
                    br = pBig ? bBig : bSmall;
                    bi = pBig ? bSmall : bBig;
                    return true;
                }
            }
        }
    }
    return false;
}

// The one input at bit-reversed position 2^k + 1 reaches stage k unchanged
// (up to sign) and meets the factor u = (CosTable[k], SinTable[k]) there.
TEST(dspFFT, DoubleRoundingCasesOfEveryKernelMatchReference)
{
    // N = 8 runs the one-at-a-time stages, longer transforms the vector stages
    // (the first pass takes two stages for even powers, three for odd ones).
    // (Stage 1's factor is (c, 1) with one exact part; no such case is near
    // enough to a halfway point to be found by this search.)
    for (const int power : {3, 5, 6, 11}) {
        TdspFFT fft(TdspFFTProperties{power, 1 << power, fwNone});
        const int n = fft.BufferSize();
        for (int k = 2; k < power; k += (power > 5 ? 3 : 1)) {
            single br = 0;
            single bi = 0;
            ASSERT_TRUE(FindDoubleRoundingCase(fft.CosTable()[k], fft.SinTable()[k], br, bi)) << "stage " << k;
            std::vector<single> re(n, 0.0f);
            std::vector<single> im(n, 0.0f);
            const int position = fft.BitReverse()[(1 << k) + 1];
            re[position] = -br;
            im[position] = -bi;
            ExpectReferenceResults(fft, re, im);
        }
    }
}

// Lines whose magnitude, formed in double, would round to another single than
// through extended: sqrt(re^2 + im^2) just above the halfway point re + ulp/2.
TEST(dspFFT, MagnitudeDoubleRoundingCasesMatchReference)
{
    TdspFFT fft(TdspFFTProperties{5, 32, fwNone});
    const single scale = fft.HalfScale();
    int found = 0;
    for (int j = 0; j < 20000 && found < 16; ++j) {
        const single re = 1.0f + static_cast<single>(j) * 0x1p-15f;
        const single guess = static_cast<single>(std::sqrt(static_cast<double>(re) * 0x1p-23));
        for (int d = -3; d <= 3 && found < 16; ++d) {
            const single im = guess + static_cast<single>(d) * 0x1p-35f;
            const double viaDouble = std::sqrt(static_cast<double>(re) * re + static_cast<double>(im) * im) * scale;
            const extended viaExtended =
                std::sqrt(static_cast<extended>(re) * re + static_cast<extended>(im) * im) * scale;
            if (static_cast<single>(viaDouble) != static_cast<single>(viaExtended)) {
                fft.OutReal()[found] = re;
                fft.OutImag()[found] = im;
                ++found;
            }
        }
    }
    ASSERT_EQ(found, 16);
    const TReferenceFrame lines{std::vector<single>(fft.OutReal(), fft.OutReal() + 32),
                                std::vector<single>(fft.OutImag(), fft.OutImag() + 32)};
    fft.Magnitude();
    EXPECT_TRUE(SameBits(fft.OutReal(), ReferenceMagnitude(lines).data(), 16));
}

// Direct DFT with the positive exponent, summed in extended.
void ExpectCloseToDirectDft(int power, std::mt19937& rng)
{
    const int n = 1 << power;
    TdspFFT fft(TdspFFTProperties{power, n, fwNone});
    std::uniform_real_distribution<single> uniform(-1, 1);
    std::vector<single> re(n);
    std::vector<single> im(n);
    for (int i = 0; i < n; ++i) {
        re[i] = fft.InReal()[i] = uniform(rng);
        im[i] = fft.InImag()[i] = uniform(rng);
    }
    fft.Transform();
    // The single-precision factor recurrence adds an error that grows with N.
    const extended tolerance = 1e-6L * n;
    for (int m = 0; m < n; m += (n > 64 ? 7 : 1)) {
        extended sr = 0;
        extended si = 0;
        for (int k = 0; k < n; ++k) {
            const extended angle = 2 * ExtendedPi * static_cast<extended>((static_cast<long>(k) * m) % n) / n;
            sr += re[k] * std::cos(angle) - im[k] * std::sin(angle);
            si += re[k] * std::sin(angle) + im[k] * std::cos(angle);
        }
        EXPECT_NEAR(fft.OutReal()[m], sr, tolerance) << "N = " << n << ", m = " << m;
        EXPECT_NEAR(fft.OutImag()[m], si, tolerance) << "N = " << n << ", m = " << m;
    }
}

TEST(dspFFT, AgreesWithDirectDft)
{
    std::mt19937 rng(7);
    for (const int power : {2, 3, 5, 8, 11}) {
        ExpectCloseToDirectDft(power, rng);
    }
}

TEST(dspFFT, ImpulseGivesFlatSpectrum)
{
    TdspFFT fft(TdspFFTProperties{5, 32, fwNone});
    fft.InReal()[0] = 1;
    fft.Transform();
    for (int m = 0; m < 32; ++m) {
        EXPECT_EQ(fft.OutReal()[m], 1.0f);
        EXPECT_EQ(fft.OutImag()[m], 0.0f);
    }
    fft.Magnitude();
    for (int m = 0; m < 16; ++m) {
        EXPECT_EQ(fft.OutReal()[m], 2.0f / 32);
    }
}

TEST(dspFFT, ConstantGoesToLineZero)
{
    TdspFFT fft(TdspFFTProperties{4, 16, fwNone});
    std::fill_n(fft.InReal(), 16, 0.75f);
    fft.Transform();
    EXPECT_EQ(fft.OutReal()[0], 12.0f);
    for (int m = 1; m < 16; ++m) {
        EXPECT_NEAR(fft.OutReal()[m], 0, 1e-6);
        EXPECT_NEAR(fft.OutImag()[m], 0, 1e-6);
    }
    fft.Magnitude();
    EXPECT_EQ(fft.OutReal()[0], 1.5f);
}

TEST(dspFFT, SineHasPositiveExponentSign)
{
    TdspFFT fft(TdspFFTProperties{3, 8, fwNone});
    for (int i = 0; i < 8; ++i) {
        fft.InReal()[i] = static_cast<single>(std::sin(2 * ExtendedPi * i / 8));
    }
    fft.Transform();
    EXPECT_NEAR(fft.OutImag()[1], 4, 1e-6);
    EXPECT_NEAR(fft.OutImag()[7], -4, 1e-6);
    for (int m : {0, 2, 3, 4, 5, 6}) {
        EXPECT_NEAR(fft.OutImag()[m], 0, 1e-6) << m;
    }
    for (int m = 0; m < 8; ++m) {
        EXPECT_NEAR(fft.OutReal()[m], 0, 1e-6) << m;
    }
    fft.Magnitude();
    EXPECT_NEAR(fft.OutReal()[1], 1, 1e-6);
}

// The transform with direction -1 (not used by Transform) has the usual sign.
TEST(dspFFT, DirectionMinusOneFlipsTheExponent)
{
    TdspFFT fft(TdspFFTProperties{3, 8, fwNone});
    for (int i = 0; i < 8; ++i) {
        fft.InReal()[i] = static_cast<single>(std::sin(2 * ExtendedPi * i / 8));
    }
    fft.RunTransform(-1);
    EXPECT_NEAR(fft.OutImag()[1], -4, 1e-6);
    EXPECT_NEAR(fft.OutImag()[7], 4, 1e-6);
    EXPECT_NEAR(fft.OutReal()[1], 0, 1e-6);
}

// Direction -1 runs the one-at-a-time stages at every length; it must still
// be the definition, bit for bit, and leave InReal unweighted.
TEST(dspFFT, DirectionMinusOneMatchesReference)
{
    std::mt19937 rng(3);
    for (const int power : {2, 4, 7, 11}) {
        TdspFFT fft(TdspFFTProperties{power, 1 << power, fwHanning});
        const int n = fft.BufferSize();
        const std::vector<single> re = MakeSignal(TSignal::Uniform, n, rng);
        const std::vector<single> im = MakeSignal(TSignal::WideExponents, n, rng);
        std::copy(re.begin(), re.end(), fft.InReal());
        std::copy(im.begin(), im.end(), fft.InImag());
        fft.RunTransform(-1);
        const TReferenceFrame expected = ReferenceTransform(re, im, -1);
        EXPECT_TRUE(SameBits(fft.OutReal(), expected.Re.data(), n)) << "OutReal, N = " << n;
        EXPECT_TRUE(SameBits(fft.OutImag(), expected.Im.data(), n)) << "OutImag, N = " << n;
        EXPECT_TRUE(SameBits(fft.InReal(), re.data(), n)) << "InReal, N = " << n;
    }
}

TEST(dspFFT, CosineAmplitudeShowsAtItsLine)
{
    TdspFFT fft(TdspFFTProperties{11, 2048, fwNone});
    for (int i = 0; i < 2048; ++i) {
        fft.InReal()[i] = static_cast<single>(0.3L * std::cos(2 * ExtendedPi * 220 * i / 2048));
    }
    fft.Transform();
    fft.Magnitude();
    EXPECT_NEAR(fft.OutReal()[220], 0.3, 1e-5);
    EXPECT_NEAR(fft.OutReal()[219], 0, 1e-5);
}

TEST(dspFFT, BitReversalOfSixteen)
{
    TdspFFT fft(TdspFFTProperties{4, 16, fwNone});
    const std::int32_t expected[] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(fft.BitReverse()[i], expected[i]) << i;
    }
    EXPECT_EQ(fft.CosTable()[0], -1.0f);
    EXPECT_EQ(fft.SinTable()[1], 1.0f);
}

TEST(dspFFT, PowerAndBufferSizeAreClamped)
{
    TdspFFT fft;
    EXPECT_EQ(fft.Power(), 9);
    EXPECT_EQ(fft.BufferSize(), 512);
    const std::pair<int, int> powers[] = {{1, 4}, {-3, 4}, {16, 32768}, {99, 32768}, {11, 2048}};
    for (const auto& [power, size] : powers) {
        fft.SetPower(power);
        EXPECT_EQ(fft.BufferSize(), size) << "Power " << power;
        EXPECT_EQ(fft.HalfSize(), size / 2);
        EXPECT_EQ(fft.HalfScale(), 2.0f / size);
    }
    const std::pair<int, int> sizes[] = {{3000, 2048}, {1, 4}, {0, 4}, {40000, 32768}, {4096, 4096}, {5, 4}};
    for (const auto& [request, size] : sizes) {
        fft.SetBufferSize(request);
        EXPECT_EQ(fft.BufferSize(), size) << "BufferSize " << request;
    }
}

TEST(dspFFT, CurrentPowerKeepsArraysAndWindowRefills)
{
    TdspFFT fft(TdspFFTProperties{11, 2048, fwParzen});
    single* in = fft.InReal();
    in[3] = 42;
    fft.OutImag()[5] = 7;
    fft.SetPower(11);
    fft.SetBufferSize(2048);
    EXPECT_EQ(fft.InReal(), in);
    EXPECT_EQ(fft.InReal()[3], 42);
    EXPECT_EQ(fft.OutImag()[5], 7);
    EXPECT_FLOAT_EQ(fft.WindowTable()[0], 1.0f / 2049);

    fft.SetWindow(fwNone);
    EXPECT_EQ(fft.WindowTable()[0], 1.0f);
    fft.SetWindow(fwNone);
    EXPECT_EQ(fft.WindowTable()[7], 1.0f);

    // A new length starts from zero and keeps the window kind.
    fft.SetWindow(fwHanning);
    fft.SetPower(3);
    EXPECT_EQ(fft.Window(), fwHanning);
    EXPECT_EQ(fft.InReal()[3], 0);
    EXPECT_FLOAT_EQ(fft.WindowTable()[2], 0.5f);
}

TEST(dspFFT, TransformWeightsInRealInPlace)
{
    TdspFFT fft(TdspFFTProperties{3, 8, fwNone});
    std::fill_n(fft.InReal(), 8, 2.0f);
    fft.Transform();
    EXPECT_EQ(fft.InReal()[0], 2.0f);

    fft.SetWindow(fwParzen);
    fft.Transform();
    EXPECT_FLOAT_EQ(fft.InReal()[0], 2.0f / 9);
    fft.Transform(); // without refilling, the samples are weighted twice
    EXPECT_FLOAT_EQ(fft.InReal()[0], 2.0f / 81);
    EXPECT_EQ(fft.InReal()[4], 2.0f);
}

} // namespace
