// tulvo-cli: the headless tool. Runs the same core as the windowed program
// for scripts, servers and large batches; the commands live in the tulvo_cli
// library.

#include "cli/CommandLine.h"
#include "core/platform/Program.h"
#include "core/platform/Terminal.h"
#include "dsp/dspFloatControl.h"

int main(int argc, char** argv)
{
    // Before anything designs a filter: the exact arithmetic's floating-point state.
    dspFloatControl::SetExactFloatControl();
    Platform::PrepareStandardStreams();
    TToolContext context;
    context.ErrIsTerminal = Platform::IsTerminal(context.Err);
    context.CatchSignals = true;
    return RunTool(Platform::CommandLineArguments(argc, argv), context);
}
