#pragma once

// Recordings of known content: sample blocks of a sine, noise or a constant,
// and WAV files made of a header, a sample block and optional trailing bytes.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// Signed 16-bit samples, one channel.
using TSamples = std::vector<std::int16_t>;

// 16384 samples of a sine of the given frequency (Hz) and amplitude (counts)
// at 51200 Hz, rounded to the nearest integer.
TSamples SineSamples(double frequencyHz, double amplitude, double phase = 0.0);
// 16384 samples of white noise (uniform, +-amplitude counts) from a fixed seed.
TSamples NoiseSamples(std::uint32_t seed, int amplitude);
// 16384 samples of one value.
TSamples ConstantSamples(std::int16_t value);

// A unit of a synthetic production line: noise through two resonances near
// 2400 and 6800 Hz (about 100 Hz wide, 20 dB above the broadband floor),
// each a little off in frequency (up to 10 Hz) and level (up to 0.5 dB) from
// unit to unit as its seed draws, with an RMS of about 1300 counts and no
// sample beyond 16383 in magnitude, so that doubling never clips. The
// arithmetic is the basic operations alone: the same samples on every system.
struct TLineUnit {
    std::uint32_t Seed = 1;
    // Where the upper resonance lies, before the unit's own offset.
    double UpperResonanceHz = 6800.0;
    // A narrow tone added (a sine of ToneAmplitude counts), none at 0.
    double ToneHz = 0.0;
    double ToneAmplitude = 0.0;
    // A click added: a sine of ClickHz and ClickAmplitude counts for 5 ms
    // from 200 ms (samples 10240 to 10495), none at 0.
    double ClickHz = 0.0;
    double ClickAmplitude = 0.0;
};
TSamples LineUnitSamples(const TLineUnit& unit);

// The 44-byte header of a recording as the analysis expects it: RIFF/WAVE,
// a 16-byte PCM format chunk (1 channel, 51200 Hz, 16 bits), then the data
// chunk's header declaring dataBytes.
std::array<std::uint8_t, 44> CanonicalWavHeader(std::uint32_t dataBytes);

// Writes a recording: a 44-byte header (CanonicalWavHeader when realHeader,
// else 44 bytes of 0xEE), the samples, then extraBytes bytes of 0x5A.
void WriteRecording(const std::string& path, const TSamples& samples, bool realHeader = true, int extraBytes = 0);

} // namespace testsupport
