// The POSIX error numbers the I/O errors come from: mapped by meaning, and
// kept with the error when it is named after another file.

#include "core/base/TulvoErrors.h"
#include "core/files/ErrorMessages.h"

#include <cerrno>
#include <gtest/gtest.h>

#include <ostream>

namespace {

struct TErrnoCase {
    const char* Name;
    int Errnum;
    TFileOperation Operation;
    int Code;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TErrnoCase& c, std::ostream* os) { *os << c.Name; }

class ErrnoMapping : public testing::TestWithParam<TErrnoCase> {};

TEST_P(ErrnoMapping, FollowsTheMeaning)
{
    const auto& c = GetParam();
    const EInOutError error = IoErrorFromSystem(c.Errnum, c.Operation, "/tmp/anything.wav");
    EXPECT_EQ(error.ErrorCode(), c.Code);
    EXPECT_EQ(std::string(error.what()), EInOutError(c.Code).what());
    // The file and the system's error stay with it, for tools that name them.
    EXPECT_EQ(error.Path(), "/tmp/anything.wav");
    EXPECT_EQ(error.SystemError(), c.Errnum);
}

TEST(InOutError, WithPathKeepsCodeMessageAndSystemError)
{
    const EInOutError original = IoErrorFromSystem(EROFS, TFileOperation::Create, "/ro/.tulvo-1-0.tmp");
    const EInOutError moved = original.WithPath("/ro/rec.spm");
    EXPECT_EQ(moved.Path(), "/ro/rec.spm");
    EXPECT_EQ(moved.ErrorCode(), IoCode::AccessDenied);
    EXPECT_STREQ(moved.what(), "File access denied");
    EXPECT_EQ(moved.SystemError(), EROFS);
    EXPECT_EQ(EInOutError(IoCode::DiskFull).SystemError(), 0);
}

INSTANTIATE_TEST_SUITE_P(Errors, ErrnoMapping,
                         testing::Values(TErrnoCase{"MissingFileInExistingFolder", ENOENT, TFileOperation::Open, 2},
                                         TErrnoCase{"MissingFolderOnCreate", ENOENT, TFileOperation::Create, 3},
                                         TErrnoCase{"NotAFolderOnThePath", ENOTDIR, TFileOperation::Open, 3},
                                         TErrnoCase{"NameTooLong", ENAMETOOLONG, TFileOperation::Create, 3},
                                         TErrnoCase{"ProcessOutOfHandles", EMFILE, TFileOperation::Open, 4},
                                         TErrnoCase{"SystemOutOfHandles", ENFILE, TFileOperation::Create, 4},
                                         TErrnoCase{"PermissionRefused", EACCES, TFileOperation::Open, 5},
                                         TErrnoCase{"OperationRefused", EPERM, TFileOperation::Create, 5},
                                         TErrnoCase{"ReadOnlyMedium", EROFS, TFileOperation::Create, 5},
                                         TErrnoCase{"FolderWhereFileExpected", EISDIR, TFileOperation::Read, 5},
                                         TErrnoCase{"NoSpaceOnWrite", ENOSPC, TFileOperation::Write, 101},
                                         TErrnoCase{"QuotaOnWrite", EDQUOT, TFileOperation::Write, 101},
                                         TErrnoCase{"NoSpaceOnClose", ENOSPC, TFileOperation::Close, 101},
                                         TErrnoCase{"Locked", EAGAIN, TFileOperation::Open, EAGAIN}),
                         [](const testing::TestParamInfo<TErrnoCase>& info) { return std::string(info.param.Name); });

} // namespace
