#pragma once

#include "cli/TToolContext.h"
#include "core/batch/BatchRun.h"

#include <cstddef>
#include <string>

// How much a batch says on stderr besides its data.
enum class TVerbosity {
    Quiet,   // errors only
    Normal,  // errors, a progress bar when stderr is a terminal, the summary
    Verbose, // also a line per recording
};

// What a batch shows on stderr while it runs: each failure as an error line,
// a bar redrawn in place when stderr is a terminal, a line per recording when
// verbose. Stdout stays for data.
class TProgressDisplay {
public:
    TProgressDisplay(const TToolContext& context, TVerbosity verbosity);

    // Shows one recording's outcome (a TBatchProgress callback).
    void Step(const TBatchItem& item, std::size_t done, std::size_t total);

    // Shows an error line (the bar, if any, is cleared for it first).
    void Error(const std::string& line);

    // Ends the bar's line, so that what follows starts on a fresh one.
    void Finish();

private:
    void ClearBar();
    void DrawBar(std::size_t done, std::size_t total);

    const TToolContext& context_;
    TVerbosity verbosity_;
    bool barShown_ = false;
};

// The one line that ends a batch on stderr:
//   "tulvo-cli: 7 recordings: 6 written, 1 failed"
// with ", N skipped" and ", N not done" when there are any, and
// "; stopped by SIGTERM" (the signal's name) when signal is not 0.
std::string BatchSummaryLine(std::size_t total, std::size_t written, std::size_t skipped, std::size_t failed,
                             int signal);
