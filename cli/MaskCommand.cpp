#include "cli/MaskCommand.h"

#include "cli/ExitStatus.h"
#include "cli/TOutputStream.h"
#include "cli/ToolMessages.h"
#include "core/files/FileReplacement.h"
#include "core/qc/MaskFile.h"
#include "core/qc/MaskLearning.h"

#include "TulvoVersion.h"

#include <CLI/CLI.hpp>

#include <cmath>

namespace {

// A number of dB (or a factor) option: finite, from 0 up.
template <class TTarget>
CLI::Option* DeclareAmount(CLI::App& app, const std::string& name, TTarget& target, const std::string& valueName,
                           const std::string& description)
{
    return app
        .add_option_function<double>(
            name,
            [&target, name](const double& value) {
                if (!std::isfinite(value) || value < 0) {
                    throw CLI::ValidationError(name, "needs a finite number from 0 up");
                }
                target = value + 0.0; // never -0
            },
            description)
        ->option_text(valueName);
}

TMaskOptions LearningOptions(const TMaskArguments& arguments)
{
    TMaskOptions options = arguments.Options;
    for (const std::string& text : arguments.Excluded) {
        options.Excluded.push_back(*FrequencyRangeFromText(text));
    }
    options.UpperOffsetDb = arguments.UpperOffset.value_or(arguments.Offset.value_or(0));
    options.LowerOffsetDb = arguments.LowerOffset.value_or(arguments.Offset.value_or(0));
    return options;
}

} // namespace

void DeclareMaskOptions(CLI::App& app, TMaskArguments& arguments)
{
    app.add_option("-o,--output", arguments.Output, "the mask file to write ('-': standard output)")
        ->option_text("MASK.csv")
        ->required();
    app.add_flag_callback(
        "--max-hold", [&arguments] { arguments.Options.Kind = TSpectrumKind::MaxHold; },
        "learn each recording's max-hold spectrum, per line the largest of its 15 frames, instead of their "
        "average (recordings only)");
    DeclareAmount(app, "--factor", arguments.Options.Factor, "F",
                  "the limits lie F spreads from the centre (default 6)");
    DeclareAmount(app, "--offset", arguments.Offset, "DB", "widen both limits of every line by DB (default 0)");
    DeclareAmount(app, "--upper-offset", arguments.UpperOffset, "DB",
                  "raise the upper limits by DB (default: --offset)");
    DeclareAmount(app, "--lower-offset", arguments.LowerOffset, "DB",
                  "lower the lower limits by DB (default: --offset)");
    DeclareAmount(app, "--floor", arguments.Options.FloorDb, "DB",
                  "the smallest spread (default 0.5); a line's spread is never below one code step either");
    app.add_option("--exclude", arguments.Excluded, "no limits on the lines from LOW to HIGH Hz (repeatable)")
        ->option_text("LOW-HIGH")
        ->allow_extra_args(false)
        ->check(CLI::Validator(
            [](const std::string& text) {
                return FrequencyRangeFromText(text) ? std::string()
                                                    : "needs LOW-HIGH in Hz, LOW not above HIGH, not '" + text + "'";
            },
            "", "range"));
    DeclareUnitOptions(app, arguments.Units);
}

int RunMaskCommand(const TMaskArguments& arguments, TToolContext& context)
{
    const std::vector<std::string> units = CollectUnits(arguments.Units, context);
    const TMaskOptions options = LearningOptions(arguments);
    CheckUnitsOfKind(units, options.Kind, "--max-hold");
    if (units.size() < MinimumMaskUnits) {
        throw TUsageError(TooFewMaskUnitsText(units.size()));
    }
    if (const auto refusal = MaskOverwriteRefusal(arguments.Output, units)) {
        throw TUsageError(*refusal);
    }

    // The mask as messages name it.
    const std::string shown = arguments.Output == "-" ? "standard output" : arguments.Output;
    const TLearnedMask learned =
        LearnMask(units, options, UnitReadOptions(arguments.Units, context), arguments.Units.Jobs, TulvoVersion,
                  [&](std::size_t index, const TUnitOutcome& outcome) {
                      ReportUnit(units[index], outcome.Unit, outcome.Error, context);
                      return true;
                  });
    if (!learned.Mask) {
        WriteToErr(context, ErrorLine(shown, "not written: " + std::to_string(learned.Unread) + " of " +
                                                 std::to_string(units.size()) + " units cannot be read"));
        return ExitFailure;
    }
    for (const std::string& warning : learned.Warnings) {
        WriteToErr(context, WarningLine(shown, warning));
    }
    const std::string text = MaskFileText(*learned.Mask);
    if (arguments.Output == "-") {
        TOutputStream out(context.Out, "standard output");
        out.Write(text);
        out.Flush();
    } else {
        ReplaceFile(arguments.Output, text);
    }
    return ExitOk;
}
