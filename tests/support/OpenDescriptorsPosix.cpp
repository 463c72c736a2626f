// OpenDescriptorCount on Linux: the entries of /proc/self/fd.

#include "tests/support/FileBytes.h"

namespace testsupport {

int OpenDescriptorCount()
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}

} // namespace testsupport
