#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "dsp/TdspIIRFilter.h"

namespace {

using TCx = std::complex<extended>;

const TdspIIRFilterProperties MainBandpass{fkButterworth, ftBandpass, 8, 1000.0L, 10000.0L, 51200.0L, 0.0L};

TCx UnitCirclePoint(extended hz, extended sampleRate) { return std::polar(1.0L, 2 * ExtendedPi * hz / sampleRate); }

// The response of the recurrence itself:
// g * (z^n + sum FeedForward[i] z^i) / (z^n - sum FeedBack[i] z^i).
TCx CoefficientResponse(const TdspIIRFilter& f, extended hz)
{
    const TCx z = UnitCirclePoint(hz, f.SampleRate());
    const int n = f.TapCount();
    TCx top = std::pow(z, n);
    TCx bot = top;
    for (int i = 0; i < n; ++i) {
        top += f.FeedForward()[i] * std::pow(z, i);
        bot -= f.FeedBack()[i] * std::pow(z, i);
    }
    return f.GainScale() * top / bot;
}

// The response of the digital poles and zeros: g * prod(z - zero) / prod(z - pole).
TCx PoleZeroResponse(const TdspIIRFilter& f, extended hz)
{
    const TCx z = UnitCirclePoint(hz, f.SampleRate());
    const TPoleZeroSet& pz = f.DigitalPZ();
    TCx r = f.GainScale();
    for (int i = 0; i < pz.NumZeros; ++i) {
        r *= z - TCx(pz.Zeros[i].Re, pz.Zeros[i].Im);
    }
    for (int i = 0; i < pz.NumPoles; ++i) {
        r /= z - TCx(pz.Poles[i].Re, pz.Poles[i].Im);
    }
    return r;
}

bool SameHistory(const TdspIIRFilter::THistory& a, const TdspIIRFilter::THistory& b)
{
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::memcmp(&a[i], &b[i], 10) != 0) {
            return false;
        }
    }
    return true;
}

// Runs a few samples so that the history is not all zero.
void Excite(TdspIIRFilter& f)
{
    for (int i = 0; i < 5; ++i) {
        f.FilterSample(1000.0L * (i + 1));
    }
}

TEST(dspIIRFilter, MainWindowBandpassDesign)
{
    TdspIIRFilter f(MainBandpass);
    EXPECT_EQ(f.TapCount(), 16);
    EXPECT_EQ(f.ErrorText(), "");
    EXPECT_EQ(f.AnalogPZ().NumPoles, 16);
    EXPECT_EQ(f.AnalogPZ().NumZeros, 8);
    EXPECT_EQ(f.DigitalPZ().NumZeros, 16);
    // (z^2 - 1)^8 without its leading 1.
    const extended binomial[] = {1, 0, -8, 0, 28, 0, -56, 0, 70, 0, -56, 0, 28, 0, -8, 0};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(f.FeedForward()[i], binomial[i]) << "i = " << i;
    }
    // The edges alpha1 = 1000/51200 and alpha2 = 10000/51200, prewarped:
    // every analog pole pair multiplies to w1*w2.
    const extended w1 = 2 * std::tan(ExtendedPi * 0.01953125L);
    const extended w2 = 2 * std::tan(ExtendedPi * 0.1953125L);
    for (int i = 0; i < 8; ++i) {
        const TComplex product = CxMul(f.AnalogPZ().Poles[i], f.AnalogPZ().Poles[8 + i]);
        EXPECT_NEAR(product.Re, w1 * w2, 1e-16L);
    }
    // Unit gain at the mean of the two edges (5500 Hz), nothing at DC and Nyquist.
    EXPECT_NEAR(std::abs(CoefficientResponse(f, 5500)), 1, 1e-9);
    EXPECT_LT(std::abs(CoefficientResponse(f, 0)), 1e-12);
    EXPECT_LT(std::abs(CoefficientResponse(f, 25600)), 1e-12);
    // Stop-band mask: more than 60 dB down an octave beyond each edge.
    EXPECT_LT(std::abs(CoefficientResponse(f, 400)), 1e-3);
    EXPECT_LT(std::abs(CoefficientResponse(f, 22000)), 1e-3);
}

TEST(dspIIRFilter, MainWindowBandpassFiltersSignals)
{
    TdspIIRFilter f(MainBandpass);
    extended last = 0;
    for (int k = 0; k < 20000; ++k) {
        last = f.FilterSample(1000);
    }
    EXPECT_LT(std::fabs(last), 1e-6L); // DC decays to 0

    TdspIIRFilter g(MainBandpass);
    extended peak = 0;
    for (int k = 0; k < 20000; ++k) {
        const extended y = g.FilterSample(std::sin(2 * ExtendedPi * 5500 * k / 51200));
        if (k > 10000) {
            peak = std::max(peak, std::fabs(y));
        }
    }
    EXPECT_NEAR(peak, 1, 1e-3L);
}

