// tulvo-cli: the headless tool. Runs the same core as the windowed program
// for scripts, servers and large batches; the commands live in the tulvo_cli
// library.

#include "cli/CommandLine.h"
#include "dsp/dspFloatControl.h"

#include <unistd.h>

int main(int argc, char** argv)
{
    // Before anything designs a filter: the exact arithmetic's floating-point state.
    dspFloatControl::SetExactFloatControl();
    TToolContext context;
    context.ErrIsTerminal = ::isatty(STDERR_FILENO) == 1;
    context.CatchSignals = true;
    return RunTool(std::vector<std::string>(argv + 1, argv + argc), context);
}
