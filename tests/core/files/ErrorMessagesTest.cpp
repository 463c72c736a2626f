// The translation of a failing primitive's report into the program's I/O error, above the
// platform layer: by the failure's meaning and operation, the same on every system, so that these
// rows run on each (the systems' tables of numbers are tested beside their own messages).

#include "tests/support/TTempFolder.h"

#include "core/files/ErrorMessages.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using Platform::TErrorCondition;

// A number of no system's: the message shows it where no code of the program's fits.
constexpr int SomeNumber = 9999;

struct TTranslationCase {
    const char* Name;
    TErrorCondition Condition;
    bool Plain; // the number says no more than its condition
    TFileOperation Operation;
    bool FolderExists; // the folder that would hold the file
    int Code;
    const char* Message;
    bool Reason; // the system's reason follows the message in brackets
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TTranslationCase& c, std::ostream* os) { *os << c.Name; }

class SystemErrorTranslation : public testing::TestWithParam<TTranslationCase> {};

TEST_P(SystemErrorTranslation, GivesTheCodeMessageAndReasonOfTheMeaningAndOperation)
{
    const TTranslationCase& c = GetParam();
    const testsupport::TTempFolder folder;
    const std::string path = folder.File(c.FolderExists ? "x.spm" : "missing/x.spm");
    const EInOutError error = IoErrorFor(c.Condition, SomeNumber, c.Operation, path);
    EXPECT_EQ(error.ErrorCode(), c.Code);
    EXPECT_STREQ(error.what(), c.Message);
    EXPECT_EQ(error.Path(), path);
    EXPECT_EQ(error.SystemError(), SomeNumber);
    EXPECT_EQ(ReasonAddsTo(error.ErrorCode(), {c.Condition, c.Plain}), c.Reason);
}

using C = TErrorCondition;
using O = TFileOperation;
INSTANTIATE_TEST_SUITE_P(
    Table, SystemErrorTranslation,
    testing::Values(
        TTranslationCase{"MissingFileOnOpen", C::NotFound, true, O::Open, true, 2, "File not found", false},
        TTranslationCase{"MissingFolderOnOpen", C::NotFound, true, O::Open, false, 3, "Invalid filename", true},
        TTranslationCase{"MissingFolderOnCreate", C::NotFound, true, O::Create, true, 3, "Invalid filename", true},
        TTranslationCase{"MissingOnRename", C::NotFound, true, O::Rename, true, 3, "Invalid filename", true},
        TTranslationCase{"BadName", C::BadName, false, O::Open, true, 3, "Invalid filename", true},
        TTranslationCase{"OutOfHandles", C::TooManyOpenFiles, true, O::Open, true, 4, "Too many open files", false},
        TTranslationCase{"SystemOutOfHandles", C::TooManyOpenFiles, false, O::Create, true, 4, "Too many open files",
                         true},
        TTranslationCase{"Refused", C::Denied, true, O::Read, true, 5, "File access denied", false},
        TTranslationCase{"ReadOnlyMedium", C::Denied, false, O::Create, true, 5, "File access denied", true},
        TTranslationCase{"HeldByAnother", C::InUse, false, O::Rename, true, 5, "File access denied", true},
        TTranslationCase{"FullOnWrite", C::NoSpace, true, O::Write, true, 101, "Disk full", false},
        TTranslationCase{"FullOnClose", C::NoSpace, true, O::Close, true, 101, "Disk full", false},
        TTranslationCase{"FullOnCreate", C::NoSpace, true, O::Create, true, SomeNumber, "I/O error 9999", true},
        TTranslationCase{"NameTaken", C::Exists, false, O::Create, true, SomeNumber, "I/O error 9999", true},
        TTranslationCase{"Other", C::Other, false, O::Read, true, SomeNumber, "I/O error 9999", true}),
    [](const testing::TestParamInfo<TTranslationCase>& info) { return std::string(info.param.Name); });

} // namespace
