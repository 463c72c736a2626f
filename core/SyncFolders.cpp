#include "core/SyncFolders.h"

#include "core/TDataFile.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int SyncFolders(const std::vector<std::string>& folders)
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
            if (::syncfs(handle) != 0 && !firstError) {
                firstError = std::make_exception_ptr(IoErrorFromErrno(errno, TFileOperation::Write, folder));
            }
        }
        ::close(handle);
    }
    if (firstError) {
        std::rethrow_exception(firstError);
    }
    return static_cast<int>(flushed.size()) + (syncedAll ? 1 : 0);
}
