// Temporary files on POSIX: open with O_EXCL (Linux: O_TMPFILE, named by linking its
// /proc/self/fd entry), held by an exclusive flock, renamed over their targets.

#include "core/platform/TemporaryFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

// True when the file open as handle still has the name path.
bool NameLeadsTo(int handle, const std::string& path)
{
    struct stat opened {};
    struct stat named {};
    return ::fstat(handle, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

int OpenRepeating(const char* path, int flags)
{
    int handle;
    do {
        handle = ::open(path, flags | O_CLOEXEC, 0666);
    } while (handle < 0 && errno == EINTR);
    return handle;
}

#if defined(__linux__) && defined(O_TMPFILE)
// Unnamed files are named by linking their /proc/self/fd entry; a Linux system without /proc
// mounted has none.
bool CanNameUnnamedFiles()
{
    static const bool procMounted = ::access("/proc/self/fd", X_OK) == 0;
    return procMounted;
}

int OpenUnnamed(const std::string& folder) { return OpenRepeating(folder.c_str(), O_TMPFILE | O_WRONLY); }

int LinkAt(TFileHandle hold, const std::string& path)
{
    const std::string procPath = "/proc/self/fd/" + std::to_string(hold);
    return ::linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}
#else
bool CanNameUnnamedFiles() { return false; }
int OpenUnnamed(const std::string&) { return -1; }
int LinkAt(TFileHandle, const std::string&) { return ENOTSUP; }
#endif

} // namespace

TTemporaryFile::~TTemporaryFile()
{
    CloseFileQuietly(handle_);
    if (!name_.empty()) {
        ::unlink(name_.c_str());
    }
    CloseFileQuietly(hold_);
}

int TTemporaryFile::CreateNamed(const std::string& path, bool held)
{
    const int handle = OpenRepeating(path.c_str(), O_WRONLY | O_CREAT | O_EXCL);
    if (handle < 0) {
        return errno;
    }
    // Between the creation and the lock, a sweep may have taken the file for debris: it holds the
    // lock while it removes the name, so the file is ours only when the lock is had (or the file
    // system has none) and the name still leads to it.
    if (held && ((::flock(handle, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) || !NameLeadsTo(handle, path))) {
        ::close(handle);
        return EEXIST;
    }
    handle_ = handle;
    name_ = path;
    if (held) {
        hold_ = ::fcntl(handle, F_DUPFD_CLOEXEC, 0);
        if (hold_ < 0) {
            return errno;
        }
    }
    return 0;
}

bool TTemporaryFile::CreateUnnamed(const std::string& folder) noexcept
{
    const int handle = CanNameUnnamedFiles() ? OpenUnnamed(folder) : -1;
    if (handle < 0) {
        return false;
    }
    // No one else can reach the file yet: the lock is free. A file system without flock leaves
    // the file unlocked, and its names never swept.
    ::flock(handle, LOCK_EX | LOCK_NB);
    const int hold = ::fcntl(handle, F_DUPFD_CLOEXEC, 0);
    if (hold < 0) {
        ::close(handle);
        return false;
    }
    handle_ = handle;
    hold_ = hold;
    return true;
}

int TTemporaryFile::CloseForWriting() noexcept
{
    const TFileHandle handle = handle_;
    handle_ = NoFileHandle;
    // close releases the descriptor even when it reports an error (EINTR included, on Linux).
    return ::close(static_cast<int>(handle)) != 0 && errno != EINTR ? errno : 0;
}

int TTemporaryFile::Link(const std::string& path, bool own)
{
    const int error = LinkAt(hold_, path);
    if (error == 0 && own) {
        name_ = path;
    }
    return error;
}

int TTemporaryFile::RenameOver(const std::string& target)
{
    if (::rename(name_.c_str(), target.c_str()) != 0) {
        return errno;
    }
    name_.clear();
    return 0;
}

bool RemoveUnheldFile(const std::string& path) noexcept
{
    const int handle = OpenRepeating(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY);
    if (handle < 0) {
        return false;
    }
    // Removed only while locked by us, and only while the name still leads to the file locked: a
    // live writer holds its lock until its rename, after which the name is gone.
    struct stat opened {};
    const bool removed = ::fstat(handle, &opened) == 0 && S_ISREG(opened.st_mode) &&
                         ::flock(handle, LOCK_EX | LOCK_NB) == 0 && NameLeadsTo(handle, path) &&
                         ::unlink(path.c_str()) == 0;
    ::close(handle);
    return removed;
}

} // namespace Platform
