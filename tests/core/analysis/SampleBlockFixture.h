#pragma once

// The fixture SampleBlock, shared by the tests that hold on every system and those of POSIX
// behaviour (built on POSIX systems only).

#include "tests/support/FileBytes.h"
#include "tests/support/TTempFolder.h"

#include "core/analysis/TSampleBlock.h"
#include "core/base/TulvoErrors.h"

#include <gtest/gtest.h>

namespace sampleblocktest {

using namespace testsupport;

class SampleBlock : public testing::Test {
protected:
    TTempFolder Folder;
    // The block of the last read that succeeded.
    TSampleBlock Block;

    // The I/O code of reading path, 0 when it reads; checks that no
    // descriptor stays open either way.
    int ReadCode(const std::string& path)
    {
        const int before = OpenDescriptorCount();
        int code = 0;
        try {
            Block = ReadSampleBlock(path);
        } catch (const EInOutError& e) {
            code = e.ErrorCode();
        }
        EXPECT_EQ(OpenDescriptorCount(), before) << "descriptor left open by " << path;
        return code;
    }
};

} // namespace sampleblocktest
