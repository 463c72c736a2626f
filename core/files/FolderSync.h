#pragma once

#include <string>
#include <vector>

// Flushes to stable storage everything written to the file systems that hold
// the given folders, each once (Platform::FlushFileSystems, which says what
// each system does), for the end of a batch run, so that its files outlive a
// power loss without a flush per file. Returns the number of file systems
// flushed; raises the EInOutError of the first flush that fails after trying
// all.
int SyncFolders(const std::vector<std::string>& folders);
