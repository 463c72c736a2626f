// File status on Windows: GetFileInformationByHandle on a handle opened for its attributes only
// (folders too, through backup semantics), the final path of a handle, and the reparse data of
// symbolic links and junctions.

#include "core/platform/FileStatus.h"

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

} // namespace

std::optional<std::string> ReadLink(const std::string& path)
{
    if (!IsSymbolicLink(path)) {
        return std::nullopt;
    }
    const HANDLE handle = OpenForStatus(path, FILE_FLAG_OPEN_REPARSE_POINT);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::vector<unsigned char> buffer(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
    DWORD got = 0;
    const bool read = ::DeviceIoControl(handle, FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer.data(),
                                        static_cast<DWORD>(buffer.size()), &got, nullptr) != 0;
    ::CloseHandle(handle);
    if (!read || got < sizeof(TReparseData)) {
        return std::nullopt;
    }
    TReparseData data{};
    std::memcpy(&data, buffer.data(), sizeof data);
    std::size_t pathStart = sizeof data;
    if (data.Tag == IO_REPARSE_TAG_SYMLINK) {
        pathStart += sizeof(ULONG); // the flags
    } else if (data.Tag != IO_REPARSE_TAG_MOUNT_POINT) {
        return std::nullopt;
    }
    if (pathStart + data.SubstituteNameOffset + data.SubstituteNameLength > got) {
        return std::nullopt;
    }
    std::wstring name(data.SubstituteNameLength / sizeof(wchar_t), L'\0');
    std::memcpy(name.data(), buffer.data() + pathStart + data.SubstituteNameOffset, data.SubstituteNameLength);
    if (name.empty()) {
        return std::nullopt;
    }
    return Narrow(name);
}

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

bool IsSymbolicLink(const std::string& path) noexcept
{
    try {
        const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    } catch (...) {
        return false;
    }
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
    return Narrow(path);
}

const int LinkLoopError = ERROR_CANT_RESOLVE_FILENAME;

int WriteAccessError(const std::string& path) noexcept
{
    try {
        const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            return 0;
        }
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return Windows::ErrorDirectoryNotSupported;
        }
        return (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? ERROR_ACCESS_DENIED : 0;
    } catch (...) {
        return 0;
    }
}

} // namespace Platform
