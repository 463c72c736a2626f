// Spectrum files where POSIX behaviour decides: a file size limit cutting a
// write short, a folder standing in for the file, a folder without write permission.

#include "SpectrumFileIoFixture.h"

#include "tests/support/FileBytes.h"
#include "tests/support/TPermissionsEnforced.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace testsupport;

namespace {

using spmfiletest::SpectrumFileIo;

TEST_F(SpectrumFileIo, ShortWriteLeavesTheOlderFileAndNoTemporary)
{
    const std::string path = Folder.File("old.spm");
    const std::vector<std::uint8_t> older(732, 0x42);
    WriteBytes(path, older);

    // A file size limit makes the write store fewer bytes than asked.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    const int code = WriteCode(path, 1.0L, SomeCodes(3));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(code, IoCode::DiskFull);
    EXPECT_EQ(ReadBytes(path), older);
    EXPECT_EQ(FolderEntries(Folder.Path()), std::vector<std::string>{"old.spm"});
}

TEST_F(SpectrumFileIo, UnwritableOrMissingFolderCreatesNothing)
{
    EXPECT_EQ(WriteCode(Folder.File("missing/a.spm"), 1.0L, SomeCodes(6)), IoCode::InvalidFilename);
    EXPECT_EQ(WriteCode("", 1.0L, SomeCodes(6)), IoCode::InvalidFilename);
    // A folder standing where the spectrum file should go.
    ::mkdir(Folder.File("dir.spm").c_str(), 0755);
    EXPECT_EQ(WriteCode(Folder.File("dir.spm"), 1.0L, SomeCodes(6)), IoCode::AccessDenied);

    TPermissionsEnforced enforced;
    if (!enforced.Available()) {
        GTEST_SKIP() << "cannot make file permissions apply to this process";
    }
    const std::string locked = Folder.File("locked");
    ASSERT_EQ(::mkdir(locked.c_str(), 0555), 0);
    EXPECT_EQ(WriteCode(locked + "/a.spm", 1.0L, SomeCodes(6)), IoCode::AccessDenied);
    EXPECT_TRUE(FolderEntries(locked).empty());
}

} // namespace
