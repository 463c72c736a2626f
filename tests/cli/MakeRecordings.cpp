// make-recordings FOLDER COUNT: writes COUNT recordings rec0.wav... (sines of
// different frequencies) for the tests that run the README's commands.
//
// make-recordings --reference-set FOLDER: writes the recordings that the tests
// of the exact analysis make (the literal analysis's cases, the analysis's and
// the batch's recordings) as exact-*.wav, and recordings that are refused
// (broken-*.wav): the set that the Windows build must analyse to the same
// bytes and refuse with the same messages as the Linux build.

#include "tests/support/RecordingFixtures.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

using namespace testsupport;

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

void WriteReferenceSet(const std::string& folder)
{
    const auto write = [&](const std::string& name, const TSamples& samples) {
        WriteRecording(folder + "/exact-" + name + ".wav", samples);
    };
    // The literal analysis's cases (tests/core/LiteralAnalysisTest.cpp).
    write("noise_30", NoiseSamples(101, 30));
    write("noise_3000", NoiseSamples(102, 3000));
    write("noise_full_scale", NoiseSamples(103, 32767));
    write("noise_1_lsb", NoiseSamples(104, 1));
    write("square_full_scale", FullScaleSquare(23));
    write("sine_5500", SineSamples(5500.0, 20000.0, 0.25));
    write("dc_25000_tone_40", OffsetTone(25000, 3125.0, 40.0));
    // The analysis's recordings (tests/core/TRecordingAnalysisTest.cpp).
    write("sine_5500_10000", SineSamples(5500.0, 10000.0));
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        write("noise_12000_" + std::to_string(seed), NoiseSamples(seed, 12000));
    }
    write("noise_8000", NoiseSamples(11, 8000));
    TSamples toneInNoise = NoiseSamples(5, 6000);
    const TSamples tone = SineSamples(2025.0, 4000.0, 0.3);
    for (std::size_t i = 0; i < toneInNoise.size(); ++i) {
        toneInNoise[i] = static_cast<std::int16_t>(toneInNoise[i] + tone[i]);
    }
    write("noise_tone_2025", toneInNoise);
    write("noise_5000", NoiseSamples(21, 5000));
    write("dc_20000", ConstantSamples(20000));
    write("sine_1200_loud", SineSamples(1200.0, 32000.0));
    write("sine_3000_loud", SineSamples(3000.0, 30000.0));
    write("sine_7000", SineSamples(7000.0, 2000.0));
    write("sine_5000", SineSamples(5000.0, 1000.0));
    // The batch's recordings (tests/core/BatchRunTest.cpp, tests/cli/BatchCommandTest.cpp).
    for (int i = 0; i < 12; ++i) {
        write("batch_" + std::to_string(i), i % 2 ? NoiseSamples(static_cast<std::uint32_t>(i), 3000 + 100 * i)
                                                  : SineSamples(1500.0 + 250.0 * i, 5000.0));
        write("command_" + std::to_string(i), i % 2 ? NoiseSamples(static_cast<std::uint32_t>(40 + i), 9000)
                                                    : SineSamples(2000.0 + 700.0 * i, 12000.0));
    }
    // Refused recordings: silent, cut short, shorter than a header, empty.
    WriteRecording(folder + "/broken-silent.wav", ConstantSamples(0));
    TSamples half = SineSamples(3000.0, 9000.0);
    half.resize(half.size() / 2);
    WriteRecording(folder + "/broken-short.wav", half);
    std::ofstream(folder + "/broken-header-only.wav", std::ios::binary).write("RIFF", 4);
    std::ofstream(folder + "/broken-empty.wav", std::ios::binary);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--reference-set") {
        WriteReferenceSet(argv[2]);
        return 0;
    }
    if (argc != 3) {
        return 2;
    }
    const int count = std::atoi(argv[2]);
    for (int i = 0; i < count; ++i) {
        testsupport::WriteRecording(std::string(argv[1]) + "/rec" + std::to_string(i) + ".wav",
                                    testsupport::SineSamples(1500.0 + 250.0 * i, 9000.0));
    }
    return 0;
}
