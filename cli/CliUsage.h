#pragma once

#include <cstdio>
#include <string>

// Exit statuses of tulvo-cli.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;   // a file or floating-point error
inline constexpr int ExitUsage = 2;     // a command line that makes no sense

// Prints the tool's help text to out.
void PrintUsage(std::FILE* out);

// Prints "tulvo-cli: message" and a pointer to --help on stderr; returns
// ExitUsage.
int UsageError(const std::string& message);

// True for "--help" and "-h".
bool IsHelpOption(const std::string& arg);
