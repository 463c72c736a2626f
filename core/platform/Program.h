#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The running program: its arguments, its own file, and the programs it
// hands over to.
namespace Platform {

// The words after the program's name on its command line, as UTF-8, from
// main's argc and argv. POSIX: argv[1..argc-1] as they are (bytes; UTF-8 in a
// UTF-8 locale). Windows: the command line read as UTF-16
// (GetCommandLineW, CommandLineToArgvW) and converted, argv ignored, so
// names outside the ANSI code page arrive whole.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// The running process's id (POSIX getpid; Windows GetCurrentProcessId).
std::uint32_t CurrentProcessId() noexcept;

// The full path of the running program's own file (Linux: /proc/self/exe;
// Windows: GetModuleFileNameW); "" when it cannot be had.
std::string RunningProgramPath();

// The file name of a program of the project called stem: "stem" on POSIX,
// "stem.exe" on Windows.
std::string ExecutableName(std::string_view stem);

// True when path is a file this process may run (POSIX: access X_OK;
// Windows: an existing regular file).
bool IsRunnable(const std::string& path) noexcept;

// Runs program in place of this process with arguments (arguments[0] is the
// name it is given), with the same standard streams. Returns only when the
// program cannot be started, with the system error code. POSIX: execv.
// Windows: starts it (CreateProcessW, each argument quoted so that it arrives
// unchanged), waits for it, and ends this process with its exit code.
int RunInPlaceOfThisProcess(const std::string& program, const std::vector<std::string>& arguments);

} // namespace Platform
