// File locks on Windows: LockFileEx over the whole file, waiting until it is had.

#include "core/platform/FileLock.h"

#include "core/platform/WindowsWide.h"

#include <windows.h>

namespace Platform {

TFileLock::TFileLock(TFileHandle handle) noexcept : handle_(handle)
{
    OVERLAPPED whole{};
    held_ = ::LockFileEx(Windows::AsHandle(handle_), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole) != 0;
}

TFileLock::~TFileLock()
{
    if (held_) {
        OVERLAPPED whole{};
        ::UnlockFileEx(Windows::AsHandle(handle_), 0, MAXDWORD, MAXDWORD, &whole);
    }
}

} // namespace Platform
