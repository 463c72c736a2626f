#include "core/analysis/TSampleBlock.h"

#include "core/files/TDataFile.h"

#include "core/platform/FileStatus.h"

#include <bit>

static_assert(std::endian::native == std::endian::little,
              "the samples are little-endian and are read as a memory image");

TSampleBlock ReadSampleBlock(const std::string& wavPath, TFileKinds kinds)
{
    TSampleBlock block;
    TDataFile file; // closes itself quietly when a read fails
    file.Bind(wavPath);
    file.OpenRead(kinds);
    if (const auto status = Platform::StatusOf(file.Handle()); status && status->Regular) {
        block.FileBytes = status->Size;
    }
    file.ReadExactly(block.Header.data(), sizeof(block.Header));
    file.ReadExactly(block.Samples.data(), sizeof(block.Samples));
    file.Close();
    return block;
}
