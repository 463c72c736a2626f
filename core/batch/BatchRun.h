#pragma once

#include "core/analysis/TRecordingAnalysis.h"
#include "core/analysis/WavHeader.h"
#include "core/files/TDataFile.h"
#include "dsp/dspTypes.h"

#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The batch run: a list of recordings turned into spectrum files, in list
// order, by the windowed program and by the command-line tool alike.

// What became of one recording.
enum class TBatchStatus {
    Written, // its spectrum file was written
    Skipped, // its spectrum file was up to date (TBatchOptions::Update)
    Failed,
};

struct TBatchItem {
    // Position in the list, from 0.
    std::size_t Index = 0;
    std::string RecordingPath;
    // The spectrum file written or found up to date (empty when the
    // recording failed).
    std::string SpectrumPath;
    TBatchStatus Status = TBatchStatus::Failed;
    // Written or skipped: Status is not Failed.
    bool Ok = false;
    // The failure's message (what()), empty unless Failed.
    std::string ErrorText;
    // The file that failed: the recording when reading or analysing it
    // failed, the spectrum file when writing it failed.
    std::string ErrorPath;
    // The failure's I/O error code (EInOutError::ErrorCode); 0 for others.
    int ErrorCode = 0;
    // The cause of an EInvalidOp failure (EInvalidOp::Cause); Unknown for others.
    TInvalidOpCause InvalidOpCause = TInvalidOpCause::Unknown;
    // The header check of the recording, once it was read (not for a skipped
    // recording, nor one that could not be read).
    std::optional<TWavHeaderVerdict> Header;
    // The operating-system error number behind the failure; 0 when there is
    // none (a short file, a floating-point fault).
    int SystemError = 0;
    // Band line of the largest spectrum value (frequency
    // BandLineFrequencyHz(PeakLine)) and that value; -1 and 0 unless Written.
    int PeakLine = -1;
    single PeakValue = 0;
};

// Called on the caller's thread after each recording, written, skipped or
// failed, in list order: the item, the number of recordings done so far
// (1..total) and the total.
using TBatchProgress = std::function<void(const TBatchItem& item, std::size_t done, std::size_t total)>;

struct TBatchOptions {
    // A recording whose header check fails is a failure (ERecordingFormat)
    // instead of being analysed as raw samples: no spectrum file for it.
    bool Strict = false;
    // Report a failing recording (EInOutError, EMathError or ERecordingFormat) through the
    // progress callback and go on with the next, instead of stopping there.
    bool KeepGoing = false;
    // Worker threads for RunBatchParallel (each with its own analysis
    // object); 0 means DefaultJobCount().
    int Jobs = 0;
    // The folder that receives the spectrum files, under the names they get
    // beside their recordings (see SpectrumPathFor); empty: beside them.
    std::string OutputFolder;
    // Skip a recording whose spectrum file is up to date (SpectrumUpToDate):
    // it is neither read nor written, and reported as Skipped.
    bool Update = false;
    // What a recording may be: RegularOnly refuses pipes and devices (a
    // spectrum file beside /dev/stdin makes no sense); AnyReadable reads them,
    // for runs that write into an OutputFolder.
    TFileKinds RecordingKinds = TFileKinds::RegularOnly;
    // When set, the run looks at this flag before each recording and while
    // it waits for one; once true it starts nothing more, writes nothing
    // more and returns with TBatchSummary::Stopped. A write under way is
    // finished first, so every spectrum file is whole. The flag may be set
    // from any thread or a signal handler.
    const std::atomic<bool>* Stop = nullptr;
};

struct TBatchSummary {
    std::size_t Written = 0;
    std::size_t Skipped = 0;
    std::size_t Failed = 0;
    // The run ended early because TBatchOptions::Stop was set.
    bool Stopped = false;
};

// The spectrum file of the recording wavPath in a run that writes into
// outputFolder: SpectrumFileName(wavPath) when outputFolder is empty, else
// the file name of that inside outputFolder.
std::string SpectrumPathFor(const std::string& wavPath, const std::string& outputFolder);

// True when the spectrum file spmPath exists and was modified no earlier
// than the recording wavPath (modification times to the nanosecond), as make
// judges a target against its source. False when either cannot be examined.
bool SpectrumUpToDate(const std::string& wavPath, const std::string& spmPath);

// The number of processors this process may run on (its CPU affinity mask,
// so that taskset and batch schedulers' limits hold); at least 1.
int DefaultJobCount();

// Runs paths through analysis one after the other: each recording is read
// and analysed (TRecordingAnalysis::AnalyseRecording) and its spectrum file
// written (SpectrumPathFor). A recording whose spectrum file is a symbolic
// link to a recording of the run is refused as one that is its own spectrum
// file (code 5, before it is read). Without KeepGoing the first failure ends the
// run: progress is called for the failing recording, then its error is
// rethrown with its message, naming the file of the step that failed (the
// TBatchItem's ErrorPath, see RethrowNamingFile). The spectrum files of the
// recordings before it stay; the recordings after it are not read. Errors
// other than EInOutError and EMathError always end the run. No limit on the
// count.
// A run that reaches the end of the list, or stops on request, then flushes
// the file systems it wrote to (SyncFolders), raising the EInOutError of a
// flush that fails.
TBatchSummary RunBatch(TRecordingAnalysis& analysis, const std::vector<std::string>& paths,
                       const TBatchProgress& progress = {}, const TBatchOptions& options = {});

// The same run spread over options.Jobs worker threads, with the same files
// (byte for byte, every recording being analysed from a cleared state) and
// the same outcome: the recordings are analysed in parallel, but their
// spectrum files are written, and progress is called, on the caller's
// thread in list order. Without KeepGoing a failure at recording k ends the
// run with the files of 0..k-1 written and none after: recordings after k
// may have been read ahead (at most a few dozen), but are never written.
// A stop abandons the analyses under way. With one job (or one path) this
// is RunBatch on an analysis of its own.
TBatchSummary RunBatchParallel(const std::vector<std::string>& paths, const TBatchProgress& progress = {},
                               const TBatchOptions& options = {});

// True for the failures that belong to one recording (EInOutError, EMathError,
// ERecordingFormat); anything else (out of memory, a programming error) ends
// every run.
bool IsRecordingFailure(const std::exception_ptr& error);
