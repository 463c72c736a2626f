#include "core/base/Paths.h"

namespace {

bool IsDriveLetter(char c) noexcept { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The length of a Windows path's root.
std::size_t WindowsRootLength(const std::string& path) noexcept
{
    const auto separator = [](char c) { return IsPathSeparator(c, TPathStyle::Windows); };
    const std::size_t size = path.size();
    if (size >= 2 && separator(path[0]) && separator(path[1])) {
        // "\\server\share\" or "\\?\C:\": two parts after the double separator.
        std::size_t end = 2;
        for (int part = 0; part < 2 && end < size; ++part) {
            while (end < size && !separator(path[end])) {
                ++end;
            }
            if (end < size) {
                ++end;
            }
        }
        return end;
    }
    if (size >= 2 && path[1] == ':' && IsDriveLetter(path[0])) {
        return size >= 3 && separator(path[2]) ? 3 : 2;
    }
    return size >= 1 && separator(path[0]) ? 1 : 0;
}

} // namespace

bool IsPathSeparator(char c, TPathStyle style) noexcept
{
    return c == '/' || (style == TPathStyle::Windows && c == '\\');
}

std::size_t PathRootLength(const std::string& path, TPathStyle style) noexcept
{
    if (style == TPathStyle::Windows) {
        return WindowsRootLength(path);
    }
    return !path.empty() && path[0] == '/' ? 1 : 0;
}

std::size_t FileNameStart(const std::string& path, TPathStyle style) noexcept
{
    const auto separator = path.find_last_of(style == TPathStyle::Windows ? "\\/" : "/");
    const std::size_t afterSeparator = separator == std::string::npos ? 0 : separator + 1;
    const std::size_t root = PathRootLength(path, style);
    return afterSeparator > root ? afterSeparator : root;
}

std::string FileNamePart(const std::string& path, TPathStyle style) { return path.substr(FileNameStart(path, style)); }

std::string FolderPrefix(const std::string& path, TPathStyle style)
{
    return path.substr(0, FileNameStart(path, style));
}

std::string FolderPath(const std::string& path, TPathStyle style)
{
    const std::size_t start = FileNameStart(path, style);
    if (start == 0) {
        return ".";
    }
    if (start <= PathRootLength(path, style)) {
        return path.substr(0, start); // the root itself
    }
    return path.substr(0, start - 1);
}

std::string JoinPath(const std::string& folder, const std::string& name, TPathStyle style)
{
    const bool bareDrive = style == TPathStyle::Windows && folder.size() == 2 && PathRootLength(folder, style) == 2;
    if (!folder.empty() && (IsPathSeparator(folder.back(), style) || bareDrive)) {
        return folder + name;
    }
    return folder + "/" + name;
}

std::string UsualPathForm(const std::string& path, TPathStyle style)
{
    if (style != TPathStyle::Windows || (path.rfind("\\\\?\\", 0) != 0 && path.rfind("\\??\\", 0) != 0)) {
        return path;
    }
    const std::string rest = path.substr(4);
    if (rest.size() >= 2 && IsDriveLetter(rest[0]) && rest[1] == ':') {
        return rest;
    }
    if (rest.rfind("UNC\\", 0) == 0) {
        return "\\\\" + rest.substr(4);
    }
    return "\\\\?\\" + rest;
}
