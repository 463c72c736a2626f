#pragma once

#include "core/analysis/SpmFile.h"
#include "core/files/TDataFile.h"

#include <string>
#include <vector>

// Writes spectrum files so that a file is replaced only by a complete one,
// and never by writing into a file that anyone else may hold: each file's 732
// bytes replace the target as core/files/FileReplacement.h says for kind
// SpectrumFile (symbolic links written through, a file already holding the
// bytes kept and made newer, an unwritable target refused before anything is
// written, a failure leaving the target as it was). The flush is left to the
// end of the run where the system can flush file systems (SyncFolders), and
// made before each rename where it cannot (TFlushing::WhereNoFileSystemFlush).
//
// Crash debris: the first write into a folder removes the temporaries of
// writers that are gone (RemoveReplacementDebris); those of live writers, in
// this process or another, are left alone.
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
