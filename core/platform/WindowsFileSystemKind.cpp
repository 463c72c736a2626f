// The kind of a file system on Windows: the type of the drive that holds the path.

#include "core/platform/FileSystemKind.h"

#include "core/platform/WindowsWide.h"

#include <vector>
#include <windows.h>

namespace Platform {

TFileSystemKind FileSystemKindOf(const std::string& path) noexcept
{
    try {
        const std::wstring wide = Windows::Wide(path);
        if (::GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return TFileSystemKind::Unknown;
        }
        // The root of the volume: "C:\", "\\server\share\", or a folder where a volume is mounted.
        std::vector<wchar_t> volume(wide.size() + MAX_PATH + 1);
        if (!::GetVolumePathNameW(wide.c_str(), volume.data(), static_cast<DWORD>(volume.size()))) {
            return TFileSystemKind::Unknown;
        }
        return ::GetDriveTypeW(volume.data()) == DRIVE_REMOTE ? TFileSystemKind::Network : TFileSystemKind::Local;
    } catch (...) {
        return TFileSystemKind::Unknown;
    }
}

} // namespace Platform
