#pragma once

#include "core/BatchRun.h"

#include <cstddef>
#include <cstdio>

// Shows the progress of a batch run on stdout: a bar redrawn in place when
// stdout is a terminal, one plain line per recording otherwise (for logs
// and pipes). Failures go to stderr, worded like the error box.
class TProgressDisplay {
public:
    explicit TProgressDisplay(bool terminal);

    // Shows one recording's outcome (a TBatchProgress callback).
    void Step(const TBatchItem& item, std::size_t done, std::size_t total);

    // Ends the bar's line, so that what follows starts on a fresh one.
    void Finish();

private:
    void DrawBar(std::size_t done, std::size_t total);

    bool Terminal;
    bool BarShown = false;
};

// "path: message." on stderr: the error box's text for a recording.
void PrintRecordingError(const std::string& path, const std::string& message);
