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
        return EInOutError(IoCode::InvalidFilename, path, errnum);
    }
    switch (errnum) {
    case ENOENT:
        if (operation == TFileOperation::Open && ParentFolderExists(path)) {
            return EInOutError(IoCode::FileNotFound, path, errnum);
        }
        return EInOutError(IoCode::InvalidFilename, path, errnum);
    case ENOTDIR:
    case ENAMETOOLONG: return EInOutError(IoCode::InvalidFilename, path, errnum);
    case EMFILE:
    case ENFILE: return EInOutError(IoCode::TooManyOpenFiles, path, errnum);
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EISDIR: return EInOutError(IoCode::AccessDenied, path, errnum);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        if (operation == TFileOperation::Write || operation == TFileOperation::Close) {
            return EInOutError(IoCode::DiskFull, path, errnum);
        }
        return EInOutError::OtherSystemError(errnum, path);
    default: return EInOutError::OtherSystemError(errnum, path);
    }
}

TDataFile::~TDataFile() { CloseQuietly(); }

void TDataFile::Bind(const std::string& path)
{
    CloseQuietly();
    path_ = path;
}

int TDataFile::OpenHandle(int flags, TFileOperation operation)
{
    CloseQuietly();
    if (path_.empty()) {
        throw EInOutError(IoCode::InvalidFilename);
    }
    int handle;
    do {
        handle = ::open(path_.c_str(), flags | O_CLOEXEC, 0666);
    } while (handle < 0 && errno == EINTR);
    if (handle < 0) {
        if (errno == EEXIST && (flags & O_EXCL)) {
            return -1;
        }
        throw IoErrorFromErrno(errno, operation, path_);
    }
    return handle;
}

void TDataFile::OpenRead(TFileKinds kinds)
{
    // Only what may be any kind of file is opened in the blocking way: the
    // open of a FIFO waits for a writer, that of some devices for the device.
    const bool anyKind = kinds == TFileKinds::AnyReadable;
    int handle = -1;
    try {
        handle = OpenHandle(O_RDONLY | O_NOCTTY | (anyKind ? 0 : O_NONBLOCK), TFileOperation::Open);
    } catch (const EInOutError& e) {
        // A socket has no open at all: it fails with ENXIO.
        struct stat info {};
        if (::stat(path_.c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) {
            throw EInOutError(IoCode::AccessDenied, path_, e.SystemError());
        }
        throw;
    }
    struct stat info {};
    if (::fstat(handle, &info) != 0) {
        const int error = errno;
        ::close(handle);
        throw IoErrorFromErrno(error, TFileOperation::Open, path_);
    }
    if (S_ISDIR(info.st_mode) || (!anyKind && !S_ISREG(info.st_mode))) {
        ::close(handle);
        throw EInOutError(IoCode::AccessDenied, path_, S_ISDIR(info.st_mode) ? EISDIR : 0);
    }
    if (!anyKind) {
        // Reads of a regular file never wait anyway; the flag goes so that
        // the reads are the usual blocking ones whatever the file system.
        const int flags = ::fcntl(handle, F_GETFL);
        if (flags < 0 || ::fcntl(handle, F_SETFL, flags & ~O_NONBLOCK) != 0) {
            const int error = errno;
            ::close(handle);
            throw IoErrorFromErrno(error, TFileOperation::Open, path_);
        }
    }
    handle_ = handle;
}

void TDataFile::Create() { handle_ = OpenHandle(O_WRONLY | O_CREAT | O_TRUNC, TFileOperation::Create); }

void TDataFile::OpenWrite() { handle_ = OpenHandle(O_WRONLY, TFileOperation::Open); }

bool TDataFile::CreateExclusive()
{
    handle_ = OpenHandle(O_WRONLY | O_CREAT | O_EXCL, TFileOperation::Create);
    return handle_ >= 0;
}

void TDataFile::Attach(const std::string& path, int handle)
{
    CloseQuietly();
    path_ = path;
    handle_ = handle;
}

void TDataFile::ReadExactly(void* buffer, std::size_t count)
{
    if (!IsOpen()) {
        throw EInOutError(IoCode::FileNotOpen);
    }
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(handle_, bytes + done, count - done);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw IoErrorFromErrno(errno, TFileOperation::Read, path_);
        }
        if (got == 0) {
            throw EInOutError(IoCode::ReadBeyondEnd, path_);
        }
        done += static_cast<std::size_t>(got);
    }
}

void TDataFile::WriteAll(const void* buffer, std::size_t count)
{
    if (!IsOpen()) {
        throw EInOutError(IoCode::FileNotOpen);
    }
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t put = ::write(handle_, bytes + done, count - done);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw IoErrorFromErrno(errno, TFileOperation::Write, path_);
        }
        if (put == 0) {
            throw EInOutError(IoCode::DiskFull, path_);
        }
        done += static_cast<std::size_t>(put);
    }
}

void TDataFile::TruncateHere()
{
    if (!IsOpen()) {
        throw EInOutError(IoCode::FileNotOpen);
    }
    const off_t position = ::lseek(handle_, 0, SEEK_CUR);
    struct stat info {};
    if (position < 0 || ::fstat(handle_, &info) != 0) {
        throw IoErrorFromErrno(errno, TFileOperation::Write, path_);
    }
    if (info.st_size > position && ::ftruncate(handle_, position) != 0) {
        throw IoErrorFromErrno(errno, TFileOperation::Write, path_);
    }
}

void TDataFile::Close()
{
    if (!IsOpen()) {
        throw EInOutError(IoCode::FileNotOpen);
    }
    const int handle = handle_;
    handle_ = -1;
    // The descriptor is released even when close reports an error, so it is
    // never closed a second time.
    if (::close(handle) != 0 && errno != EINTR) {
        throw IoErrorFromErrno(errno, TFileOperation::Close, path_);
    }
}

void TDataFile::CloseQuietly() noexcept
{
    if (handle_ >= 0) {
        ::close(handle_);
        handle_ = -1;
    }
}
