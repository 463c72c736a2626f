// System errors on POSIX: errno, translated by one switch.

#include "core/platform/SystemErrors.h"

#include <cerrno>
#include <cstring>

namespace Platform {

TSystemError TranslateSystemError(int number) noexcept
{
    using C = TErrorCondition;
    switch (number) {
    case ENOENT: return {C::NotFound, true};
    case ENOTDIR:
    case ENAMETOOLONG: return {C::BadName};
    case EACCES: return {C::Denied, true};
    case EPERM:
    case EROFS:
    case EISDIR: return {C::Denied};
    case ETXTBSY: return {C::InUse};
    case ENOSPC: return {C::NoSpace, true};
    case EDQUOT:
    case EFBIG: return {C::NoSpace};
    case EMFILE: return {C::TooManyOpenFiles, true};
    case ENFILE: return {C::TooManyOpenFiles};
    case EEXIST: return {C::Exists};
    default: return {C::Other};
    }
}

std::string SystemErrorText(int number)
{
    const char* reason = ::strerrordesc_np(number);
    return reason != nullptr ? std::string(reason) : "error " + std::to_string(number);
}

} // namespace Platform
