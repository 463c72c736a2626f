// Flushing on POSIX: fsync for a file; syncfs (Linux) for the file system
// of a folder, sync for all of them where that is not had.

#include "core/platform/Flushing.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace Platform {

void FlushFile(TFileHandle handle, const std::string& name)
{
    if (::fsync(static_cast<int>(handle)) != 0) {
        throw ESystemError(errno, TFileOperation::Write, name);
    }
}

bool FlushesFileSystems() noexcept { return true; }

int FlushFileSystemOf(const std::string& folder) noexcept
{
    const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0 && errno == ENOENT) {
        return 0; // nothing written there
    }
#if defined(__linux__)
    if (handle >= 0) {
        const int error = ::syncfs(handle) != 0 ? errno : 0;
        ::close(handle);
        return error;
    }
#endif
    if (handle >= 0) {
        ::close(handle);
    }
    ::sync();
    return 0;
}

} // namespace Platform
