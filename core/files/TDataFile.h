#pragma once

#include "core/files/FileHandles.h"

#include <cstddef>
#include <string>

// Up to count bytes from the start of the regular file path, fewer when it is
// shorter; "" when it is no regular file or cannot be opened or read. Never
// fails, never waits on a FIFO.
std::string ReadFileStart(const std::string& path, std::size_t count) noexcept;

// A file read and written as raw bytes: a path bound to it and, while it is
// open, one handle of the system's that it owns (core/files/FileHandles.h).
// Every operation raises EInOutError on failure, with the codes of
// IoErrorFromSystem, 100 for a read that finds fewer bytes than
// asked, 101 for a write that stores fewer, and 103 for a read, write or
// close while the file is not open. A failed
// operation leaves the file open (if it was); callers on a failure path use
// CloseQuietly, the destructor closes whatever is still open.
class TDataFile {
public:
    TDataFile() = default;
    ~TDataFile();
    TDataFile(const TDataFile&) = delete;
    TDataFile& operator=(const TDataFile&) = delete;

    // Attaches path and marks the file closed; does not touch the disk. A
    // handle still held is closed quietly.
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

    // Closes the handle.
    void Close();

    // Closes the handle. if any, ignoring errors: for failure paths,
    // where the first error is the one to report.
    void CloseQuietly() noexcept;

    // Binds path and takes over handle, an open handle (which this file
    // closes from then on). For handles opened by other means than the
    // calls above.
    void Attach(const std::string& path, Platform::TFileHandle handle);

    bool IsOpen() const noexcept { return handle_ != Platform::NoFileHandle; }
    // The open handle, Platform::NoFileHandle while closed; still owned by
    // this file.
    Platform::TFileHandle Handle() const noexcept { return handle_; }
    const std::string& FileName() const noexcept { return path_; }

private:
    std::string path_;
    Platform::TFileHandle handle_ = Platform::NoFileHandle;
};
