#pragma once

#include "cli/TOutputStream.h"
#include "core/batch/BatchRun.h"

#include <memory>
#include <string>

// The CSV record of a batch run, one row per recording as it is done:
//   File,Status,Peak frequency (Hz),Peak value,Format
// Status is "ok", "skipped" (up to date) or the error's message; the peak is
// the band's largest line (empty unless written); Format is the header
// check's verdict, "ok" or what differs (empty when the recording was not
// read). Format is the last column, so readers of the first four keep their
// indices; a report appended to whose first line is the four-column header
// gets four-column rows, so that every row matches its file's header. Each row goes out in one
// write as soon as its recording is done, so a run that stops still leaves
// the rows up to there, and runs appending to one report never mix rows.
// Raises EInOutError naming the report when it cannot be opened or written.
class TBatchReport {
public:
    // Opens the report path ("-": the descriptor standardOutput, named
    // "standard output"). A new report starts with the header; with append
    // the rows go after what the file holds, and the header is written only
    // into an empty regular file, decided under an exclusive lock (Platform::TFileLock) so
    // that of many processes starting at once exactly one writes it.
    TBatchReport(const std::string& path, bool append, Platform::TFileHandle standardOutput);

    void Add(const TBatchItem& item);

    // Closes the report, raising what closing reports.
    void Close();

    // The report's name in messages.
    const std::string& Name() const noexcept { return stream_->Name(); }

private:
    void WriteHeaderIfEmpty(const std::string& path);

    std::unique_ptr<TOutputStream> stream_;
    // Rows added to a file that other runs may add to are written under its lock, so that no
    // row depends on the system appending each write whole.
    bool lockRows_ = false;
    bool formatColumn_ = true;
};
