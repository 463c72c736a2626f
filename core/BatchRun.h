#pragma once

#include "core/TRecordingAnalysis.h"
#include "dsp/dspTypes.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The batch run: a list of recordings turned into spectrum files, in list
// order, by the windowed program and by the command-line tool alike.

// What became of one recording.
struct TBatchItem {
    // Position in the list, from 0.
    std::size_t Index = 0;
    std::string RecordingPath;
    // The spectrum file written (empty when the recording failed).
    std::string SpectrumPath;
    bool Ok = false;
    // The failure's message (what()), empty when Ok.
    std::string ErrorText;
    // Band line of the largest spectrum value (frequency
    // BandLineFrequencyHz(PeakLine)) and that value; -1 and 0 on failure.
    int PeakLine = -1;
    single PeakValue = 0;
};

// Called on the caller's thread after each recording, written or failed, in
// list order: the item, the number of recordings done so far (1..total) and
// the total.
using TBatchProgress =
    std::function<void(const TBatchItem& item, std::size_t done, std::size_t total)>;

struct TBatchOptions {
    // Report a failing recording (EInOutError or EMathError) through the
    // progress callback and go on with the next, instead of stopping there.
    bool KeepGoing = false;
    // Worker threads for RunBatchParallel (each with its own analysis
    // object); 0 means one per processor.
    int Jobs = 0;
};

struct TBatchSummary {
    std::size_t Written = 0;
    std::size_t Failed = 0;
};

// Runs paths through analysis one after the other, each with
// TRecordingAnalysis::ProcessRecording. Without KeepGoing the first failure
// ends the run: progress is called for the failing recording, then its error
// is rethrown as it was raised. The spectrum files of the recordings before
// it stay; the recordings after it are not read. Errors other than
// EInOutError and EMathError always end the run. No limit on the count.
// A run that reaches the end of the list then flushes the file systems it
// wrote to (SyncFolders), raising the EInOutError of a flush that fails.
TBatchSummary RunBatch(TRecordingAnalysis& analysis, const std::vector<std::string>& paths,
                       const TBatchProgress& progress = {}, const TBatchOptions& options = {});

// The same run spread over options.Jobs worker threads, with the same files
// (byte for byte, every recording being analysed from a cleared state) and
// the same outcome: the recordings are analysed in parallel, but their
// spectrum files are written, and progress is called, on the caller's
// thread in list order. Without KeepGoing a failure at recording k ends the
// run with the files of 0..k-1 written and none after: recordings after k
// may have been read ahead (at most a few dozen), but are never written.
// With one job (or one path) this is RunBatch on an analysis of its own.
TBatchSummary RunBatchParallel(const std::vector<std::string>& paths,
                               const TBatchProgress& progress = {},
                               const TBatchOptions& options = {});