TEST(dspIIRFilter, NewComponentIsFirstOrderLowpass)
{
    TdspIIRFilter f;
    EXPECT_EQ(f.Kind(), fkButterworth);
    EXPECT_EQ(f.Response(), ftLowpass);
    EXPECT_EQ(f.Order(), 1);
    EXPECT_EQ(f.Frequency1(), 300);
    EXPECT_EQ(f.SampleRate(), 44100);
    ASSERT_EQ(f.TapCount(), 1);
    const extended w1 = 2 * std::tan(ExtendedPi * (300.0L / 44100.0L));
    const extended p = (2 - w1) / (2 + w1);
    EXPECT_NEAR(f.AnalogPZ().Poles[0].Re, -w1, 1e-18L);
    EXPECT_NEAR(f.DigitalPZ().Poles[0].Re, p, 1e-18L);
    EXPECT_EQ(f.DigitalPZ().Zeros[0].Re, -1);
    EXPECT_EQ(f.FeedForward()[0], 1);
    EXPECT_NEAR(f.FeedBack()[0], p, 1e-18L);
    const extended g = f.GainScale();
    EXPECT_NEAR(g, (1 - p) / 2, 1e-18L);

    // Impulse response: g, (1 + p)g, then each output p times the previous one.
    EXPECT_EQ(f.FilterSample(1), g);
    const extended second = f.FilterSample(0);
    EXPECT_NEAR(second, (1 + p) * g, 1e-18L);
    extended previous = second;
    for (int k = 0; k < 5; ++k) {
        const extended y = f.FilterSample(0);
        EXPECT_NEAR(y, p * previous, 1e-18L);
        previous = y;
    }
}

TEST(dspIIRFilter, CoincidingEdgesPassNothingOrEverything)
{
    // 10 Hz and 20 Hz at 51200 Hz are both raised to 8 * 0.0001 of the rate.
    TdspIIRFilter bandpass({fkButterworth, ftBandpass, 8, 10.0L, 20.0L, 51200.0L, 0.0L});
    TdspIIRFilter bandstop({fkButterworth, ftBandstop, 8, 10.0L, 20.0L, 51200.0L, 0.0L});
    const std::int16_t input[] = {1200, -7, 32767, -32768, 0};
    single blockPass[5];
    single blockStop[5];
    bandpass.FilterBlock(input, blockPass, 5);
    bandstop.FilterBlock(input, blockStop, 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(bandpass.FilterSample(input[i]), 0);
        EXPECT_EQ(bandstop.FilterSample(input[i] + 0.25L), input[i] + 0.25L);
        EXPECT_EQ(blockPass[i], 0.0f);
        EXPECT_EQ(blockStop[i], static_cast<single>(input[i]));
    }
    // A low-pass at the floor still filters.
    TdspIIRFilter lowpass({fkButterworth, ftLowpass, 8, 10.0L, 20.0L, 51200.0L, 0.0L});
    EXPECT_NE(lowpass.FilterSample(1), 1);
}

TEST(dspIIRFilter, ReversedEdgesGiveTheSameBandpass)
{
    TdspIIRFilter forward(MainBandpass);
    TdspIIRFilter reversed({fkButterworth, ftBandpass, 8, 10000.0L, 1000.0L, 51200.0L, 0.0L});
    EXPECT_TRUE(SameHistory(forward.FeedForward(), reversed.FeedForward()));
    EXPECT_TRUE(SameHistory(forward.FeedBack(), reversed.FeedBack()));
    EXPECT_EQ(forward.GainScale(), reversed.GainScale());
}

TEST(dspIIRFilter, IgnoredAssignmentsKeepTheHistory)
{
    TdspIIRFilter f(MainBandpass);
    Excite(f);
    const auto history = f.OutputHistory();
    f.SetOrder(0);
    f.SetOrder(9);
    f.SetKind(3);
    f.SetKind(-1);
    f.SetResponse(4);
    f.SetOrder(8);
    f.SetKind(fkButterworth);
    f.SetFrequency1(1000);
    f.SetSampleRate(0);
    f.SetSampleRate(-44100);
    f.SetRipple(-3); // not Chebyshev: stored, no design
    EXPECT_EQ(f.Ripple(), 3);
    EXPECT_EQ(f.Order(), 8);
    EXPECT_EQ(f.Kind(), fkButterworth);
    EXPECT_EQ(f.Response(), ftBandpass);
    EXPECT_EQ(f.SampleRate(), 51200);
    EXPECT_TRUE(SameHistory(f.OutputHistory(), history));
    EXPECT_NE(f.OutputHistory()[16], 0);

    f.SetKind(fkChebyshev);
    Excite(f);
    f.SetRipple(0.5L); // Chebyshev: a design, which clears the history
    EXPECT_EQ(f.OutputHistory()[16], 0);
    EXPECT_EQ(f.InputHistory()[16], 0);
}

