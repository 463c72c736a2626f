// The wall clock on Windows: GetSystemTimePreciseAsFileTime and the current time zone's rules.

#include "core/platform/WallClock.h"

#include <windows.h>

namespace Platform {

namespace {

// FILETIME counts 100 ns units from 1601-01-01T00:00:00Z.
constexpr std::int64_t UnitsPerMs = 10000;
constexpr std::int64_t UnixEpochUnits = 116444736000000000;

std::int64_t UnitsOf(const FILETIME& time)
{
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

FILETIME FileTimeOf(std::int64_t units)
{
    const auto value = static_cast<std::uint64_t>(units);
    return {static_cast<DWORD>(value & 0xFFFFFFFFu), static_cast<DWORD>(value >> 32)};
}

} // namespace

std::int64_t UtcNowMs() noexcept
{
    FILETIME now{};
    ::GetSystemTimePreciseAsFileTime(&now);
    return (UnitsOf(now) - UnixEpochUnits) / UnitsPerMs;
}

int UtcOffsetMinutesAt(std::int64_t utcMs) noexcept
{
    const std::int64_t units = utcMs * UnitsPerMs + UnixEpochUnits;
    if (units < 0) {
        return 0;
    }
    const FILETIME utcFile = FileTimeOf(units);
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    FILETIME localFile{};
    if (!::FileTimeToSystemTime(&utcFile, &utc) || !::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) ||
        !::SystemTimeToFileTime(&local, &localFile)) {
        return 0;
    }
    return static_cast<int>((UnitsOf(localFile) - units) / (UnitsPerMs * 60000));
}

} // namespace Platform
