#include "tests/support/RecordingFixtures.h"

#include "tests/support/FileBytes.h"

#include "core/AnalysisConstants.h"

#include <algorithm>
#include <array>
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

std::array<std::uint8_t, 44> CanonicalWavHeader(std::uint32_t dataBytes)
{
    std::array<std::uint8_t, 44> header{};
    auto put32 = [&header](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            header[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    };
    auto put16 = [&header](std::size_t at, std::uint16_t value) {
        header[at] = static_cast<std::uint8_t>(value);
        header[at + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    std::memcpy(header.data(), "RIFF", 4);
    put32(4, 36 + dataBytes);
    std::memcpy(header.data() + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);         // integer PCM
    put16(22, 1);         // one channel
    put32(24, 51200);     // samples per second
    put32(28, 51200 * 2); // bytes per second
    put16(32, 2);         // bytes per sample frame
    put16(34, 16);        // bits per sample
    std::memcpy(header.data() + 36, "data", 4);
    put32(40, dataBytes);
    return header;
}

void WriteRecording(const std::string& path, const TSamples& samples, bool realHeader, int extraBytes)
{
    // Sized once and filled in place (growing it by inserts trips a false
    // bounds warning of the compiler).
    std::vector<std::uint8_t> bytes(WavHeaderSize + samples.size() * 2 + static_cast<std::size_t>(extraBytes), 0x5A);
    std::fill_n(bytes.begin(), WavHeaderSize, 0xEE);
    if (realHeader) {
        const auto header = CanonicalWavHeader(static_cast<std::uint32_t>(samples.size() * 2));
        std::memcpy(bytes.data(), header.data(), header.size());
    }
    std::memcpy(bytes.data() + WavHeaderSize, samples.data(), samples.size() * 2);
    WriteBytes(path, bytes);
}

} // namespace testsupport
