// tulvo-cli: the headless tool. Runs the same core as the windowed program
// for scripts, servers and large batches.

#include "cli/BatchCommand.h"
#include "cli/CliUsage.h"
#include "cli/PlotCommand.h"
#include "cli/ShowCommand.h"

#include "core/TulvoErrors.h"

#include "TulvoVersion.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        PrintUsage(stderr);
        return ExitUsage;
    }
    const std::string& command = words[0];
    const std::vector<std::string> args(words.begin() + 1, words.end());
    try {
        if (IsHelpOption(command) || command == "help") {
            PrintUsage(stdout);
            return ExitOk;
        }
        if (command == "--version" || command == "-V") {
            std::printf("tulvo-cli %s\n", TulvoVersion);
            return ExitOk;
        }
        if (command == "batch") {
            return RunBatchCommand(args);
        }
        if (command == "show") {
            return RunShowCommand(args);
        }
        if (command == "plot") {
            return RunPlotCommand(args);
        }
        return UsageError("unknown command '" + command + "'");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tulvo-cli: %s\n", ErrorBoxText(e.what()).c_str());
        return ExitFailure;
    }
}
