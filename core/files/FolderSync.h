#pragma once

#include <string>
#include <vector>

// Flushes to stable storage everything written to the file systems that hold the given folders,
// for the end of a batch run, so that its files outlive a power loss without a flush per file:
// each file system once (told by its folders' Platform::TFileIdentity::Device) through the first
// of its folders (Platform::FlushFileSystemOf, which says what each system does; Windows flushes
// nothing). A folder that cannot be examined is flushed by itself (nothing when it does not exist)
// and not counted. Returns the number of file systems among the folders; raises the EInOutError
// of the first flush that fails, naming its folder, after trying all.
int SyncFolders(const std::vector<std::string>& folders);
