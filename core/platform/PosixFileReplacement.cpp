// Replacement by a whole new file on POSIX: a temporary in the target's
// folder, renamed over the target. On Linux a spectrum file's temporary is
// unnamed (O_TMPFILE) until it replaces the target, and linked under the
// target's name directly when nothing has that name yet.
//
// Crash debris: a spectrum file's writer holds an exclusive flock on its
// temporary from before the temporary has a name until it is renamed, so a
// named temporary whose lock can be taken belongs to a writer that is gone.

#include "core/platform/FileReplacement.h"

#include "core/platform/FileStatus.h"
#include "core/platform/Paths.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

constexpr const char* SpectrumTemporaryStart = ".tulvo-";
constexpr const char* OutputTemporaryStart = ".tulvo-out-";
constexpr const char* TemporaryEnd = ".tmp";

std::string NewTemporaryName(const std::string& prefix, TReplacementKind kind)
{
    static std::atomic<unsigned> spectrumCounter{0};
    static std::atomic<unsigned> outputCounter{0};
    const bool spectrum = kind == TReplacementKind::SpectrumFile;
    const unsigned n = (spectrum ? spectrumCounter : outputCounter).fetch_add(1);
    return prefix + (spectrum ? SpectrumTemporaryStart : OutputTemporaryStart) + std::to_string(::getpid()) + "-" +
           std::to_string(n) + TemporaryEnd;
}

// True for ".tulvo-<digits>-<digits>.tmp".
bool IsTemporaryName(const char* name)
{
    const std::size_t startLength = std::strlen(SpectrumTemporaryStart);
    if (std::strncmp(name, SpectrumTemporaryStart, startLength) != 0) {
        return false;
    }
    const char* p = name + startLength;
    for (int part = 0; part < 2; ++part) {
        const char* digits = p;
        while (*p >= '0' && *p <= '9') {
            ++p;
        }
        if (p == digits || *p != (part == 0 ? '-' : '.')) {
            return false;
        }
        if (part == 0) {
            ++p;
        }
    }
    return std::strcmp(p, TemporaryEnd) == 0;
}

bool SameInode(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Fails like the creation of target would when it exists but may not be
// written: the rename that replaces it would not ask. Opens nothing, so a
// FIFO or device of that name is not disturbed. Errors name displayPath.
void RefuseUnwritableTarget(const std::string& target, const std::string& displayPath)
{
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        return; // missing (a missing folder shows when the temporary is created)
    }
    if (S_ISDIR(info.st_mode)) {
        throw EInOutError(IoCode::AccessDenied, displayPath, EISDIR);
    }
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT) {
        throw IoErrorFromSystem(errno, TFileOperation::Create, displayPath);
    }
}

// The temporary of one replacement: the descriptor it is written through,
// for a spectrum file a second descriptor on the same open file that keeps
// the flock while the first is closed before the rename, and its name once
// it has one. Going out of scope removes the name (unless the rename took
// it), then lets the lock go.
struct TTemporary {
    int Handle = -1;
    int Lock = -1;
    std::string Name;

    TTemporary() = default;
    TTemporary(const TTemporary&) = delete;
    TTemporary& operator=(const TTemporary&) = delete;
    ~TTemporary()
    {
        CloseFileQuietly(Handle);
        if (!Name.empty()) {
            ::unlink(Name.c_str());
        }
        CloseFileQuietly(Lock);
    }

    // Takes a second descriptor on the open file for the lock.
    void KeepLock(const std::string& displayPath)
    {
        Lock = ::fcntl(Handle, F_DUPFD_CLOEXEC, 0);
        if (Lock < 0) {
            throw IoErrorFromSystem(errno, TFileOperation::Create, displayPath);
        }
    }
};

#if defined(__linux__) && defined(O_TMPFILE)
// Unnamed files are given a name by linking their /proc/self/fd entry; a
// Linux system without /proc mounted gets named temporaries from the start.
bool CanNameUnnamedFiles()
{
    static const bool procMounted = ::access("/proc/self/fd", X_OK) == 0;
    return procMounted;
}

