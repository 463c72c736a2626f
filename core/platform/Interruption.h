#pragma once

#include <string>

// Requests from the user or the system to stop the program (Ctrl+C, a
// terminal closed, a termination), routed to the program so that a run can
// stop after the file it is on.
//
// A request is numbered as the POSIX signal on every system, so that the
// exit status 128 + number is the same everywhere: 130 for an interrupt,
// 143 for a termination, 129 for a hang-up.
//   POSIX: SIGINT, SIGTERM, SIGHUP.
//   Windows: Ctrl+C and Ctrl+Break (SetConsoleCtrlHandler) are interrupts;
//   the console window closed is a hang-up; log-off and shutdown are
//   terminations.
namespace Platform {

inline constexpr int StopByHangUp = 1;
inline constexpr int StopByInterrupt = 2;
inline constexpr int StopByTermination = 15;

// Called with the request's number. POSIX: in a signal handler, so it may
// only do what is async-signal-safe (store to lock-free atomics). Windows: on
// a thread of the system's, at the same time as the program's own threads.
using TStopHandler = void (*)(int request) noexcept;

// Routes the requests above to handler for the rest of the process. Each
// kind of request is routed once: a second one of the same kind ends the
// process as if none were routed (for a run that cannot stop, such as a read
// waiting on a pipe nobody writes to). SIGPIPE is left alone on POSIX: a
// closed pipe ends the tool as it ends any filter. Interrupted system calls
// are restarted on POSIX (SA_RESTART).
void RouteStopRequests(TStopHandler handler) noexcept;

// The name of a request in the tool's words, the same on both systems:
// "SIGHUP", "SIGINT", "SIGTERM". POSIX: "SIG" and the C library's
// abbreviation for any signal ("SIG" and the number where it has none).
std::string StopRequestName(int request);

} // namespace Platform
