#pragma once

#include <cstddef>

// Random bytes from the system's cryptographically secure generator, for identities that must
// not repeat on any host.
namespace Platform {

// Fills count bytes at buffer. POSIX: getrandom (Linux), the bytes of /dev/urandom where it is
// missing; Windows: BCryptGenRandom with the system's preferred generator. Raises
// std::system_error when the system gives none (which a working system never does).
void FillRandomBytes(void* buffer, std::size_t count);

} // namespace Platform
