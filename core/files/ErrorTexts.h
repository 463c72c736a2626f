#pragma once

#include "core/base/TulvoErrors.h"

#include <exception>
#include <string>
#include <string_view>

// The words of a failure as the tools print them in their messages and
// tables: the same text from tulvo-cli and from the windows that save its
// tables.

// message with " (the system's reason)" when the system error errnum tells
// the user more than the message chosen for code (Platform::ReasonForMessage:
// not for the error a message already names, nor without a system error).
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
