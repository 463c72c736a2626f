// The wall clock on POSIX: clock_gettime and localtime_r.

#include "core/platform/WallClock.h"

#include <ctime>

namespace Platform {

std::int64_t UtcNowMs() noexcept
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

int UtcOffsetMinutesAt(std::int64_t utcMs) noexcept
{
    // Whole seconds, rounded down, so that an instant before 1970 falls in its own second.
    const std::int64_t seconds = utcMs >= 0 ? utcMs / 1000 : -((-utcMs + 999) / 1000);
    const auto instant = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (::localtime_r(&instant, &local) == nullptr) {
        return 0;
    }
    return static_cast<int>(local.tm_gmtoff / 60);
}

} // namespace Platform
