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
bool SameExistingFile(const std::string& a, const std::string& b) noexcept;

// The absolute form of the folder path with every symbolic link, "." and
// ".." resolved (realpath on POSIX, the final path of the opened folder on
// Windows); nothing when it does not resolve. Never fails.
std::optional<std::string> CanonicalFolder(const std::string& folder);

// path after the symbolic links (on Windows also junctions) of its last
// component, as far as they go: each link's target, taken relative to the
// link's folder unless absolute, at most 40 links deep. path itself when it
// is no link or a link cannot be read. Never fails.
std::string FollowLinks(std::string path);

} // namespace Platform
