// File locks on Windows: LockFileEx of the last byte a file offset can name, waiting until it is
// had. No read or write reaches that byte, so the lock orders the lockers and nobody else.

#include "core/platform/FileLock.h"

#include "core/platform/WindowsWide.h"

#include <windows.h>

namespace Platform {

namespace {

// The locked byte: offset 2^63 - 2, the last a signed 64-bit file offset can hold.
OVERLAPPED LockedByte()
{
    OVERLAPPED place{};
    place.Offset = MAXDWORD - 1;
    place.OffsetHigh = 0x7FFFFFFF;
    return place;
}

} // namespace

TFileLock::TFileLock(TFileHandle handle) noexcept : handle_(handle)
{
    OVERLAPPED place = LockedByte();
    held_ = ::LockFileEx(Windows::AsHandle(handle_), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &place) != 0;
}

TFileLock::~TFileLock()
{
    if (held_) {
        OVERLAPPED place = LockedByte();
        ::UnlockFileEx(Windows::AsHandle(handle_), 0, 1, 0, &place);
    }
}

} // namespace Platform
