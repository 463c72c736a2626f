#include "tests/support/TTempFolder.h"

#include <stdexcept>
#include <stdlib.h>

namespace testsupport {

TTempFolder::TTempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tulvo-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    root_ = pattern;
}

TTempFolder::~TTempFolder()
{
    std::error_code ignored;
    // Folders made read-only by a test must be writable again to be emptied.
    for (auto it = std::filesystem::recursive_directory_iterator(root_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored)) {
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
    }
    std::filesystem::remove_all(root_, ignored);
}

std::string TTempFolder::File(const std::string& name) const { return (root_ / name).string(); }

} // namespace testsupport
