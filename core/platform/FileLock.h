#pragma once

#include "core/platform/Files.h"

// An exclusive lock on a whole open file, held for the lock's lifetime, for
// processes that add to one file (tulvo-cli's --append report). Advisory on
// POSIX (flock: only those who lock see it); on Windows a LockFileEx of the
// whole file, which others' reads and writes of the locked range also meet.
// Waits until the lock is had. A file system that has no locks leaves the
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
