#pragma once

#include <cstdint>

#include "host/hostabi.h"

// The simulator's date and time of day, advancing with simulated time across days, months and
// years of the Gregorian calendar. Seconds keep their fraction; the host record shows whole ones.
class SimDate {
public:
    // `dateTime` must be valid().
    explicit SimDate(const ZHostDateTime& dateTime);

    // A real date (year 1 .. 9999) and time of day.
    static bool valid(const ZHostDateTime& dateTime);

    ZHostDateTime record() const;
    void advance(double seconds);

private:
    int64_t day_ = 0;        // days since 1 January 1970
    double secondOfDay_ = 0; // 0 <= secondOfDay_ < 86400
};
