#pragma once

// The fixture SpectrumFileIo, shared by the tests that hold on every system and those of POSIX
// behaviour (built on POSIX systems only).

#include "tests/support/FileBytes.h"
#include "tests/support/TTempFolder.h"

#include "core/analysis/SpmFile.h"
#include "core/files/TDataFile.h"

#include <gtest/gtest.h>

namespace spmfiletest {

using namespace testsupport;

class SpectrumFileIo : public testing::Test {
protected:
    TTempFolder Folder;
    TDataFile File;

    static TBandCodes SomeCodes(int seed)
    {
        TBandCodes codes{};
        for (int i = 0; i < SpectrumLines; ++i) {
            codes[i] = static_cast<std::int16_t>((i * 37 + seed * 101) % 10001);
        }
        return codes;
    }

    // The code of writing, 0 when it succeeds; the descriptor closed either way.
    int WriteCode(const std::string& path, extended scale, const TBandCodes& codes)
    {
        const int before = OpenDescriptorCount();
        int code = 0;
        try {
            WriteSpectrumFile(File, path, scale, codes);
        } catch (const EInOutError& e) {
            code = e.ErrorCode();
        }
        EXPECT_FALSE(File.IsOpen());
        EXPECT_EQ(OpenDescriptorCount(), before);
        return code;
    }
};

} // namespace spmfiletest
