#pragma once

#include "cli/TStopRequest.h"
#include "core/platform/Files.h"

#include <string>
#include <vector>

// What a command works with besides its arguments: the three standard
// handles, whether the user watches stderr on a terminal, and the stop
// request. tulvo-cli's main hands in the process's own; tests hand in files
// and pipes of their own and run commands in-process.
struct TToolContext {
    Platform::TFileHandle In = Platform::StandardInput();
    Platform::TFileHandle Out = Platform::StandardOutput(); // data only: CSV tables, reports sent to "-", pictures
    Platform::TFileHandle Err = Platform::StandardError();  // errors, the progress display, the summary
    // Progress bars are drawn only for a terminal (a console on Windows).
    bool ErrIsTerminal = false;
    // Set by main: commands that can stop cleanly (batch) route the stop
    // requests (SIGINT, SIGTERM and SIGHUP; Ctrl+C and Ctrl+Break) to Stop. In-process tests leave it off.
    bool CatchSignals = false;
    TStopRequest Stop;
    // The words after the command's name, as given (plot hands them on to its
    // drawing helper unchanged).
    std::vector<std::string> CommandWords;
};
