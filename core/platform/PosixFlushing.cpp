// Flushing on POSIX: fsync for a file; syncfs (Linux) for the file system
// of a folder, sync for all of them where that is not had.

#include "core/platform/Flushing.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

void FlushFile(TFileHandle handle, const std::string& name)
{
    if (::fsync(static_cast<int>(handle)) != 0) {
        throw IoErrorFromSystem(errno, TFileOperation::Write, name);
    }
}

bool FlushesFileSystems() noexcept { return true; }

int FlushFileSystems(const std::vector<std::string>& folders)
{
    std::vector<dev_t> flushed;
    bool syncedAll = false;
    std::exception_ptr firstError;
    for (const std::string& folder : folders) {
        const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (handle < 0) {
            if (errno != ENOENT && !syncedAll) {
                ::sync();
                syncedAll = true;
            }
            continue;
        }
        struct stat info {};
        if (::fstat(handle, &info) == 0 && std::find(flushed.begin(), flushed.end(), info.st_dev) == flushed.end()) {
            flushed.push_back(info.st_dev);
#if defined(__linux__)
            const bool failed = ::syncfs(handle) != 0;
#else
            ::sync();
            const bool failed = false;
#endif
            if (failed && !firstError) {
                firstError = std::make_exception_ptr(IoErrorFromSystem(errno, TFileOperation::Write, folder));
            }
        }
        ::close(handle);
    }
    if (firstError) {
        std::rethrow_exception(firstError);
    }
    return static_cast<int>(flushed.size()) + (syncedAll ? 1 : 0);
}

} // namespace Platform
