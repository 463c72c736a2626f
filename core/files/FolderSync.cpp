#include "core/files/FolderSync.h"

#include "core/platform/Flushing.h"

int SyncFolders(const std::vector<std::string>& folders) { return Platform::FlushFileSystems(folders); }
