// tulvo-cli: the headless tool. Runs the same core as the windowed program
// for scripts, servers and large batches; the commands live in the tulvo_cli
// library.

#include "cli/CommandLine.h"
#include "cli/ExitStatus.h"
#include "cli/ToolMessages.h"
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
    context.CatchSignals = true;
    try {
        // Before anything designs a filter: the exact arithmetic's floating-point state.
        dspFloatControl::SetExactFloatControl();
    } catch (const std::runtime_error& e) {
        // Without it the spectrum bytes would differ: nothing is done.
        WriteToErr(context, std::string(ToolName) + ": " + e.what() + "\n");
        return ExitFailure;
    }
    return RunTool(Platform::CommandLineArguments(argc, argv), context);
}
