#pragma once

#include "cli/TToolContext.h"

#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
}

// The files a command works on: its operands, then the names of a list file.
// Names may hold any byte but NUL; a list separates them by line ends, or
// with --null by NUL bytes (for names with line ends, as find -print0 and
// xargs -0 write and read them).
struct TFileListOptions {
    // The list file; "-" is standard input. Empty: no list.
    std::string FilesFrom;
    bool Null = false;
};

// Declares --files-from FILE and -0/--null on app, bound to options; what
// names the kind of files ("recordings").
void DeclareFileListOptions(CLI::App& app, TFileListOptions& options, std::string_view what);

// The names of a list's text: split at separator, empty names dropped (the
// end of the last line, blank lines).
std::vector<std::string> SplitFileList(std::string_view text, char separator);

// operands followed by the names of the list (read from the context's stdin
// for "-"). Raises EInOutError naming the list when it cannot be read, and
// TUsageError when no file is named at all.
std::vector<std::string> CollectFiles(const std::vector<std::string>& operands, const TFileListOptions& options,
                                      const TToolContext& context);
