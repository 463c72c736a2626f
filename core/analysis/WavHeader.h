#pragma once

#include "core/analysis/TSampleBlock.h"
#include "core/files/TDataFile.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The header check of a recording: what its RIFF chunks say the samples are,
// against what the analysis assumes (one channel, 51200 Hz, 16-bit integer
// PCM, the samples starting at byte 44, at least 32768 bytes of them). The
// analysis itself never looks at the header; the check only tells the user
// that a recording was analysed as raw samples when it is laid out otherwise.

// Bytes of a recording the check looks at, from its start.
inline constexpr std::size_t WavHeaderWindow = 4096;

// What the format chunk says the samples are.
enum class TWavFormat {
    Unknown,       // no usable format chunk
    Pcm,           // format tag 1, integer PCM
    ExtensiblePcm, // format tag 0xFFFE with the integer PCM sub-format
    Float,         // format tag 3, or 0xFFFE with the float sub-format
    Other,         // any other format tag or sub-format
};

// One way a recording departs from the expected layout; Value is the figure
// the text names (channels, Hz, bits, tag, byte offset or byte count).
struct TWavDifference {
    enum TKind {
        NotRiffWave,   // no "RIFF" ... "WAVE" at its start
        NoFormatChunk, // no format chunk, or one shorter than 16 bytes
        Channels,
        RateHz,
        PcmBits,      // integer PCM of Value bits
        FloatSamples, // floating-point samples of Value bits
        OtherFormat,  // format tag Value
        ChunkPastEnd, // the chunk at byte Value runs past the end of the file
        NoDataChunk,  // no data chunk within the first WavHeaderWindow bytes
        DataOffset,   // the samples start at byte Value
        ShortData,    // the data chunk holds Value bytes, fewer than 32768
    };
    TKind Kind = NotRiffWave;
    std::int64_t Value = 0;

    bool operator==(const TWavDifference&) const = default;
};

// The facts of a recording's header and whether they are what the analysis
// assumes.
struct TWavHeaderVerdict {
    bool RiffWave = false; // "RIFF" at byte 0, "WAVE" at byte 8
    TWavFormat Format = TWavFormat::Unknown;
    std::uint16_t FormatTag = 0; // as written, 0xFFFE for the extensible format
    int Channels = 0;            // 0 when Format is Unknown
    std::uint32_t RateHz = 0;
    int Bits = 0;
    std::int64_t DataOffset = -1; // the first sample byte; -1 without a data chunk
    std::uint64_t DataBytes = 0;  // the data chunk's bytes that the file holds
    bool Conforms = false;
    // What differs, in the order the reason names them; empty when it conforms.
    std::vector<TWavDifference> Differences;
    // "ok", or the differences in words, e.g. "2 channels, 44100 Hz".
    std::string Reason;
};

// Checks the header from the first bytes of a recording (only the first
// WavHeaderWindow of them are looked at). fileBytes is the recording's size,
// when known: a chunk that runs past it is noted, and the data chunk holds
// only the bytes up to it. Never throws for any content.
TWavHeaderVerdict CheckWavHeader(std::span<const std::uint8_t> firstBytes, std::optional<std::uint64_t> fileBytes);

// CheckWavHeader of a sample block already read (its header and first samples
// are the recording's first bytes).
TWavHeaderVerdict CheckWavHeader(const TSampleBlock& block);

// Reads the first WavHeaderWindow bytes of the file at path (fewer when it is
// shorter) and checks them. Raises the EInOutError of TDataFile when the file
// cannot be opened or read.
TWavHeaderVerdict ProbeWavFile(const std::string& path, TFileKinds kinds = TFileKinds::RegularOnly);

// The same for a handle already open for reading (standard input), named
// name in errors; reads from its current position.
TWavHeaderVerdict ProbeWavHandle(Platform::TFileHandle handle, const std::string& name);

// One difference in words ("2 channels", "samples at byte 78").
std::string DescribeDifference(const TWavDifference& difference);

// What the analysis assumes, in words: "1 channel, 51200 Hz, 16-bit PCM,
// samples at byte 44".
std::string ExpectedWavLayout();
