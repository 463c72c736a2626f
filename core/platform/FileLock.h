#pragma once

#include "core/platform/Files.h"

// An exclusive lock on an open file, held for the lock's lifetime, for
// processes that add to one file (tulvo-cli's --append report). Only those
// who lock see it: flock on POSIX; on Windows a LockFileEx of the file's last
// possible byte, far beyond any data, because Windows' locks also refuse
// others' reads and writes of the locked range, and a lock over the data
// would make another process's plain append fail. Waits until the lock is had. A file system that has no locks leaves the
// file unlocked (Held() false) rather than failing.
namespace Platform {

class TFileLock {
public:
    explicit TFileLock(TFileHandle handle) noexcept;
    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

    bool Held() const noexcept { return held_; }

private:
    TFileHandle handle_;
    bool held_ = false;
};

} // namespace Platform
