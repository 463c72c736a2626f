// The Windows TTempFolder: a folder of a fresh random name under the system's temporary folder
// (the C runtime has no mkdtemp).

#include "tests/support/TTempFolder.h"

#include <random>
#include <stdexcept>

namespace testsupport {

TTempFolder::TTempFolder()
{
    static std::mt19937_64 random{std::random_device{}()};
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = base / ("tulvo-test-" + std::to_string(random() % 1000000000));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            root_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TTempFolder::~TTempFolder()
{
    std::error_code ignored;
    // Files made read-only by a test must be writable again to be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(root_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(root_, ignored);
}

// Joined as UTF-8 text: libstdc++'s std::filesystem::path reads narrow strings in another code
// page than it writes them in on Windows, which garbles names outside ASCII.
std::string TTempFolder::File(const std::string& name) const
{
    const std::u8string root = root_.u8string();
    return std::string(root.begin(), root.end()) + "\\" + name;
}

} // namespace testsupport
