#pragma once

// Programs run as separate processes, without a shell: their exit status or
// signal, and what they wrote on stdout and stderr.

#include <string>
#include <sys/types.h>
#include <vector>

namespace testsupport {

struct TProgramResult {
    // The exit status, or -1 when the program was ended by a signal.
    int Status = -1;
    // The signal that ended it; 0 when it exited.
    int Signal = 0;
    std::string Out;
    std::string Err;
};

// Runs argv (argv[0] is the program's path) with input as its stdin and
// environment assignments env ("NAME=value") added to this process's, and
// waits for it.
TProgramResult RunProgram(const std::vector<std::string>& argv, const std::string& input = {},
                          const std::vector<std::string>& env = {});

// Starts argv with its stdin, stdout and stderr opened on the given paths
// (stdin read-only, the others truncated) and env added to this process's
// environment, and returns its process id.
pid_t StartProgram(const std::vector<std::string>& argv, const std::string& stdinPath, const std::string& stdoutPath,
                   const std::string& stderrPath, const std::vector<std::string>& env = {});

// Ends a program StartProgram started at once, as a crash would (SIGKILL;
// TerminateProcess), without waiting for it (WaitProgram does).
void StopProgram(pid_t pid);

// Waits for a program StartProgram started; its status and signal (Out and
// Err empty).
TProgramResult WaitProgram(pid_t pid);

} // namespace testsupport
