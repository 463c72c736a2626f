// The processor count on POSIX: the affinity mask where Linux gives it.

#include "core/platform/Processors.h"

#include <algorithm>
#include <thread>

#if defined(__linux__)
#include <sched.h>
#endif

namespace Platform {

int AvailableProcessorCount() noexcept
{
#if defined(__linux__)
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0) {
        return std::max(1, CPU_COUNT(&set));
    }
#endif
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

} // namespace Platform
