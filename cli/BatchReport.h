#pragma once

#include "core/BatchRun.h"
#include "core/TDataFile.h"

#include <string>

// The CSV record of a batch run, one line per recording as it is done:
//   File,Status,Peak frequency (Hz),Peak value
// Status is "ok" or the error's message; the peak is the band's largest line
// (empty for a failure). Each line is written as soon as its recording is
// done, so a run that stops still leaves the lines up to the failure.
// Raises EInOutError when the file cannot be created or written.
class TBatchReport {
public:
    explicit TBatchReport(const std::string& path);
    ~TBatchReport();
    TBatchReport(const TBatchReport&) = delete;
    TBatchReport& operator=(const TBatchReport&) = delete;

    void Add(const TBatchItem& item);
    void Close();

private:
    void WriteLine(const std::string& line);

    TDataFile File;
};
