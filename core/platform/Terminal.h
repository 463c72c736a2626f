#pragma once

#include "core/platform/Files.h"

// Terminals (consoles on Windows) and the standard streams.
namespace Platform {

// True when handle is a terminal (POSIX: isatty) or a console (Windows:
// GetConsoleMode succeeds); false for files, pipes and handles that are no
// longer open.
bool IsTerminal(TFileHandle handle) noexcept;

// Makes the standard streams fit for the program's bytes, once at the start
// of main: standard input and output carry bytes unchanged (CSV, PNG, spectra
// from pipes), never translated line ends; text written to a console as UTF-8
// shows correctly (Cyrillic file names included). POSIX: nothing to do.
// Windows: binary mode for the C runtime's stdin, stdout and stderr, and
// UTF-8 for the console's output.
void PrepareStandardStreams() noexcept;

} // namespace Platform
