#include "core/TSpmFileWriter.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// True when spmPath exists. Fails like the creation of spmPath would when it
// exists but may not be written: the rename that replaces it would not ask.
bool WritableTargetExists(const std::string& spmPath)
{
    const int handle = ::open(spmPath.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (handle >= 0) {
        ::close(handle);
        return true;
    }
    if (errno == ENOENT) {
        return false; // a missing folder shows when the spare is created
    }
    throw IoErrorFromErrno(errno, TFileOperation::Create, spmPath);
}

// The folder part of path, with its final '/', or "" for the current folder.
std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NewSpareName(const std::string& folder)
{
    static std::atomic<unsigned> counter{0};
    return folder + ".tulvo-" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1)) + ".tmp";
}

} // namespace

TSpmFileWriter::~TSpmFileWriter()
{
    Release();
}

void TSpmFileWriter::Release() noexcept
{
    if (haveSpare_) {
        ::unlink(sparePath_.c_str());
        haveSpare_ = false;
    }
}

void TSpmFileWriter::PrepareSpare(TDataFile& file, const std::string& folder)
{
    if (haveSpare_ && folder != spareFolder_) {
        Release();
    }
    if (haveSpare_) {
        file.Bind(sparePath_);
        try {
            file.OpenWrite();
            return;
        } catch (const EInOutError&) {
            haveSpare_ = false; // removed behind our back: make a new one
        }
    }
    std::string name;
    do {
        name = NewSpareName(folder);
        file.Bind(name);
    } while (!file.CreateExclusive());
    spareFolder_ = folder;
    sparePath_ = name;
    haveSpare_ = true;
    struct stat info {};
    spareMode_ = ::stat(name.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0644;
}

void TSpmFileWriter::KeepOrDropSpare() noexcept
{
    // The spare now holds the target's old file. Reuse it only when nothing
    // of it could leak into the next target: a plain file of ours with no
    // other name, given back the mode a new file gets.
    struct stat info {};
    const bool reusable = ::lstat(sparePath_.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
                          info.st_nlink == 1 && info.st_uid == ::geteuid() &&
                          ((info.st_mode & 07777) == spareMode_ || ::chmod(sparePath_.c_str(), spareMode_) == 0);
    if (!reusable) {
        Release();
    }
}

void TSpmFileWriter::Write(TDataFile& file, const std::string& spmPath, extended scale,
                                const TBandCodes& codes)
{
    if (spmPath.empty()) {
        throw EInOutError(IoCode::InvalidFilename);
    }
    const auto image = SpectrumFileImage(scale, codes);
    const bool targetExists = WritableTargetExists(spmPath);
    PrepareSpare(file, FolderOf(spmPath));
    try {
        file.WriteAll(image.data(), image.size());
        file.TruncateHere();
        file.Close();
    } catch (...) {
        file.CloseQuietly();
        Release();
        throw;
    }

    if (targetExists) {
        if (::renameat2(AT_FDCWD, sparePath_.c_str(), AT_FDCWD, spmPath.c_str(), RENAME_EXCHANGE) == 0) {
            KeepOrDropSpare();
            file.Bind(spmPath);
            return;
        }
        // Gone meanwhile, or a file system without the exchange: a plain
        // rename replaces it just as atomically.
        if (errno != ENOENT && errno != EINVAL && errno != ENOSYS) {
            const int error = errno;
            Release();
            throw IoErrorFromErrno(error, TFileOperation::Rename, spmPath);
        }
    }
    if (::rename(sparePath_.c_str(), spmPath.c_str()) != 0) {
        const int error = errno;
        Release();
        throw IoErrorFromErrno(error, TFileOperation::Rename, spmPath);
    }
    haveSpare_ = false; // it is the target now
    file.Bind(spmPath);
}
