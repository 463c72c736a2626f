#pragma once

#include "core/platform/Files.h"

#include <compare>
#include <cstdint>
#include <optional>
#include <string>

// What the system knows about a file: kind, size, modification time and
// identity. Paths are UTF-8. Symbolic links (and on Windows junctions) are
// followed, so the status is that of the file they lead to.

namespace Platform {

// A file's identity: two names lead to one file (hard links, symbolic links,
// a file system that ignores case, "a/../b" against "b") exactly when their
// identities are equal. POSIX: st_dev and st_ino. Windows: the volume serial
// number and the file index of GetFileInformationByHandle (never the C
// runtime's st_ino, which is 0 there).
struct TFileIdentity {
    std::uint64_t Device = 0;
    std::uint64_t Index = 0;
    bool operator==(const TFileIdentity&) const = default;
};

// A modification time, as precise as the file system keeps it (nanoseconds
// on POSIX, 100 ns units on Windows), counted from an epoch that is the same
// for every file of one system. Ordered: a later time compares greater.
struct TFileTime {
    std::int64_t Seconds = 0;
    std::int32_t Nanoseconds = 0;
    auto operator<=>(const TFileTime&) const = default;
};

struct TFileStatus {
    bool Regular = false; // a regular file (not a folder, FIFO, socket or device)
    bool Folder = false;
    bool Socket = false;   // POSIX: a socket, which no open reaches (ENXIO)
    std::int64_t Size = 0; // bytes, for a regular file; 0 for the others
    TFileTime Modified;
    TFileIdentity Identity;
};

// The status of the file path leads to; nothing when it does not exist or
// cannot be examined (a dangling link, a folder on the way that may not be
// searched). Never fails.
std::optional<TFileStatus> StatusOf(const std::string& path) noexcept;

// The status of an open file; nothing when it cannot be had. Never fails.
std::optional<TFileStatus> StatusOf(TFileHandle handle) noexcept;

// True when a and b both exist and are one file (see TFileIdentity).
inline bool SameExistingFile(const std::string& a, const std::string& b) noexcept
{
    const auto statusA = StatusOf(a);
    const auto statusB = StatusOf(b);
    return statusA && statusB && statusA->Identity == statusB->Identity;
}

// The absolute form of the folder path with every symbolic link, "." and
// ".." resolved, as the system gives it (realpath on POSIX; on Windows the
// final path of the opened folder, a device path "\\?\C:\..." or
// "\\?\UNC\server\share\..."); nothing when it does not resolve. Never fails.
std::optional<std::string> CanonicalFolder(const std::string& folder);

// True when path itself (its last component) is a symbolic link, on Windows
// also a junction or another reparse point; the link is not followed, and
// its target need not exist. False when path does not exist. Never fails.
bool IsSymbolicLink(const std::string& path) noexcept;

// The target that the symbolic link path (on Windows also a junction) names, as written in it:
// relative to the link's folder unless rooted (an absolute target of a Windows link is an NT path,
// "\??\C:\..." or "\??\UNC\server\share\..."). Nothing when path is no link or cannot be read
// as one. Never fails.
std::optional<std::string> ReadLink(const std::string& path);

// The system's error number for links that do not end: a loop, or more than the system follows
// (POSIX: ELOOP, 40 on Linux; Windows: ERROR_CANT_RESOLVE_FILENAME, 1921).
extern const int LinkLoopError;

// The system error that an open of path for writing would meet by what path is, found without
// opening it for writing (a FIFO or device is not disturbed): a folder (POSIX EISDIR; Windows
// ERROR_DIRECTORY_NOT_SUPPORTED), a file that may not be written (POSIX: faccessat W_OK with the
// effective ids, so EACCES or EROFS; Windows: the read-only attribute, ERROR_ACCESS_DENIED). POSIX
// follows symbolic links; Windows looks at path itself (GetFileAttributesW). 0 when path may be written, does not exist
// or cannot be examined. Never fails.
int WriteAccessError(const std::string& path) noexcept;

} // namespace Platform
