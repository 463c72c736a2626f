#include "core/TSpmFileWriter.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Fails like the creation of spmPath would when it exists but may not be
// written: the rename that replaces it would not ask. Opens nothing, so a
// FIFO or device of that name is not disturbed.
void RefuseUnwritableTarget(const std::string& spmPath)
{
    struct stat info {};
    if (::stat(spmPath.c_str(), &info) != 0) {
        return; // missing (a missing folder shows when the temporary is created)
    }
    if (S_ISDIR(info.st_mode)) {
        throw EInOutError(IoCode::AccessDenied, spmPath, EISDIR);
    }
    if (::faccessat(AT_FDCWD, spmPath.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT) {
        throw IoErrorFromErrno(errno, TFileOperation::Create, spmPath);
    }
}

// The folder part of path with its final '/', or "" for the current folder:
// what a name in that folder is appended to.
std::string FolderPrefix(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The folder of path as a path of its own.
std::string FolderOf(const std::string& path)
{
    const std::string prefix = FolderPrefix(path);
    if (prefix.empty()) {
        return ".";
    }
    return prefix.size() == 1 ? prefix : prefix.substr(0, prefix.size() - 1);
}

constexpr const char* TemporaryStart = ".tulvo-";
constexpr const char* TemporaryEnd = ".tmp";

std::string NewTemporaryName(const std::string& prefix)
{
    static std::atomic<unsigned> counter{0};
    return prefix + TemporaryStart + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1)) +
           TemporaryEnd;
}

