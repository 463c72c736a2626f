#include "cli/CheckCommand.h"

#include "cli/ExitStatus.h"
#include "cli/TOutputStream.h"
#include "cli/ToolMessages.h"
#include "core/qc/UnitCheck.h"
#include "core/qc/MaskFile.h"

#include <CLI/CLI.hpp>

#include <optional>

std::optional<TToleranceMask> ReadMaskOrReport(const std::string& path, const TToolContext& context)
{
    try {
        return ReadMaskFile(path);
    } catch (const EInOutError& e) {
        WriteToErr(context, ErrorLine(path, e));
    } catch (const EContentError& e) {
        WriteToErr(context, ErrorLine(path, e.what()));
    }
    return std::nullopt;
}

void DeclareCheckOptions(CLI::App& app, TCheckArguments& arguments)
{
    app.add_option("--mask", arguments.Mask, "the mask file (written by mask)")->option_text("MASK.csv")->required();
    app.add_flag("--failed-only", arguments.FailedOnly, "print only the rows that are not \"ok\"");
    app.add_flag("--max-hold", arguments.MaxHold,
                 "the mask must be one learned with mask --max-hold (without it, the mask's own kind decides)");
    DeclareUnitOptions(app, arguments.Units);
}

int RunCheckCommand(const TCheckArguments& arguments, TToolContext& context)
{
    const std::vector<std::string> units = CollectUnits(arguments.Units, context);
    const auto mask = ReadMaskOrReport(arguments.Mask, context);
    if (!mask) {
        return ExitFailure;
    }
    const TSpectrumKind kind = mask->Options.Kind;
    if (arguments.MaxHold && kind != TSpectrumKind::MaxHold) {
        throw TUsageError("--max-hold: the mask " + arguments.Mask + " is of " + std::string(SpectrumKindName(kind)) +
                          " spectra, not max-hold ones; learn one with mask --max-hold");
    }
    CheckUnitsOfKind(units, kind, "the mask " + arguments.Mask + " is of max-hold spectra");

    TOutputStream out(context.Out, "standard output");
    out.Write(CheckTableHeaderLine());
    int status = ExitOk;
    CheckUnitsInTurn(*mask, units, UnitReadOptions(arguments.Units, context, kind), arguments.Units.Jobs,
                     [&](std::size_t, TJudgedUnit& unit) {
                         ReportUnit(unit.File, unit.Unit, unit.Error, context);
                         if (!unit.Verdict || !unit.Verdict->Ok) {
                             status = ExitFailure;
                         }
                         if (unit.Differs() || !unit.Verdict || !arguments.FailedOnly) {
                             out.Write(CheckTableRow(unit));
                         }
                     });
    out.Flush();
    return status;
}
