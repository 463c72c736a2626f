// The batch analysis of one recording, end to end: known signals, an
// independent long-double reference, independence from what was processed
// before, and the floating-point faults.

#include "tests/support/FileBytes.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TTempFolder.h"

#include "AnalysisFixture.h"

#include "core/analysis/TRecordingAnalysis.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>

using namespace testsupport;

namespace {

using analysistest::Analysis;

TEST_F(Analysis, SineAt5500HzPeaksAtLine180WithTopCode)
{
    const auto bytes = Process(*Core, "sine", SineSamples(5500.0, 10000.0));
    ASSERT_EQ(bytes.size(), 732u);
    EXPECT_EQ(Core->PeakLine(), 180); // 1000 + 25 * 180 = 5500 Hz
    EXPECT_EQ(Core->BandCodes[180], TopCode);
    EXPECT_EQ(*std::max_element(Core->BandCodes.begin(), Core->BandCodes.end()), TopCode);
    EXPECT_EQ(Core->SpectrumScale, static_cast<extended>(Core->Band[180]) / 10000.0L);
    // Far from the tone, the triangle window's leakage is small.
    EXPECT_LT(Core->BandCodes[100], 10);
    EXPECT_LT(Core->BandCodes[300], 10);
    EXPECT_EQ(Core->FrameCount, 15);
    // The gain at 5500 Hz is 1: the RMS is that of the sine, 10000 / sqrt 2.
    EXPECT_NEAR(static_cast<double>(Core->Rms), 10000.0 / std::numbers::sqrt2, 60.0);
}

TEST_F(Analysis, SpectrumIsNormalisedToUnitPowerAndSignalToUnitRms)
{
    Process(*Core, "noise", NoiseSamples(11, 8000));
    long double power = 0;
    for (const single line : Core->AvgSpectrum) {
        power += line * 25.0L;
    }
    EXPECT_NEAR(static_cast<double>(power), 1.0, 1e-5);
    long double squares = 0;
    for (const single x : Core->Filtered) {
        squares += static_cast<long double>(x) * x;
    }
    EXPECT_NEAR(static_cast<double>(squares / 16383.0L), 1.0, 1e-5);
}

// |H(f)|^2 of the order-8 Butterworth band-pass 1000..10000 Hz at 51200 Hz,
// from its analog prototype with prewarped edges, relative to its value at
// 5500 Hz (where the design normalises the gain).
double ButterworthBandPassPower(double frequencyHz)
{
    const auto warp = [](double hz) { return 2.0 * std::tan(std::numbers::pi * hz / 51200.0); };
    const double w1 = warp(1000.0);
    const double w2 = warp(10000.0);
    const double w0Squared = w1 * w2;
    const auto power = [&](double hz) {
        const double w = warp(hz);
        const double x = (w * w - w0Squared) / (w * (w2 - w1));
        return 1.0 / (1.0 + std::pow(x, 16));
    };
    return power(frequencyHz) / power(5500.0);
}

TEST_F(Analysis, WhiteNoiseBandFollowsTheFilter)
{
    // Several recordings of noise averaged, then lines grouped by 8, keep the
    // estimate's scatter to a few per cent.
    std::vector<double> sum(SpectrumLines, 0.0);
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        Process(*Core, "noise" + std::to_string(seed), NoiseSamples(seed, 12000));
        for (int i = 0; i < SpectrumLines; ++i) {
            sum[i] += Core->Band[i];
        }
    }
    const auto groupMean = [&](int first, int count, bool expected) {
        double total = 0;
        for (int i = first; i < first + count; ++i) {
            total += expected ? ButterworthBandPassPower(BandLineFrequencyHz(i)) : sum[i];
        }
        return total / count;
    };
    const double level = groupMean(120, 120, false) / groupMean(120, 120, true);
    for (int first = 0; first + 8 <= SpectrumLines; first += 8) {
        const double measured = groupMean(first, 8, false) / level;
        const double expected = groupMean(first, 8, true);
        EXPECT_NEAR(measured, expected, 0.12 * expected + 0.01) << "lines " << first << ".." << first + 7;
    }
    // The band edges are the filter's -3 dB points.
    EXPECT_NEAR(groupMean(0, 3, false) / groupMean(170, 20, false), 0.5, 0.15);
}

