// The Windows side of the platform layer, where it differs from the POSIX one: the table of
// Windows error codes, a spectrum file that another program holds open, and the default job
// count from the process's affinity mask. Built in the Windows build only.

#include "tests/support/FileBytes.h"
#include "tests/support/TTempFolder.h"

#include "core/analysis/SpmFile.h"
#include "core/batch/BatchRun.h"
#include "core/files/ErrorMessages.h"
#include "core/files/FileReplacement.h"
#include "core/platform/WindowsWide.h"

#include <gtest/gtest.h>

#include <bit>
#include <ostream>
#include <windows.h>

using namespace testsupport;

namespace {

// ---------------------------------------------------------------------------
// Windows error codes
// ---------------------------------------------------------------------------

struct TErrorCase {
    DWORD Code;
    TFileOperation Operation;
    int IoCode;
    const char* Text; // the message with the reason tulvo-cli prints in brackets
};

void PrintTo(const TErrorCase& c, std::ostream* out) { *out << "Windows error " << c.Code; }

class WindowsErrors : public testing::TestWithParam<TErrorCase> {};

TEST_P(WindowsErrors, MapToTheLinuxMessagesWithReasonsOfTheProgramsOwn)
{
    const TErrorCase& c = GetParam();
    const TTempFolder folder; // a missing file in it is "not found" on open
    const EInOutError error = IoErrorFromSystem(static_cast<int>(c.Code), c.Operation, folder.File("x.spm"));
    const std::string reason = ReasonForMessage(error.ErrorCode(), error.SystemError());
    EXPECT_EQ(error.ErrorCode(), c.IoCode);
    EXPECT_EQ(error.SystemError(), static_cast<int>(c.Code));
    EXPECT_EQ(error.what() + (reason.empty() ? "" : " (" + reason + ")"), c.Text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WindowsErrors,
    testing::Values(
        TErrorCase{ERROR_FILE_NOT_FOUND, TFileOperation::Open, 2, "File not found"},
        TErrorCase{ERROR_FILE_NOT_FOUND, TFileOperation::Create, 3, "Invalid filename (No such file or directory)"},
        TErrorCase{ERROR_PATH_NOT_FOUND, TFileOperation::Open, 3, "Invalid filename (No such file or directory)"},
        TErrorCase{ERROR_INVALID_NAME, TFileOperation::Create, 3, "Invalid filename (Invalid file name)"},
        TErrorCase{ERROR_FILENAME_EXCED_RANGE, TFileOperation::Open, 3, "Invalid filename (File name too long)"},
        TErrorCase{ERROR_BAD_NETPATH, TFileOperation::Open, 3, "Invalid filename (Network path not found)"},
        TErrorCase{ERROR_TOO_MANY_OPEN_FILES, TFileOperation::Open, 4, "Too many open files"},
        TErrorCase{ERROR_ACCESS_DENIED, TFileOperation::Create, 5, "File access denied"},
        TErrorCase{ERROR_WRITE_PROTECT, TFileOperation::Write, 5, "File access denied (Read-only file system)"},
        TErrorCase{ERROR_SHARING_VIOLATION, TFileOperation::Rename, 5,
                   "File access denied (the file is open in another program)"},
        TErrorCase{ERROR_LOCK_VIOLATION, TFileOperation::Read, 5,
                   "File access denied (the file is open in another program)"},
        TErrorCase{336, TFileOperation::Open, 5, "File access denied (Is a directory)"},
        TErrorCase{ERROR_DISK_FULL, TFileOperation::Write, 101, "Disk full"},
        TErrorCase{ERROR_HANDLE_DISK_FULL, TFileOperation::Close, 101, "Disk full"},
        TErrorCase{1295, TFileOperation::Write, 101, "Disk full (Disk quota exceeded)"},
        // A full disk means "Disk full" only where something is stored.
        TErrorCase{ERROR_DISK_FULL, TFileOperation::Create, 112, "I/O error 112 (No space left on device)"},
        // Codes outside the table: the Windows code, no reason (never the system's own text).
        TErrorCase{ERROR_NOT_READY, TFileOperation::Read, 21, "I/O error 21"},
        TErrorCase{ERROR_CRC, TFileOperation::Read, 23, "I/O error 23"},
        TErrorCase{ERROR_FILE_EXISTS, TFileOperation::Create, 80, "I/O error 80"},
        TErrorCase{ERROR_CANT_RESOLVE_FILENAME, TFileOperation::Create, 1921, "I/O error 1921"}));

// ---------------------------------------------------------------------------
// A target another program holds open
// ---------------------------------------------------------------------------

TEST(WindowsReplacement, FileHeldOpenByAnotherProgramFailsNamingItAndStaysWhole)
{
    const TTempFolder folder;
    const std::string target = folder.File("Спектр.spm");
    const std::vector<std::uint8_t> old(732, 0x11);
    WriteBytes(target, old);
    // Held as editors and viewers hold files: read access, others may only read.
    const HANDLE holder = ::CreateFileW(Platform::Windows::Wide(target).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    try {
        ReplaceWithBytes(target, std::string(732, '\x22'), TReplacementKind::SpectrumFile,
                         TFlushing::WhereNoFileSystemFlush, target);
        ADD_FAILURE() << "a file held open was replaced";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), IoCode::AccessDenied);
        EXPECT_EQ(e.Path(), target);
        EXPECT_EQ(ReasonForMessage(e.ErrorCode(), e.SystemError()), "the file is open in another program");
    }
    ::CloseHandle(holder);
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"Спектр.spm"});
}

// ---------------------------------------------------------------------------
// Processors
// ---------------------------------------------------------------------------

TEST(WindowsProcessors, DefaultJobCountFollowsTheProcessAffinityMask)
{
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    ASSERT_TRUE(::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system));
    ASSERT_TRUE(::SetProcessAffinityMask(::GetCurrentProcess(), process & (~process + 1))); // its lowest processor
    const int narrowed = DefaultJobCount();
    ::SetProcessAffinityMask(::GetCurrentProcess(), process);
    EXPECT_EQ(narrowed, 1);
    EXPECT_EQ(DefaultJobCount(), std::popcount(static_cast<unsigned long long>(process)));
}

} // namespace
