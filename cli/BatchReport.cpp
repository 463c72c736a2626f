#include "cli/BatchReport.h"

#include "cli/ToolMessages.h"
#include "core/base/CsvText.h"
#include "core/files/TDataFile.h"

#include "core/platform/FileLock.h"
#include "core/platform/FileStatus.h"

namespace {
constexpr std::string_view Header = "File,Status,Peak frequency (Hz),Peak value,Format\n";
// The header of reports written before the Format column.
constexpr std::string_view FourColumnHeader = "File,Status,Peak frequency (Hz),Peak value\n";

// True when the file at path starts with the four-column header line.
bool StartsWithFourColumnHeader(const std::string& path)
{
    return ReadFileStart(path, FourColumnHeader.size()) == FourColumnHeader;
}
} // namespace

TBatchReport::TBatchReport(const std::string& path, bool append, Platform::TFileHandle standardOutput)
{
    if (path == "-") {
        stream_ = std::make_unique<TOutputStream>(standardOutput, "standard output");
    } else {
        stream_ = std::make_unique<TOutputStream>(path, append);
    }
    if (append) {
        lockRows_ = path != "-";
        WriteHeaderIfEmpty(path);
    } else {
        stream_->WriteWhole(Header);
    }
}

void TBatchReport::WriteHeaderIfEmpty(const std::string& path)
{
    const Platform::TFileLock lock(stream_->Handle());
    // A pipe or terminal takes rows only: its reader has the header already.
    const auto status = Platform::StatusOf(stream_->Handle());
    if (status && status->Regular) {
        if (status->Size == 0) {
            stream_->WriteWhole(Header);
        } else {
            formatColumn_ = !StartsWithFourColumnHeader(path);
        }
    }
}

void TBatchReport::Add(const TBatchItem& item)
{
    std::string row = CsvField(item.RecordingPath) + ",";
    switch (item.Status) {
    case TBatchStatus::Written:
        row += "ok," + std::to_string(BandLineFrequencyHz(item.PeakLine)) + "," + FormatSingle(item.PeakValue);
        break;
    case TBatchStatus::Skipped: row += "skipped,,"; break;
    case TBatchStatus::Failed: row += CsvField(FailureMessage(item)) + ",,"; break;
    }
    if (formatColumn_) {
        row += ',';
        row += item.Header ? CsvField(item.Header->Reason) : std::string();
    }
    row += '\n';
    if (lockRows_) {
        const Platform::TFileLock lock(stream_->Handle());
        stream_->WriteWhole(row);
    } else {
        stream_->WriteWhole(row);
    }
}

void TBatchReport::Close() { stream_->Close(); }
