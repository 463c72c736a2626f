// The kind of a file system on POSIX: the magic number in statfs's f_type (Linux).

#include "core/platform/FileSystemKind.h"

#include <cstdint>
#include <sys/vfs.h>

namespace Platform {

namespace {

// The f_type of the file systems whose files live on another host (linux/magic.h and the
// kernel's fs/*/ sources).
constexpr std::uint32_t NetworkMagics[] = {
    0x6969,     // NFS
    0x517B,     // SMB (smbfs)
    0xFF534D42, // CIFS
    0xFE534D42, // SMB2/3 (cifs.ko's smb3)
    0x5346414F, // AFS (OpenAFS)
    0x6B414653, // AFS (kAFS)
    0x73757245, // Coda
    0x564C,     // NCP (NetWare)
    0x00C36400, // Ceph
};

} // namespace

TFileSystemKind FileSystemKindOf(const std::string& path) noexcept
{
    struct statfs info {};
    if (::statfs(path.c_str(), &info) != 0) {
        return TFileSystemKind::Unknown;
    }
    const auto magic = static_cast<std::uint32_t>(info.f_type);
    for (const std::uint32_t network : NetworkMagics) {
        if (magic == network) {
            return TFileSystemKind::Network;
        }
    }
    return TFileSystemKind::Local;
}

} // namespace Platform
