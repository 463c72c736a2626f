// File status on POSIX: stat, realpath, readlink and faccessat.

#include "core/platform/FileStatus.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

TFileStatus StatusFrom(const struct stat& info) noexcept
{
    TFileStatus status;
    status.Regular = S_ISREG(info.st_mode);
    status.Folder = S_ISDIR(info.st_mode);
    status.Socket = S_ISSOCK(info.st_mode);
    status.Size = status.Regular ? static_cast<std::int64_t>(info.st_size) : 0;
    status.Modified = {static_cast<std::int64_t>(info.st_mtim.tv_sec), static_cast<std::int32_t>(info.st_mtim.tv_nsec)};
    status.Identity = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
    return status;
}

} // namespace

std::optional<TFileStatus> StatusOf(const std::string& path) noexcept
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return StatusFrom(info);
}

std::optional<TFileStatus> StatusOf(TFileHandle handle) noexcept
{
    struct stat info {};
    if (::fstat(static_cast<int>(handle), &info) != 0) {
        return std::nullopt;
    }
    return StatusFrom(info);
}

bool IsSymbolicLink(const std::string& path) noexcept
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

std::optional<std::string> CanonicalFolder(const std::string& folder)
{
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.c_str(), nullptr), &std::free);
    if (!real) {
        return std::nullopt;
    }
    return std::string(real.get());
}

std::optional<std::string> ReadLink(const std::string& path)
{
    char target[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
    if (length <= 0) {
        return std::nullopt;
    }
    return std::string(target, static_cast<std::size_t>(length));
}

const int LinkLoopError = ELOOP;

int WriteAccessError(const std::string& path) noexcept
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return 0;
    }
    if (S_ISDIR(info.st_mode)) {
        return EISDIR;
    }
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT) {
        return errno;
    }
    return 0;
}

} // namespace Platform