TEST(dspIIRFilter, FrequencySettersClamp)
{
    TdspIIRFilter f;
    f.SetFrequency2(6000);
    f.SetFrequency1(500);
    EXPECT_EQ(f.Frequency2(), 500); // a low-pass reads its one edge
    f.SetResponse(ftBandpass);
    EXPECT_EQ(f.Frequency2(), 6000);
    f.SetSampleRate(8000);
    EXPECT_EQ(f.Frequency2(), 8000.0L / 2 - 0.0001L);
    EXPECT_EQ(f.Frequency1(), 500);
    f.SetFrequency2(0);
    EXPECT_EQ(f.Frequency2(), 1e-10L);
    f.SetFrequency1(1e9L);
    EXPECT_EQ(f.Frequency1(), 8000.0L / 2 - 0.0001L);
    f.SetFrequency1(std::nanl(""));
    EXPECT_EQ(f.Frequency1(), 8000.0L / 2 - 0.0001L);
    f.SetRipple(std::nanl(""));
    EXPECT_EQ(f.Ripple(), 0);
}

TEST(dspIIRFilter, StoredFrequencyAboveHalfTheDefaultRateIsLowered)
{
    TdspIIRFilter f({fkButterworth, ftBandpass, 2, 1000.0L, 30000.0L, 96000.0L, 0.0L});
    EXPECT_EQ(f.Frequency2(), 44100.0L / 2 - 0.0001L);
    EXPECT_EQ(f.SampleRate(), 96000);
}

TEST(dspIIRFilter, ChebyshevWithZeroRippleHasNoDiagnostic)
{
    for (int order = 1; order <= 8; ++order) {
        TdspIIRFilter f({fkChebyshev, ftLowpass, order, 1000.0L, 10000.0L, 51200.0L, 0.0L});
        EXPECT_EQ(f.ErrorText(), "") << "order " << order;
        EXPECT_TRUE(std::isfinite(f.GainScale()));
        // Poles scaled by sinh/cosh of asinh(1e10)/order: far from the unit circle for low orders.
        EXPECT_GT(CxAbs(f.AnalogPZ().Poles[0]), 1);
    }
}

// An order-1 Chebyshev prototype with Ripple 0 is a pole at about -1e10; in a
// band-pass the lower pole of the pair cancels to exactly 0, a digital pole on
// the unit circle at z = 1, so the response at DC is 0/0. The band-pass still
// normalises at its finite centre gain, the band-stop (same poles) divides 0 by
// 0 in its gain; both designs say so.
TEST(dspIIRFilter, DegenerateChebyshevDesignIsReported)
{
    TdspIIRFilter bandpass({fkChebyshev, ftBandpass, 1, 1000.0L, 10000.0L, 51200.0L, 0.0L});
    EXPECT_EQ(bandpass.AnalogPZ().Poles[1].Re, 0);
    EXPECT_EQ(bandpass.DigitalPZ().Poles[1].Re, 1);
    EXPECT_TRUE(std::isfinite(bandpass.GainScale()));
    EXPECT_EQ(bandpass.ErrorText().rfind("Filter design error: gain or coefficients not finite", 0), 0u)
        << bandpass.ErrorText();
    // A sound band-pass of the same order says nothing.
    TdspIIRFilter sound({fkButterworth, ftBandpass, 1, 1000.0L, 10000.0L, 51200.0L, 0.0L});
    EXPECT_EQ(sound.ErrorText(), "");

    TdspIIRFilter bandstop({fkChebyshev, ftBandstop, 1, 1000.0L, 10000.0L, 51200.0L, 0.0L});
    EXPECT_TRUE(std::isnan(bandstop.GainScale()));
    EXPECT_EQ(bandstop.ErrorText().rfind("Filter design error: gain or coefficients not finite; GainScale=", 0), 0u)
        << bandstop.ErrorText();
    // The diagnostic stays until another design produces one.
    bandstop.SetRipple(1);
    EXPECT_TRUE(std::isfinite(bandstop.GainScale()));
    EXPECT_NE(bandstop.ErrorText(), "");
}

