#include "core/files/FolderSync.h"

#include "core/files/ErrorMessages.h"
#include "core/platform/FileStatus.h"
#include "core/platform/Flushing.h"

#include <algorithm>
#include <cstdint>
#include <exception>

int SyncFolders(const std::vector<std::string>& folders)
{
    std::vector<std::uint64_t> fileSystems;
    std::exception_ptr firstError;
    for (const std::string& folder : folders) {
        const auto status = Platform::StatusOf(folder);
        if (status) {
            if (std::find(fileSystems.begin(), fileSystems.end(), status->Identity.Device) != fileSystems.end()) {
                continue;
            }
            fileSystems.push_back(status->Identity.Device);
        }
        // A folder whose file system cannot be told is flushed by itself: not at all when it is
        // gone, else as the system flushes a folder it cannot open.
        if (const int error = Platform::FlushFileSystemOf(folder); error != 0 && !firstError) {
            firstError = std::make_exception_ptr(IoErrorFromSystem(error, TFileOperation::Write, folder));
        }
    }
    if (firstError) {
        std::rethrow_exception(firstError);
    }
    return static_cast<int>(fileSystems.size());
}
