#pragma once

#include <string>
#include <vector>

// `tulvo-cli batch FILE.wav... [--keep-going] [--report FILE.csv] [--jobs N]`:
// args are the words after "batch". Returns the exit status: 0 when every
// spectrum file was written, 1 when a recording failed (the run stops there
// unless --keep-going), 2 for a usage error.
int RunBatchCommand(const std::vector<std::string>& args);
