// tulvo-plot: the drawing helper of tulvo-cli plot, which runs it in its own
// place with the words after "plot". Kept apart so that tulvo-cli itself
// never loads Qt.

#include "cli/CommandLine.h"
#include "cli/ExitStatus.h"
#include "cli/plot/PlotDrawing.h"
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
    return RunPlotHelper(Platform::CommandLineArguments(argc, argv), context);
}
