#include "cli/CompareCommand.h"

#include "cli/ExitStatus.h"
#include "cli/SpectrumOperands.h"
#include "cli/TOutputStream.h"
#include "cli/ToolMessages.h"
#include "core/base/CsvText.h"

#include <CLI/CLI.hpp>

#include <limits>

namespace {

// What became of one file: its figures, or why it could not be read.
struct TCompareRow {
    std::string Name;
    std::optional<TSpectrumFigures> Figures;
    std::string Error;
};

// Reads name; on a failure writes the error line, keeps the error's text in
// error (when given) and returns nothing.
std::optional<TSpectrum> ReadOrReport(const std::string& name, const TToolContext& context,
                                      std::string* error = nullptr)
{
    const std::string shown = name == "-" ? StandardInputName : name;
    std::string text;
    try {
        return ReadSpectrumOperand(name, context);
    } catch (const EInOutError& e) {
        WriteToErr(context, ErrorLine(shown, e));
        text = ErrorText(e);
    } catch (const EMathError& e) {
        WriteToErr(context, ErrorLine(shown, e.what()));
        text = e.what();
    }
    if (error != nullptr) {
        *error = text;
    }
    return std::nullopt;
}

// A number option whose value must lie in lo..hi (rangeText says so when it
// does not), stored in target.
void DeclareLimit(CLI::App& app, const std::string& name, std::optional<double>& target, double lo, double hi,
                  const std::string& rangeText, const std::string& valueName, const std::string& description)
{
    app.add_option_function<double>(
           name,
           [&target, name, lo, hi, rangeText](const double& value) {
               if (!(value >= lo && value <= hi)) {
                   throw CLI::ValidationError(name, "needs " + rangeText);
               }
               target = value;
           },
           description)
        ->option_text(valueName);
}

std::string Row(const TCompareRow& row, const TCompareThresholds& thresholds)
{
    std::string line = CsvField(row.Name);
    if (!row.Figures) {
        return line + ",,,,,,,," + CsvField(row.Error) + "\n";
    }
    const TSpectrumFigures& f = *row.Figures;
    for (const auto& [value, decimals] :
         {std::pair{f.PeakHz, 0}, std::pair{f.PeakShiftHz, 0}, std::pair{f.CentroidHz, 1}, std::pair{f.Correlation, 6},
          std::pair{f.DistanceDb, 3}, std::pair{f.MaxDeviationDb, 3}, std::pair{f.MaxDeviationHz, 0}}) {
        line += ',';
        line += FormatFixed(value, decimals);
    }
    return line + (WithinThresholds(f, thresholds) ? ",ok\n" : ",differs\n");
}

} // namespace

CLI::Option* DeclareReferenceOption(CLI::App& app, std::vector<std::string>& references, bool required)
{
    CLI::Option* option =
        app.add_option("--reference", references,
                       "the reference spectrum file; given more than once, the line-by-line mean of them")
            ->option_text("REF.spm")
            ->allow_extra_args(false);
    if (required) {
        option->required();
    }
    return option;
}

CLI::Option* DeclareSortOption(CLI::App& app, std::optional<TCompareSort>& sort)
{
    return app
        .add_option_function<std::string>(
            "--sort",
            [&sort](const std::string& key) {
                sort = key == "distance" ? TCompareSort::Distance : TCompareSort::Correlation;
            },
            "the most different first: by distance (largest first) or by correlation (smallest first)")
        ->check(CLI::IsMember({"distance", "correlation"}))
        ->option_text("KEY");
}

void DeclareCompareOptions(CLI::App& app, TCompareArguments& arguments)
{
    app.add_option("FILE", arguments.Files, "spectrum files")->option_text("FILE...");
    DeclareReferenceOption(app, arguments.References, true);
    DeclareFileListOptions(app, arguments.List, "spectrum files");
    DeclareLimit(app, "--max-distance", arguments.Thresholds.MaxDistanceDb, 0, std::numeric_limits<double>::max(),
                 "a finite number of dB from 0 up", "DB", "a file differs when its distance is larger than DB");
    DeclareLimit(app, "--min-correlation", arguments.Thresholds.MinCorrelation, -1, 1, "a number from -1 to 1", "R",
                 "a file differs when its correlation is smaller than R");
    DeclareSortOption(app, arguments.Sort);
}

std::optional<TBandLevels> ReadReference(const std::vector<std::string>& references, const TToolContext& context)
{
    std::vector<TBandValues> bands;
    for (const auto& name : references) {
        const auto spectrum = ReadOrReport(name, context);
        if (!spectrum) {
            return std::nullopt;
        }
        bands.push_back(spectrum->Values);
    }
    return MeanLevels(bands);
}

int RunCompareCommand(const TCompareArguments& arguments, TToolContext& context)
{
    const std::vector<std::string> files = CollectFiles(arguments.Files, arguments.List, context);
    std::vector<std::string> everything = files;
    everything.insert(everything.end(), arguments.References.begin(), arguments.References.end());
    CheckOneStandardInput(everything, arguments.List.FilesFrom == "-");

    const auto reference = ReadReference(arguments.References, context);
    if (!reference) {
        return ExitFailure;
    }

    std::vector<TCompareRow> rows;
    rows.reserve(files.size());
    for (const auto& name : files) {
        TCompareRow row{name, std::nullopt, {}};
        if (const auto spectrum = ReadOrReport(name, context, &row.Error)) {
            row.Figures = CompareBand(spectrum->Values, *reference);
        }
        rows.push_back(std::move(row));
    }

    // Without a sort every rank is equal and the given order stays; with one,
    // unreadable files rank below every figure, so they come last.
    std::vector<double> ranks(rows.size(), 0.0);
    if (arguments.Sort) {
        for (std::size_t k = 0; k < rows.size(); ++k) {
            ranks[k] = rows[k].Figures ? DifferenceRank(*rows[k].Figures, *arguments.Sort)
                                       : -std::numeric_limits<double>::infinity();
        }
    }

    TOutputStream out(context.Out, "standard output");
    out.Write(std::string(CompareHeader) + "\n");
    int status = ExitOk;
    for (const std::size_t k : MostDifferentFirst(ranks)) {
        const TCompareRow& row = rows[k];
        out.Write(Row(row, arguments.Thresholds));
        if (!row.Figures || !WithinThresholds(*row.Figures, arguments.Thresholds)) {
            status = ExitFailure;
        }
    }
    out.Flush();
    return status;
}
