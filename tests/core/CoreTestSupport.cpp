#include "CoreTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <fstream>
#include <linux/capability.h>
#include <numbers>
#include <stdexcept>
#include <sys/syscall.h>
#include <unistd.h>

namespace coretest {

TTempFolder::TTempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tulvo-core-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    Root = pattern;
}

TTempFolder::~TTempFolder()
{
    std::error_code ignored;
    // Folders made read-only by a test must be writable again to be emptied.
    for (auto it = std::filesystem::recursive_directory_iterator(Root, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored)) {
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
    }
    std::filesystem::remove_all(Root, ignored);
}

std::string TTempFolder::File(const std::string& name) const
{
    return (Root / name).string();
}

TSamples SineSamples(double frequencyHz, double amplitude, double phase)
{
    TSamples samples(SampleCount);
    for (int i = 0; i < SampleCount; ++i) {
        samples[i] = static_cast<std::int16_t>(std::lround(
            amplitude * std::sin(2.0 * std::numbers::pi * frequencyHz * i / SampleRateHz + phase)));
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

TSamples ConstantSamples(std::int16_t value)
{
    return TSamples(SampleCount, value);
}

void WriteRecording(const std::string& path, const TSamples& samples, bool realHeader,
                    int extraBytes)
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

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write fixture " + path);
    }
}

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool Exists(const std::string& path)
{
    return ::access(path.c_str(), F_OK) == 0;
}

std::vector<std::string> FolderEntries(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

int OpenDescriptorCount()
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}

namespace {

bool GetCapabilities(__user_cap_data_struct (&data)[2])
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capget, &header, data) == 0;
}

bool SetCapabilities(__user_cap_data_struct (&data)[2])
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capset, &header, data) == 0;
}

} // namespace

TPermissionsEnforced::TPermissionsEnforced()
{
    __user_cap_data_struct data[2]{};
    if (!GetCapabilities(data)) {
        return;
    }
    SavedEffective[0] = data[0].effective;
    SavedEffective[1] = data[1].effective;
    const std::uint32_t mask = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) |
                               (1u << CAP_FOWNER);
    data[0].effective &= ~mask;
    Changed = SetCapabilities(data);
    Dropped = Changed;
    if (Dropped) {
        // Proof that it worked: a read-only file must now refuse writing.
        std::string probe = (std::filesystem::temp_directory_path() / "tulvo-probe-XXXXXX").string();
        const int handle = ::mkstemp(probe.data());
        if (handle >= 0) {
            ::fchmod(handle, 0444);
            ::close(handle);
            const int writer = ::open(probe.c_str(), O_WRONLY);
            if (writer >= 0) {
                ::close(writer);
                Dropped = false;
            }
            ::unlink(probe.c_str());
        }
    }
}

TPermissionsEnforced::~TPermissionsEnforced()
{
    if (!Changed) {
        return;
    }
    __user_cap_data_struct data[2]{};
    if (GetCapabilities(data)) {
        data[0].effective = SavedEffective[0];
        data[1].effective = SavedEffective[1];
        SetCapabilities(data);
    }
}

} // namespace coretest
