#include "cli/plot/ReportDrawing.h"

#include "cli/CheckCommand.h"
#include "cli/CommandLine.h"
#include "cli/ExitStatus.h"
#include "cli/SpectrumOperands.h"
#include "cli/ToolMessages.h"
#include "cli/plot/PlotDrawing.h"
#include "core/files/PathCollisions.h"
#include "plot/RunReportDocument.h"

namespace {

// The files a report reads: the mask, the units and the list of units (when not stdin).
std::vector<std::string> ReportInputs(const TReportArguments& arguments, const std::vector<std::string>& units)
{
    std::vector<std::string> inputs = units;
    if (!arguments.Mask.empty()) {
        inputs.push_back(arguments.Mask);
    }
    if (!arguments.Units.List.FilesFrom.empty() && arguments.Units.List.FilesFrom != "-") {
        inputs.push_back(arguments.Units.List.FilesFrom);
    }
    return inputs;
}

TReportSettings Settings(const TReportArguments& arguments, const std::vector<std::string>& units)
{
    TReportSettings settings;
    settings.TitleGiven = arguments.Title.has_value();
    settings.Title = arguments.Title ? *arguments.Title : DefaultReportTitle(units.front());
    settings.Date = arguments.Date;
    settings.Charts = arguments.Charts;
    settings.Language = arguments.Language;
    settings.Strict = arguments.Units.Strict;
    settings.Logarithmic = arguments.Logarithmic;
    return settings;
}

// Reads every unit as check does, with its digest, into report: judged against its mask when it
// has one, else ranked against the units' median spectrum.
void ReadReportUnits(const std::vector<std::string>& units, const TReportArguments& arguments, TToolContext& context,
                     TRunReport& report)
{
    TUnitReadOptions options = UnitReadOptions(arguments.Units, context);
    // Standard input is read on a worker; its bytes are taken on this thread once that unit's turn
    // comes, after the worker is done with them.
    std::string standardInputBytes;
    options.StandardInput = [&context, &standardInputBytes] {
        return ReadSpectrumOperand("-", context, &standardInputBytes);
    };
    const auto add = [&](TJudgedUnit& judged) {
        TReportUnit unit;
        static_cast<TJudgedUnit&>(unit) = std::move(judged);
        ReportUnit(unit.File, unit.Unit, unit.Error, context);
        if (unit.File != "-") {
            unit.Digest = FileDigest(unit.File);
        } else if (!standardInputBytes.empty()) {
            unit.Digest = DigestOf(standardInputBytes);
        }
        report.Units.push_back(std::move(unit));
    };
    if (report.Mask) {
        CheckUnitsInTurn(report.Mask->Mask, units, options, arguments.Units.Jobs,
                         [&](std::size_t, TJudgedUnit& judged) { add(judged); });
        return;
    }
    ReadUnits(units, options, arguments.Units.Jobs, [&](std::size_t index, TUnitOutcome& outcome) {
        TJudgedUnit judged = UnitAsRead(units[index], outcome);
        add(judged);
    });
    RankAgainstMedian(report);
}

} // namespace

int RunReportDrawing(const TReportArguments& arguments, TToolContext& context)
{
    const std::vector<std::string> units = CollectUnits(arguments.Units, context);
    if (arguments.Output != "-") {
        if (const auto same = FindSameFile(arguments.Output, ReportInputs(arguments, units), {})) {
            throw TUsageError("the report " + arguments.Output + " would overwrite " + *same + ", a file it reads");
        }
    }
    TRunReport report;
    report.Settings = Settings(arguments, units);
    if (!arguments.Mask.empty()) {
        auto mask = ReadMaskOrReport(arguments.Mask, context);
        if (!mask) {
            return ExitFailure;
        }
        CheckUnitsOfKind(units, mask->Options.Kind, "the mask " + arguments.Mask + " is of max-hold spectra");
        report.Mask = TReportMask{arguments.Mask, FileDigest(arguments.Mask), std::move(*mask)};
    }
    ReadReportUnits(units, arguments, context, report);

    const auto application = MakeApplicationIfNone();
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        WriteToErr(context, std::string(ToolName) + ": drawing needs a GUI application\n");
        return ExitFailure;
    }
    const std::string document = RunReportDocument(report);
    if (WriteToolOutput(document, arguments.Output, context) != ExitOk) {
        return ExitFailure;
    }
    const TCheckCounts counts = CountOutcomes(report);
    return counts.Differs == 0 && counts.Unread == 0 ? ExitOk : ExitFailure;
}

int RunReportHelper(const std::vector<std::string>& words, TToolContext& context)
{
    TCommand drawing = *FindCommand("report");
    drawing.Setup = SetupCommand<TReportArguments, DeclareReportOptions, RunReportDrawing>;
    return RunCommand(drawing, words, context);
}
