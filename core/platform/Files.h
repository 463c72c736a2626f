#pragma once

#include "core/platform/SystemErrors.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Files as raw bytes: opening, reading, writing, closing, by a handle of the
// system's own. Every path is UTF-8 (converted to UTF-16 for the wide Win32
// calls on Windows). Every call that fails raises ESystemError with the
// system's error number, the operation named there (TFileOperation) and the
// path or name it is given, unless it says otherwise; callers above this
// layer reach these calls through core/files/FileHandles.h, which gives the
// program's errors. Interrupted calls (EINTR) are repeated, never reported.
//
// Files are opened in binary mode on both systems: no byte is translated (no
// CRLF, no end at 0x1A). Handles are not inherited by programs started later
// (close-on-exec on POSIX, not inheritable on Windows).

namespace Platform {

// An open file of the system's own: a file descriptor on POSIX, a HANDLE
// (as an integer) on Windows. NoFileHandle is none on both.
using TFileHandle = std::intptr_t;
inline constexpr TFileHandle NoFileHandle = -1;

// The process's standard input, output and error (never closed by the calls
// below unless asked to).
TFileHandle StandardInput() noexcept;
TFileHandle StandardOutput() noexcept;
TFileHandle StandardError() noexcept;

// Opens the existing file path for reading at position 0, asking for read
// access only (a read-only file or medium reads normally; on Windows others
// may read, write and delete it meanwhile). A folder does not open, on
// either system: POSIX EISDIR, Windows ERROR_DIRECTORY_NOT_SUPPORTED. The
// open waits for what the file is only when mayWait says so (a FIFO's open
// waits for a writer, some devices' for the device); otherwise it never waits
// (POSIX: O_NONBLOCK, taken off again once open, so that reads are the usual
// blocking ones). Opens on Windows never wait. Errors as
// TFileOperation::Open.
TFileHandle OpenForReading(const std::string& path, bool mayWait);

// Opens the existing file path for writing at position 0, keeping its
// contents. Errors as TFileOperation::Open.
TFileHandle OpenForWriting(const std::string& path);

// Creates the file path for writing (mode 0666 less the umask on POSIX), or
// empties an existing one. Errors as TFileOperation::Create.
TFileHandle CreateOrTruncate(const std::string& path);

// Creates the file path for writing only if nothing of that name exists (not
// even a dangling symbolic link). Returns NoFileHandle when the name is
// taken; other errors as TFileOperation::Create.
TFileHandle CreateNew(const std::string& path);

// Opens path for adding at its end, creating it if missing: every write goes
// to the end of the file as it is at that moment (O_APPEND; FILE_APPEND_DATA
// on Windows), so that several processes can add to one file without
// overwriting each other. Errors as TFileOperation::Create.
TFileHandle OpenForAppending(const std::string& path);

// Reads up to count bytes at the current position. Returns how many were
// read, 0 only at the end of the file (or of a pipe whose writers are gone).
// Errors as TFileOperation::Read, naming name.
std::size_t ReadSome(TFileHandle handle, void* buffer, std::size_t count, const std::string& name);

// Writes up to count bytes at the current position (at the end for a file
// opened for appending). Returns how many were written; a return of 0 for a
// non-zero count means nothing could be stored. A write to a regular file of
// at most a few KiB is stored in one piece (one write() call / WriteFile).
// Text to a console shows UTF-8 correctly on both systems (Windows converts
// it for WriteConsoleW). Errors as TFileOperation::Write, naming name.
std::size_t WriteSome(TFileHandle handle, const void* buffer, std::size_t count, const std::string& name);

// Cuts the file off at its current position when it is longer there.
// Errors as TFileOperation::Write.
void TruncateAtPosition(TFileHandle handle, const std::string& name);

// Closes handle. The handle is released even when the close reports an
// error, so it is never closed twice. Errors as TFileOperation::Close (a
// deferred write failure, a full disk on a network file system, for example).
void CloseFile(TFileHandle handle, const std::string& name);

// Closes handle (if it is not NoFileHandle) ignoring any error: for failure
// paths, where the first error is the one to report.
void CloseFileQuietly(TFileHandle handle) noexcept;

// Opens the existing file path for reading and for setting its times (SetModifiedToNow), never
// waiting (a FIFO or device is opened without waiting, and not as a terminal), on POSIX never
// through a symbolic link (O_NOFOLLOW). NoFileHandle when it cannot be opened so. The caller
// checks what kind of file it is (StatusOf). Never fails.
TFileHandle OpenForComparing(const std::string& path) noexcept;

// Brings the modification time of the file open as handle (from OpenForComparing) to now. False
// when the system refuses.
bool SetModifiedToNow(TFileHandle handle) noexcept;

// The names that start with prefix (compared byte for byte) in the folder that folderPrefix names
// as written before a name in it, with its final separator ("" for the current folder: "a/",
// "C:\a\", "C:"), in no order; none when the folder cannot be read. Never fails.
std::vector<std::string> FolderEntryNames(const std::string& folderPrefix, const std::string& prefix) noexcept;

} // namespace Platform
