// The local time: the machine's clock, or a fixed time of the headless backend.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

#include "winsys/HeadlessScript.h"
#include "winsys/LocalTime.h"

namespace {

using namespace std::chrono;

// The calendar fields as one point of local time.
local_time<milliseconds> pointOf(const win::SYSTEMTIME& t) {
    const local_days date{year(t.wYear) / month(t.wMonth) / day(t.wDay)};
    return date + hours(t.wHour) + minutes(t.wMinute) + seconds(t.wSecond) + milliseconds(t.wMilliseconds);
}

// A reading of the system clock moved by the zone's offset from UTC at that time.
local_time<milliseconds> localNow() {
    const auto now = floor<milliseconds>(system_clock::now());
    const std::time_t whole = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&whole, &local);
    return local_time<milliseconds>(now.time_since_epoch() + seconds(local.tm_gmtoff));
}

win::SYSTEMTIME localTime() {
    win::SYSTEMTIME time;
    win::GetLocalTime(time);
    return time;
}

TEST(WinsysLocalTimeTest, TheMachinesClockIsReadToTheMillisecond) {
    win::headless::reset();
    const local_time<milliseconds> before = localNow();
    const win::SYSTEMTIME time = localTime();
    const local_time<milliseconds> after = localNow();
    EXPECT_LE(before, pointOf(time));
    EXPECT_GE(after, pointOf(time));
    EXPECT_EQ(weekday(floor<days>(pointOf(time))).c_encoding(), time.wDayOfWeek);
}

TEST(WinsysLocalTimeTest, AFixedTimeHoldsUntilReleasedOrReset) {
    win::headless::reset();
    const win::SYSTEMTIME fixed{2001, 2, 3, 27, 23, 59, 58, 999};
    win::headless::setLocalTime(fixed);
    EXPECT_EQ(fixed, localTime());
    EXPECT_EQ(fixed, localTime()) << "a fixed clock does not run";

    win::headless::setLocalTime(std::nullopt);
    EXPECT_NE(2001, localTime().wYear);

    win::headless::setLocalTime(fixed);
    win::headless::reset();
    EXPECT_NE(2001, localTime().wYear);
}

} // namespace
