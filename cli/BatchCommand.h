#pragma once

#include "cli/FileList.h"
#include "cli/ProgressDisplay.h"
#include "cli/TToolContext.h"

#include <string>
#include <vector>

namespace CLI {
class App;
}

// tulvo-cli batch: recordings to spectrum files.
struct TBatchArguments {
    std::vector<std::string> Recordings;
    TFileListOptions List;
    bool KeepGoing = false;
    int Jobs = 0;           // 0: one per processor this process may use
    std::string ReportPath; // "-": standard output; empty: no report
    bool Append = false;
    std::string OutputFolder;
    bool Update = false;
    bool Strict = false; // a nonconforming recording fails instead of a warning
    TVerbosity Verbosity = TVerbosity::Normal;
};

// Declares batch's options and operands on app, bound to arguments.
void DeclareBatchOptions(CLI::App& app, TBatchArguments& arguments);

// Runs the batch: refuses, before anything is read or written, a report that
// is one of the recordings or of the spectrum files to write (also through a
// link) and, with an output folder, two recordings whose spectrum files
// would have the same name (TUsageError). Then writes the spectrum files in
// list order (core's RunBatchParallel), the report's rows as they come, and
// the summary line on stderr. A recording whose header check fails gets a
// warning line on stderr and is analysed as raw samples; with Strict it fails
// instead. Returns 0 when every recording was written or
// skipped, 1 when one failed or the report could not be written, 128 + N
// when stopped by signal N.
int RunBatchCommand(const TBatchArguments& arguments, TToolContext& context);
