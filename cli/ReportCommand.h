#pragma once

#include "cli/TToolContext.h"
#include "cli/UnitOperands.h"
#include "report/RunReport.h"

#include <optional>
#include <string>

namespace CLI {
class App;
}

// tulvo-cli report: a run's report as one self-contained HTML file (report/RunReportHtml.h).
//
//   tulvo-cli report [--mask MASK.csv] [--title TEXT] [--date TEXT] [--charts N] [--lang en|ru]
//       [--log] -o REPORT.html UNIT...
//
// Its pictures are drawn by the charts' own painting, which needs Qt: as plot does, tulvo-cli
// parses the words itself (usage errors and --help at once) and hands them unchanged to the
// drawing helper, which reads, checks, draws and writes.
struct TReportArguments {
    std::string Mask; // empty: no mask, the units ranked against their median spectrum
    TUnitArguments Units;
    std::string Output; // "-": the document to stdout
    std::optional<std::string> Title;
    std::optional<std::string> Date;
    int Charts = DefaultReportCharts;
    TReportLanguage Language = TReportLanguage::English;
    bool Logarithmic = false;
};

// The most charts a report draws.
inline constexpr int MaxReportCharts = 1000;

// Declares report's options and operands on app, bound to arguments: --charts takes 0 to
// MaxReportCharts, --lang "en" or "ru".
void DeclareReportOptions(CLI::App& app, TReportArguments& arguments);

// Runs the drawing helper with "report" and the context's command words in place of this
// process. Returns only when it cannot be run (exit 1, with the message).
int RunReportCommand(const TReportArguments& arguments, TToolContext& context);
