#include "cli/ProbeCommand.h"

#include "cli/ExitStatus.h"
#include "cli/SpectrumOperands.h"
#include "cli/TOutputStream.h"
#include "cli/ToolMessages.h"
#include "core/base/CsvText.h"

#include <CLI/CLI.hpp>

namespace {

constexpr std::string_view Header = "File,Container,Format,Channels,Rate (Hz),Bits,Data offset,Data bytes,Verdict\n";

std::string FormatName(const TWavHeaderVerdict& verdict)
{
    switch (verdict.Format) {
    case TWavFormat::Pcm: return "PCM";
    case TWavFormat::ExtensiblePcm: return "extensible PCM";
    case TWavFormat::Float: return "float";
    case TWavFormat::Other: return "other (tag " + std::to_string(verdict.FormatTag) + ")";
    case TWavFormat::Unknown: break;
    }
    return {};
}

} // namespace

std::string ProbeRow(const std::string& file, const TWavHeaderVerdict& verdict)
{
    std::string row =
        CsvField(file) + ',' + (verdict.RiffWave ? "RIFF/WAVE" : "other") + ',' + CsvField(FormatName(verdict)) + ',';
    if (verdict.Format != TWavFormat::Unknown) {
        row += std::to_string(verdict.Channels) + ',' + std::to_string(verdict.RateHz) + ',' +
               std::to_string(verdict.Bits) + ',';
    } else {
        row += ",,,";
    }
    if (verdict.DataOffset >= 0) {
        row += std::to_string(verdict.DataOffset) + ',' + std::to_string(verdict.DataBytes) + ',';
    } else {
        row += ",,";
    }
    return row + CsvField(verdict.Reason) + '\n';
}

void DeclareProbeOptions(CLI::App& app, TProbeArguments& arguments)
{
    app.add_option("RECORDING", arguments.Files, "recordings ('-': one from standard input)")
        ->option_text("RECORDING...");
    DeclareFileListOptions(app, arguments.List, "recordings");
}

int RunProbeCommand(const TProbeArguments& arguments, TToolContext& context)
{
    const std::vector<std::string> files = CollectFiles(arguments.Files, arguments.List, context);
    CheckOneStandardInput(files, arguments.List.FilesFrom == "-");

    TOutputStream out(context.Out, "standard output");
    out.Write(Header);
    bool allConform = true;
    for (const auto& name : files) {
        const std::string shownName = name == "-" ? StandardInputName : name;
        try {
            // A pipe or device is probed as readily as a file: nothing is written beside it.
            const TWavHeaderVerdict verdict = name == "-" ? ProbeWavHandle(context.In, StandardInputName)
                                                          : ProbeWavFile(name, TFileKinds::AnyReadable);
            allConform = allConform && verdict.Conforms;
            out.Write(ProbeRow(name, verdict));
        } catch (const EInOutError& e) {
            allConform = false;
            out.Flush(); // the rows before it come first, wherever both streams go
            WriteToErr(context, ErrorLine(shownName, e));
            out.Write(CsvField(name) + ",,,,,,,," + CsvField(ErrorText(e)) + '\n');
        }
    }
    out.Flush();
    return allConform ? ExitOk : ExitFailure;
}
