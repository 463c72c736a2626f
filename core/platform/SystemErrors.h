#pragma once

#include "core/TulvoErrors.h"

#include <string>

// The system's own error codes, and their meaning to the program.
//
// A system error code is the number the operating system reports a failure
// with: errno on POSIX, GetLastError()'s value on Windows. Each system has ONE
// table (in its SystemErrors implementation) that maps its codes to the
// program's I/O codes and gives the English reason that tulvo-cli prints in
// brackets after the message. Codes the table does not map become "I/O error
// N", N being the system's own code (errno on POSIX, the Windows error code
// on Windows). The reason is never the system's localised text.

// The operation a system error came from; it decides what a missing path
// means (see Platform::IoErrorFromSystem).
enum class TFileOperation { Open, Create, Read, Write, Close, Rename };

namespace Platform {

// The system error code of the calling thread's last failed call (errno on
// POSIX, GetLastError() on Windows).
int LastSystemError() noexcept;

// The I/O error for a system error code, by meaning. Both systems:
//   an empty path:                        3 "Invalid filename";
//   a missing file:                       2 on open when the file's folder
//                                         exists, else 3; always 3 on create
//                                         and rename (only a missing folder
//                                         makes those fail so);
//   a bad name, a missing folder on the
//   way, a name too long:                 3;
//   out of handles (process or system):   4 "Too many open files";
//   refused, read-only medium, a folder
//   where a file was expected, a file in
//   use:                                  5 "File access denied";
//   no space, quota, file too large, on
//   write or close:                       101 "Disk full";
//   anything else:                        "I/O error N".
// POSIX: ENOENT; ENOTDIR, ENAMETOOLONG; EMFILE, ENFILE; EACCES, EPERM, EROFS,
// ETXTBSY, EISDIR; ENOSPC, EDQUOT, EFBIG.
// Windows: ERROR_FILE_NOT_FOUND; ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME,
// ERROR_BAD_PATHNAME, ERROR_DIRECTORY, ERROR_FILENAME_EXCED_RANGE, ...;
// ERROR_TOO_MANY_OPEN_FILES; ERROR_ACCESS_DENIED, ERROR_WRITE_PROTECT,
// ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION; ERROR_DISK_FULL,
// ERROR_HANDLE_DISK_FULL.
// path is the file the operation was on; the error carries it and the code.
EInOutError IoErrorFromSystem(int systemError, TFileOperation operation, const std::string& path);

// The English reason that follows the message of I/O code ioCode in brackets
// when systemError caused it, or "" when it would add nothing: no system
// error (0), or a reason that only repeats the message (a missing file behind
// 2 "File not found", for example). POSIX: the C library's untranslated
// description (strerrordesc_np), "error N" where it has none; the texts of
// the Linux build are exactly glibc's. Windows: the program's own English
// text for the codes its table maps ("the file is open in another program"
// for a sharing or lock violation), "" for any other code.
std::string ReasonForMessage(int ioCode, int systemError);

} // namespace Platform
