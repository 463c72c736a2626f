#pragma once

#include "core/SpmFile.h"
#include "core/TDataFile.h"

#include <string>
#include <sys/types.h>

// Writes spectrum files so that a file is replaced only by a complete one.
//
// Each file's 732 bytes go to a spare file in the target's folder (a hidden
// ".tulvo-<pid>-<n>.tmp"), which is then swapped with the target in one
// atomic rename. A failure before the swap (EInOutError, for example 101
// "Disk full") removes the spare and leaves the target, or its absence, as
// it was. An existing target that may not be written (read-only) is refused
// with code 5 before anything is written.
//
// Creating a file is by far the dearest step on many file systems, so the
// writer keeps a spare between writes: when a target already existed, the
// swap leaves its old file under the spare's name, and the next write fills
// that file instead of creating one. A spare that is not plainly this
// writer's (another owner, other links to it) is removed instead of reused.
// Release removes the spare; the destructor does too. One writer serves one
// thread.
class TSpmFileWriter {
public:
    TSpmFileWriter() = default;
    ~TSpmFileWriter();
    TSpmFileWriter(const TSpmFileWriter&) = delete;
    TSpmFileWriter& operator=(const TSpmFileWriter&) = delete;

    // Writes scale and codes as the spectrum file spmPath through file,
    // which is closed on every path.
    void Write(TDataFile& file, const std::string& spmPath, extended scale, const TBandCodes& codes);

    // Removes the spare file, if any. Never fails.
    void Release() noexcept;

private:
    void PrepareSpare(TDataFile& file, const std::string& folder);
    void KeepOrDropSpare() noexcept;

    std::string spareFolder_;
    std::string sparePath_;
    mode_t spareMode_ = 0;
    bool haveSpare_ = false;
};
