#include "tests/support/RecordingFixtures.h"

#include "tests/support/FileBytes.h"

#include "core/base/AnalysisConstants.h"

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

namespace {

// A 32-bit linear congruential generator: the same values everywhere.
class TLcg {
public:
    explicit TLcg(std::uint32_t seed) : state_(seed) {}

    // Uniform in [0, 1).
    double Uniform()
    {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / 16777216.0;
    }

    // Nearly normal, mean 0 and standard deviation 1: the sum of four
    // uniforms, centred and scaled.
    double Normal() { return (Uniform() + Uniform() + Uniform() + Uniform() - 2.0) * 1.7320508075688772; }

private:
    std::uint32_t state_;
};

// cos and sin of x (|x| < 2) by their series, in the basic operations alone.
double SeriesCos(double x)
{
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; k < 20; ++k) {
        term = -term * x * x / ((2 * k - 1) * (2 * k));
        sum += term;
    }
    return sum;
}

double SeriesSin(double x)
{
    double term = x;
    double sum = x;
    for (int k = 1; k < 20; ++k) {
        term = -term * x * x / ((2 * k) * (2 * k + 1));
        sum += term;
    }
    return sum;
}

// Noise through a two-pole resonance at frequencyHz, about 100 Hz wide,
// scaled by gain, added to out.
void AddResonance(std::vector<double>& out, TLcg& random, double frequencyHz, double gain)
{
    const double r = 0.9878; // poles at exp(-pi 200 Hz / 51200 Hz)
    const double c = 2.0 * r * SeriesCos(2.0 * std::numbers::pi * frequencyHz / SampleRateHz);
    double y1 = 0.0;
    double y2 = 0.0;
    // A settled resonance: the first 4096 outputs are dropped.
    for (int i = -4096; i < SampleCount; ++i) {
        const double y = random.Normal() + c * y1 - r * r * y2;
        y2 = y1;
        y1 = y;
        if (i >= 0) {
            out[static_cast<std::size_t>(i)] += gain * y;
        }
    }
}

// A sine of frequencyHz and amplitude counts, from phase 0 at first, added
// to the values from first to last: by rotation, exact to the basic
// operations.
void AddSine(std::vector<double>::iterator first, std::vector<double>::iterator last, double frequencyHz,
             double amplitude)
{
    const double w = 2.0 * std::numbers::pi * frequencyHz / SampleRateHz;
    const double c = SeriesCos(w);
    const double s = SeriesSin(w);
    double re = 1.0;
    double im = 0.0;
    for (; first != last; ++first) {
        *first += amplitude * im;
        const double next = re * c - im * s;
        im = re * s + im * c;
        re = next;
    }
}

} // namespace

TSamples LineUnitSamples(const TLineUnit& unit)
{
    TLcg random(unit.Seed * 2654435761u + 12345u);
    std::vector<double> signal(SampleCount, 0.0);
    for (double& value : signal) {
        value = 300.0 * random.Normal();
    }
    // Each unit's resonances lie up to 10 Hz off and up to 0.5 dB (6 %) louder or softer.
    const double lowerHz = 2400.0 + 20.0 * random.Uniform() - 10.0;
    const double upperHz = unit.UpperResonanceHz + 20.0 * random.Uniform() - 10.0;
    const double lowerGain = 40.0 * (0.94 + 0.12 * random.Uniform());
    const double upperGain = 30.0 * (0.94 + 0.12 * random.Uniform());
    AddResonance(signal, random, lowerHz, lowerGain);
    AddResonance(signal, random, upperHz, upperGain);
    if (unit.ToneAmplitude != 0.0) {
        AddSine(signal.begin(), signal.end(), unit.ToneHz, unit.ToneAmplitude);
    }
    if (unit.ClickAmplitude != 0.0) {
        const auto first = signal.begin() + SampleRateHz / 5; // 200 ms
        AddSine(first, first + SampleRateHz / 200, unit.ClickHz, unit.ClickAmplitude);
    }
    TSamples samples(SampleCount);
    for (int i = 0; i < SampleCount; ++i) {
        const double value = std::clamp(signal[static_cast<std::size_t>(i)], -16383.0, 16383.0);
        samples[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(std::lround(value));
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
