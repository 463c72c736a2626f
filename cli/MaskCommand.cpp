#include "cli/MaskCommand.h"

#include "cli/ExitStatus.h"
#include "cli/PathCollisions.h"
#include "cli/TOutputStream.h"
#include "cli/ToolMessages.h"
#include "core/FileReplacement.h"
#include "core/MaskFile.h"

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

// What the mask's notes say of its units.
std::string Provenance(std::size_t recordings, std::size_t spectrumFiles)
{
    const auto count = [](std::size_t n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    std::string text = "Learned by " + std::string(ToolName) + " " + TulvoVersion + " from ";
    if (recordings > 0 && spectrumFiles > 0) {
        return text + count(recordings, "recording", "recordings") + " and " +
               count(spectrumFiles, "spectrum file", "spectrum files") + ".";
    }
    return text +
           (recordings > 0 ? count(recordings, "recording", "recordings")
                           : count(spectrumFiles, "spectrum file", "spectrum files")) +
           ".";
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
    const TSpectrumKind kind = arguments.Options.Kind;
    CheckUnitsOfKind(units, kind, "--max-hold");
    if (units.size() < MinimumMaskUnits) {
        throw TUsageError("a mask needs at least " + std::to_string(MinimumMaskUnits) + " units, " +
                          std::to_string(units.size()) + " given");
    }
    if (arguments.Output != "-") {
        if (const auto same = FindSameFile(arguments.Output, units, {})) {
            throw TUsageError("the mask " + arguments.Output + " would overwrite " + *same + ", one of its units");
        }
    }

    // The mask as messages name it.
    const std::string shown = arguments.Output == "-" ? "standard output" : arguments.Output;
    TMaskLearner learner(kind);
    std::size_t failed = 0;
    std::size_t recordings = 0;
    ReadUnits(units, UnitReadOptions(arguments.Units, context, kind), arguments.Units.Jobs,
              [&](std::size_t index, TUnitOutcome& outcome) {
                  if (!ReportUnit(units[index], outcome, context).empty()) {
                      ++failed;
                      return;
                  }
                  recordings += outcome.Unit->Source == TUnitSource::Recording;
                  learner.Add(outcome.Unit->Spectrum.Codes, outcome.Unit->LevelsDb, outcome.Unit->LevelDbfs);
              });
    if (failed > 0) {
        WriteToErr(context, ErrorLine(shown, "not written: " + std::to_string(failed) + " of " +
                                                 std::to_string(units.size()) + " units cannot be read"));
        return ExitFailure;
    }

    if (units.size() < RoughMaskUnits) {
        WriteToErr(context, WarningLine(shown, "a mask from fewer than " + std::to_string(RoughMaskUnits) +
                                                   " units is rough (" + std::to_string(units.size()) + " given)"));
    }
    const std::size_t spectrumFiles = units.size() - recordings;
    if (recordings > 0 && spectrumFiles > 0) {
        WriteToErr(context, WarningLine(shown, "no level band: " + std::to_string(spectrumFiles) +
                                                   " of the units are spectrum files, which hold no level"));
    }
    TToleranceMask mask = learner.Learn(LearningOptions(arguments));
    mask.Notes.push_back(Provenance(recordings, spectrumFiles));
    if (!mask.Level) {
        mask.Notes.push_back("No level band: spectrum files hold no level, only recordings do.");
    }
    const std::string text = MaskFileText(mask);
    if (arguments.Output == "-") {
        TOutputStream out(context.Out, "standard output");
        out.Write(text);
        out.Flush();
    } else {
        ReplaceFile(arguments.Output, text);
    }
    return ExitOk;
}
