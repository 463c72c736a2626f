#pragma once

#include <string>

// What kind of file system holds a file: one of this host's own, or one that other hosts reach
// through a server, where a database's shared-memory locks do not reach across hosts.
namespace Platform {

enum class TFileSystemKind {
    Local,   // a disk of this host (or anything not known to be shared over a network)
    Network, // NFS, SMB/CIFS, AFS, Coda, NCP, Ceph; on Windows a remote drive or a UNC share
    Unknown, // path could not be examined (it does not exist, a folder may not be searched)
};

// The kind of the file system that holds path, an existing file or folder; links are followed.
// POSIX (Linux): statfs's f_type. Windows: GetDriveTypeW of the volume that holds path
// (GetVolumePathNameW), DRIVE_REMOTE for a mapped drive or a UNC share. Never fails.
TFileSystemKind FileSystemKindOf(const std::string& path) noexcept;

} // namespace Platform
