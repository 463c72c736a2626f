// Random bytes on Windows: BCryptGenRandom with the system's preferred generator.

#include "core/platform/RandomBytes.h"

#include <windows.h>

#include <algorithm>
#include <bcrypt.h>
#include <limits>
#include <system_error>

namespace Platform {

void FillRandomBytes(void* buffer, std::size_t count)
{
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (count > 0) {
        const ULONG part = static_cast<ULONG>(std::min<std::size_t>(count, std::numeric_limits<ULONG>::max()));
        const NTSTATUS status = ::BCryptGenRandom(nullptr, bytes, part, BCRYPT_USE_SYSTEM_PREFERRED_RNG);
        if (status < 0) {
            throw std::system_error(static_cast<int>(status), std::system_category(),
                                    "the system's random generator gives no bytes");
        }
        bytes += part;
        count -= part;
    }
}

} // namespace Platform
