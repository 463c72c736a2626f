// The error texts the user sees: messages chosen by the I/O code, the
// floating-point messages, and the full stop of the error box; the file and
// system error an I/O error carries.

#include "core/base/TulvoErrors.h"

#include <cerrno>
#include <gtest/gtest.h>

#include <exception>
#include <ostream>
#include <typeinfo>
#include <vector>

namespace {

struct TCodeCase {
    int Code;
    const char* Message;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TCodeCase& c, std::ostream* os) { *os << c.Code; }

class InOutErrorMessage : public testing::TestWithParam<TCodeCase> {};

TEST_P(InOutErrorMessage, IsChosenByTheCode)
{
    const EInOutError error(GetParam().Code);
    EXPECT_EQ(error.ErrorCode(), GetParam().Code);
    EXPECT_STREQ(error.what(), GetParam().Message);
}

INSTANTIATE_TEST_SUITE_P(Codes, InOutErrorMessage,
                         testing::Values(TCodeCase{2, "File not found"}, TCodeCase{3, "Invalid filename"},
                                         TCodeCase{4, "Too many open files"}, TCodeCase{5, "File access denied"},
                                         TCodeCase{100, "Read beyond end of file"}, TCodeCase{101, "Disk full"},
                                         TCodeCase{103, "File not open"}, TCodeCase{106, "Invalid numeric input"},
                                         TCodeCase{32, "I/O error 32"}, TCodeCase{1, "I/O error 1"}));

TEST(InOutError, SystemErrorWithoutMeaningKeepsItsNumberInTheText)
{
    // EIO is 5 on this system, the same number as "File access denied".
    const EInOutError error = EInOutError::OtherSystemError(EIO);
    EXPECT_EQ(error.ErrorCode(), EIO);
    EXPECT_EQ(std::string(error.what()), "I/O error " + std::to_string(EIO));
}

TEST(MathError, MessagesAreTheRuntimes)
{
    EXPECT_STREQ(EInvalidOp().what(), "Invalid floating point operation");
    EXPECT_STREQ(EZeroDivide().what(), "Floating point division by zero");
    EXPECT_STREQ(EOverflow().what(), "Floating point overflow");
    // One family, so that one handler can take them all.
    EXPECT_THROW(throw EOverflow(), EMathError);
    EXPECT_THROW(throw EZeroDivide(), EMathError);
    EXPECT_THROW(throw EInvalidOp(), EMathError);
}

struct TBoxCase {
    const char* Message;
    const char* Shown;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TBoxCase& c, std::ostream* os) { *os << c.Message; }

class ErrorBox : public testing::TestWithParam<TBoxCase> {};

TEST_P(ErrorBox, AppendsFullStopAfterCharactersSortingAfterIt)
{
    EXPECT_EQ(ErrorBoxText(GetParam().Message), GetParam().Shown);
}

INSTANTIATE_TEST_SUITE_P(Texts, ErrorBox,
                         testing::Values(TBoxCase{"File not found", "File not found."},
                                         TBoxCase{"I/O error 32", "I/O error 32."},
                                         TBoxCase{"Ends with a stop.", "Ends with a stop."},
                                         TBoxCase{"Exclamation!", "Exclamation!"}, // '!' sorts before '.'
                                         TBoxCase{"Bracket (x)", "Bracket (x)"},   // ')' sorts before '.'
                                         TBoxCase{"Slash/", "Slash/."},            // '/' sorts after '.'
                                         TBoxCase{"ОСТАНОВ", "ОСТАНОВ."},          // Cyrillic sorts after '.'
                                         TBoxCase{"", ""}));

struct TNamingCase {
    const char* Name;
    std::exception_ptr Error;
    const char* Message;
    bool Named; // a file or floating-point error, which names the file
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TNamingCase& c, std::ostream* os) { *os << c.Name; }

class NamingFile : public testing::TestWithParam<TNamingCase> {};

// The error thrown on names the file and is otherwise the same error: its class (which a
// handler picks it by), its message and its code.
TEST_P(NamingFile, KeepsClassAndMessage)
{
    const auto& c = GetParam();
    const std::string path = "/data/запись 1.wav";
    try {
        RethrowNamingFile(c.Error, path);
    } catch (const std::exception& e) {
        try {
            std::rethrow_exception(c.Error);
        } catch (const std::exception& original) {
            EXPECT_EQ(typeid(e), typeid(original));
            EXPECT_EQ(ErrorFilePath(original), c.Named ? "/old.spm" : "");
        }
        EXPECT_STREQ(e.what(), c.Message);
        EXPECT_EQ(ErrorFilePath(e), c.Named ? path : "");
        if (const auto* io = dynamic_cast<const EInOutError*>(&e)) {
            EXPECT_EQ(io->ErrorCode(), IoCode::ReadBeyondEnd);
            EXPECT_EQ(io->SystemError(), EIO);
        }
    }
}

// The error of each class, naming "/old.spm" where it can.
std::vector<TNamingCase> NamingCases()
{
    const auto named = [](auto error) {
        error.SetPath("/old.spm");
        return std::make_exception_ptr(error);
    };
    return {
        {"InOut", std::make_exception_ptr(EInOutError(IoCode::ReadBeyondEnd, "/old.spm", EIO)),
         "Read beyond end of file", true},
        {"InvalidOp", named(EInvalidOp()), "Invalid floating point operation", true},
        {"ZeroDivide", named(EZeroDivide()), "Floating point division by zero", true},
        {"Overflow", named(EOverflow()), "Floating point overflow", true},
        {"Content", named(EContentError("no positive code", {}, 3)), "line 3: no positive code", true},
        {"Other", std::make_exception_ptr(std::runtime_error("not a file's")), "not a file's", false},
    };
}

INSTANTIATE_TEST_SUITE_P(Errors, NamingFile, testing::ValuesIn(NamingCases()),
                         [](const testing::TestParamInfo<TNamingCase>& info) { return std::string(info.param.Name); });

} // namespace
