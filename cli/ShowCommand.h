#pragma once

#include <string>
#include <vector>

// `tulvo-cli show FILE.spm... [--codes]`: args are the words after "show".
// Prints one CSV table on stdout (nothing when a file cannot be read).
// Returns the exit status.
int RunShowCommand(const std::vector<std::string>& args);
