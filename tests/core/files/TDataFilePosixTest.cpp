// A full device (/dev/full) as the guarded file operations see it.

#include "core/files/TDataFile.h"

#include <gtest/gtest.h>

namespace {

TEST(DataFile, WriteToAFullDeviceIsDiskFull)
{
    TDataFile file;
    file.Bind("/dev/full");
    file.Create();
    const char bytes[16] = {};
    try {
        file.WriteAll(bytes, sizeof bytes);
        ADD_FAILURE() << "write to /dev/full succeeded";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), IoCode::DiskFull);
    }
    file.CloseQuietly();
    EXPECT_FALSE(file.IsOpen());
}

} // namespace
