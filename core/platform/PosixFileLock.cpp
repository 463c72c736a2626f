// File locks on POSIX: flock, which every process that adds to the file
// takes too.

#include "core/platform/FileLock.h"

#include <sys/file.h>

namespace Platform {

TFileLock::TFileLock(TFileHandle handle) noexcept
    : handle_(handle), held_(::flock(static_cast<int>(handle), LOCK_EX) == 0)
{}

TFileLock::~TFileLock()
{
    if (held_) {
        ::flock(static_cast<int>(handle_), LOCK_UN);
    }
}

} // namespace Platform
