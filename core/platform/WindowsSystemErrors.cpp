// System errors on Windows: GetLastError's codes, and the one table that gives them a meaning
// among the program's I/O codes and an English reason of the program's own (never the system's
// localised text).

#include "core/platform/SystemErrors.h"

#include "core/platform/FileStatus.h"
#include "core/platform/Paths.h"
#include "core/platform/WindowsWide.h"

#include <windows.h>

namespace Platform {

namespace {

// What a Windows error code means to the program: its I/O code (0: "I/O error N"), whether that
// code holds only on write and close (a full disk), and the reason printed after the message.
struct TErrorMeaning {
    DWORD Code;
    int IoCode;
    bool OnWriteOnly;
    const char* Reason;
};

// IoCode -1: a missing file, whose code depends on the operation (see IoErrorFromSystem).
constexpr TErrorMeaning Meanings[] = {
    {ERROR_FILE_NOT_FOUND, -1, false, "No such file or directory"},
    {ERROR_PATH_NOT_FOUND, IoCode::InvalidFilename, false, "No such file or directory"},
    {ERROR_INVALID_NAME, IoCode::InvalidFilename, false, "Invalid file name"},
    {ERROR_BAD_PATHNAME, IoCode::InvalidFilename, false, "Invalid file name"},
    {ERROR_DIRECTORY, IoCode::InvalidFilename, false, "Not a directory"},
    {ERROR_FILENAME_EXCED_RANGE, IoCode::InvalidFilename, false, "File name too long"},
    {ERROR_INVALID_DRIVE, IoCode::InvalidFilename, false, "No such drive"},
    {ERROR_BAD_NETPATH, IoCode::InvalidFilename, false, "Network path not found"},
    {ERROR_BAD_NET_NAME, IoCode::InvalidFilename, false, "Network path not found"},
    {ERROR_TOO_MANY_OPEN_FILES, IoCode::TooManyOpenFiles, false, "Too many open files"},
    {ERROR_ACCESS_DENIED, IoCode::AccessDenied, false, "Permission denied"},
    {ERROR_WRITE_PROTECT, IoCode::AccessDenied, false, "Read-only file system"},
    {ERROR_SHARING_VIOLATION, IoCode::AccessDenied, false, "the file is open in another program"},
    {ERROR_LOCK_VIOLATION, IoCode::AccessDenied, false, "the file is open in another program"},
    {Windows::ErrorDirectoryNotSupported, IoCode::AccessDenied, false, "Is a directory"},
    {ERROR_DISK_FULL, IoCode::DiskFull, true, "No space left on device"},
    {ERROR_HANDLE_DISK_FULL, IoCode::DiskFull, true, "No space left on device"},
    {Windows::ErrorDiskQuotaExceeded, IoCode::DiskFull, true, "Disk quota exceeded"},
    {ERROR_FILE_TOO_LARGE, IoCode::DiskFull, true, "File too large"},
};

const TErrorMeaning* MeaningOf(int systemError) noexcept
{
    for (const auto& meaning : Meanings) {
        if (static_cast<int>(meaning.Code) == systemError) {
            return &meaning;
        }
    }
    return nullptr;
}

// True when the folder that would hold path exists as a folder.
bool ParentFolderExists(const std::string& path)
{
    if (FileNameStart(path) == 0) {
        return true; // the current folder
    }
    const auto status = StatusOf(FolderPath(path));
    return status && status->Folder;
}

} // namespace

int LastSystemError() noexcept { return static_cast<int>(::GetLastError()); }

EInOutError IoErrorFromSystem(int systemError, TFileOperation operation, const std::string& path)
{
    if (path.empty()) {
        return EInOutError(IoCode::InvalidFilename, path, systemError);
    }
    const TErrorMeaning* meaning = MeaningOf(systemError);
    if (meaning == nullptr) {
        return EInOutError::OtherSystemError(systemError, path);
    }
    if (meaning->IoCode == -1) {
        const bool found = operation == TFileOperation::Open && ParentFolderExists(path);
        return EInOutError(found ? IoCode::FileNotFound : IoCode::InvalidFilename, path, systemError);
    }
    if (meaning->OnWriteOnly && operation != TFileOperation::Write && operation != TFileOperation::Close) {
        return EInOutError::OtherSystemError(systemError, path);
    }
    return EInOutError(meaning->IoCode, path, systemError);
}

std::string ReasonForMessage(int ioCode, int systemError)
{
    const TErrorMeaning* meaning = MeaningOf(systemError);
    if (systemError == 0 || meaning == nullptr) {
        return {};
    }
    // A reason that only says the message again is left out.
    switch (meaning->Code) {
    case ERROR_FILE_NOT_FOUND:
        if (ioCode == IoCode::FileNotFound) {
            return {};
        }
        break;
    case ERROR_ACCESS_DENIED:
        if (ioCode == IoCode::AccessDenied) {
            return {};
        }
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        if (ioCode == IoCode::DiskFull) {
            return {};
        }
        break;
    case ERROR_TOO_MANY_OPEN_FILES:
        if (ioCode == IoCode::TooManyOpenFiles) {
            return {};
        }
        break;
    default: break;
    }
    return meaning->Reason;
}

} // namespace Platform
