#pragma once

#include <atomic>

// A request to stop a run early, made by a signal (or, in tests, by a
// call). The batch looks at Flag() between recordings; the command's exit
// status then follows the signal (ExitStatusForSignal).
class TStopRequest {
public:
    // Records the request and the signal behind it (the first one counts).
    // Async-signal-safe.
    void Request(int signal) noexcept;

    // True once a stop is requested.
    const std::atomic<bool>& Flag() const noexcept { return requested_; }

    // The signal of the request; 0 when none was made.
    int Signal() const noexcept { return signal_.load(); }

private:
    std::atomic<bool> requested_{false};
    std::atomic<int> signal_{0};
};

// Routes the stop requests (SIGINT, SIGTERM and SIGHUP; on Windows Ctrl+C
// and Ctrl+Break) to stop for the rest of the process, numbered as the
// signals (Platform::RouteStopRequests). Each kind serves once: a second
// request of the same kind ends the process as if none were routed, for a
// run that cannot stop (a read that waits on a pipe nobody writes to).
// SIGPIPE is left alone: a closed pipe ends the tool as it ends any filter.
void CatchStopSignals(TStopRequest& stop);
