#pragma once

#include "core/TulvoErrors.h"

#include <cstddef>
#include <string>

// The operation a system error came from; it decides what a missing path
// means (see IoErrorFromErrno).
enum class TFileOperation { Open, Create, Read, Write, Close, Rename };

// The I/O error for an operating-system error number, mapped by meaning:
//   ENOENT: 2 when the file's folder exists (open), else 3; always 3 on create
//           and rename, since only a missing folder makes those fail so;
//   an empty path, ENOTDIR, ENAMETOOLONG: 3;
//   EMFILE, ENFILE: 4;
//   EACCES, EPERM, EROFS, ETXTBSY, EISDIR: 5 (refused, read-only medium, a
//           folder where a file was expected);
//   ENOSPC, EDQUOT, EFBIG on write or close: 101;
//   anything else: "I/O error n" with n the error number.
// path is the file the operation was on; the error carries it and errnum.
EInOutError IoErrorFromErrno(int errnum, TFileOperation operation, const std::string& path);

// What OpenRead accepts. RegularOnly: regular files (through symbolic links
// too); a FIFO, socket or device is refused with code 5 without waiting for
// it. AnyReadable: anything that opens for reading, pipes and devices
// included, read with blocking reads (a FIFO's open waits for a writer).
// A folder is refused with code 5 either way.
enum class TFileKinds { RegularOnly, AnyReadable };

// A file read and written as raw bytes: a path bound to it and,
// while it is open, one descriptor that it owns. Every operation raises
// EInOutError on failure, with the codes of IoErrorFromErrno, 100 for a read
// that finds fewer bytes than asked, 101 for a write that stores fewer, and
// 103 for a read, write or close while the file is not open. A failed
// operation leaves the file open (if it was); callers on a failure path use
// CloseQuietly, the destructor closes whatever is still open.
class TDataFile {
public:
    TDataFile() = default;
    ~TDataFile();
    TDataFile(const TDataFile&) = delete;
    TDataFile& operator=(const TDataFile&) = delete;

    // Attaches path and marks the file closed; does not touch the disk. A
    // descriptor still held is closed quietly.
    void Bind(const std::string& path);

    // Opens the existing file for reading at position 0. Asks for read access
    // only, so a read-only file or medium is read normally. What is not a
    // regular file is refused with code 5 as kinds says (see TFileKinds).
    void OpenRead(TFileKinds kinds = TFileKinds::RegularOnly);

    // Creates the file, or truncates an existing one, for writing at position 0.
    void Create();

    // Opens the existing file for writing at position 0, keeping its
    // contents (see TruncateHere).
    void OpenWrite();

    // Creates the file for writing only if nothing of that name exists yet.
    // Returns false, and stays closed, when the name is taken.
    bool CreateExclusive();

    // Reads exactly count bytes at the current position. On a short read the
    // bytes that were there are at the start of buffer, the rest as it was.
    void ReadExactly(void* buffer, std::size_t count);

    // Writes exactly count bytes at the current position.
    void WriteAll(const void* buffer, std::size_t count);

    // Cuts the file off at the current position, when it is longer.
    void TruncateHere();

    // Closes the descriptor.
    void Close();

    // Closes the descriptor, if any, ignoring errors: for failure paths,
    // where the first error is the one to report.
    void CloseQuietly() noexcept;

    // Binds path and takes over handle, an open descriptor (which this file
    // closes from then on). For descriptors opened by other means than the
    // calls above, e.g. an unnamed temporary file.
    void Attach(const std::string& path, int handle);

    bool IsOpen() const noexcept { return handle_ >= 0; }
    // The open descriptor, -1 while closed; still owned by this file.
    int Handle() const noexcept { return handle_; }
    const std::string& FileName() const noexcept { return path_; }

private:
    int OpenHandle(int flags, TFileOperation operation);

    std::string path_;
    int handle_ = -1;
};
