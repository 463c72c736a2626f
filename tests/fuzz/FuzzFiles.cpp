#include "FuzzFiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/mman.h>
#include <unistd.h>

std::string BytesAsFile(const std::uint8_t* data, std::size_t size)
{
    static const int handle = ::memfd_create("fuzz-input", MFD_CLOEXEC);
    if (handle < 0 || ::ftruncate(handle, 0) != 0) {
        std::perror("in-memory file");
        std::abort();
    }
    std::size_t done = 0;
    while (done < size) {
        const ssize_t put = ::pwrite(handle, data + done, size - done, static_cast<off_t>(done));
        if (put <= 0) {
            std::perror("in-memory file");
            std::abort();
        }
        done += static_cast<std::size_t>(put);
    }
    return "/proc/self/fd/" + std::to_string(handle);
}

const std::string& ScratchFolder()
{
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "tulvo-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("scratch folder");
            std::abort();
        }
        return pattern;
    }();
    static const bool removedAtExit = [] {
        return std::atexit([] {
                   std::error_code ignored;
                   std::filesystem::remove_all(folder, ignored);
               }) == 0;
    }();
    (void)removedAtExit;
    return folder;
}
