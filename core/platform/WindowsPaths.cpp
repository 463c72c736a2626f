// Paths on Windows: '\' and '/' both separate; a path may start with a drive ("C:", "C:\"), a
// root ("\"), a UNC share ("\\server\share\") or a device path ("\\?\C:\"), which belong to
// the folder part and are never split.

#include "core/platform/Paths.h"

namespace Platform {

namespace {

// The length of path's root: its drive, UNC share or device prefix with the separator after
// it, or the leading separator of a path from the current drive's root; 0 for a relative path.
std::size_t RootLength(const std::string& path) noexcept
{
    const std::size_t size = path.size();
    if (size >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
        // "\\server\share\" or "\\?\C:\": two parts after the double separator.
        std::size_t end = 2;
        for (int part = 0; part < 2 && end < size; ++part) {
            while (end < size && !IsPathSeparator(path[end])) {
                ++end;
            }
            if (end < size) {
                ++end;
            }
        }
        return end;
    }
    if (size >= 2 && path[1] == ':' && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
        return size >= 3 && IsPathSeparator(path[2]) ? 3 : 2;
    }
    return size >= 1 && IsPathSeparator(path[0]) ? 1 : 0;
}

} // namespace

bool IsPathSeparator(char c) noexcept { return c == '\\' || c == '/'; }

std::size_t FileNameStart(const std::string& path) noexcept
{
    const std::size_t root = RootLength(path);
    const auto separator = path.find_last_of("\\/");
    const std::size_t afterSeparator = separator == std::string::npos ? 0 : separator + 1;
    return afterSeparator > root ? afterSeparator : root;
}

std::string FileNamePart(const std::string& path) { return path.substr(FileNameStart(path)); }

std::string FolderPrefix(const std::string& path) { return path.substr(0, FileNameStart(path)); }

std::string FolderPath(const std::string& path)
{
    const std::size_t start = FileNameStart(path);
    if (start == 0) {
        return ".";
    }
    if (start <= RootLength(path)) {
        return path.substr(0, start); // the root itself: "C:\", "C:", "\", "\\server\share\"
    }
    return path.substr(0, start - 1);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && (IsPathSeparator(folder.back()) || (folder.size() == 2 && RootLength(folder) == 2))) {
        return folder + name;
    }
    return folder + "/" + name;
}

} // namespace Platform
