#pragma once

#include "core/base/TulvoErrors.h"

#include <string>

// The I/O errors and messages that system errors give, by their meaning
// (Platform::TranslateSystemError), the same on every system.

// The operation a system error came from; it decides what a missing file means.
enum class TFileOperation { Open, Create, Read, Write, Close, Rename };

// The I/O error for the system error number on path, the file the operation was on; the error
// carries path and number:
//   an empty path:                          3 "Invalid filename";
//   NotFound:                               2 "File not found" on open when the file's folder
//                                           exists, else 3 (only a missing folder makes a
//                                           create or rename fail so);
//   BadName:                                3;
//   TooManyOpenFiles:                       4 "Too many open files";
//   Denied, InUse:                          5 "File access denied";
//   NoSpace, on write or close:             101 "Disk full";
//   anything else (NoSpace elsewhere too):  "I/O error N", N the system's number.
EInOutError IoErrorFromSystem(int number, TFileOperation operation, const std::string& path);

// The reason that follows the message of I/O code ioCode in brackets when the system error number
// caused it (tulvo-cli's "PATH: message (reason)"): the system's text (Platform::SystemErrorText),
// or "" when it would add nothing: no system error (0), or a number that says no more than its
// condition behind that condition's own message (a missing file behind 2 "File not found", a
// refusal behind 5, a full disk behind 101, no handles left behind 4).
std::string ReasonForMessage(int ioCode, int number);
