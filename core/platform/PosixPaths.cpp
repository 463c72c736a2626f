// Paths on POSIX: '/' is the only separator, and a path has no drive.

#include "core/platform/Paths.h"

namespace Platform {

bool IsPathSeparator(char c) noexcept { return c == '/'; }

std::size_t FileNameStart(const std::string& path) noexcept
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

std::string FileNamePart(const std::string& path) { return path.substr(FileNameStart(path)); }

std::string FolderPrefix(const std::string& path) { return path.substr(0, FileNameStart(path)); }

std::string FolderPath(const std::string& path)
{
    const std::size_t start = FileNameStart(path);
    if (start == 0) {
        return ".";
    }
    return start == 1 ? std::string("/") : path.substr(0, start - 1);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && folder.back() == '/') {
        return folder + name;
    }
    return folder + "/" + name;
}

} // namespace Platform
