// What this process uses, on Linux: the entries of /proc/self/fd and the process's CPU clock.

#include "tests/support/FileBytes.h"

#include <ctime>

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

double ProcessorTimeMs()
{
    timespec used{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return 1000.0 * static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e6;
}

} // namespace testsupport
