// tulvo-plot: the drawing helper of tulvo-cli plot, which runs it in its own
// place with the words after "plot". Kept apart so that tulvo-cli itself
// never loads Qt.

#include "cli/ExitStatus.h"
#include "cli/ToolMessages.h"
#include "cli/plot/PlotDrawing.h"
#include "core/platform/Program.h"
#include "core/platform/Terminal.h"
#include "dsp/dspFloatControl.h"

#include <stdexcept>
#include <string>

int main(int argc, char** argv)
{
    Platform::PrepareStandardStreams();
    TToolContext context;
    context.ErrIsTerminal = Platform::IsTerminal(context.Err);
    try {
        // The values drawn from spectrum files, in tulvo-cli's floating-point state.
        dspFloatControl::SetExactFloatControl();
    } catch (const std::runtime_error& e) {
        WriteToErr(context, std::string(ToolName) + ": " + e.what() + "\n");
        return ExitFailure;
    }
    return RunPlotHelper(Platform::CommandLineArguments(argc, argv), context);
}
