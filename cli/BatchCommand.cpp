#include "cli/BatchCommand.h"

#include "cli/BatchReport.h"
#include "cli/ExitStatus.h"
#include "cli/ToolMessages.h"
#include "core/files/PathCollisions.h"

#include "core/base/TulvoErrors.h"
#include "core/batch/BatchRun.h"
#include "core/platform/FileStatus.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <optional>

namespace {

bool IsFolder(const std::string& path)
{
    const auto status = Platform::StatusOf(path);
    return status && status->Folder;
}

// The refusals that must come before anything is read or written.
void CheckCollisions(const TBatchArguments& arguments, const std::vector<std::string>& recordings,
                     const std::vector<std::string>& spectra)
{
    for (const auto& recording : recordings) {
        if (recording == "-") {
            throw TUsageError("a recording cannot come from standard input ('-'); for a list of names "
                              "use --files-from -");
        }
    }
    if (!arguments.OutputFolder.empty()) {
        if (!IsFolder(arguments.OutputFolder)) {
            throw TUsageError("--output-dir " + arguments.OutputFolder + " is not a folder");
        }
        if (const auto same = FindSameFileName(spectra)) {
            throw TUsageError("recordings " + recordings[same->first] + " and " + recordings[same->second] +
                              " would both write " + spectra[same->first]);
        }
    }
    if (!arguments.ReportPath.empty() && arguments.ReportPath != "-") {
        if (const auto same = FindSameFile(arguments.ReportPath, recordings, spectra)) {
            throw TUsageError("the report " + arguments.ReportPath + " would overwrite " + *same +
                              ", a file of this run");
        }
    }
}

} // namespace

void DeclareBatchOptions(CLI::App& app, TBatchArguments& arguments)
{
    app.add_option("RECORDING", arguments.Recordings, "recordings")->option_text("RECORDING...");
    DeclareFileListOptions(app, arguments.List, "recordings");
    app.add_flag("-k,--keep-going", arguments.KeepGoing,
                 "report a failing recording and go on with the next (default: stop there)");
    app.add_option("-j,--jobs", arguments.Jobs,
                   "analyse on N threads, 1 to 256 (default: one per processor this process may use)")
        ->option_text("N")
        ->check(CLI::Range(1, 256).description(""));
    CLI::Option* report = app.add_option("--report", arguments.ReportPath,
                                         "write a CSV row per recording to FILE ('-': standard output): "
                                         "File,Status,Peak frequency (Hz),Peak value,Format")
                              ->option_text("FILE");
    app.add_flag("--append", arguments.Append, "add the rows to the report's end; the header only when it is empty")
        ->needs(report);
    app.add_option("--output-dir", arguments.OutputFolder,
                   "write the spectrum files into DIR instead of beside the recordings; recordings may "
                   "then also be pipes and devices")
        ->option_text("DIR");
    app.add_flag("--strict", arguments.Strict,
                 "a recording that is not 1 channel, 51200 Hz, 16-bit PCM with its samples at byte 44 "
                 "fails (no spectrum file) instead of being analysed as raw samples with a warning");
    app.add_flag("-u,--update", arguments.Update,
                 "skip a recording whose spectrum file is not older than it (status \"skipped\")");
    CLI::Option* quiet = app.add_flag_callback(
        "-q,--quiet", [&arguments] { arguments.Verbosity = TVerbosity::Quiet; }, "say nothing but errors and warnings");
    app.add_flag_callback(
           "-v,--verbose", [&arguments] { arguments.Verbosity = TVerbosity::Verbose; },
           "a line per recording on stderr")
        ->excludes(quiet);
}

int RunBatchCommand(const TBatchArguments& arguments, TToolContext& context)
{
    const std::vector<std::string> recordings = CollectFiles(arguments.Recordings, arguments.List, context);
    std::vector<std::string> spectra;
    spectra.reserve(recordings.size());
    for (const auto& recording : recordings) {
        spectra.push_back(SpectrumPathFor(recording, arguments.OutputFolder));
    }
    CheckCollisions(arguments, recordings, spectra);

    std::unique_ptr<TBatchReport> report;
    if (!arguments.ReportPath.empty()) {
        report = std::make_unique<TBatchReport>(arguments.ReportPath, arguments.Append, context.Out);
    }

    if (context.CatchSignals) {
        CatchStopSignals(context.Stop);
    }
    TBatchOptions options;
    options.KeepGoing = arguments.KeepGoing;
    options.Jobs = arguments.Jobs;
    options.OutputFolder = arguments.OutputFolder;
    options.Update = arguments.Update;
    options.Strict = arguments.Strict;
    // A spectrum file beside a pipe or device makes no sense; in a folder of
    // its own it does.
    options.RecordingKinds = arguments.OutputFolder.empty() ? TFileKinds::RegularOnly : TFileKinds::AnyReadable;
    options.Stop = &context.Stop.Flag();

    TProgressDisplay display(context, arguments.Verbosity);
    std::size_t written = 0;
    std::size_t skipped = 0;
    std::size_t failed = 0;
    bool failureShown = false;
    std::optional<EInOutError> reportError;
    const TBatchProgress progress = [&](const TBatchItem& item, std::size_t done, std::size_t total) {
        written += item.Status == TBatchStatus::Written;
        skipped += item.Status == TBatchStatus::Skipped;
        failed += item.Status == TBatchStatus::Failed;
        failureShown = !item.Ok;
        // Under --strict such a recording is a failure, and Step says so.
        if (!arguments.Strict && item.Header && !item.Header->Conforms) {
            display.Error(NonconformingWarning(item.RecordingPath, *item.Header));
        }
        display.Step(item, done, total);
        if (report) {
            try {
                report->Add(item);
            } catch (const EInOutError& e) {
                reportError = e;
                throw;
            }
        }
    };

    bool runFailed = false;
    try {
        RunBatchParallel(recordings, progress, options);
    } catch (const std::exception& e) {
        runFailed = true;
        if (reportError) {
            display.Error(ErrorLine(report->Name(), *reportError));
        } else if (!failureShown) {
            display.Error(std::string(ToolName) + ": " + e.what() + "\n");
        }
    }
    if (report && !reportError) {
        try {
            report->Close();
        } catch (const EInOutError& e) {
            reportError = e;
            display.Error(ErrorLine(report->Name(), e));
        }
    }
    display.Finish();
    const int signal = context.Stop.Signal();
    if (arguments.Verbosity != TVerbosity::Quiet) {
        WriteToErr(context, BatchSummaryLine(recordings.size(), written, skipped, failed, signal));
    }
    if (signal != 0) {
        return ExitStatusForSignal(signal);
    }
    return runFailed || failed > 0 || reportError ? ExitFailure : ExitOk;
}
