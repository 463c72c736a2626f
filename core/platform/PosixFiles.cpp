// Files on POSIX: file descriptors, opened close-on-exec.

#include "core/platform/Files.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

int Descriptor(TFileHandle handle) noexcept { return static_cast<int>(handle); }

// Opens path with flags, repeating an interrupted open. Returns the
// descriptor, or -1 with errno set.
int OpenRepeating(const std::string& path, int flags) noexcept
{
    int handle;
    do {
        handle = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    } while (handle < 0 && errno == EINTR);
    return handle;
}

TFileHandle OpenOrThrow(const std::string& path, int flags, TFileOperation operation)
{
    const int handle = OpenRepeating(path, flags);
    if (handle < 0) {
        throw ESystemError(errno, operation, path);
    }
    return handle;
}

} // namespace

TFileHandle StandardInput() noexcept { return STDIN_FILENO; }
TFileHandle StandardOutput() noexcept { return STDOUT_FILENO; }
TFileHandle StandardError() noexcept { return STDERR_FILENO; }

TFileHandle OpenForReading(const std::string& path, bool mayWait)
{
    const int handle =
        static_cast<int>(OpenOrThrow(path, O_RDONLY | O_NOCTTY | (mayWait ? 0 : O_NONBLOCK), TFileOperation::Open));
    struct stat info {};
    int error = ::fstat(handle, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
    if (error == 0 && !mayWait) {
        const int flags = ::fcntl(handle, F_GETFL);
        if (flags < 0 || ::fcntl(handle, F_SETFL, flags & ~O_NONBLOCK) != 0) {
            error = errno;
        }
    }
    if (error != 0) {
        ::close(handle);
        throw ESystemError(error, TFileOperation::Open, path);
    }
    return handle;
}

TFileHandle OpenForWriting(const std::string& path) { return OpenOrThrow(path, O_WRONLY, TFileOperation::Open); }

TFileHandle CreateOrTruncate(const std::string& path)
{
    return OpenOrThrow(path, O_WRONLY | O_CREAT | O_TRUNC, TFileOperation::Create);
}

TFileHandle CreateNew(const std::string& path)
{
    const int handle = OpenRepeating(path, O_WRONLY | O_CREAT | O_EXCL);
    if (handle < 0) {
        if (errno == EEXIST) {
            return NoFileHandle;
        }
        throw ESystemError(errno, TFileOperation::Create, path);
    }
    return handle;
}

TFileHandle OpenForAppending(const std::string& path)
{
    return OpenOrThrow(path, O_WRONLY | O_CREAT | O_APPEND, TFileOperation::Create);
}

std::size_t ReadSome(TFileHandle handle, void* buffer, std::size_t count, const std::string& name)
{
    for (;;) {
        const ssize_t got = ::read(Descriptor(handle), buffer, count);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            throw ESystemError(errno, TFileOperation::Read, name);
        }
    }
}

std::size_t WriteSome(TFileHandle handle, const void* buffer, std::size_t count, const std::string& name)
{
    for (;;) {
        const ssize_t put = ::write(Descriptor(handle), buffer, count);
        if (put >= 0) {
            return static_cast<std::size_t>(put);
        }
        if (errno != EINTR) {
            throw ESystemError(errno, TFileOperation::Write, name);
        }
    }
}

void TruncateAtPosition(TFileHandle handle, const std::string& name)
{
    const off_t position = ::lseek(Descriptor(handle), 0, SEEK_CUR);
    struct stat info {};
    if (position < 0 || ::fstat(Descriptor(handle), &info) != 0) {
        throw ESystemError(errno, TFileOperation::Write, name);
    }
    if (info.st_size > position && ::ftruncate(Descriptor(handle), position) != 0) {
        throw ESystemError(errno, TFileOperation::Write, name);
    }
}

void CloseFile(TFileHandle handle, const std::string& name)
{
    // close releases the descriptor even when it reports an error (EINTR
    // included, on Linux): it is never closed a second time.
    if (::close(Descriptor(handle)) != 0 && errno != EINTR) {
        throw ESystemError(errno, TFileOperation::Close, name);
    }
}

void CloseFileQuietly(TFileHandle handle) noexcept
{
    if (handle != NoFileHandle) {
        ::close(Descriptor(handle));
    }
}

TFileHandle OpenForComparing(const std::string& path) noexcept
{
    return OpenRepeating(path, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY);
}

bool SetModifiedToNow(TFileHandle handle) noexcept { return ::futimens(Descriptor(handle), nullptr) == 0; }

std::vector<std::string> FolderEntryNames(const std::string& folderPrefix, const std::string& prefix) noexcept
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folderPrefix.empty() ? "." : folderPrefix.c_str());
    if (dir == nullptr) {
        return names;
    }
    try {
        while (const dirent* entry = ::readdir(dir)) {
            if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) == 0) {
                names.emplace_back(entry->d_name);
            }
        }
    } catch (...) {
        names.clear();
    }
    ::closedir(dir);
    return names;
}

} // namespace Platform
