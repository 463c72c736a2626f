#include "cli/ShowCommand.h"

#include "cli/ExitStatus.h"
#include "cli/SpectrumOperands.h"
#include "cli/TOutputStream.h"
#include "cli/ToolMessages.h"
#include "core/CsvText.h"

#include <CLI/CLI.hpp>

namespace {

void PrintWide(TOutputStream& out, const std::vector<std::string>& files, const std::vector<TSpectrum>& spectra,
               bool codes)
{
    out.Write(SpectrumTableHeader(files));
    for (int line = 0; line < SpectrumLines; ++line) {
        out.Write(SpectrumTableRow(spectra, line, codes));
    }
}

void PrintLong(TOutputStream& out, const std::vector<std::string>& files, const std::vector<TSpectrum>& spectra,
               bool codes)
{
    out.Write(codes ? "File,Frequency (Hz),Code\n" : "File,Frequency (Hz),Value\n");
    for (std::size_t f = 0; f < files.size(); ++f) {
        const std::string name = CsvField(files[f]) + ",";
        for (int line = 0; line < SpectrumLines; ++line) {
            out.Write(name + std::to_string(BandLineFrequencyHz(line)) + "," +
                      SpectrumTableCell(spectra[f], line, codes) + "\n");
        }
    }
}

} // namespace

void DeclareShowOptions(CLI::App& app, TShowArguments& arguments)
{
    app.add_option("FILE", arguments.Files, "spectrum files")->option_text("FILE...");
    DeclareFileListOptions(app, arguments.List, "spectrum files");
    app.add_flag("--codes", arguments.Codes, "the raw 16-bit codes instead of the values");
    app.add_flag("--long", arguments.Long,
                 "one row per file and line (File,Frequency (Hz),Value) instead of a column per file");
}

int RunShowCommand(const TShowArguments& arguments, TToolContext& context)
{
    const std::vector<std::string> files = CollectFiles(arguments.Files, arguments.List, context);
    CheckOneStandardInput(files, arguments.List.FilesFrom == "-");

    std::vector<TSpectrum> spectra;
    spectra.reserve(files.size());
    for (const auto& name : files) {
        try {
            spectra.push_back(ReadSpectrumOperand(name, context));
        } catch (const EInOutError& e) {
            WriteToErr(context, ErrorLine(name == "-" ? StandardInputName : name, e));
            return ExitFailure;
        } catch (const EMathError& e) {
            WriteToErr(context, ErrorLine(name == "-" ? StandardInputName : name, e.what()));
            return ExitFailure;
        }
    }

    TOutputStream out(context.Out, "standard output");
    if (arguments.Long) {
        PrintLong(out, files, spectra, arguments.Codes);
    } else {
        PrintWide(out, files, spectra, arguments.Codes);
    }
    out.Flush();
    return ExitOk;
}
