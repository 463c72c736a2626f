#include "cli/ReplaceFile.h"

#include "core/TDataFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::string TemporaryName(const std::string& path)
{
    static std::atomic<unsigned> counter{0};
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    return folder + ".tulvo-out-" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1)) + ".tmp";
}

// Removes the temporary file unless it was renamed.
class TTemporaryFile {
public:
    explicit TTemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TTemporaryFile()
    {
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;

    const std::string& Path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    std::string path_;
};

} // namespace

void ReplaceFile(const std::string& path, std::string_view bytes)
{
    if (path.empty()) {
        throw EInOutError(IoCode::InvalidFilename);
    }
    // Errors name the target: the temporary file is no concern of the user's.
    try {
        TDataFile file;
        std::string name;
        do {
            name = TemporaryName(path);
            file.Bind(name);
        } while (!file.CreateExclusive());
        TTemporaryFile temporary(name);
        file.WriteAll(bytes.data(), bytes.size());
        file.Close();
        if (::rename(temporary.Path().c_str(), path.c_str()) != 0) {
            throw IoErrorFromErrno(errno, TFileOperation::Rename, path);
        }
        temporary.Keep();
    } catch (const EInOutError& e) {
        throw e.WithPath(path);
    }
}
