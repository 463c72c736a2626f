// Random bytes on POSIX: getrandom, else /dev/urandom.

#include "core/platform/RandomBytes.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/random.h>
#include <system_error>
#include <unistd.h>

namespace Platform {

namespace {

[[noreturn]] void Fail(int number)
{
    throw std::system_error(number, std::generic_category(), "the system's random generator gives no bytes");
}

// For kernels older than getrandom (Linux 3.17).
void FillFromUrandom(unsigned char* bytes, std::size_t count)
{
    const int descriptor = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        Fail(errno);
    }
    while (count > 0) {
        const ssize_t got = ::read(descriptor, bytes, count);
        if (got <= 0) {
            if (got < 0 && errno == EINTR) {
                continue;
            }
            const int number = got < 0 ? errno : EIO;
            ::close(descriptor);
            Fail(number);
        }
        bytes += got;
        count -= static_cast<std::size_t>(got);
    }
    ::close(descriptor);
}

} // namespace

void FillRandomBytes(void* buffer, std::size_t count)
{
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (count > 0) {
        const ssize_t got = ::getrandom(bytes, count, 0);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (errno == ENOSYS) {
                FillFromUrandom(bytes, count);
                return;
            }
            Fail(errno);
        }
        bytes += got;
        count -= static_cast<std::size_t>(got);
    }
}

} // namespace Platform
