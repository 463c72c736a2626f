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
    bool Codes = false;  // the raw 16-bit codes instead of the values
    bool Long = false;   // one row per file and line instead of a column per file
    bool Frames = false; // the frames of recordings instead of spectrum files
};

// Declares show's options and operands on app, bound to arguments.
void DeclareShowOptions(CLI::App& app, TShowArguments& arguments);

// Reads every file, then prints one table: a "Frequency (Hz)" column with the
// 361 lines and a column per file named by its path, or with Long the rows
// "File,Frequency (Hz),Value" ("Code" with Codes). Numbers have a '.'
// decimal point whatever the locale. A file that cannot be read is reported
// and nothing is printed (exit 1): the table is whole or not there. A failed
// write to stdout raises EInOutError for "standard output".
//
// With Frames the files are recordings, each analysed as batch analyses it
// (with batch's warning for a recording that does not conform), and the table
// is of its 15 frames (core/analysis/SpectrumTables.h): one recording in the wide table, or
// any number with Long. Refused before anything is read (TUsageError): Codes,
// several recordings without Long, standard input and spectrum files.
int RunShowCommand(const TShowArguments& arguments, TToolContext& context);
