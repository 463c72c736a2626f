// Flushing on Windows: FlushFileBuffers for a file. A volume cannot be flushed without an
// administrator's rights: a batch's end only counts the volumes.

#include "core/platform/Flushing.h"

#include "core/platform/FileStatus.h"

#include <algorithm>
#include <windows.h>

namespace Platform {

void FlushFile(TFileHandle handle, const std::string& name)
{
    if (!::FlushFileBuffers(reinterpret_cast<HANDLE>(handle))) {
        throw IoErrorFromSystem(static_cast<int>(::GetLastError()), TFileOperation::Write, name);
    }
}

bool FlushesFileSystems() noexcept { return false; }

int FlushFileSystems(const std::vector<std::string>& folders)
{
    std::vector<std::uint64_t> volumes;
    for (const std::string& folder : folders) {
        const auto status = StatusOf(folder);
        if (status && std::find(volumes.begin(), volumes.end(), status->Identity.Device) == volumes.end()) {
            volumes.push_back(status->Identity.Device);
        }
    }
    return static_cast<int>(volumes.size());
}

} // namespace Platform
