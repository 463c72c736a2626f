#pragma once

#include "cli/TStopRequest.h"

#include <string>
#include <unistd.h>
#include <vector>

// What a command works with besides its arguments: the three standard
// descriptors, whether the user watches stderr on a terminal, and the stop
// request. tulvo-cli's main hands in the process's own; tests hand in files
// and pipes of their own and run commands in-process.
struct TToolContext {
    int In = STDIN_FILENO;
    int Out = STDOUT_FILENO; // data only: CSV tables, reports sent to "-", pictures
    int Err = STDERR_FILENO; // errors, the progress display, the summary
    // Progress bars are drawn only for a terminal.
    bool ErrIsTerminal = false;
    // Set by main: commands that can stop cleanly (batch) route SIGINT,
    // SIGTERM and SIGHUP to Stop. In-process tests leave it off.
    bool CatchSignals = false;
    TStopRequest Stop;
    // The words after the command's name, as given (plot hands them on to its
    // drawing helper unchanged).
    std::vector<std::string> CommandWords;
};
