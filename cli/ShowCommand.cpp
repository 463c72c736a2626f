#include "cli/ShowCommand.h"

#include "cli/ExitStatus.h"
#include "cli/RecordingOperands.h"
#include "cli/SpectrumOperands.h"
#include "cli/TOutputStream.h"
#include "cli/ToolMessages.h"
#include "core/analysis/SpectrumTables.h"
#include "core/base/CsvText.h"

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

// show --frames: the recordings' frames, read whole before the table is printed.
int ShowFrames(const TShowArguments& arguments, const std::vector<std::string>& files, TToolContext& context)
{
    if (arguments.Codes) {
        throw TUsageError("--frames has no --codes: frames are values on the spectrum's scale, not the codes of "
                          "a spectrum file");
    }
    if (files.size() > 1 && !arguments.Long) {
        throw TUsageError("--frames shows one recording in columns; for " + std::to_string(files.size()) +
                          " recordings use --long");
    }
    CheckRecordingOperands(files, "--frames");

    std::vector<TRecordingFrames> frames;
    frames.reserve(files.size());
    for (const auto& name : files) {
        try {
            frames.push_back(ReadFramedOperand(name, context).Frames);
        } catch (const EInOutError& e) {
            WriteToErr(context, ErrorLine(name, e));
            return ExitFailure;
        } catch (const EMathError& e) {
            WriteToErr(context, AnalysisErrorLine(name, e));
            return ExitFailure;
        }
    }

    TOutputStream out(context.Out, "standard output");
    if (arguments.Long) {
        out.Write(FramesLongHeader());
        for (std::size_t f = 0; f < files.size(); ++f) {
            out.Write(FramesLongRows(files[f], frames[f]));
        }
    } else {
        out.Write(FramesTableHeader());
        for (int line = 0; line < SpectrumLines; ++line) {
            out.Write(FramesTableRow(frames.front(), line));
        }
    }
    out.Flush();
    return ExitOk;
}

} // namespace

void DeclareShowOptions(CLI::App& app, TShowArguments& arguments)
{
    app.add_option("FILE", arguments.Files, "spectrum files")->option_text("FILE...");
    DeclareFileListOptions(app, arguments.List, "spectrum files");
    app.add_flag("--codes", arguments.Codes, "the raw 16-bit codes instead of the values");
    app.add_flag("--long", arguments.Long,
                 "one row per file and line (File,Frequency (Hz),Value) instead of a column per file");
    app.add_flag("--frames", arguments.Frames,
                 "the 15 frames of 40 ms behind a recording's spectrum, a column per frame start and the "
                 "largest (Max); FILE is a recording; with --long any number of recordings (File,Frame start "
                 "(ms),Frequency (Hz),Value)");
}

int RunShowCommand(const TShowArguments& arguments, TToolContext& context)
{
    const std::vector<std::string> files = CollectFiles(arguments.Files, arguments.List, context);
    if (arguments.Frames) {
        return ShowFrames(arguments, files, context);
    }
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
