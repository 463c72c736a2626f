#include "core/TSampleBlock.h"

#include "core/TDataFile.h"

#include <bit>

static_assert(std::endian::native == std::endian::little,
              "the samples are little-endian and are read as a memory image");

TSampleBlock ReadSampleBlock(const std::string& wavPath)
{
    TSampleBlock block;
    TDataFile file; // closes itself quietly when a read fails
    file.Bind(wavPath);
    file.OpenRead();
    file.ReadExactly(block.Header.data(), sizeof(block.Header));
    file.ReadExactly(block.Samples.data(), sizeof(block.Samples));
    file.Close();
    return block;
}
