#pragma once

#include "core/platform/Files.h"

#include <string>

// Bringing written data to stable storage, so that files outlive a power
// loss.
namespace Platform {

// Flushes one open file's data and size to the storage. Errors as
// TFileOperation::Write (the system reports deferred write-back errors here:
// POSIX's EIO and ENOSPC, for example).
void FlushFile(TFileHandle handle, const std::string& name);

// True where FlushFileSystemOf flushes file systems (POSIX); false where it cannot (Windows: a
// volume's flush needs an administrator's rights), so that whoever wants a file on storage flushes
// it before it takes its place (see TFlushing in core/files/FileReplacement.h).
bool FlushesFileSystems() noexcept;

// Flushes everything written to the file system that holds folder. POSIX: syncfs on a descriptor
// of folder (Linux); nothing where folder does not exist; where it cannot be opened for reading
// (a folder on the way that may not be searched), or the system has no syncfs, a sync of every
// file system. Windows: nothing (FlushesFileSystems is false). Returns 0, or the system's error
// number of the flush.
int FlushFileSystemOf(const std::string& folder) noexcept;

} // namespace Platform