// Opens an unnamed, locked temporary in target's folder. Returns false when
// the file system has no unnamed files.
bool CreateUnnamed(const std::string& target, const std::string& displayPath, TTemporary& temporary)
{
    if (!CanNameUnnamedFiles()) {
        return false;
    }
    int handle;
    do {
        handle = ::open(FolderOfFile(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    } while (handle < 0 && errno == EINTR);
    if (handle < 0) {
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) {
            return false;
        }
        throw IoErrorFromSystem(errno, TFileOperation::Create, displayPath);
    }
    temporary.Handle = handle;
    // No one else can reach the file yet: the lock is free. A file system
    // without flock leaves the file unlocked, and its names never swept.
    ::flock(handle, LOCK_EX | LOCK_NB);
    temporary.KeepLock(displayPath);
    return true;
}

// Links the unnamed temporary under name.
bool LinkUnnamed(const TTemporary& temporary, const std::string& name)
{
    const std::string procPath = "/proc/self/fd/" + std::to_string(temporary.Lock);
    return ::linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}
#else
bool CreateUnnamed(const std::string&, const std::string&, TTemporary&) { return false; }
bool LinkUnnamed(const TTemporary&, const std::string&)
{
    errno = ENOTSUP;
    return false;
}
#endif

// Gives the unnamed temporary a fresh hidden name in target's folder.
void NameUnnamed(const std::string& target, const std::string& displayPath, TTemporary& temporary)
{
    for (;;) {
        std::string name = NewTemporaryName(FolderPrefix(target), TReplacementKind::SpectrumFile);
        if (LinkUnnamed(temporary, name)) {
            temporary.Name = std::move(name);
            return;
        }
        if (errno != EEXIST) {
            throw IoErrorFromSystem(errno, TFileOperation::Create, displayPath);
        }
    }
}

// Creates a new temporary of a fresh hidden name in target's folder, locked
// for a spectrum file.
void CreateNamed(const std::string& target, TReplacementKind kind, const std::string& displayPath,
                 TTemporary& temporary)
{
    const bool locked = kind == TReplacementKind::SpectrumFile;
    for (int attempt = 0;; ++attempt) {
        std::string name = NewTemporaryName(FolderPrefix(target), kind);
        int handle;
        do {
            handle = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        } while (handle < 0 && errno == EINTR);
        if (handle < 0) {
            if (errno == EEXIST) {
                continue; // the name is taken
            }
            throw IoErrorFromSystem(errno, TFileOperation::Create, displayPath);
        }
        temporary.Handle = handle;
        if (!locked) {
            temporary.Name = std::move(name);
            return;
        }
        // Between the creation and the lock, a sweep may have taken the
        // file for debris: it holds the lock while it removes the name, so
        // the file is ours only when the lock is had and the name still
        // leads to it.
        struct stat opened {};
        struct stat named {};
        const bool lockHad = ::flock(handle, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
        if (lockHad && ::fstat(handle, &opened) == 0 && ::lstat(name.c_str(), &named) == 0 &&
            SameInode(opened, named)) {
            temporary.Name = std::move(name);
            temporary.KeepLock(displayPath);
            return;
        }
        CloseFileQuietly(temporary.Handle);
        temporary.Handle = -1;
        if (attempt >= 100) {
            throw EInOutError::OtherSystemError(EEXIST, displayPath);
        }
    }
}

// True when target is a regular file (not a link) that already holds exactly
// bytes: writing it again would change nothing but the file's identity. Its
// modification time is then brought to now, as a write would, so that it
// counts as up to date against its recording.
bool TargetAlreadyHolds(const std::string& target, std::string_view bytes)
{
    const int handle = ::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (handle < 0) {
        return false;
    }
    struct stat info {};
    std::string held(bytes.size() + 1, '\0');
    bool same = ::fstat(handle, &info) == 0 && S_ISREG(info.st_mode) &&
                info.st_size == static_cast<off_t>(bytes.size()) &&
                ::pread(handle, held.data(), held.size(), 0) == static_cast<ssize_t>(bytes.size()) &&
                std::string_view(held).substr(0, bytes.size()) == bytes;
    if (same) {
        same = ::futimens(handle, nullptr) == 0;
    }
    ::close(handle);
    return same;
}

// Writes bytes through the temporary's descriptor, then closes it.
void WriteAndClose(TTemporary& temporary, std::string_view bytes, const std::string& displayPath)
{
    while (!bytes.empty()) {
        const std::size_t put = WriteSome(temporary.Handle, bytes.data(), bytes.size(), displayPath);
        if (put == 0) {
            throw EInOutError(IoCode::DiskFull, displayPath);
        }
        bytes.remove_prefix(put);
    }
    const int handle = temporary.Handle;
    temporary.Handle = -1;
    CloseFile(handle, displayPath);
}

} // namespace

std::string FolderOfFile(const std::string& path) { return FolderPath(path); }

std::string ReplacementTarget(const std::string& path, TReplacementKind kind)
{
    if (path.empty()) {
        throw EInOutError(IoCode::InvalidFilename);
    }
    if (kind == TReplacementKind::ToolOutput) {
        return path;
    }
    std::string target = FollowLinks(path);
    struct stat info {};
    if (::lstat(target.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        // Links beyond the kernel's depth, or one that cannot be read: an
        // open for writing fails on them as on a loop.
        throw IoErrorFromSystem(ELOOP, TFileOperation::Create, path);
    }
    RefuseUnwritableTarget(target, path);
    return target;
}

TReplaceResult ReplaceWithBytes(const std::string& target, std::string_view bytes, TReplacementKind kind,
                                const std::string& displayPath)
{
    const bool spectrum = kind == TReplacementKind::SpectrumFile;
    if (spectrum && TargetAlreadyHolds(target, bytes)) {
        return TReplaceResult::Kept;
    }
    TTemporary temporary;
    if (!spectrum || !CreateUnnamed(target, displayPath, temporary)) {
        CreateNamed(target, kind, displayPath, temporary);
    }
    WriteAndClose(temporary, bytes, displayPath);
    // An unnamed temporary becomes the target in one step when nothing has
    // the target's name; otherwise it gets a hidden name for the rename.
    if (!temporary.Name.empty() || !LinkUnnamed(temporary, target)) {
        if (temporary.Name.empty()) {
            NameUnnamed(target, displayPath, temporary);
        }
        if (::rename(temporary.Name.c_str(), target.c_str()) != 0) {
            throw IoErrorFromSystem(errno, TFileOperation::Rename, displayPath);
        }
        temporary.Name.clear(); // it is the target now
    }
    return TReplaceResult::Replaced;
}

int RemoveReplacementDebris(const std::string& folder) noexcept
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return 0;
    }
    const int folderHandle = ::dirfd(dir);
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryName(entry->d_name)) {
            continue;
        }
        const int handle =
            ::openat(folderHandle, entry->d_name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
        if (handle < 0) {
            continue;
        }
        // Removed only while locked by us, and only while the name still
        // leads to the file locked: a live writer holds its lock until the
        // rename, after which the name is gone.
        struct stat opened {};
        struct stat named {};
        if (::fstat(handle, &opened) == 0 && S_ISREG(opened.st_mode) && ::flock(handle, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(folderHandle, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && SameInode(opened, named) &&
            ::unlinkat(folderHandle, entry->d_name, 0) == 0) {
            ++removed;
        }
        ::close(handle);
    }
    ::closedir(dir);
    return removed;
}

} // namespace Platform
