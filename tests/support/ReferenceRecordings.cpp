#include "tests/support/ReferenceRecordings.h"

#include "core/base/AnalysisConstants.h"

#include <cmath>
#include <numbers>

namespace testsupport {

namespace {

TSamples FullScaleSquare(int halfPeriod)
{
    TSamples samples = ConstantSamples(0);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = (static_cast<int>(i) / halfPeriod) % 2 == 0 ? std::int16_t{32767} : std::int16_t{-32768};
    }
    return samples;
}

TSamples OffsetTone(std::int16_t offset, double frequencyHz, double amplitude)
{
    TSamples samples = SineSamples(frequencyHz, amplitude, 0.7);
    for (auto& sample : samples) {
        sample = static_cast<std::int16_t>(sample + offset);
    }
    return samples;
}

} // namespace

TSamples BurstInNoiseSamples()
{
    constexpr int first = SampleRateHz / 5;         // 200 ms
    constexpr int length = SampleRateHz * 5 / 1000; // 5 ms
    TSamples samples = NoiseSamples(30, 500);
    for (int i = 0; i < length; ++i) {
        const double burst = 2900.0 * std::sin(2.0 * std::numbers::pi * 6000.0 * i / SampleRateHz);
        samples[first + i] = static_cast<std::int16_t>(samples[first + i] + std::lround(burst));
    }
    return samples;
}

std::vector<TReferenceRecording> ReferenceRecordings()
{
    std::vector<TReferenceRecording> set;
    const auto add = [&set](std::string name, TSamples samples) {
        set.push_back({std::move(name), std::move(samples)});
    };
    // The literal analysis's cases (tests/core/LiteralAnalysisTest.cpp).
    add("noise_30", NoiseSamples(101, 30));
    add("noise_3000", NoiseSamples(102, 3000));
    add("noise_full_scale", NoiseSamples(103, 32767));
    add("noise_1_lsb", NoiseSamples(104, 1));
    add("square_full_scale", FullScaleSquare(23));
    add("sine_5500", SineSamples(5500.0, 20000.0, 0.25));
    add("dc_25000_tone_40", OffsetTone(25000, 3125.0, 40.0));
    // The analysis's recordings (tests/core/TRecordingAnalysisTest.cpp).
    add("sine_5500_10000", SineSamples(5500.0, 10000.0));
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        add("noise_12000_" + std::to_string(seed), NoiseSamples(seed, 12000));
    }
    add("noise_8000", NoiseSamples(11, 8000));
    TSamples toneInNoise = NoiseSamples(5, 6000);
    const TSamples tone = SineSamples(2025.0, 4000.0, 0.3);
    for (std::size_t i = 0; i < toneInNoise.size(); ++i) {
        toneInNoise[i] = static_cast<std::int16_t>(toneInNoise[i] + tone[i]);
    }
    add("noise_tone_2025", toneInNoise);
    add("noise_5000", NoiseSamples(21, 5000));
    add("dc_20000", ConstantSamples(20000));
    add("sine_1200_loud", SineSamples(1200.0, 32000.0));
    add("sine_3000_loud", SineSamples(3000.0, 30000.0));
    add("sine_7000", SineSamples(7000.0, 2000.0));
    add("sine_5000", SineSamples(5000.0, 1000.0));
    // The batch's recordings (tests/core/BatchRunTest.cpp, tests/cli/BatchCommandTest.cpp).
    for (int i = 0; i < 12; ++i) {
        add("batch_" + std::to_string(i), i % 2 ? NoiseSamples(static_cast<std::uint32_t>(i), 3000 + 100 * i)
                                                : SineSamples(1500.0 + 250.0 * i, 5000.0));
        add("command_" + std::to_string(i),
            i % 2 ? NoiseSamples(static_cast<std::uint32_t>(40 + i), 9000) : SineSamples(2000.0 + 700.0 * i, 12000.0));
    }
    // A transient in steady noise (tulvo-cli show --frames and plot --frames).
    add("burst_6000", BurstInNoiseSamples());
    return set;
}

} // namespace testsupport
