#include "core/BatchRun.h"

#include "core/SyncFolders.h"
#include "core/TulvoErrors.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace {

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
    } catch (...) {
        return false;
    }
}

std::string MessageOf(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown error";
    }
}

void MarkDone(TBatchItem& item, const std::string& spmPath, int peakLine, single peakValue)
{
    item.Ok = true;
    item.SpectrumPath = spmPath;
    item.PeakLine = peakLine;
    item.PeakValue = peakValue;
}

void MarkFailed(TBatchItem& item, const std::exception_ptr& error)
{
    item.Ok = false;
    item.ErrorText = MessageOf(error);
}

// Reports a failure and says whether the run goes on.
bool ContinueAfter(const std::exception_ptr& error, const TBatchOptions& options)
{
    return options.KeepGoing && IsRecordingFailure(error);
}

// One recording analysed by a worker, waiting to be written in list order.
struct TPendingResult {
    bool Ready = false;
    std::exception_ptr Error;
    std::string SpectrumPath;
    extended Scale = 0;
    TBandCodes Codes{};
    int PeakLine = -1;
    single PeakValue = 0;
};

// Workers take recordings in list order and analyse them at most Window
// places ahead of the writer; the caller's thread writes the results in list
// order. Stopping (a failure, or the caller leaving) ends the workers after
// the recording each has in hand.
class TParallelBatch {
public:
    TParallelBatch(const std::vector<std::string>& paths, int jobs)
        : paths_(paths), window_(static_cast<std::size_t>(jobs) * 16), pending_(window_)
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

    // The result of recording index, once a worker has it; frees its slot.
    TPendingResult Take(std::size_t index)
    {
        TPendingResult result;
        {
            std::unique_lock lock(mutex_);
            TPendingResult& slot = pending_[index % window_];
            resultReady_.wait(lock, [&] { return slot.Ready; });
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
                slotFree_.wait(lock, [&] {
                    return stopping_ || next_ >= paths_.size() || next_ < taken_ + window_;
                });
                if (stopping_ || next_ >= paths_.size()) {
                    return;
                }
                index = next_++;
            }
            TPendingResult result;
            try {
                result.SpectrumPath = analysis.AnalyseRecording(paths_[index]);
                result.Scale = analysis.SpectrumScale;
                result.Codes = analysis.BandCodes;
                result.PeakLine = analysis.PeakLine();
                result.PeakValue = analysis.Band[result.PeakLine];
            } catch (...) {
                result.Error = std::current_exception();
            }
            result.Ready = true;
            {
                std::lock_guard lock(mutex_);
                pending_[index % window_] = std::move(result);
            }
            resultReady_.notify_all();
        }
    }

    const std::vector<std::string>& paths_;
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

} // namespace

TBatchSummary RunBatch(TRecordingAnalysis& analysis, const std::vector<std::string>& paths,
                       const TBatchProgress& progress, const TBatchOptions& options)
{
    TBatchSummary summary;
    // The writer's spare file goes however the run ends.
    struct TReleaseSpare {
        TRecordingAnalysis& Analysis;
        ~TReleaseSpare() { Analysis.ReleaseSpareFile(); }
    } releaseSpare{analysis};
    for (std::size_t i = 0; i < paths.size(); ++i) {
        TBatchItem item;
        item.Index = i;
        item.RecordingPath = paths[i];
        std::exception_ptr error;
        try {
            const std::string spmPath = analysis.AnalyseRecording(paths[i]);
            analysis.WriteSpectrum(spmPath);
            const int peak = analysis.PeakLine();
            MarkDone(item, spmPath, peak, analysis.Band[peak]);
            ++summary.Written;
        } catch (...) {
            error = std::current_exception();
            MarkFailed(item, error);
            ++summary.Failed;
        }
        if (progress) {
            progress(item, i + 1, paths.size());
        }
        if (error && !ContinueAfter(error, options)) {
            std::rethrow_exception(error);
        }
    }
    SyncFolders(analysis.WrittenFolders()); // one flush per file system, not one per file
    return summary;
}

TBatchSummary RunBatchParallel(const std::vector<std::string>& paths,
                               const TBatchProgress& progress, const TBatchOptions& options)
{
    int jobs = options.Jobs > 0 ? options.Jobs
                                : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    jobs = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(jobs), paths.size()));
    if (jobs <= 1) {
        auto analysis = std::make_unique<TRecordingAnalysis>();
        return RunBatch(*analysis, paths, progress, options);
    }

    TBatchSummary summary;
    TParallelBatch batch(paths, jobs);
    TDataFile file;
    TSpmFileWriter writer;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        TPendingResult result = batch.Take(i);
        TBatchItem item;
        item.Index = i;
        item.RecordingPath = paths[i];
        if (!result.Error) {
            try {
                writer.Write(file, result.SpectrumPath, result.Scale, result.Codes);
                MarkDone(item, result.SpectrumPath, result.PeakLine, result.PeakValue);
                ++summary.Written;
            } catch (...) {
                result.Error = std::current_exception();
            }
        }
        if (result.Error) {
            MarkFailed(item, result.Error);
            ++summary.Failed;
        }
        if (progress) {
            progress(item, i + 1, paths.size());
        }
        if (result.Error && !ContinueAfter(result.Error, options)) {
            std::rethrow_exception(result.Error);
        }
    }
    SyncFolders(writer.Folders()); // one flush per file system, not one per file
    return summary;
}
