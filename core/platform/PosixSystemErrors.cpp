// System errors on POSIX: errno, and the one table that gives it a meaning
// among the program's I/O codes.

#include "core/platform/SystemErrors.h"

#include "core/platform/FileStatus.h"
#include "core/platform/Paths.h"

#include <cerrno>
#include <cstring>

namespace Platform {

namespace {

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

int LastSystemError() noexcept { return errno; }

EInOutError IoErrorFromSystem(int systemError, TFileOperation operation, const std::string& path)
{
    if (path.empty()) {
        return EInOutError(IoCode::InvalidFilename, path, systemError);
    }
    switch (systemError) {
    case ENOENT:
        if (operation == TFileOperation::Open && ParentFolderExists(path)) {
            return EInOutError(IoCode::FileNotFound, path, systemError);
        }
        return EInOutError(IoCode::InvalidFilename, path, systemError);
    case ENOTDIR:
    case ENAMETOOLONG: return EInOutError(IoCode::InvalidFilename, path, systemError);
    case EMFILE:
    case ENFILE: return EInOutError(IoCode::TooManyOpenFiles, path, systemError);
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EISDIR: return EInOutError(IoCode::AccessDenied, path, systemError);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        if (operation == TFileOperation::Write || operation == TFileOperation::Close) {
            return EInOutError(IoCode::DiskFull, path, systemError);
        }
        return EInOutError::OtherSystemError(systemError, path);
    default: return EInOutError::OtherSystemError(systemError, path);
    }
}

std::string ReasonForMessage(int ioCode, int systemError)
{
    switch (systemError) {
    case 0: return {};
    case ENOENT:
        if (ioCode == IoCode::FileNotFound) {
            return {};
        }
        break;
    case EACCES:
        if (ioCode == IoCode::AccessDenied) {
            return {};
        }
        break;
    case ENOSPC:
        if (ioCode == IoCode::DiskFull) {
            return {};
        }
        break;
    case EMFILE:
        if (ioCode == IoCode::TooManyOpenFiles) {
            return {};
        }
        break;
    default: break;
    }
    // The untranslated description, whatever the locale: one language.
    const char* reason = ::strerrordesc_np(systemError);
    return reason != nullptr ? std::string(reason) : "error " + std::to_string(systemError);
}

} // namespace Platform
