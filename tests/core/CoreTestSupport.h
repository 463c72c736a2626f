#pragma once

// Fixtures of the core tests: a temporary folder per test, recordings of
// known content, and a way to take away root's power to ignore file
// permissions (the tests run as root on the build machines).

#include "core/AnalysisConstants.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace coretest {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TTempFolder {
public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return Root; }
    // Path of name inside the folder, as a string.
    std::string File(const std::string& name) const;

private:
    std::filesystem::path Root;
};

using TSamples = std::vector<std::int16_t>;

// 16384 samples of a sine of the given frequency and amplitude at 51200 Hz,
// rounded to the nearest integer.
TSamples SineSamples(double frequencyHz, double amplitude, double phase = 0.0);
// 16384 samples of white noise (uniform, +-amplitude) from a fixed seed.
TSamples NoiseSamples(std::uint32_t seed, int amplitude);
// 16384 samples of one value.
TSamples ConstantSamples(std::int16_t value);

// Writes a recording: a 44-byte header (a plain RIFF header when
// realHeader, else 44 bytes of 0xEE), the samples, then extraBytes bytes.
void WriteRecording(const std::string& path, const TSamples& samples,
                    bool realHeader = true, int extraBytes = 0);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytes(const std::string& path);
bool Exists(const std::string& path);
// Names of the entries of a folder, sorted.
std::vector<std::string> FolderEntries(const std::filesystem::path& folder);
// Number of descriptors this process has open.
int OpenDescriptorCount();

// While it lives, the calling thread lacks the capabilities that let root
// read and write files regardless of their permissions, so that a
// read-only file behaves as it does for any user. Available() is false when
// the capabilities could not be dropped (the test should then be skipped).
class TPermissionsEnforced {
public:
    TPermissionsEnforced();
    ~TPermissionsEnforced();
    TPermissionsEnforced(const TPermissionsEnforced&) = delete;
    TPermissionsEnforced& operator=(const TPermissionsEnforced&) = delete;
    bool Available() const { return Dropped; }

private:
    bool Changed = false;
    bool Dropped = false;
    std::uint32_t SavedEffective[2] = {0, 0};
};

} // namespace coretest
