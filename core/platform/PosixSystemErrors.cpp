// System errors on POSIX: errno, translated by one switch.

#include "core/platform/SystemErrors.h"

#include <cerrno>
#include <cstring>

namespace Platform {

int LastSystemError() noexcept { return errno; }

TSystemError TranslateSystemError(int number) noexcept
{
    using C = TErrorCondition;
    switch (number) {
    case ENOENT: return {number, C::NotFound, true};
    case ENOTDIR:
    case ENAMETOOLONG: return {number, C::BadName};
    case EACCES: return {number, C::Denied, true};
    case EPERM:
    case EROFS:
    case EISDIR: return {number, C::Denied};
    case ETXTBSY: return {number, C::InUse};
    case ENOSPC: return {number, C::NoSpace, true};
    case EDQUOT:
    case EFBIG: return {number, C::NoSpace};
    case EMFILE: return {number, C::TooManyOpenFiles, true};
    case ENFILE: return {number, C::TooManyOpenFiles};
    case EEXIST: return {number, C::Exists};
    default: return {number, C::Other};
    }
}

std::string SystemErrorText(int number)
{
    const char* reason = ::strerrordesc_np(number);
    return reason != nullptr ? std::string(reason) : "error " + std::to_string(number);
}

} // namespace Platform
