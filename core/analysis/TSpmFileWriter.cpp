#include "core/analysis/TSpmFileWriter.h"

#include "core/files/FileReplacement.h"

#include <algorithm>

void TSpmFileWriter::Release() noexcept { folders_.clear(); }

void TSpmFileWriter::Write(TDataFile& file, const std::string& spmPath, extended scale, const TBandCodes& codes)
{
    file.CloseQuietly();
    const auto image = SpectrumFileImage(scale, codes);
    const std::string target = ReplacementTarget(spmPath, TReplacementKind::SpectrumFile);
    const std::string folder = FolderOfFile(target);
    const bool firstInFolder = std::find(folders_.begin(), folders_.end(), folder) == folders_.end();
    if (firstInFolder) {
        RemoveReplacementDebris(folder);
    }
    // A kept file still counts among the folders to flush: it may come from a run cut off
    // before its own flush, and its new time has to reach the disk as well. The flush is the
    // batch's, once at its end where the system can flush a file system (SyncFolders).
    ReplaceWithBytes(target, std::string_view(reinterpret_cast<const char*>(image.data()), image.size()),
                     TReplacementKind::SpectrumFile, TFlushing::WhereNoFileSystemFlush, spmPath);
    file.Bind(spmPath);
    if (firstInFolder) {
        folders_.push_back(folder);
    }
}
