// What this process uses, on Windows: its handle count, which goes up by one for every file left
// open as descriptors do on POSIX systems, and its user and kernel times.

#include "tests/support/FileBytes.h"

#include <windows.h>

namespace testsupport {

int OpenDescriptorCount()
{
    DWORD count = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &count);
    return static_cast<int>(count);
}

double ProcessorTimeMs()
{
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0.0;
    const auto ticks = [](const FILETIME& time) { // 100 ns each
        return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 1e4;
}

} // namespace testsupport
