#include "cli/BatchCommand.h"

#include "cli/BatchReport.h"
#include "cli/CliUsage.h"
#include "cli/ProgressDisplay.h"

#include "core/BatchRun.h"
#include "core/TulvoErrors.h"

#include <charconv>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

struct TBatchArguments {
    std::vector<std::string> Files;
    TBatchOptions Options;
    std::optional<std::string> ReportPath;
};

// Splits "--name=value" or takes the next word as the value.
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, const std::string& name,
               std::string& value)
{
    const std::string& arg = args[i];
    if (arg.rfind(name + "=", 0) == 0) {
        value = arg.substr(name.size() + 1);
        return true;
    }
    if (arg == name) {
        if (i + 1 >= args.size()) {
            throw std::invalid_argument("option " + name + " needs a value");
        }
        value = args[++i];
        return true;
    }
    return false;
}

int ParseJobs(const std::string& text)
{
    int jobs = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), jobs);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || jobs < 1 || jobs > 256) {
        throw std::invalid_argument("--jobs takes a whole number from 1 to 256, not '" + text + "'");
    }
    return jobs;
}

TBatchArguments ParseArguments(const std::vector<std::string>& args)
{
    TBatchArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string value;
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            parsed.Files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--keep-going") {
            parsed.Options.KeepGoing = true;
        } else if (TakeValue(args, i, "--report", value)) {
            parsed.ReportPath = value;
        } else if (TakeValue(args, i, "--jobs", value)) {
            parsed.Options.Jobs = ParseJobs(value);
        } else {
            throw std::invalid_argument("unknown option '" + arg + "' for batch");
        }
    }
    if (parsed.Files.empty()) {
        throw std::invalid_argument("batch needs at least one recording");
    }
    return parsed;
}

} // namespace

int RunBatchCommand(const std::vector<std::string>& args)
{
    for (const auto& arg : args) {
        if (IsHelpOption(arg)) {
            PrintUsage(stdout);
            return ExitOk;
        }
    }
    TBatchArguments parsed;
    try {
        parsed = ParseArguments(args);
    } catch (const std::invalid_argument& e) {
        return UsageError(e.what());
    }

    std::unique_ptr<TBatchReport> report;
    if (parsed.ReportPath) {
        try {
            report = std::make_unique<TBatchReport>(*parsed.ReportPath);
        } catch (const EInOutError& e) {
            PrintRecordingError(*parsed.ReportPath, e.what());
            return ExitFailure;
        }
    }

    TProgressDisplay display(::isatty(STDOUT_FILENO) == 1);
    bool errorShown = false;
    const TBatchProgress progress = [&](const TBatchItem& item, std::size_t done, std::size_t total) {
        errorShown = errorShown || !item.Ok;
        display.Step(item, done, total);
        if (report) {
            try {
                report->Add(item);
            } catch (const EInOutError& e) {
                display.Finish();
                PrintRecordingError(*parsed.ReportPath, e.what());
                errorShown = true;
                throw;
            }
        }
    };

    TBatchSummary summary;
    try {
        summary = RunBatchParallel(parsed.Files, progress, parsed.Options);
    } catch (const std::exception& e) {
        display.Finish();
        if (!errorShown) {
            PrintRecordingError("tulvo-cli", e.what());
        }
        return ExitFailure;
    }
    display.Finish();
    if (report) {
        try {
            report->Close();
        } catch (const EInOutError& e) {
            PrintRecordingError(*parsed.ReportPath, e.what());
            return ExitFailure;
        }
    }
    std::printf("Обработка %zu файлов завершена!\n", parsed.Files.size());
    if (summary.Failed > 0) {
        std::fprintf(stderr, "%zu of %zu recordings failed.\n", summary.Failed, parsed.Files.size());
        return ExitFailure;
    }
    return ExitOk;
}
