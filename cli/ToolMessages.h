#pragma once

#include "cli/TToolContext.h"
#include "core/base/TulvoErrors.h"
#include "core/batch/BatchRun.h"
#include "core/files/ErrorMessages.h"

#include <stdexcept>
#include <string>
#include <string_view>

// What tulvo-cli says on stderr, and in which words.

// The name every message starts with, also from the drawing helper.
inline constexpr std::string_view ToolName = "tulvo-cli";

// ErrorText and InvalidOpHint are core's (core/files/ErrorMessages.h).

// "tulvo-cli: PATH: " and ErrorText(message, code, errnum), and a line end.
std::string ErrorLine(std::string_view path, std::string_view message, int code = 0, int errnum = 0);

// ErrorLine for an I/O error about path (the error's own path when it has one).
std::string ErrorLine(std::string_view path, const EInOutError& error);

// A failed batch item's message: its error text, with the hint of an invalid
// operation's cause in parentheses when there is one.
std::string FailureMessage(const TBatchItem& item);

// "tulvo-cli: warning: PATH: " and text, and a line end.
std::string WarningLine(std::string_view path, std::string_view text);

// The warning about a recording analysed although its header check failed:
// "tulvo-cli: warning: cd.wav: 2 channels, 44100 Hz (expected 1 channel,
// 51200 Hz, 16-bit PCM, samples at byte 44); analysed as raw samples".
std::string NonconformingWarning(std::string_view path, const TWavHeaderVerdict& verdict);

// Writes text to the context's stderr as it is. A failure to write there is
// ignored: there is nowhere left to report it.
void WriteToErr(const TToolContext& context, std::string_view text);

// A command line that cannot be carried out, found after parsing (missing
// operands, outputs that would overwrite inputs); what() says why. The
// command's runner prints it with a pointer to --help and exits with
// ExitUsage.
class TUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
