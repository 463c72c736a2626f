// tulvo-cli's error lines with the reasons of POSIX error numbers, and help
// written to a full device (/dev/full).

#include "ToolRun.h"

#include "cli/ExitStatus.h"
#include "cli/ToolMessages.h"

#include <cerrno>
#include <gtest/gtest.h>

#include <ostream>

using namespace clitest;

namespace {

TEST(Help, FailedWriteOfHelpIsReported)
{
    const TToolRun run = RunToolInProcess({"--help"}, "", "/dev/full");
    EXPECT_EQ(run.Status, ExitFailure);
    EXPECT_EQ(run.Err, "tulvo-cli: standard output: Disk full\n");
}

struct TReasonCase {
    const char* Name;
    int Code;
    int Errnum;
    const char* Line;
};

void PrintTo(const TReasonCase& c, std::ostream* os) { *os << c.Name; }

class ErrorLines : public testing::TestWithParam<TReasonCase> {};

TEST_P(ErrorLines, AddTheSystemsReasonWhereItSaysMore)
{
    const TReasonCase& c = GetParam();
    EXPECT_EQ(ErrorLine("/ro/rec.spm", EInOutError(c.Code).what(), c.Code, c.Errnum), c.Line);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, ErrorLines,
    testing::Values(
        TReasonCase{"ReadOnlyMedium", 5, EROFS, "tulvo-cli: /ro/rec.spm: File access denied (Read-only file system)\n"},
        TReasonCase{"Refused", 5, EACCES, "tulvo-cli: /ro/rec.spm: File access denied\n"},
        TReasonCase{"NotPermitted", 5, EPERM, "tulvo-cli: /ro/rec.spm: File access denied (Operation not permitted)\n"},
        TReasonCase{"Folder", 5, EISDIR, "tulvo-cli: /ro/rec.spm: File access denied (Is a directory)\n"},
        TReasonCase{"NoSystemError", 5, 0, "tulvo-cli: /ro/rec.spm: File access denied\n"},
        TReasonCase{"Missing", 2, ENOENT, "tulvo-cli: /ro/rec.spm: File not found\n"},
        TReasonCase{"MissingFolder", 3, ENOENT, "tulvo-cli: /ro/rec.spm: Invalid filename (No such file or directory)\n"},
        TReasonCase{"NameTooLong", 3, ENAMETOOLONG, "tulvo-cli: /ro/rec.spm: Invalid filename (File name too long)\n"},
        TReasonCase{"NoSpace", 101, ENOSPC, "tulvo-cli: /ro/rec.spm: Disk full\n"},
        TReasonCase{"Quota", 101, EDQUOT, "tulvo-cli: /ro/rec.spm: Disk full (Disk quota exceeded)\n"},
        TReasonCase{"TooLarge", 101, EFBIG, "tulvo-cli: /ro/rec.spm: Disk full (File too large)\n"},
        TReasonCase{"ProcessHandles", 4, EMFILE, "tulvo-cli: /ro/rec.spm: Too many open files\n"},
        TReasonCase{"SystemHandles", 4, ENFILE, "tulvo-cli: /ro/rec.spm: Too many open files (Too many open files in system)\n"},
        TReasonCase{"OtherError", EPIPE, EPIPE, "tulvo-cli: /ro/rec.spm: I/O error 32 (Broken pipe)\n"},
        TReasonCase{"ShortFile", 100, 0, "tulvo-cli: /ro/rec.spm: Read beyond end of file\n"}),
    [](const testing::TestParamInfo<TReasonCase>& info) { return std::string(info.param.Name); });
// clang-format on

} // namespace
