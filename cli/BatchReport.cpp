#include "cli/BatchReport.h"

#include "cli/CsvText.h"
#include "cli/ToolMessages.h"

#include <fcntl.h>
#include <unistd.h>

#include <sys/file.h>
#include <sys/stat.h>

namespace {
constexpr std::string_view Header = "File,Status,Peak frequency (Hz),Peak value,Format\n";
// The header of reports written before the Format column.
constexpr std::string_view FourColumnHeader = "File,Status,Peak frequency (Hz),Peak value\n";

// True when the file at path starts with the four-column header line.
bool StartsWithFourColumnHeader(const std::string& path)
{
    const int handle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (handle < 0) {
        return false;
    }
    std::string first(FourColumnHeader.size(), '\0');
    const ssize_t got = ::pread(handle, first.data(), first.size(), 0);
    ::close(handle);
    return got == static_cast<ssize_t>(first.size()) && first == FourColumnHeader;
}

// Holds an exclusive flock on a descriptor for its lifetime.
class TExclusiveLock {
public:
    explicit TExclusiveLock(int handle) : handle_(handle), locked_(::flock(handle, LOCK_EX) == 0) {}
    ~TExclusiveLock()
    {
        if (locked_) {
            ::flock(handle_, LOCK_UN);
        }
    }
    TExclusiveLock(const TExclusiveLock&) = delete;
    TExclusiveLock& operator=(const TExclusiveLock&) = delete;

private:
    int handle_;
    bool locked_;
};
} // namespace

TBatchReport::TBatchReport(const std::string& path, bool append, int standardOutput)
{
    if (path == "-") {
        stream_ = std::make_unique<TOutputStream>(standardOutput, "standard output");
    } else {
        stream_ = std::make_unique<TOutputStream>(path, append);
    }
    if (append) {
        WriteHeaderIfEmpty(path);
    } else {
        stream_->WriteWhole(Header);
    }
}

void TBatchReport::WriteHeaderIfEmpty(const std::string& path)
{
    const TExclusiveLock lock(stream_->Handle());
    struct stat info {};
    // A pipe or terminal takes rows only: its reader has the header already.
    if (::fstat(stream_->Handle(), &info) == 0 && S_ISREG(info.st_mode)) {
        if (info.st_size == 0) {
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
    stream_->WriteWhole(row);
}

void TBatchReport::Close() { stream_->Close(); }
