#pragma once

#include <exception>
#include <stdexcept>
#include <string>
#include <utility>

// Errors of the file and analysis core. Each what() is the exact text that the
// user sees; nothing below the boundary (the GUI's error box, the CLI's main)
// catches them.

// An input/output error with its code. The message is chosen by the code:
//   2 "File not found", 3 "Invalid filename", 4 "Too many open files",
//   5 "File access denied", 100 "Read beyond end of file", 101 "Disk full",
//   103 "File not open", 106 "Invalid numeric input", any other n "I/O error n".
// what() is that message alone, the text of the error box. Besides it, the
// error may name the file it concerns and the operating-system error number
// it came from, for tools that say more than the box (tulvo-cli prints
// "PATH: message (system's reason)").
class EInOutError : public std::runtime_error {
public:
    explicit EInOutError(int code);

    // The error of code about the file path, raised by the operating-system
    // error errnum (0 when the system reported none, e.g. a short read).
    EInOutError(int code, std::string path, int errnum = 0);

    // An operating-system failure with no meaning of its own among the codes
    // above: code errnum, message "I/O error errnum" even when errnum happens
    // to equal one of the codes above (EIO is 5, for example).
    static EInOutError OtherSystemError(int errnum, std::string path = {});

    int ErrorCode() const noexcept { return code_; }

    // The file the error concerns; empty when unknown.
    const std::string& Path() const noexcept { return path_; }

    // The operating-system error number behind the error; 0 when none.
    int SystemError() const noexcept { return errnum_; }

    // The same error (code, message, system error) about the file path instead.
    EInOutError WithPath(std::string path) const;

    // The message the code selects.
    static std::string MessageForCode(int code);

private:
    EInOutError(int code, const std::string& message, std::string path, int errnum);
    int code_;
    std::string path_;
    int errnum_ = 0;
};

// The I/O error codes with a meaning of their own.
namespace IoCode {
inline constexpr int FileNotFound = 2;
inline constexpr int InvalidFilename = 3;
inline constexpr int TooManyOpenFiles = 4;
inline constexpr int AccessDenied = 5;
inline constexpr int ReadBeyondEnd = 100;
inline constexpr int DiskFull = 101;
inline constexpr int FileNotOpen = 103;
inline constexpr int InvalidNumericInput = 106;
} // namespace IoCode

// A floating-point fault (invalid operation, division by zero, overflow).
// Besides the message, the error may name the file whose data raised it.
class EMathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    // The file whose data raised the error; empty when unknown.
    const std::string& Path() const noexcept { return path_; }

    // Names the file; the message stays as it is.
    void SetPath(std::string path) { path_ = std::move(path); }

private:
    std::string path_;
};

// What made an invalid operation of the analysis, where it can tell.
enum class TInvalidOpCause {
    Unknown,
    SilentRecording, // every sample of the recording is zero: 0/0 in the normalisation
    EmptyBand,       // every line of the analysis band is zero: 0/0 in the quantisation
};

// "Invalid floating point operation": 0/0, 0 * infinity, a NaN made from numbers.
// The cause is for tools that say more than the message; what() is the same
// whatever it is.
class EInvalidOp : public EMathError {
public:
    explicit EInvalidOp(TInvalidOpCause cause = TInvalidOpCause::Unknown);
    TInvalidOpCause Cause() const noexcept { return cause_; }

private:
    TInvalidOpCause cause_;
};

// "Floating point division by zero": a finite non-zero number divided by 0.
class EZeroDivide : public EMathError {
public:
    EZeroDivide();
};

// "Floating point overflow": a result too large for its format.
class EOverflow : public EMathError {
public:
    EOverflow();
};

// A recording whose header says it is not laid out as the analysis assumes,
// refused where the caller asks for conforming recordings only. what() names
// what differs and what was expected.
class ERecordingFormat : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file whose content cannot serve where it is used: a spectrum file that
// cannot be a unit's spectrum, a mask file that is not laid out as its
// reader requires. what() says what is wrong, starting "line N: " when one
// line of a text file is at fault; Path() names the file.
class EContentError : public std::runtime_error {
public:
    // message about the file path, about its line number line (from 1; 0
    // when the fault is not one line's).
    explicit EContentError(const std::string& message, std::string path = {}, int line = 0);

    // The file the error concerns; empty when unknown.
    const std::string& Path() const noexcept { return path_; }
    // Names the file; the message stays as it is.
    void SetPath(std::string path) { path_ = std::move(path); }
    // The line at fault, from 1; 0 when none.
    int Line() const noexcept { return line_; }

private:
    std::string path_;
    int line_ = 0;
};

// The file an error of the core concerns: the path of an EInOutError, an
// EMathError or an EContentError, empty for any other error or when the
// error names none.
std::string ErrorFilePath(const std::exception& error);

// Throws error again, naming path as the file it concerns when it is an
// EInOutError, an EMathError or an EContentError (replacing any file it named); any other
// error is thrown unchanged. For the places that know which file a failure
// belongs to when the step that raised it did not.
[[noreturn]] void RethrowNamingFile(const std::exception_ptr& error, const std::string& path);

// The text of the default error box for a message: the message with a full
// stop appended when its last character sorts after "." (a letter or a digit
// does; a text ending in ".", "!" or ")" is left as it is).
std::string ErrorBoxText(const std::string& message);
