#include "core/BatchRun.h"

#include "core/Paths.h"
#include "core/SyncFolders.h"
#include "core/TulvoErrors.h"
#include "core/platform/FileStatus.h"
#include "core/platform/Processors.h"
#include "dsp/dspFloatControl.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <tuple>

namespace {

// How often a wait for a result looks at the stop flag: a signal handler
// cannot notify a condition variable.
constexpr std::chrono::milliseconds StopPollInterval{10};

bool StopRequested(const TBatchOptions& options)
{
    return options.Stop != nullptr && options.Stop->load(std::memory_order_relaxed);
}

// Failures that belong to one recording; anything else (out of memory, a
// programming error) ends every run.
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
    bool Ready = false;
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

// Workers take recordings in list order and analyse them at most Window
// places ahead of the writer; the caller's thread writes the results in list
// order. Stopping (a failure, a stop request, or the caller leaving) ends
// the workers after the recording each has in hand.
class TParallelBatch {
public:
    TParallelBatch(const std::vector<std::string>& paths, int jobs, const TBatchOptions& options)
        : paths_(paths), recordings_(paths), options_(options), window_(static_cast<std::size_t>(jobs) * 16), pending_(window_)
    {
        for (int i = 0; i < jobs; ++i) {
            analyses_.push_back(std::make_unique<TRecordingAnalysis>());
        }
        for (auto& analysis : analyses_) {
            workers_.emplace_back([this, a = analysis.get()] { Work(*a); });
        }
    }

    ~TParallelBatch()
    {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        slotFree_.notify_all();
        for (auto& worker : workers_) {
            worker.join();
        }
    }

    // The result of recording index, once a worker has it, and frees its
    // slot; nothing when a stop is requested first.
    std::optional<TPendingResult> Take(std::size_t index)
    {
        TPendingResult result;
        {
            std::unique_lock lock(mutex_);
            TPendingResult& slot = pending_[index % window_];
            while (!slot.Ready) {
                if (StopRequested(options_)) {
                    return std::nullopt;
                }
                resultReady_.wait_for(lock, StopPollInterval);
            }
            result = std::move(slot);
            slot = TPendingResult{};
            taken_ = index + 1;
        }
        slotFree_.notify_all();
        return result;
    }

private:
    void Work(TRecordingAnalysis& analysis)
    {
        for (;;) {
            std::size_t index = 0;
            {
                std::unique_lock lock(mutex_);
                slotFree_.wait(lock, [&] { return stopping_ || next_ >= paths_.size() || next_ < taken_ + window_; });
                if (stopping_ || next_ >= paths_.size() || StopRequested(options_)) {
                    return;
                }
                index = next_++;
            }
            TPendingResult result = Analyse(analysis, paths_[index]);
            result.Ready = true;
            {
                std::lock_guard lock(mutex_);
                pending_[index % window_] = std::move(result);
            }
            resultReady_.notify_all();
        }
    }

    TPendingResult Analyse(TRecordingAnalysis& analysis, const std::string& wavPath)
    {
        TPendingResult result;
        result.SpectrumPath = SpectrumPathFor(wavPath, options_.OutputFolder);
        if (options_.Update && SpectrumUpToDate(wavPath, result.SpectrumPath)) {
            result.Skipped = true;
            return result;
        }
        try {
            // The worker's floating-point state, before each recording: a state
            // that cannot be set fails the recording instead of changing its bytes.
            dspFloatControl::SetExactFloatControl();
            recordings_.RefuseLinkToARecording(wavPath, result.SpectrumPath);
            analysis.AnalyseRecording(wavPath, result.SpectrumPath, options_.RecordingKinds, FormatPolicyOf(options_));
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

    const std::vector<std::string>& paths_;
    TRunRecordings recordings_;
    const TBatchOptions& options_;
    const std::size_t window_;
    std::vector<TPendingResult> pending_;
    std::vector<std::unique_ptr<TRecordingAnalysis>> analyses_;
    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable slotFree_;
    std::condition_variable resultReady_;
    std::size_t next_ = 0;
    std::size_t taken_ = 0;
    bool stopping_ = false;
};

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
    TParallelBatch batch(paths, jobs, options);
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
