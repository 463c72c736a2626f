#pragma once

#include "core/base/TulvoErrors.h"
#include "core/platform/SystemErrors.h"

#include <exception>
#include <string>
#include <string_view>

// The messages of failures, the same on every system: the I/O errors that the system's errors give,
// by their meaning (Platform::TranslateSystemError), and the words of a failure as the tools print
// them in their messages and tables (the same text from tulvo-cli and from the windows that save
// its tables).

using Platform::TFileOperation;

// The I/O error for a failure in operation on path that the system reported with number, of the
// meaning condition (Platform::TranslateSystemError); the error carries path and number:
//   NotFound:                               2 "File not found" on open when the file's folder
//                                           exists, else 3 (only a missing folder makes a
//                                           create or rename fail so);
//   BadName:                                3;
//   TooManyOpenFiles:                       4 "Too many open files";
//   Denied, InUse:                          5 "File access denied";
//   NoSpace, on write or close:             101 "Disk full";
//   anything else (NoSpace elsewhere too):  "I/O error N", N the system's number.
// The same on every system: only the system's table of numbers differs.
EInOutError IoErrorFor(Platform::TErrorCondition condition, int number, TFileOperation operation,
                       const std::string& path);

// IoErrorFor the condition of the system error number.
EInOutError IoErrorFromSystem(int number, TFileOperation operation, const std::string& path);

// IoErrorFromSystem of what a primitive of the platform layer reported: its number, operation and
// name.
EInOutError IoErrorFromSystem(const Platform::ESystemError& error);

// True when the system's reason for a failure of that meaning tells more than the message of I/O
// code ioCode: always, unless the number says no more than its condition (Plain) and ioCode is
// that condition's own message (a missing file behind 2 "File not found", a refusal behind 5, a
// full disk behind 101, no handles left behind 4).
bool ReasonAddsTo(int ioCode, Platform::TSystemError meaning);

// The reason that follows the message of I/O code ioCode in brackets when the system error number
// caused it (tulvo-cli's "PATH: message (reason)"): the system's text (Platform::SystemErrorText),
// or "" when it would add nothing: no system error (0), or none by ReasonAddsTo.
std::string ReasonForMessage(int ioCode, int number);

// message with " (the system's reason)" when the system error errnum tells
// the user more than the message chosen for code (ReasonForMessage: not for
// the error a message already names, nor without a system error).
// The message is what() of the core's errors, the error box's text without
// its full stop.
std::string ErrorText(std::string_view message, int code = 0, int errnum = 0);

// ErrorText of an I/O error.
std::string ErrorText(const EInOutError& error);

// The words the tools add to "Invalid floating point operation" for a known
// cause: "all samples are zero", "the band is empty"; empty for Unknown.
std::string_view InvalidOpHint(TInvalidOpCause cause);

// The text of a file's failure: ErrorText of an I/O error, the message of an
// invalid operation with its cause's hint in parentheses when it has one,
// what() of any other error.
std::string FailureText(const std::exception_ptr& error);
