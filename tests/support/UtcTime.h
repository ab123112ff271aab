#pragma once

#include <chrono>

// Seconds since 1970 of a UTC date and time, worked out apart from the readers under test.
inline double utc(int year, unsigned month, unsigned day, int hours, int minutes, double seconds) {
    const std::chrono::sys_days date =
        std::chrono::year_month_day{std::chrono::year(year), std::chrono::month(month), std::chrono::day(day)};
    return static_cast<double>(date.time_since_epoch().count()) * 86400 + hours * 3600 + minutes * 60 + seconds;
}
