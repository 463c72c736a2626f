#pragma once

#include "core/base/AnalysisConstants.h"
#include "core/files/TDataFile.h"

#include <array>
#include <cstdint>
#include <string>

// The part of a recording that the program reads: the 44-byte header, kept
// as it stands and never examined, and the 16384 signed 16-bit samples
// (little-endian, one channel) that follow it. Anything after them is ignored.
struct TSampleBlock {
    std::array<std::uint8_t, WavHeaderSize> Header{};
    std::array<std::int16_t, SampleCount> Samples{};
    // The recording's size in bytes; -1 when it is not a regular file.
    std::int64_t FileBytes = -1;
};

// Reads the sample block of the recording wavPath. Any file of at least
// SampleBlockFileSize (32812) bytes is accepted; a shorter one raises 100
// "Read beyond end of file", any other failure of the file the EInOutError of
// TDataFile (a folder in its place: 5; with RegularOnly also a FIFO, socket or
// device, refused without waiting for it). The file is opened and closed
// here, on every path.
TSampleBlock ReadSampleBlock(const std::string& wavPath, TFileKinds kinds = TFileKinds::RegularOnly);
