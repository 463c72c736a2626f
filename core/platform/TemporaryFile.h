#pragma once

#include "core/platform/Files.h"

#include <string>

// The system's part of replacing a file by a whole new one (the policy is core/files/FileReplacement.h):
// a new file, written whole before it takes another file's name in the same folder.
//
// Hidden: the caller's name starts with '.'; on Windows the file also has the hidden attribute
// until CloseForWriting. Held: RemoveUnheldFile refuses the file while its holder lives, so that
// a sweep tells a gone writer's temporary from a live one's. POSIX: an exclusive flock, taken
// before the file has a name (unnamed) or right after its creation, and kept on a second
// descriptor until the object goes. Windows: every temporary, held or not, is open without
// delete sharing until CloseForWriting (others may read it, never delete or rename it); the hold
// ends there, because the rename that follows needs the file closed.
namespace Platform {

class TTemporaryFile {
public:
    TTemporaryFile() = default;
    // Closes what is still open, removes the file's own name if it still has one, and ends the
    // hold.
    ~TTemporaryFile();
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;

    // Creates the new file path for writing (POSIX: mode 0666 less the umask), held when held
    // says so. Returns 0, or the system's error number: of condition Exists when the name is
    // taken or was taken away again before the hold was had (a sweep's).
    int CreateNamed(const std::string& path, bool held);

    // Creates an unnamed, held file in folder (Linux: O_TMPFILE). Returns false, creating
    // nothing, where none is made: the system or the file system has no unnamed files (always on
    // Windows), or the creation fails (a named file in folder then meets the same error).
    bool CreateUnnamed(const std::string& folder) noexcept;

    // The handle to write through, until CloseForWriting.
    TFileHandle Handle() const noexcept { return handle_; }

    // The file's own name; "" while it is unnamed and once it has taken another file's name.
    const std::string& Name() const noexcept { return name_; }

    // Closes the handle written through, so that a deferred write error shows before the file
    // takes its place. Returns 0, or the system's error number of the close.
    int CloseForWriting() noexcept;

    // Gives the unnamed file the name path: as its own (Name()) when own says so, else as the
    // place where it stays. Returns 0, or the system error (Exists: the name is taken).
    int Link(const std::string& path, bool own);

    // The named file takes the name target in one step, replacing what had it (POSIX rename;
    // Windows MoveFileExW, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH). Returns 0, or the
    // system error: on Windows a target that another program holds open gives
    // ERROR_SHARING_VIOLATION whatever the system said (access denied).
    int RenameOver(const std::string& target);

private:
    TFileHandle handle_ = NoFileHandle;
    TFileHandle hold_ = NoFileHandle; // POSIX: the descriptor that keeps the flock
    std::string name_;
};

// Removes the regular file path (not a folder, link or anything else) unless a live holder holds
// it (TTemporaryFile). Returns true when it was removed. POSIX: only while this call holds the
// file's flock and the name still leads to the file locked. Windows: a held file refuses its
// deletion. Never fails.
bool RemoveUnheldFile(const std::string& path) noexcept;

} // namespace Platform