TEST(dspIIRFilter, ResetHistoryClearsOnlyTheState)
{
    TdspIIRFilter f(MainBandpass);
    const extended g = f.GainScale();
    Excite(f);
    f.ResetHistory();
    EXPECT_TRUE(SameHistory(f.InputHistory(), TdspIIRFilter::THistory{}));
    EXPECT_EQ(f.GainScale(), g);
    EXPECT_EQ(f.FilterSample(2), 2 * g);
}

struct TDesignCase {
    TdspIIRFilterKind Kind;
    TdspIIRFilterResponse Response;
    int Order;
};

std::string CaseName(const TDesignCase& c)
{
    const char* kinds[] = {"Butterworth", "Chebyshev", "Bessel"};
    const char* responses[] = {"Lowpass", "Highpass", "Bandpass", "Bandstop"};
    return std::string(kinds[c.Kind]) + responses[c.Response] + std::to_string(c.Order);
}

std::string DesignName(const testing::TestParamInfo<TDesignCase>& info) { return CaseName(info.param); }

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TDesignCase& c, std::ostream* os) { *os << CaseName(c); }

std::vector<TDesignCase> AllDesigns()
{
    std::vector<TDesignCase> cases;
    for (int kind = 0; kind < 3; ++kind) {
        for (int response = 0; response < 4; ++response) {
            for (int order : {1, 2, 5, 8}) {
                cases.push_back(
                    {static_cast<TdspIIRFilterKind>(kind), static_cast<TdspIIRFilterResponse>(response), order});
            }
        }
    }
    return cases;
}

// Sets up a design of 2000 Hz to 9000 Hz at 51200 Hz with 0.5 dB ripple,
// assigning kind and response last, so that no intermediate design is a
// degenerate one whose diagnostic would stay in ErrorText.
void Configure(TdspIIRFilter& f, const TDesignCase& c)
{
    f.SetRipple(0.5L);
    f.SetSampleRate(51200);
    f.SetFrequency2(9000);
    f.SetFrequency1(2000);
    f.SetOrder(c.Order);
    f.SetResponse(c.Response);
    f.SetKind(c.Kind);
}

class IIRDesign : public testing::TestWithParam<TDesignCase> {
protected:
    void SetUp() override { Configure(Filter, GetParam()); }
    TdspIIRFilter Filter;
};

TEST_P(IIRDesign, CoefficientsReproduceTheirPolesAndZeros)
{
    const TDesignCase& c = GetParam();
    const bool band = c.Response == ftBandpass || c.Response == ftBandstop;
    ASSERT_EQ(Filter.TapCount(), band ? 2 * c.Order : c.Order);
    EXPECT_EQ(Filter.ErrorText(), "");
    for (int i = 0; i < Filter.DigitalPZ().NumPoles; ++i) {
        EXPECT_LT(CxAbs(Filter.DigitalPZ().Poles[i]), 1) << "pole " << i;
    }
    for (const extended hz : {0.0L, 500.0L, 2000.0L, 4321.0L, 9000.0L, 15000.0L, 25600.0L}) {
        const TCx fromCoefficients = CoefficientResponse(Filter, hz);
        const TCx fromRoots = PoleZeroResponse(Filter, hz);
        EXPECT_LE(std::abs(fromCoefficients - fromRoots), 1e-8L * std::max(1.0L, std::abs(fromRoots))) << hz << " Hz";
    }
}

TEST_P(IIRDesign, GainIsOneWhereItIsNormalised)
{
    switch (GetParam().Response) {
    case ftLowpass: EXPECT_NEAR(std::abs(CoefficientResponse(Filter, 0)), 1, 1e-9); break;
    case ftHighpass: EXPECT_NEAR(std::abs(CoefficientResponse(Filter, 25600)), 1, 1e-9); break;
    case ftBandpass: EXPECT_NEAR(std::abs(CoefficientResponse(Filter, 5500)), 1, 1e-9); break;
    case ftBandstop:
        EXPECT_NEAR(std::abs(CoefficientResponse(Filter, 0) * CoefficientResponse(Filter, 25600)), 1, 1e-9);
        break;
    }
}

// Noise with stretches of silence, the batch's kind of input.
std::vector<std::int16_t> TestSignal(int count, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<std::int16_t> x(count);
    for (int i = 0; i < count; ++i) {
        x[i] = (i / 1000) % 7 == 3 ? 0 : static_cast<std::int16_t>(rng());
    }
    return x;
}

