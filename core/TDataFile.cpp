#include "core/TDataFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// True when the folder that would hold path exists as a folder.
bool ParentFolderExists(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return true; // the current folder
    }
    const std::string parent = slash == 0 ? std::string("/") : path.substr(0, slash);
    struct stat info {};
    return ::stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

EInOutError IoErrorFromErrno(int errnum, TFileOperation operation, const std::string& path)
{
    if (path.empty()) {
        return EInOutError(IoCode::InvalidFilename);
    }
    switch (errnum) {
    case ENOENT:
        if (operation == TFileOperation::Open && ParentFolderExists(path)) {
            return EInOutError(IoCode::FileNotFound);
        }
        return EInOutError(IoCode::InvalidFilename);
    case ENOTDIR:
    case ENAMETOOLONG:
        return EInOutError(IoCode::InvalidFilename);
    case EMFILE:
    case ENFILE:
        return EInOutError(IoCode::TooManyOpenFiles);
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EISDIR:
        return EInOutError(IoCode::AccessDenied);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        if (operation == TFileOperation::Write || operation == TFileOperation::Close) {
            return EInOutError(IoCode::DiskFull);
        }
        return EInOutError::OtherSystemError(errnum);
    default:
        return EInOutError::OtherSystemError(errnum);
    }
}

TDataFile::~TDataFile()
{
    Abandon();
}

void TDataFile::Bind(const std::string& path)
{
    Abandon();
    Path = path;
}

int TDataFile::OpenHandle(int flags, TFileOperation operation)
{
    Abandon();
    if (Path.empty()) {
        throw EInOutError(IoCode::InvalidFilename);
    }
    int handle;
    do {
        handle = ::open(Path.c_str(), flags | O_CLOEXEC, 0666);
    } while (handle < 0 && errno == EINTR);
    if (handle < 0) {
        if (errno == EEXIST && (flags & O_EXCL)) {
            return -1;
        }
        throw IoErrorFromErrno(errno, operation, Path);
    }
    return handle;
}

void TDataFile::Reset()
{
    const int handle = OpenHandle(O_RDONLY, TFileOperation::Open);
    struct stat info {};
    if (::fstat(handle, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(handle);
        throw EInOutError(IoCode::AccessDenied);
    }
    Handle = handle;
}

void TDataFile::Rewrite()
{
    Handle = OpenHandle(O_WRONLY | O_CREAT | O_TRUNC, TFileOperation::Create);
}

void TDataFile::Reopen()
{
    Handle = OpenHandle(O_WRONLY, TFileOperation::Open);
}

bool TDataFile::CreateNew()
{
    Handle = OpenHandle(O_WRONLY | O_CREAT | O_EXCL, TFileOperation::Create);
    return Handle >= 0;
}

void TDataFile::BlockRead(void* buffer, std::size_t count)
{
    if (!IsOpen()) {
        throw EInOutError(IoCode::FileNotOpen);
    }
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(Handle, bytes + done, count - done);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw IoErrorFromErrno(errno, TFileOperation::Read, Path);
        }
        if (got == 0) {
            throw EInOutError(IoCode::ReadBeyondEnd);
        }
        done += static_cast<std::size_t>(got);
    }
}

void TDataFile::BlockWrite(const void* buffer, std::size_t count)
{
    if (!IsOpen()) {
        throw EInOutError(IoCode::FileNotOpen);
    }
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t put = ::write(Handle, bytes + done, count - done);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw IoErrorFromErrno(errno, TFileOperation::Write, Path);
        }
        if (put == 0) {
            throw EInOutError(IoCode::DiskFull);
        }
        done += static_cast<std::size_t>(put);
    }
}

void TDataFile::Truncate()
{
    if (!IsOpen()) {
        throw EInOutError(IoCode::FileNotOpen);
    }
    const off_t position = ::lseek(Handle, 0, SEEK_CUR);
    struct stat info {};
    if (position < 0 || ::fstat(Handle, &info) != 0) {
        throw IoErrorFromErrno(errno, TFileOperation::Write, Path);
    }
    if (info.st_size > position && ::ftruncate(Handle, position) != 0) {
        throw IoErrorFromErrno(errno, TFileOperation::Write, Path);
    }
}

void TDataFile::Close()
{
    if (!IsOpen()) {
        throw EInOutError(IoCode::FileNotOpen);
    }
    const int handle = Handle;
    Handle = -1;
    // The descriptor is released even when close reports an error, so it is
    // never closed a second time.
    if (::close(handle) != 0 && errno != EINTR) {
        throw IoErrorFromErrno(errno, TFileOperation::Close, Path);
    }
}

void TDataFile::Abandon() noexcept
{
    if (Handle >= 0) {
        ::close(Handle);
        Handle = -1;
    }
}
