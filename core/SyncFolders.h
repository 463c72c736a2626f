#pragma once

#include <string>
#include <vector>

// Flushes to stable storage everything written to the file systems that hold
// the given folders: each distinct file system once, whatever the number of
// folders on it (Platform::FlushFileSystems: syncfs on a descriptor of the
// first of its folders on Linux). For the
// end of a batch run, so that its files outlive a power loss without a flush
// per file. A folder that cannot be opened for reading is flushed by a sync
// of every file system instead (once); one that does not exist is skipped.
// Returns the number of file systems flushed (a sync of all counts as one).
// Raises the EInOutError of the first flush that fails (the kernel reports
// write-back errors here: "I/O error 5", 101 "Disk full") after trying all.
int SyncFolders(const std::vector<std::string>& folders);
