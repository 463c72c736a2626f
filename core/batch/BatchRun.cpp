#include "core/batch/BatchRun.h"

#include "core/base/Paths.h"
#include "core/base/TulvoErrors.h"
#include "core/batch/OrderedWork.h"
#include "core/files/FolderSync.h"
#include "core/platform/FileStatus.h"
#include "core/platform/Processors.h"
#include "dsp/dspFloatControl.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <tuple>

namespace {

bool StopRequested(const TBatchOptions& options)
{
    return options.Stop != nullptr && options.Stop->load(std::memory_order_relaxed);
}

void MarkWritten(TBatchItem& item, const std::string& spmPath, int peakLine, single peakValue)
{
    item.Status = TBatchStatus::Written;
    item.Ok = true;
    item.SpectrumPath = spmPath;
    item.PeakLine = peakLine;
    item.PeakValue = peakValue;
}

void MarkSkipped(TBatchItem& item, const std::string& spmPath)
{
    item.Status = TBatchStatus::Skipped;
    item.Ok = true;
    item.SpectrumPath = spmPath;
}

// failedPath is the file of the step that failed: the recording while it was
// read and analysed, the spectrum file while it was written.
void MarkFailed(TBatchItem& item, const std::exception_ptr& error, const std::string& failedPath)
{
    item.Status = TBatchStatus::Failed;
    item.Ok = false;
    item.ErrorPath = failedPath;
    try {
        std::rethrow_exception(error);
    } catch (const EInOutError& e) {
        item.ErrorText = e.what();
        item.ErrorCode = e.ErrorCode();
        item.SystemError = e.SystemError();
    } catch (const EInvalidOp& e) {
        item.ErrorText = e.what();
        item.InvalidOpCause = e.Cause();
    } catch (const std::exception& e) {
        item.ErrorText = e.what();
    } catch (...) {
        item.ErrorText = "unknown error";
    }
}

// Reports a failure and says whether the run goes on.
bool ContinueAfter(const std::exception_ptr& error, const TBatchOptions& options)
{
    return options.KeepGoing && IsRecordingFailure(error);
}

// The recordings of a run, for refusing a spectrum file that is a symbolic
// link to one of them: the write goes through the link and would replace
// that recording with spectrum bytes. A spectrum file that is no link is
// replaced by rename, which leaves every other name of the old file as it
// was, so only links are examined; the recordings' identities are gathered
// once, when the first link to an existing file turns up. Used from several
// workers at once.
class TRunRecordings {
public:
    explicit TRunRecordings(const std::vector<std::string>& paths) : paths_(paths) {}

    // Refuses the recording wavPath as one that is its own spectrum file
    // (code 5, naming the recording) when spmPath is a symbolic link to a
    // recording of the run.
    void RefuseLinkToARecording(const std::string& wavPath, const std::string& spmPath)
    {
        if (!Platform::IsSymbolicLink(spmPath)) {
            return;
        }
        const auto target = Platform::StatusOf(spmPath);
        if (!target) {
            return;
        }
        std::call_once(gathered_, [this] {
            for (const std::string& path : paths_) {
                if (const auto status = Platform::StatusOf(path)) {
                    identities_.push_back(status->Identity);
                }
            }
            std::sort(identities_.begin(), identities_.end(), Before);
        });
        if (std::binary_search(identities_.begin(), identities_.end(), target->Identity, Before)) {
            throw EInOutError(IoCode::AccessDenied, wavPath);
        }
    }

private:
    static bool Before(const Platform::TFileIdentity& a, const Platform::TFileIdentity& b)
    {
        return std::tie(a.Device, a.Index) < std::tie(b.Device, b.Index);
    }

    const std::vector<std::string>& paths_;
    std::once_flag gathered_;
    std::vector<Platform::TFileIdentity> identities_;
};

// One recording analysed by a worker, waiting to be written in list order.
struct TPendingResult {
    bool Skipped = false;
    std::exception_ptr Error;
    std::string SpectrumPath;
    extended Scale = 0;
    TBandCodes Codes{};
    int PeakLine = -1;
    single PeakValue = 0;
    std::optional<TWavHeaderVerdict> Header;
};

TFormatPolicy FormatPolicyOf(const TBatchOptions& options)
{
    return options.Strict ? TFormatPolicy::RefuseNonconform : TFormatPolicy::AnalyseAsRaw;
}

// The header check of the recording analysis last read, if it read one this
// time (its verdict is reset before every recording).
std::optional<TWavHeaderVerdict> TakeVerdict(TRecordingAnalysis& analysis)
{
    std::optional<TWavHeaderVerdict> verdict;
    if (!analysis.Verdict.Reason.empty()) {
        verdict = std::move(analysis.Verdict);
    }
    analysis.Verdict = TWavHeaderVerdict{};
    return verdict;
}

// One recording analysed by a worker of the parallel batch (see
// RunBatchParallel): its spectrum file is not written yet.
TPendingResult AnalyseAhead(TRecordingAnalysis& analysis, TRunRecordings& recordings, const std::string& wavPath,
                            const TBatchOptions& options)
{
    TPendingResult result;
    result.SpectrumPath = SpectrumPathFor(wavPath, options.OutputFolder);
    if (options.Update && SpectrumUpToDate(wavPath, result.SpectrumPath)) {
        result.Skipped = true;
        return result;
    }
    try {
        // The worker's floating-point state, before each recording: a state
        // that cannot be set fails the recording instead of changing its bytes.
        dspFloatControl::SetExactFloatControl();
        recordings.RefuseLinkToARecording(wavPath, result.SpectrumPath);
        analysis.AnalyseRecording(wavPath, result.SpectrumPath, options.RecordingKinds, FormatPolicyOf(options));
        result.Scale = analysis.SpectrumScale;
        result.Codes = analysis.BandCodes;
        result.PeakLine = analysis.PeakLine();
        result.PeakValue = analysis.Band[result.PeakLine];
    } catch (...) {
        result.Error = std::current_exception();
    }
    result.Header = TakeVerdict(analysis);
    return result;
}

void Count(TBatchSummary& summary, const TBatchItem& item)
{
    switch (item.Status) {
    case TBatchStatus::Written: ++summary.Written; break;
    case TBatchStatus::Skipped: ++summary.Skipped; break;
    case TBatchStatus::Failed: ++summary.Failed; break;
    }
}

} // namespace

