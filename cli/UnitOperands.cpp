#include "cli/UnitOperands.h"

#include "cli/SpectrumOperands.h"
#include "cli/ToolMessages.h"
#include "core/files/ErrorMessages.h"

#include <CLI/CLI.hpp>

void DeclareUnitOptions(CLI::App& app, TUnitArguments& arguments)
{
    app.add_option("UNIT", arguments.Units, "spectrum files (.spm) and recordings (.wav)")->option_text("UNIT...");
    DeclareFileListOptions(app, arguments.List, "units");
    app.add_flag("--strict", arguments.Strict,
                 "a recording that is not 1 channel, 51200 Hz, 16-bit PCM with its samples at byte 44 fails "
                 "instead of being analysed as raw samples with a warning");
    app.add_option("-j,--jobs", arguments.Jobs,
                   "read and analyse on N threads, 1 to 256 (default: one per processor this process may use)")
        ->option_text("N")
        ->check(CLI::Range(1, 256).description(""));
}

std::vector<std::string> CollectUnits(const TUnitArguments& arguments, const TToolContext& context)
{
    std::vector<std::string> units = CollectFiles(arguments.Units, arguments.List, context);
    CheckOneStandardInput(units, arguments.List.FilesFrom == "-");
    for (const std::string& unit : units) {
        if (!UnitSourceOf(unit)) {
            throw TUsageError(unit + ": " + std::string(NotAUnitText));
        }
    }
    return units;
}

void CheckUnitsOfKind(const std::vector<std::string>& units, TSpectrumKind kind, const std::string& why)
{
    if (kind != TSpectrumKind::MaxHold) {
        return;
    }
    for (const std::string& unit : units) {
        if (UnitSourceOf(unit) == TUnitSource::SpectrumFile) {
            const std::string shown = unit == "-" ? std::string(StandardInputName) : unit;
            throw TUsageError(why + ": " + shown + ": " + std::string(SpectrumFileHoldsNoFrames));
        }
    }
}

TUnitReadOptions UnitReadOptions(const TUnitArguments& arguments, const TToolContext& context, TSpectrumKind kind)
{
    TUnitReadOptions options;
    options.Kind = kind;
    options.Policy = arguments.Strict ? TFormatPolicy::RefuseNonconform : TFormatPolicy::AnalyseAsRaw;
    options.StandardInput = [&context] { return ReadSpectrumOperand("-", context); };
    return options;
}

std::string ReportUnit(const std::string& name, const std::optional<TUnit>& unit, const std::exception_ptr& error,
                       const TToolContext& context)
{
    const std::string shown = name == "-" ? StandardInputName : name;
    if (error) {
        std::string text = FailureText(error);
        WriteToErr(context, ErrorLine(shown, text));
        return text;
    }
    if (unit->Header && !unit->Header->Conforms) {
        WriteToErr(context, NonconformingWarning(shown, *unit->Header));
    }
    return {};
}
