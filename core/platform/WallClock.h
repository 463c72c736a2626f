#pragma once

#include <cstdint>

// The wall clock and the local time's offset from UTC, by the system's time-zone rules (the C++
// library of GCC 12 has no time-zone database).
namespace Platform {

// Now, in milliseconds since 1970-01-01T00:00:00Z, by the system's clock (which may step back).
std::int64_t UtcNowMs() noexcept;

// The offset of this host's local time from UTC at the instant utcMs (milliseconds since
// 1970-01-01T00:00:00Z), in minutes, east positive (Moscow +180, New York -300 or -240). POSIX:
// localtime_r's tm_gmtoff, so TZ is followed; Windows: the current time zone's rules for that
// year (SystemTimeToTzSpecificLocalTime). 0 when the system cannot say. Never fails.
int UtcOffsetMinutesAt(std::int64_t utcMs) noexcept;

} // namespace Platform
