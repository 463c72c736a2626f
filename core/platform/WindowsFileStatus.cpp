// File status on Windows: GetFileInformationByHandle on a handle opened for its attributes only
// (folders too, through backup semantics), the final path of a handle, and the reparse data of
// symbolic links and junctions.

#include "core/platform/FileStatus.h"

#include "core/platform/Paths.h"
#include "core/platform/WindowsWide.h"

#include <cstring>
#include <vector>
#include <windows.h>
#include <winioctl.h>

namespace Platform {

using Windows::AsHandle;
using Windows::FromHandle;
using Windows::Narrow;
using Windows::Wide;

namespace {

// Links followed at most, as POSIX's limit.
constexpr int MaxLinkDepth = 40;

// Seconds from 1601-01-01 (FILETIME's epoch) to 1970-01-01, so that times count from the same
// epoch as on POSIX.
constexpr std::int64_t EpochDifference = 11644473600;

// Opens path for its attributes only, following links; folders included.
HANDLE OpenForStatus(const std::string& path, DWORD flags = 0) noexcept
{
    return ::CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

// The reparse data of a symbolic link or junction (the layout of the system's
// REPARSE_DATA_BUFFER, which only the driver kit's headers declare).
struct TReparseData {
    ULONG Tag;
    USHORT DataLength;
    USHORT Reserved;
    USHORT SubstituteNameOffset;
    USHORT SubstituteNameLength;
    USHORT PrintNameOffset;
    USHORT PrintNameLength;
};
constexpr ULONG RelativeSymbolicLink = 1;

// The target a symbolic link or junction at path names, as written in it; false when path is
// no link (or not readable as one). relative tells a link relative to its own folder.
bool ReadLink(const std::string& path, std::string& target, bool& relative)
{
    const HANDLE handle = OpenForStatus(path, FILE_FLAG_OPEN_REPARSE_POINT);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::vector<unsigned char> buffer(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
    DWORD got = 0;
    const bool read = ::DeviceIoControl(handle, FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer.data(),
                                        static_cast<DWORD>(buffer.size()), &got, nullptr) != 0;
    ::CloseHandle(handle);
    if (!read || got < sizeof(TReparseData)) {
        return false;
    }
    TReparseData data{};
    std::memcpy(&data, buffer.data(), sizeof data);
    std::size_t pathStart = sizeof data;
    if (data.Tag == IO_REPARSE_TAG_SYMLINK) {
        ULONG flags = 0;
        std::memcpy(&flags, buffer.data() + sizeof data, sizeof flags);
        relative = (flags & RelativeSymbolicLink) != 0;
        pathStart += sizeof flags;
    } else if (data.Tag == IO_REPARSE_TAG_MOUNT_POINT) {
        relative = false;
    } else {
        return false;
    }
    if (pathStart + data.SubstituteNameOffset + data.SubstituteNameLength > got) {
        return false;
    }
    std::wstring name(data.SubstituteNameLength / sizeof(wchar_t), L'\0');
    std::memcpy(name.data(), buffer.data() + pathStart + data.SubstituteNameOffset, data.SubstituteNameLength);
    // An absolute target is an NT path: "\??\C:\..." or "\??\UNC\server\share\...".
    if (name.rfind(L"\\??\\UNC\\", 0) == 0) {
        name = L"\\\\" + name.substr(8);
    } else if (name.rfind(L"\\??\\", 0) == 0) {
        name = name.substr(4);
    }
    target = Narrow(name);
    return !target.empty();
}

bool IsAbsolute(const std::string& path)
{
    return (!path.empty() && IsPathSeparator(path[0])) || (path.size() >= 2 && path[1] == ':');
}

} // namespace

std::optional<TFileStatus> StatusOf(const std::string& path) noexcept
{
    try {
        const HANDLE handle = OpenForStatus(path);
        if (handle == INVALID_HANDLE_VALUE) {
            return std::nullopt;
        }
        auto status = StatusOf(FromHandle(handle));
        ::CloseHandle(handle);
        return status;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<TFileStatus> StatusOf(TFileHandle handle) noexcept
{
    TFileStatus status;
    if (::GetFileType(AsHandle(handle)) != FILE_TYPE_DISK) {
        // A console, device or pipe: no size, time or file index; told apart by its handle.
        status.Identity = {~std::uint64_t{0}, static_cast<std::uint64_t>(handle)};
        return status;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(AsHandle(handle), &info)) {
        return std::nullopt;
    }
    status.Folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    status.Regular = !status.Folder;
    if (status.Regular) {
        status.Size = static_cast<std::int64_t>((std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow);
    }
    const std::int64_t ticks = static_cast<std::int64_t>((std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                                         info.ftLastWriteTime.dwLowDateTime);
    status.Modified = {ticks / 10000000 - EpochDifference, static_cast<std::int32_t>(ticks % 10000000) * 100};
    status.Identity = {info.dwVolumeSerialNumber,
                       (std::uint64_t{info.nFileIndexHigh} << 32) | std::uint64_t{info.nFileIndexLow}};
    return status;
}

bool SameExistingFile(const std::string& a, const std::string& b) noexcept
{
    const auto statusA = StatusOf(a);
    const auto statusB = StatusOf(b);
    return statusA && statusB && statusA->Identity == statusB->Identity;
}

std::optional<std::string> CanonicalFolder(const std::string& folder)
{
    const HANDLE handle = OpenForStatus(folder);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    if (length >= path.size()) {
        path.resize(length + 1);
        length = ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    }
    ::CloseHandle(handle);
    if (length == 0 || length >= path.size()) {
        return std::nullopt;
    }
    path.resize(length);
    // "\\?\C:\..." and "\\?\UNC\server\share\..." in their usual forms.
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        path = L"\\\\" + path.substr(8);
    } else if (path.rfind(L"\\\\?\\", 0) == 0) {
        path = path.substr(4);
    }
    return Narrow(path);
}

std::string FollowLinks(std::string path)
{
    for (int depth = 0; depth < MaxLinkDepth; ++depth) {
        const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
            return path;
        }
        std::string target;
        bool relative = false;
        if (!ReadLink(path, target, relative)) {
            return path;
        }
        path = relative || !IsAbsolute(target) ? JoinPath(FolderPath(path), target) : target;
    }
    return path;
}

} // namespace Platform
