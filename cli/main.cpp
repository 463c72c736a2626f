// tulvo-cli: the headless tool. Runs the same core as the windowed program
// for scripts, servers and large batches; the commands live in the tulvo_cli
// library.

#include "cli/CommandLine.h"
#include "cli/ExitStatus.h"
#include "core/platform/Program.h"
#include "core/platform/Terminal.h"

int main(int argc, char** argv)
{
    Platform::PrepareStandardStreams();
    TToolContext context;
    context.ErrIsTerminal = Platform::IsTerminal(context.Err);
    context.CatchSignals = true;
    // Before anything designs a filter: without this state the spectrum bytes would differ.
    if (!SetExactArithmetic(context)) {
        return ExitFailure;
    }
    return RunTool(Platform::CommandLineArguments(argc, argv), context);
}
