#pragma once

#include "core/SpmFile.h"
#include "core/TDataFile.h"

#include <string>
#include <vector>

// Writes spectrum files so that a file is replaced only by a complete one,
// and never by writing into a file that anyone else may hold.
//
// Each file's 732 bytes go to a new temporary file in the target's folder,
// which then replaces the target in one atomic step (see
// core/FileReplacement.h, kind SpectrumFile): the replaced file's other
// names (hard links), and on POSIX its open descriptors, keep its contents as
// they were; on Windows a target held open is refused with code 5. A target
// that is a symbolic link is written through: the file the link leads to is
// replaced in its own folder and the link stays; a link
// that loops or leads into a missing folder fails as an open would, nothing
// written. A target that is a regular file already holding exactly the new
// bytes (a rerun over the same recording) is not replaced: only its
// modification time is brought to now, as a write would. A failure
// (EInOutError, for example 101 "Disk full") removes the temporary and leaves
// the target, or its absence, as it was. An existing target that may not be
// written (read-only) is refused with code 5 before anything is written.
//
// Crash debris: the temporary is held while its writer writes it (POSIX: an
// flock until it has replaced the target), so a temporary that nobody holds
// belongs to a writer that is gone (killed, say). The first write into a folder removes such temporaries;
// those of live writers, in this process or another, are left alone.
//
// One writer serves one thread.
class TSpmFileWriter {
public:
    TSpmFileWriter() = default;
    TSpmFileWriter(const TSpmFileWriter&) = delete;
    TSpmFileWriter& operator=(const TSpmFileWriter&) = delete;

    // Writes scale and codes as the spectrum file spmPath through file,
    // which is closed on every path.
    void Write(TDataFile& file, const std::string& spmPath, extended scale, const TBandCodes& codes);

    // The distinct folders written into since construction or Release, in
    // the order of their first write ("." for the current folder); for a
    // file reached through a symbolic link, the folder of the file the link
    // leads to.
    const std::vector<std::string>& Folders() const noexcept { return folders_; }

    // Ends a series of writes: forgets the folders written into, so that
    // the next write into each looks for debris again. Never fails.
    void Release() noexcept;

private:
    std::vector<std::string> folders_;
};

// Removes from folder the temporaries of spectrum-file writers that are gone:
// regular files named ".tulvo-<digits>-<digits>.tmp" that nobody holds
// (RemoveReplacementDebris). Returns how many were removed.
// Never fails; a folder that cannot be read removes nothing.
int RemoveWriterDebris(const std::string& folder) noexcept;
