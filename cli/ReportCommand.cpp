#include "cli/ReportCommand.h"

#include "cli/PlotCommand.h"

#include <CLI/CLI.hpp>

void DeclareReportOptions(CLI::App& app, TReportArguments& arguments)
{
    app.add_option("--mask", arguments.Mask,
                   "check the units against this mask (written by mask); without it the units are ranked by "
                   "their distance from their median spectrum")
        ->option_text("MASK.csv");
    app.add_option("-o,--output", arguments.Output, "the report to write ('-': to standard output)")
        ->option_text("REPORT.html")
        ->required();
    app.add_option("--title", arguments.Title, "the report's title (default: the name of the first unit's folder)")
        ->option_text("TEXT");
    app.add_option("--date", arguments.Date,
                   "a date (or any text) to show under the title; without it the report "
                   "holds no date or time, so that the same inputs give the same bytes")
        ->option_text("TEXT");
    app.add_option("--charts", arguments.Charts,
                   "draw the spectra of the first N failing units against the mask, 0 to " +
                       std::to_string(MaxReportCharts) + " (default " + std::to_string(DefaultReportCharts) + ")")
        ->option_text("N")
        ->check(CLI::Range(0, MaxReportCharts).description(""));
    app.add_option_function<std::string>(
           "--lang", [&arguments](const std::string& name) { arguments.Language = *ReportLanguageNamed(name); },
           "the report's language: en (English, the default) or ru (Russian)")
        ->option_text("LANG")
        ->check(CLI::IsMember({"en", "ru"}));
    app.add_flag("--log", arguments.Logarithmic,
                 "the heatmap's colours on a logarithmic scale, as plot --heatmap --log draws them (the charts "
                 "are logarithmic, as the check window opens them)");
    DeclareUnitOptions(app, arguments.Units);
}

int RunReportCommand(const TReportArguments&, TToolContext& context) { return RunDrawingHelper("report", context); }
