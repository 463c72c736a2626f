#pragma once

// Exit statuses of tulvo-cli, the same for every command.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1; // a file could not be read, written or analysed, or differs (compare)
inline constexpr int ExitUsage = 2;   // a command line that cannot be carried out

// The status of a run stopped by signal (SIGHUP 129, SIGINT 130, SIGTERM 143).
constexpr int ExitStatusForSignal(int signal) { return 128 + signal; }
