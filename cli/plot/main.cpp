// tulvo-plot: the drawing helper of tulvo-cli plot, which runs it in its own
// place with the words after "plot". Kept apart so that tulvo-cli itself
// never loads Qt.

#include "cli/plot/PlotDrawing.h"

#include <unistd.h>

int main(int argc, char** argv)
{
    TToolContext context;
    context.ErrIsTerminal = ::isatty(STDERR_FILENO) == 1;
    return RunPlotHelper(std::vector<std::string>(argv + 1, argv + argc), context);
}
