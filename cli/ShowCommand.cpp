#include "cli/ShowCommand.h"

#include "cli/CliUsage.h"
#include "cli/CsvText.h"
#include "cli/ProgressDisplay.h"

#include "core/SpmFile.h"

#include <cstdio>

int RunShowCommand(const std::vector<std::string>& args)
{
    std::vector<std::string> files;
    bool codes = false;
    bool optionsEnded = false;
    for (const auto& arg : args) {
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--codes") {
            codes = true;
        } else if (IsHelpOption(arg)) {
            PrintUsage(stdout);
            return ExitOk;
        } else {
            return UsageError("unknown option '" + arg + "' for show");
        }
    }
    if (files.empty()) {
        return UsageError("show needs at least one spectrum file");
    }

    // Every file is read before anything is printed, so that a table is
    // either whole or not there.
    std::vector<TSpectrum> columns(files.size());
    for (std::size_t c = 0; c < files.size(); ++c) {
        try {
            columns[c] = ReadSpectrum(files[c]);
        } catch (const std::exception& e) {
            PrintRecordingError(files[c], e.what());
            return ExitFailure;
        }
    }

    std::string table = "Frequency (Hz)";
    for (const auto& name : files) {
        table += ',';
        table += CsvField(name);
    }
    table += "\n";
    for (int line = 0; line < SpectrumLines; ++line) {
        table += std::to_string(BandLineFrequencyHz(line));
        for (const auto& column : columns) {
            table += ',';
            table += codes ? std::to_string(column.Codes[line]) : FormatSingle(column.Values[line]);
        }
        table += "\n";
    }
    std::fwrite(table.data(), 1, table.size(), stdout);
    return std::fflush(stdout) == 0 ? ExitOk : ExitFailure;
}
