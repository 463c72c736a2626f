// OpenDescriptorCount on Windows: the handles the process holds, which go up by one for every
// file left open as descriptors do on POSIX systems.

#include "tests/support/FileBytes.h"

#include <windows.h>

namespace testsupport {

int OpenDescriptorCount()
{
    DWORD count = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &count);
    return static_cast<int>(count);
}

} // namespace testsupport
