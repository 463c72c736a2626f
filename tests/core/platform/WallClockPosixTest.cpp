// The local offset from UTC by the system's time-zone rules, east positive, at the instant asked
// and not now: zones given as POSIX TZ rules, which need no time-zone database.

#include "core/platform/WallClock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

TEST(WallClock, UtcOffsetFollowsTheZoneAtTheInstant)
{
    struct TCase {
        const char* Zone;
        std::int64_t UtcMs;
        int OffsetMinutes;
    };
    const TCase cases[] = {
        {"UTC0", 1'796'000'000'000, 0},
        {"MSK-3", 1'796'000'000'000, 180},                   // Moscow, east of Greenwich
        {"IST-5:30", 1'796'000'000'000, 330},                // half an hour
        {"EST5EDT,M3.2.0,M11.1.0", 1'767'225'600'000, -300}, // 2026-01-01, winter
        {"EST5EDT,M3.2.0,M11.1.0", 1'783'000'000'000, -240}, // 2026-07-02, summer
        {"EST5EDT,M3.2.0,M11.1.0", -86'400'000 - 1, -300},   // before 1970
    };
    const char* saved = std::getenv("TZ");
    const std::string before = saved != nullptr ? saved : "";
    for (const TCase& c : cases) {
        ::setenv("TZ", c.Zone, 1);
        ::tzset();
        EXPECT_EQ(Platform::UtcOffsetMinutesAt(c.UtcMs), c.OffsetMinutes) << c.Zone << " at " << c.UtcMs;
    }
    if (saved != nullptr) {
        ::setenv("TZ", before.c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
}

} // namespace