// True for ".tulvo-<digits>-<digits>.tmp".
bool IsTemporaryName(const char* name)
{
    const std::size_t startLength = std::strlen(TemporaryStart);
    if (std::strncmp(name, TemporaryStart, startLength) != 0) {
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

// Unnamed files are given a name by linking their /proc/self/fd entry; a
// system without /proc gets named temporaries from the start.
bool CanNameUnnamedFiles()
{
    static const bool procMounted = ::access("/proc/self/fd", X_OK) == 0;
    return procMounted;
}

bool SameInode(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// The temporary of one write: a descriptor of its own on the open file,
// which keeps the flock while the file's own descriptor is closed before the
// rename, and its name once it has one. Going out of scope removes the name
// (unless the rename took it), then lets the lock go.
struct TTemporary {
    int Lock = -1;
    std::string Name;

    TTemporary() = default;
    TTemporary(const TTemporary&) = delete;
    TTemporary& operator=(const TTemporary&) = delete;
    ~TTemporary()
    {
        if (!Name.empty()) {
            ::unlink(Name.c_str());
        }
        if (Lock >= 0) {
            ::close(Lock);
        }
    }

    // Takes a second descriptor on handle's open file for the lock.
    void KeepLockOf(int handle, const std::string& spmPath)
    {
        Lock = ::fcntl(handle, F_DUPFD_CLOEXEC, 0);
        if (Lock < 0) {
            throw IoErrorFromErrno(errno, TFileOperation::Create, spmPath);
        }
    }
};

// Opens an unnamed, locked temporary in spmPath's folder through file.
// Returns false when the file system has no unnamed files.
bool CreateUnnamed(TDataFile& file, const std::string& spmPath, TTemporary& temporary)
{
    if (!CanNameUnnamedFiles()) {
        return false;
    }
    int handle;
    do {
        handle = ::open(FolderOf(spmPath).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    } while (handle < 0 && errno == EINTR);
    if (handle < 0) {
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) {
            return false;
        }
        throw IoErrorFromErrno(errno, TFileOperation::Create, spmPath);
    }
    file.Attach(spmPath, handle);
    // No one else can reach the file yet: the lock is free. A file system
    // without flock leaves the file unlocked, and its names never swept.
    ::flock(handle, LOCK_EX | LOCK_NB);
    temporary.KeepLockOf(handle, spmPath);
    return true;
}

// Gives the unnamed temporary a fresh hidden name in spmPath's folder.
void NameUnnamed(const std::string& spmPath, TTemporary& temporary)
{
    const std::string procPath = "/proc/self/fd/" + std::to_string(temporary.Lock);
    for (;;) {
        std::string name = NewTemporaryName(FolderPrefix(spmPath));
        if (::linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            temporary.Name = std::move(name);
            return;
        }
        if (errno != EEXIST) {
            throw IoErrorFromErrno(errno, TFileOperation::Create, spmPath);
        }
    }
}

// Creates a new, locked temporary of a fresh hidden name in spmPath's folder
// through file.
void CreateNamed(TDataFile& file, const std::string& spmPath, TTemporary& temporary)
{
    for (int attempt = 0;; ++attempt) {
        std::string name = NewTemporaryName(FolderPrefix(spmPath));
        int handle;
        do {
            handle = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        } while (handle < 0 && errno == EINTR);
        if (handle < 0) {
            if (errno == EEXIST) {
                continue; // the name is taken
            }
            throw IoErrorFromErrno(errno, TFileOperation::Create, spmPath);
        }
        // Errors of the writes name the file the user asked for.
        file.Attach(spmPath, handle);
        // Between the creation and the lock, a sweep may have taken the
        // file for debris: it holds the lock while it removes the name, so
        // the file is ours only when the lock is had and the name still
        // leads to it.
        struct stat opened {};
        struct stat named {};
        const bool locked = ::flock(handle, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
        if (locked && ::fstat(handle, &opened) == 0 && ::lstat(name.c_str(), &named) == 0 && SameInode(opened, named)) {
            temporary.Name = std::move(name);
            temporary.KeepLockOf(handle, spmPath);
            return;
        }
        file.CloseQuietly();
        if (attempt >= 100) {
            throw EInOutError::OtherSystemError(EEXIST, spmPath);
        }
    }
}

// True when spmPath is a regular file (not a link) that already holds exactly image: writing it
// again would change nothing but the file's identity. Its modification time is then brought
// to now, as a write would, so that it counts as up to date against its recording.
bool TargetAlreadyHolds(const std::string& spmPath, const std::array<std::uint8_t, SpectrumFileSize>& image)
{
    const int handle = ::open(spmPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (handle < 0) {
        return false;
    }
    struct stat info {};
    std::array<std::uint8_t, SpectrumFileSize + 1> held{};
    bool same = ::fstat(handle, &info) == 0 && S_ISREG(info.st_mode) && info.st_size == SpectrumFileSize &&
                ::pread(handle, held.data(), held.size(), 0) == SpectrumFileSize &&
                std::equal(image.begin(), image.end(), held.begin());
    if (same) {
        same = ::futimens(handle, nullptr) == 0;
    }
    ::close(handle);
    return same;
}

// Gives the unnamed temporary spmPath's own name, when nothing has that name: the file appears
// whole in one step, and no temporary name is ever seen. False when the name is taken (or the
// link cannot be made), for the temporary name and the rename to take over.
bool LinkAsTarget(const std::string& spmPath, const TTemporary& temporary)
{
    const std::string procPath = "/proc/self/fd/" + std::to_string(temporary.Lock);
    return ::linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, spmPath.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

} // namespace

int RemoveWriterDebris(const std::string& folder) noexcept
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

void TSpmFileWriter::Release() noexcept { folders_.clear(); }

void TSpmFileWriter::Write(TDataFile& file, const std::string& spmPath, extended scale, const TBandCodes& codes)
{
    if (spmPath.empty()) {
        throw EInOutError(IoCode::InvalidFilename);
    }
    const auto image = SpectrumFileImage(scale, codes);
    RefuseUnwritableTarget(spmPath);
    const std::string folder = FolderOf(spmPath);
    const bool firstInFolder = std::find(folders_.begin(), folders_.end(), folder) == folders_.end();
    if (firstInFolder) {
        RemoveWriterDebris(folder);
    }
    // A kept file still counts among the folders to flush: it may come from a run cut off
    // before its own flush, and its new time has to reach the disk as well.
    if (TargetAlreadyHolds(spmPath, image)) {
        file.Bind(spmPath);
        if (firstInFolder) {
            folders_.push_back(folder);
        }
        return;
    }

    TTemporary temporary;
    try {
        if (!CreateUnnamed(file, spmPath, temporary)) {
            CreateNamed(file, spmPath, temporary);
        }
        file.WriteAll(image.data(), image.size());
        file.Close();
    } catch (...) {
        file.CloseQuietly();
        throw;
    }
    if (!temporary.Name.empty() || !LinkAsTarget(spmPath, temporary)) {
        if (temporary.Name.empty()) {
            NameUnnamed(spmPath, temporary);
        }
        if (::rename(temporary.Name.c_str(), spmPath.c_str()) != 0) {
            throw IoErrorFromErrno(errno, TFileOperation::Rename, spmPath);
        }
        temporary.Name.clear(); // it is the target now
    }
    file.Bind(spmPath);
    if (firstInFolder) {
        folders_.push_back(folder);
    }
}
