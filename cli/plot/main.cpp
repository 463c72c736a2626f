// tulvo-plot: the drawing helper of tulvo-cli plot and report, which run it in
// their own place with the command's name and the words after it. Kept apart
// so that tulvo-cli itself never loads Qt.

#include "cli/CommandLine.h"
#include "cli/ExitStatus.h"
#include "cli/ToolMessages.h"
#include "cli/plot/PlotDrawing.h"
#include "cli/plot/ReportDrawing.h"
#include "core/platform/Program.h"
#include "core/platform/Terminal.h"

int main(int argc, char** argv)
{
    Platform::PrepareStandardStreams();
    TToolContext context;
    context.ErrIsTerminal = Platform::IsTerminal(context.Err);
    // The values drawn from spectrum files, in tulvo-cli's floating-point state.
    if (!SetExactArithmetic(context)) {
        return ExitFailure;
    }
    const std::vector<std::string> words = Platform::CommandLineArguments(argc, argv);
    const std::vector<std::string> rest(words.empty() ? words.end() : words.begin() + 1, words.end());
    if (!words.empty() && words.front() == "plot") {
        return RunPlotHelper(rest, context);
    }
    if (!words.empty() && words.front() == "report") {
        return RunReportHelper(rest, context);
    }
    WriteToErr(context, "tulvo-plot: the drawing helper of tulvo-cli runs only as tulvo-cli plot or report\n");
    return ExitUsage;
}