// Filters x one FilterSample at a time into `expected` and in blocks of
// random lengths into `actual`, on two components of the same design.
void FilterBothWays(TdspIIRFilter& bySample, TdspIIRFilter& byBlock, const std::vector<std::int16_t>& x,
                    std::vector<single>& expected, std::vector<single>& actual, unsigned seed)
{
    const int count = static_cast<int>(x.size());
    expected.resize(count);
    actual.resize(count);
    for (int i = 0; i < count; ++i) {
        expected[i] = static_cast<single>(bySample.FilterSample(static_cast<extended>(x[i])));
    }
    std::mt19937 rng(seed);
    for (int done = 0; done < count;) {
        const int length = std::min<int>(count - done, static_cast<int>(rng() % 1500));
        byBlock.FilterBlock(x.data() + done, actual.data() + done, length);
        done += length;
    }
}

bool SameSingles(const std::vector<single>& a, const std::vector<single>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(single)) == 0;
}

TEST_P(IIRDesign, BlockMatchesSampleBySample)
{
    const TDesignCase& c = GetParam();
    TdspIIRFilter byBlock;
    Configure(byBlock, c);
    std::vector<single> expected;
    std::vector<single> actual;
    FilterBothWays(Filter, byBlock, TestSignal(30000, c.Order), expected, actual, 11);
    EXPECT_TRUE(SameSingles(expected, actual));
    EXPECT_TRUE(SameHistory(Filter.InputHistory(), byBlock.InputHistory()));
    EXPECT_TRUE(SameHistory(Filter.OutputHistory(), byBlock.OutputHistory()));
}

INSTANTIATE_TEST_SUITE_P(dspIIRDesigns, IIRDesign, testing::ValuesIn(AllDesigns()), DesignName);

TEST(dspIIRFilterBlock, MainBandpassOverManyRecordings)
{
    TdspIIRFilter bySample(MainBandpass);
    TdspIIRFilter byBlock(MainBandpass);
    std::vector<single> expected;
    std::vector<single> actual;
    FilterBothWays(bySample, byBlock, TestSignal(16384 * 12, 5), expected, actual, 3);
    EXPECT_TRUE(SameSingles(expected, actual));
    EXPECT_TRUE(SameHistory(bySample.InputHistory(), byBlock.InputHistory()));
    EXPECT_TRUE(SameHistory(bySample.OutputHistory(), byBlock.OutputHistory()));
}

// After a long silence the decaying output falls below the range of doubles;
// the block routine must notice and go on in extended arithmetic.
TEST(dspIIRFilterBlock, DecayBelowDoubleRangeStaysExact)
{
    TdspIIRFilter bySample(MainBandpass);
    TdspIIRFilter byBlock(MainBandpass);
    std::vector<std::int16_t> x = TestSignal(200000, 9);
    std::fill(x.begin() + 2000, x.begin() + 196000, std::int16_t{0});
    std::vector<single> expected(x.size());
    std::vector<single> actual(x.size());
    extended smallest = 1;
    for (std::size_t i = 0; i < x.size(); ++i) {
        expected[i] = static_cast<single>(bySample.FilterSample(x[i]));
        if (i < 196000) {
            smallest = std::min(smallest, std::fabs(bySample.OutputHistory()[16]));
        }
    }
    ASSERT_LT(smallest, 1e-300L);
    byBlock.FilterBlock(x.data(), actual.data(), static_cast<int>(x.size()));
    EXPECT_TRUE(SameSingles(expected, actual));
    EXPECT_TRUE(SameHistory(bySample.OutputHistory(), byBlock.OutputHistory()));
}

// FilterSample takes any extended value; blocks that follow must continue
// from whatever it left in the history, bit for bit.
TEST(dspIIRFilterBlock, BlocksFollowSamplesOfAnyValue)
{
    const extended specials[] = {-0.0L, 1e-4000L, 3.5L, std::numeric_limits<extended>::infinity()};
    for (const extended special : specials) {
        TdspIIRFilter bySample(MainBandpass);
        TdspIIRFilter byBlock(MainBandpass);
        const std::vector<std::int16_t> x = TestSignal(5000, 1);
        std::vector<single> expected(x.size());
        std::vector<single> actual(x.size());
        for (std::size_t i = 0; i < x.size(); ++i) {
            expected[i] = static_cast<single>(bySample.FilterSample(i == 2500 ? special : x[i]));
        }
        byBlock.FilterBlock(x.data(), actual.data(), 2500);
        actual[2500] = static_cast<single>(byBlock.FilterSample(special));
        byBlock.FilterBlock(x.data() + 2501, actual.data() + 2501, 2499);
        EXPECT_TRUE(SameSingles(expected, actual)) << static_cast<double>(special);
        EXPECT_TRUE(SameHistory(bySample.OutputHistory(), byBlock.OutputHistory()));
    }
}

} // namespace
