#include "core/analysis/WavHeader.h"

#include "core/base/AnalysisConstants.h"
#include "core/platform/FileStatus.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr std::uint16_t PcmTag = 1;
constexpr std::uint16_t FloatTag = 3;
constexpr std::uint16_t ExtensibleTag = 0xFFFE;
constexpr std::uint32_t FormatChunkMinimum = 16;
constexpr std::uint32_t ExtensibleChunkMinimum = 40;
// The sub-format GUID of the extensible format after its first two bytes
// (which hold the format tag): the same for PCM and float.
constexpr std::array<std::uint8_t, 14> SubFormatSuffix{0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                       0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr std::uint64_t RequiredDataBytes = 2 * SampleCount;

std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

std::uint32_t Le32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool IdIs(const std::uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

// Reads the format chunk's fields; body holds size bytes (at least 16).
void ReadFormat(const std::uint8_t* body, std::uint32_t size, TWavHeaderVerdict& verdict)
{
    verdict.FormatTag = Le16(body);
    verdict.Channels = Le16(body + 2);
    verdict.RateHz = Le32(body + 4);
    verdict.Bits = Le16(body + 14);
    switch (verdict.FormatTag) {
    case PcmTag: verdict.Format = TWavFormat::Pcm; break;
    case FloatTag: verdict.Format = TWavFormat::Float; break;
    case ExtensibleTag:
        verdict.Format = TWavFormat::Other;
        if (size >= ExtensibleChunkMinimum && std::equal(SubFormatSuffix.begin(), SubFormatSuffix.end(), body + 26)) {
            const std::uint16_t subFormat = Le16(body + 24);
            if (subFormat == PcmTag) {
                verdict.Format = TWavFormat::ExtensiblePcm;
            } else if (subFormat == FloatTag) {
                verdict.Format = TWavFormat::Float;
            }
        }
        break;
    default: verdict.Format = TWavFormat::Other; break;
    }
}

void AddFormatDifferences(TWavHeaderVerdict& verdict)
{
    auto& differences = verdict.Differences;
    if (verdict.Format == TWavFormat::Unknown) {
        differences.push_back({TWavDifference::NoFormatChunk, 0});
        return;
    }
    if (verdict.Channels != 1) {
        differences.push_back({TWavDifference::Channels, verdict.Channels});
    }
    if (verdict.RateHz != static_cast<std::uint32_t>(SampleRateHz)) {
        differences.push_back({TWavDifference::RateHz, verdict.RateHz});
    }
    switch (verdict.Format) {
    case TWavFormat::Pcm:
    case TWavFormat::ExtensiblePcm:
        if (verdict.Bits != 16) {
            differences.push_back({TWavDifference::PcmBits, verdict.Bits});
        }
        break;
    case TWavFormat::Float: differences.push_back({TWavDifference::FloatSamples, verdict.Bits}); break;
    default: differences.push_back({TWavDifference::OtherFormat, verdict.FormatTag}); break;
    }
}

std::string JoinDifferences(const std::vector<TWavDifference>& differences)
{
    std::string text;
    for (const auto& difference : differences) {
        if (!text.empty()) {
            text += ", ";
        }
        text += DescribeDifference(difference);
    }
    return text;
}

} // namespace

TWavHeaderVerdict CheckWavHeader(std::span<const std::uint8_t> firstBytes, std::optional<std::uint64_t> fileBytes)
{
    TWavHeaderVerdict verdict;
    const std::uint8_t* bytes = firstBytes.data();
    const std::uint64_t window = std::min<std::uint64_t>(firstBytes.size(), WavHeaderWindow);
    // Without a known size only the bytes at hand bound a chunk.
    const std::uint64_t fileEnd = fileBytes ? *fileBytes : UINT64_MAX;

    verdict.RiffWave = window >= 12 && IdIs(bytes, "RIFF") && IdIs(bytes + 8, "WAVE");
    if (!verdict.RiffWave) {
        verdict.Differences.push_back({TWavDifference::NotRiffWave, 0});
        verdict.Reason = JoinDifferences(verdict.Differences);
        return verdict;
    }

    std::optional<TWavDifference> chunkProblem;
    // Chunk sizes are 32-bit and positions 64-bit, so no sum below overflows.
    std::uint64_t position = 12;
    while (position + 8 <= window) {
        const std::uint8_t* header = bytes + position;
        const std::uint32_t size = Le32(header + 4);
        const std::uint64_t body = position + 8;
        const std::uint64_t end = body + size;
        if (IdIs(header, "data")) {
            verdict.DataOffset = static_cast<std::int64_t>(body);
            verdict.DataBytes = fileEnd > body ? std::min<std::uint64_t>(size, fileEnd - body) : 0;
            break;
        }
        if (IdIs(header, "fmt ") && verdict.Format == TWavFormat::Unknown && size >= FormatChunkMinimum &&
            body + std::min(size, ExtensibleChunkMinimum) <= window && end <= fileEnd) {
            ReadFormat(header + 8, std::min(size, static_cast<std::uint32_t>(window - body)), verdict);
        }
        if (end > fileEnd) {
            chunkProblem = TWavDifference{TWavDifference::ChunkPastEnd, static_cast<std::int64_t>(position)};
            break;
        }
        // A chunk of odd size is followed by a pad byte.
        position = end + (size & 1u);
    }

    AddFormatDifferences(verdict);
    if (chunkProblem) {
        verdict.Differences.push_back(*chunkProblem);
    } else if (verdict.DataOffset < 0) {
        verdict.Differences.push_back({TWavDifference::NoDataChunk, 0});
    } else {
        if (verdict.DataOffset != WavHeaderSize) {
            verdict.Differences.push_back({TWavDifference::DataOffset, verdict.DataOffset});
        }
        if (verdict.DataBytes < RequiredDataBytes) {
            verdict.Differences.push_back({TWavDifference::ShortData, static_cast<std::int64_t>(verdict.DataBytes)});
        }
    }
    verdict.Conforms = verdict.Differences.empty();
    verdict.Reason = verdict.Conforms ? "ok" : JoinDifferences(verdict.Differences);
    return verdict;
}

TWavHeaderVerdict CheckWavHeader(const TSampleBlock& block)
{
    // The header and the first samples, as they lay in the file.
    std::array<std::uint8_t, WavHeaderWindow> first{};
    std::memcpy(first.data(), block.Header.data(), WavHeaderSize);
    std::memcpy(first.data() + WavHeaderSize, block.Samples.data(), WavHeaderWindow - WavHeaderSize);
    std::optional<std::uint64_t> fileBytes;
    if (block.FileBytes >= 0) {
        fileBytes = static_cast<std::uint64_t>(block.FileBytes);
    }
    return CheckWavHeader(first, fileBytes);
}

TWavHeaderVerdict ProbeWavHandle(Platform::TFileHandle handle, const std::string& name)
{
    std::array<std::uint8_t, WavHeaderWindow> first{};
    const std::size_t got = ReadUpTo(handle, first.data(), first.size(), name);
    std::optional<std::uint64_t> fileBytes;
    if (const auto status = Platform::StatusOf(handle); status && status->Regular) {
        fileBytes = static_cast<std::uint64_t>(status->Size);
    } else if (got < first.size()) {
        fileBytes = got; // a pipe that ended within the window: its whole length
    }
    return CheckWavHeader(std::span(first.data(), got), fileBytes);
}

TWavHeaderVerdict ProbeWavFile(const std::string& path, TFileKinds kinds)
{
    TDataFile file; // closes itself when a read fails
    file.Bind(path);
    file.OpenRead(kinds);
    TWavHeaderVerdict verdict = ProbeWavHandle(file.Handle(), path);
    file.Close();
    return verdict;
}

std::string DescribeDifference(const TWavDifference& difference)
{
    const std::string value = std::to_string(difference.Value);
    switch (difference.Kind) {
    case TWavDifference::NotRiffWave: return "not a RIFF/WAVE file";
    case TWavDifference::NoFormatChunk: return "no fmt chunk";
    case TWavDifference::Channels: return value + (difference.Value == 1 ? " channel" : " channels");
    case TWavDifference::RateHz: return value + " Hz";
    case TWavDifference::PcmBits: return value + "-bit PCM";
    case TWavDifference::FloatSamples: return value + "-bit float";
    case TWavDifference::OtherFormat: return "format tag " + value;
    case TWavDifference::ChunkPastEnd: return "the chunk at byte " + value + " runs past the end of the file";
    case TWavDifference::NoDataChunk: return "no data chunk in the first " + std::to_string(WavHeaderWindow) + " bytes";
    case TWavDifference::DataOffset: return "samples at byte " + value;
    case TWavDifference::ShortData: return "only " + value + " bytes of samples";
    }
    return {};
}

std::string ExpectedWavLayout()
{
    return "1 channel, " + std::to_string(SampleRateHz) + " Hz, 16-bit PCM, samples at byte " +
           std::to_string(WavHeaderSize);
}
