#pragma once

#include <stdexcept>
#include <string>
#include <utility>

// The system's error numbers, translated once into the program's own vocabulary.
//
// A system error number is what the operating system reports a failure with: errno on POSIX,
// GetLastError()'s value on Windows. Each system translates its numbers in ONE table (its
// SystemErrors implementation) into a condition that the program's rules speak of
// (core/files/ErrorMessages.h), and keeps the number, which the messages show. Nothing outside this
// layer tests a system's numbers.
namespace Platform {

// The operation a primitive failed in; the program's messages depend on it (a missing file is
// told from a missing folder on open only, a full disk matters on a write).
enum class TFileOperation { Open, Create, Read, Write, Close, Rename };

// A primitive of this layer that failed: the system's error number, the operation, and the name of
// the file as the caller gave it. Raised by the primitives that say so; above the layer one gateway
// turns it into the program's error (core/files/FileHandles.h), so what() is never shown.
class ESystemError : public std::runtime_error {
public:
    ESystemError(int number, TFileOperation operation, std::string name)
        : std::runtime_error("system error " + std::to_string(number)), number_(number), operation_(operation),
          name_(std::move(name))
    {}

    int Number() const noexcept { return number_; }
    TFileOperation Operation() const noexcept { return operation_; }
    const std::string& Name() const noexcept { return name_; }

private:
    int number_;
    TFileOperation operation_;
    std::string name_;
};

// What a failure means to the program, on every system (the tables name each system's numbers).
enum class TErrorCondition {
    NotFound,         // the file is missing
    BadName,          // no file can have the name: a folder on the way missing or no folder, a bad
                      // or too long name
    Denied,           // the file may not be used so: permissions, a read-only medium, a folder
                      // where a file was expected
    InUse,            // another program holds the file
    NoSpace,          // no room to store: a full disk, a quota, a file too large
    TooManyOpenFiles, // out of handles, the process's or the system's
    Exists,           // a name that was to be new is taken
    Other,            // anything else, no error (0) included
};

// What a system error number means.
struct TSystemError {
    TErrorCondition Condition = TErrorCondition::Other;
    // True when the number says no more than its condition: ENOENT, EACCES, ENOSPC, EMFILE;
    // ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL,
    // ERROR_TOO_MANY_OPEN_FILES. False for a number that says more (EROFS: a read-only medium).
    bool Plain = false;
};

// What number means.
TSystemError TranslateSystemError(int number) noexcept;

// The system's reason for number in English, never in the user's language. POSIX: the C
// library's untranslated description (strerrordesc_np; glibc's texts exactly), "error N" where
// it has none. Windows: the program's own text where its table has one ("the file is open in
// another program" for a sharing or lock violation), "" for any other number.
std::string SystemErrorText(int number);

} // namespace Platform
