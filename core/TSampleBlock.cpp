#include "core/TSampleBlock.h"

#include "core/TDataFile.h"

#include <bit>
#include <sys/stat.h>

static_assert(std::endian::native == std::endian::little,
              "the samples are little-endian and are read as a memory image");

TSampleBlock ReadSampleBlock(const std::string& wavPath, TFileKinds kinds)
{
    TSampleBlock block;
    TDataFile file; // closes itself quietly when a read fails
    file.Bind(wavPath);
    file.OpenRead(kinds);
    struct stat info {};
    if (::fstat(file.Handle(), &info) == 0 && S_ISREG(info.st_mode)) {
        block.FileBytes = info.st_size;
    }
    file.ReadExactly(block.Header.data(), sizeof(block.Header));
    file.ReadExactly(block.Samples.data(), sizeof(block.Samples));
    file.Close();
    return block;
}
