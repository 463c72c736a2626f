#include "tests/support/RecordingFixtures.h"

#include "tests/support/FileBytes.h"

#include "core/AnalysisConstants.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace testsupport {

TSamples SineSamples(double frequencyHz, double amplitude, double phase)
{
    TSamples samples(SampleCount);
    for (int i = 0; i < SampleCount; ++i) {
        samples[i] = static_cast<std::int16_t>(
            std::lround(amplitude * std::sin(2.0 * std::numbers::pi * frequencyHz * i / SampleRateHz + phase)));
    }
    return samples;
}

TSamples NoiseSamples(std::uint32_t seed, int amplitude)
{
    // A 32-bit linear congruential generator: the same values everywhere.
    TSamples samples(SampleCount);
    std::uint32_t state = seed;
    for (auto& sample : samples) {
        state = state * 1664525u + 1013904223u;
        const int value = static_cast<int>(state >> 16) % (2 * amplitude + 1) - amplitude;
        sample = static_cast<std::int16_t>(value);
    }
    return samples;
}

TSamples ConstantSamples(std::int16_t value) { return TSamples(SampleCount, value); }

void WriteRecording(const std::string& path, const TSamples& samples, bool realHeader, int extraBytes)
{
    // Sized once and filled in place (growing it by inserts trips a false
    // bounds warning of the compiler).
    std::vector<std::uint8_t> bytes(WavHeaderSize + samples.size() * 2 + static_cast<std::size_t>(extraBytes), 0x5A);
    std::fill_n(bytes.begin(), WavHeaderSize, 0xEE);
    if (realHeader) {
        const char riff[] = "RIFF\0\0\0\0WAVEfmt ";
        std::memcpy(bytes.data(), riff, 16);
    }
    std::memcpy(bytes.data() + WavHeaderSize, samples.data(), samples.size() * 2);
    WriteBytes(path, bytes);
}

} // namespace testsupport
