#pragma once

#include "cli/FileList.h"
#include "cli/TToolContext.h"

#include <string>
#include <vector>

namespace CLI {
class App;
}

// tulvo-cli show: spectrum files as CSV on stdout.
struct TShowArguments {
    std::vector<std::string> Files; // "-": one spectrum file from stdin
    TFileListOptions List;
    bool Codes = false; // the raw 16-bit codes instead of the values
    bool Long = false;  // one row per file and line instead of a column per file
};

// Declares show's options and operands on app, bound to arguments.
void DeclareShowOptions(CLI::App& app, TShowArguments& arguments);

// Reads every file, then prints one table: a "Frequency (Hz)" column with the
// 361 lines and a column per file named by its path, or with Long the rows
// "File,Frequency (Hz),Value" ("Code" with Codes). Numbers have a '.'
// decimal point whatever the locale. A file that cannot be read is reported
// and nothing is printed (exit 1): the table is whole or not there. A failed
// write to stdout raises EInOutError for "standard output".
int RunShowCommand(const TShowArguments& arguments, TToolContext& context);
