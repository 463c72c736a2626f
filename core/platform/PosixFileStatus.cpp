// File status on POSIX: stat, realpath and readlink.

#include "core/platform/FileStatus.h"

#include "core/platform/Paths.h"

#include <climits>
#include <cstdlib>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

// Symbolic links followed at most, as the kernel's own limit.
constexpr int MaxLinkDepth = 40;

TFileStatus StatusFrom(const struct stat& info) noexcept
{
    TFileStatus status;
    status.Regular = S_ISREG(info.st_mode);
    status.Folder = S_ISDIR(info.st_mode);
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

bool SameExistingFile(const std::string& a, const std::string& b) noexcept
{
    const auto statusA = StatusOf(a);
    const auto statusB = StatusOf(b);
    return statusA && statusB && statusA->Identity == statusB->Identity;
}

std::optional<std::string> CanonicalFolder(const std::string& folder)
{
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.c_str(), nullptr), &std::free);
    if (!real) {
        return std::nullopt;
    }
    return std::string(real.get());
}

std::string FollowLinks(std::string path)
{
    for (int depth = 0; depth < MaxLinkDepth; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length <= 0) {
            return path;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : JoinPath(FolderPath(path), target);
    }
    return path;
}

} // namespace Platform
