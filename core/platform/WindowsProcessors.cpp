// Processors on Windows: those of the process's affinity mask.

#include "core/platform/Processors.h"

#include <bit>
#include <thread>
#include <windows.h>

namespace Platform {

int AvailableProcessorCount() noexcept
{
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system) && process != 0) {
        return std::popcount(static_cast<unsigned long long>(process));
    }
    const unsigned machine = std::thread::hardware_concurrency();
    return machine > 0 ? static_cast<int>(machine) : 1;
}

} // namespace Platform