std::string SpectrumPathFor(const std::string& wavPath, const std::string& outputFolder)
{
    std::string spmPath = SpectrumFileName(wavPath);
    if (outputFolder.empty()) {
        return spmPath;
    }
    return JoinPath(outputFolder, FileNamePart(spmPath));
}

bool SpectrumUpToDate(const std::string& wavPath, const std::string& spmPath)
{
    const auto spectrum = Platform::StatusOf(spmPath);
    if (!spectrum || !spectrum->Regular) {
        return false;
    }
    const auto recording = Platform::StatusOf(wavPath);
    return recording && spectrum->Modified >= recording->Modified;
}

int DefaultJobCount() { return Platform::AvailableProcessorCount(); }

TBatchSummary RunBatch(TRecordingAnalysis& analysis, const std::vector<std::string>& paths,
                       const TBatchProgress& progress, const TBatchOptions& options)
{
    TBatchSummary summary;
    // The writer's series of writes ends however the run ends.
    struct TReleaseSpare {
        TRecordingAnalysis& Analysis;
        ~TReleaseSpare() { Analysis.ReleaseSpareFile(); }
    } releaseSpare{analysis};
    TRunRecordings recordings(paths);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (StopRequested(options)) {
            summary.Stopped = true;
            break;
        }
        TBatchItem item;
        item.Index = i;
        item.RecordingPath = paths[i];
        const std::string spmPath = SpectrumPathFor(paths[i], options.OutputFolder);
        std::exception_ptr error;
        if (options.Update && SpectrumUpToDate(paths[i], spmPath)) {
            MarkSkipped(item, spmPath);
        } else {
            try {
                dspFloatControl::SetExactFloatControl(); // as in the parallel batch's workers
                recordings.RefuseLinkToARecording(paths[i], spmPath);
                analysis.AnalyseRecording(paths[i], spmPath, options.RecordingKinds, FormatPolicyOf(options));
            } catch (...) {
                error = std::current_exception();
                MarkFailed(item, error, paths[i]);
            }
            item.Header = TakeVerdict(analysis);
            if (!error) {
                try {
                    analysis.WriteSpectrum(spmPath);
                    const int peak = analysis.PeakLine();
                    MarkWritten(item, spmPath, peak, analysis.Band[peak]);
                } catch (...) {
                    error = std::current_exception();
                    MarkFailed(item, error, spmPath);
                }
            }
        }
        Count(summary, item);
        if (progress) {
            progress(item, i + 1, paths.size());
        }
        if (error && !ContinueAfter(error, options)) {
            RethrowNamingFile(error, item.ErrorPath);
        }
    }
    SyncFolders(analysis.WrittenFolders()); // one flush per file system, not one per file
    return summary;
}

TBatchSummary RunBatchParallel(const std::vector<std::string>& paths, const TBatchProgress& progress,
                               const TBatchOptions& options)
{
    // The caller's thread designs the filters of every analysis below.
    dspFloatControl::SetExactFloatControl();
    int jobs = options.Jobs > 0 ? options.Jobs : DefaultJobCount();
    jobs = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(jobs), paths.size()));
    if (jobs <= 1) {
        auto analysis = std::make_unique<TRecordingAnalysis>();
        return RunBatch(*analysis, paths, progress, options);
    }

    TBatchSummary summary;
    // Workers analyse at most a few dozen recordings ahead of the writer here.
    TRunRecordings recordings(paths);
    TOrderedWork<TPendingResult, TRecordingAnalysis> batch(
        paths.size(), jobs,
        [&](TRecordingAnalysis& analysis, std::size_t index) {
            return AnalyseAhead(analysis, recordings, paths[index], options);
        },
        [] { return std::make_unique<TRecordingAnalysis>(); }, options.Stop);
    TDataFile file;
    TSpmFileWriter writer;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        std::optional<TPendingResult> result;
        if (!StopRequested(options)) {
            result = batch.Take(i);
        }
        if (!result) {
            summary.Stopped = true;
            break;
        }
        TBatchItem item;
        item.Index = i;
        item.RecordingPath = paths[i];
        std::exception_ptr error = result->Error;
        item.Header = std::move(result->Header);
        if (result->Skipped) {
            MarkSkipped(item, result->SpectrumPath);
        } else if (error) {
            MarkFailed(item, error, paths[i]);
        } else {
            try {
                writer.Write(file, result->SpectrumPath, result->Scale, result->Codes);
                MarkWritten(item, result->SpectrumPath, result->PeakLine, result->PeakValue);
            } catch (...) {
                error = std::current_exception();
                MarkFailed(item, error, result->SpectrumPath);
            }
        }
        Count(summary, item);
        if (progress) {
            progress(item, i + 1, paths.size());
        }
        if (error && !ContinueAfter(error, options)) {
            RethrowNamingFile(error, item.ErrorPath);
        }
    }
    SyncFolders(writer.Folders()); // one flush per file system, not one per file
    return summary;
}

bool IsRecordingFailure(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const EInOutError&) {
        return true;
    } catch (const EMathError&) {
        return true;
    } catch (const ERecordingFormat&) {
        return true;
    } catch (...) {
        return false;
    }
}
