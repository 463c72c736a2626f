#pragma once

#include "core/platform/Files.h"

#include <string>
#include <vector>

// Bringing written data to stable storage, so that files outlive a power
// loss.
namespace Platform {

// Flushes one open file's data and size to the storage. Errors as
// TFileOperation::Write (the system reports deferred write-back errors here:
// "I/O error 5" on POSIX's EIO, 101 "Disk full").
void FlushFile(TFileHandle handle, const std::string& name);

// True where FlushFileSystems flushes file systems (POSIX); false where it cannot and only
// counts them (Windows: a volume's flush needs an administrator's rights), so that whoever wants a
// file on storage flushes it before it takes its place (see TFlushing in core/files/FileReplacement.h).
bool FlushesFileSystems() noexcept;

// Flushes everything written to the file systems that hold the given
// folders, each file system once whatever the number of its folders, for the
// end of a batch run. Returns the number of file systems flushed.
// POSIX: syncfs on a descriptor of the first folder of each file system
// (Linux); a folder that cannot be opened for reading is flushed by a sync
// of every file system instead (once, counted as one); a folder that does
// not exist is skipped. Windows: nothing is flushed (FlushesFileSystems is
// false); returns the number of distinct volumes among the existing folders.
// Raises the EInOutError of the first flush that fails, naming its folder,
// after trying all.
int FlushFileSystems(const std::vector<std::string>& folders);

} // namespace Platform