// The band computed without the FFT component: the filter output normalised
// in extended, each frame weighted by the triangle 1 - |2i - N| / (N + 1) and
// transformed by a direct DFT in long double.
std::vector<long double> ReferenceBand(const TSamples& samples)
{
    TdspIIRFilter filter({fkButterworth, ftBandpass, 8, 1000.0L, 10000.0L, 51200.0L, 0.0L});
    std::vector<long double> x(SampleCount);
    long double squares = 0;
    for (int i = 0; i < SampleCount; ++i) {
        x[i] = static_cast<single>(filter.FilterSample(samples[i]));
        squares += x[i] * x[i];
    }
    const long double rms = std::sqrt(squares / 16383.0L);
    const int n = FrameLength;
    std::vector<long double> cosine(n), sine(n), window(n);
    for (int i = 0; i < n; ++i) {
        cosine[i] = std::cos(2.0L * std::numbers::pi_v<long double> * i / n);
        sine[i] = std::sin(2.0L * std::numbers::pi_v<long double> * i / n);
        window[i] = 1.0L - std::fabs(2.0L * i - n) / (n + 1.0L);
    }
    std::vector<long double> magnitudeSum(n / 2, 0.0L);
    std::vector<long double> frame(n);
    for (int f = 0; f < AveragedFrames; ++f) {
        for (int i = 0; i < n; ++i) {
            frame[i] = x[f * n / 2 + i] / rms * window[i];
        }
        for (int k = 0; k < n / 2; ++k) {
            long double re = 0, im = 0;
            for (int i = 0, phase = 0; i < n; ++i, phase = (phase + k) % n) {
                re += frame[i] * cosine[phase];
                im += frame[i] * sine[phase];
            }
            magnitudeSum[k] += std::sqrt(re * re + im * im) * 2.0L / n;
        }
    }
    long double power = 0;
    for (auto& line : magnitudeSum) {
        line = line * line / (n * AveragedFrames);
        power += line * 25.0L;
    }
    std::vector<long double> band(SpectrumLines);
    for (int i = 0; i < SpectrumLines; ++i) {
        band[i] = magnitudeSum[FirstBandLine + i] / power;
    }
    return band;
}

TEST_F(Analysis, AgreesWithADirectLongDoubleReference)
{
    TSamples samples = NoiseSamples(5, 6000);
    const TSamples tone = SineSamples(2025.0, 4000.0, 0.3);
    for (int i = 0; i < SampleCount; ++i) {
        samples[i] = static_cast<std::int16_t>(samples[i] + tone[i]);
    }
    Process(*Core, "mix", samples);
    const auto reference = ReferenceBand(samples);
    const long double top = *std::max_element(reference.begin(), reference.end());
    for (int i = 0; i < SpectrumLines; ++i) {
        EXPECT_NEAR(static_cast<double>(Core->Band[i] / top), static_cast<double>(reference[i] / top), 2e-5)
            << "line " << i;
        EXPECT_NEAR(Core->BandCodes[i], std::lrint(reference[i] / top * 10000.0L), 1) << "line " << i;
    }
}

TEST_F(Analysis, SameRecordingGivesTheSameBytesWhateverCameBefore)
{
    const TSamples recording = NoiseSamples(21, 5000);
    const auto first = Process(*Core, "a", recording);

    // A recording with a large DC offset and a loud one leave the filter far
    // from rest; the next recording must not notice.
    Process(*Core, "dc", ConstantSamples(20000));
    Process(*Core, "loud", SineSamples(1200.0, 32000.0));
    EXPECT_EQ(Process(*Core, "a-again", recording), first);
    EXPECT_EQ(Process(*Core, "a-twice", recording), first);

    // Another analysis object stands for another run of the program.
    auto other = std::make_unique<TRecordingAnalysis>();
    EXPECT_EQ(Process(*other, "a-other-run", recording), first);
}

TEST_F(Analysis, SilentRecordingIsInvalidOperationFirstOrAfterOthers)
{
    const std::string silent = Folder.File("silent.wav");
    WriteRecording(silent, ConstantSamples(0));
    const int descriptors = OpenDescriptorCount();
    EXPECT_THROW(Core->ProcessRecording(silent), EInvalidOp);

    // After a loud recording the filter would ring on into the silent one.
    Process(*Core, "loud", SineSamples(3000.0, 30000.0));
    EXPECT_THROW(Core->ProcessRecording(silent), EInvalidOp);
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
    EXPECT_FALSE(Exists(Folder.File("silent.spm")));

    // A fault leaves nothing behind that changes the next recording.
    const TSamples recording = SineSamples(7000.0, 2000.0);
    const auto after = Process(*Core, "after-fault", recording);
    auto fresh = std::make_unique<TRecordingAnalysis>();
    EXPECT_EQ(Process(*fresh, "fresh", recording), after);
}

TEST_F(Analysis, PowerSumOfZeroIsDivisionByZero)
{
    // Magnitudes so small that their squares vanish in single.
    Core->Filtered.fill(1e-30f);
    EXPECT_THROW(Core->AverageSpectrum(), EZeroDivide);
}

TEST_F(Analysis, HugeSpectrumIsOverflow)
{
    Core->Filtered.fill(1e30f);
    EXPECT_THROW(Core->AverageSpectrum(), EOverflow);
}

TEST_F(Analysis, FailedRecordingLeavesItsOlderSpectrumFile)
{
    const std::string path = Folder.File("short.wav");
    WriteBytes(path, std::vector<std::uint8_t>(SampleBlockFileSize - 1, 1));
    const std::vector<std::uint8_t> older(732, 0x33);
    WriteBytes(Folder.File("short.spm"), older);
    EXPECT_THROW(Core->ProcessRecording(path), EInOutError);
    EXPECT_EQ(ReadBytes(Folder.File("short.spm")), older);
}

} // namespace
