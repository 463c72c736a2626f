// Flushing on Windows: FlushFileBuffers for a file. A volume cannot be flushed without an
// administrator's rights.

#include "core/platform/Flushing.h"

#include <windows.h>

namespace Platform {

void FlushFile(TFileHandle handle, const std::string& name)
{
    if (!::FlushFileBuffers(reinterpret_cast<HANDLE>(handle))) {
        throw ESystemError(static_cast<int>(::GetLastError()), TFileOperation::Write, name);
    }
}

bool FlushesFileSystems() noexcept { return false; }

int FlushFileSystemOf(const std::string&) noexcept { return 0; }

} // namespace Platform
