#pragma once

#include "core/files/FileHandles.h"

#include <string>
#include <string_view>

// A handle that data is written to, every write checked: standard output,
// a report, a picture. A failed or short write raises EInOutError naming the
// stream (for example "standard output", code 101 "Disk full" for ENOSPC),
// with the system's error number. Text collects in a buffer that goes out
// when it passes 64 KiB and on Flush, so that large tables cost few writes.
class TOutputStream {
public:
    // Writes to handle, which stays open afterwards (standard output).
    TOutputStream(Platform::TFileHandle handle, std::string name);
    // Opens the file path for writing: created if missing, emptied unless
    // append, where every write goes to the end of the file
    // (OpenForAppending), so that several processes can add to one
    // file.
    TOutputStream(const std::string& path, bool append);
    ~TOutputStream();
    TOutputStream(const TOutputStream&) = delete;
    TOutputStream& operator=(const TOutputStream&) = delete;

    // Adds text to the buffer.
    void Write(std::string_view text);

    // Writes what the buffer holds.
    void Flush();

    // Flush, then text in a single write where the system takes it whole,
    // as it does for a regular file opened for appending: lines of several
    // processes then never mix.
    void WriteWhole(std::string_view text);

    // Flush, then closes the handle if it is this stream's own.
    void Close();

    Platform::TFileHandle Handle() const noexcept { return handle_; }
    const std::string& Name() const noexcept { return name_; }

private:
    void WriteOut(std::string_view text);

    Platform::TFileHandle handle_ = Platform::NoFileHandle;
    bool owned_ = false;
    std::string name_;
    std::string buffer_;
};
