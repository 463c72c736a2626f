#pragma once

// The fixture SpectrumWriterSeries, shared by the replacement's tests that hold on every system
// and those of POSIX behaviour: a spectrum-file writer over files of a fresh folder, with the
// images of spectra whose codes are all one value.

#include "tests/support/FileBytes.h"
#include "tests/support/TTempFolder.h"

#include "core/analysis/TSpmFileWriter.h"

#include <gtest/gtest.h>

namespace writertest {

inline TBandCodes CodesOf(int value)
{
    TBandCodes codes{};
    codes.fill(static_cast<std::int16_t>(value));
    return codes;
}

// The bytes of the spectrum file of scale 0.5 and codes CodesOf(value).
inline std::vector<std::uint8_t> ImageOf(int value)
{
    const auto image = SpectrumFileImage(0.5L, CodesOf(value));
    return std::vector<std::uint8_t>(image.begin(), image.end());
}

class SpectrumWriterSeries : public testing::Test {
protected:
    testsupport::TTempFolder Folder;
    TDataFile File;
    TSpmFileWriter Writer;

    // Writes the spectrum of CodesOf(value) as the file name of Folder.
    void Write(const std::string& name, int value)
    {
        Writer.Write(File, Folder.File(name), 0.5L, CodesOf(value));
        EXPECT_FALSE(File.IsOpen());
    }
};

} // namespace writertest
