#include "services/SimDate.h"

#include <cmath>

namespace {

constexpr double kSecondsPerDay = 86400;

bool leapYear(int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int64_t year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1 January 1970 of a civil date, and back (the proleptic Gregorian calendar counted
// in eras of 400 years, which repeat exactly).
int64_t daysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(int64_t days, int64_t& year, int64_t& month, int64_t& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

} // namespace

SimDate::SimDate(const ZHostDateTime& dateTime) {
    const ZHostDateTime d = dateTime;
    day_ = daysFromCivil(d.year, d.month, d.day);
    secondOfDay_ = d.hour * 3600.0 + d.minute * 60.0 + d.second;
}

bool SimDate::valid(const ZHostDateTime& dateTime) {
    const ZHostDateTime d = dateTime;
    return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= daysInMonth(d.year, d.month) && d.hour < 24 && d.minute < 60 && d.second < 60;
}

ZHostDateTime SimDate::record() const {
    int64_t year = 0, month = 0, day = 0;
    civilFromDays(day_, year, month, day);
    const auto second = static_cast<uint32_t>(secondOfDay_);
    ZHostDateTime d{};
    d.year = static_cast<uint16_t>(year);
    d.month = static_cast<uint16_t>(month);
    d.day = static_cast<uint16_t>(day);
    d.hour = static_cast<uint16_t>(second / 3600);
    d.minute = static_cast<uint16_t>(second / 60 % 60);
    d.second = static_cast<uint16_t>(second % 60);
    return d;
}

void SimDate::advance(double seconds) {
    const double total = secondOfDay_ + seconds;
    const double days = std::floor(total / kSecondsPerDay);
    day_ += static_cast<int64_t>(days);
    secondOfDay_ = total - days * kSecondsPerDay;
    // Rounding can leave a whole day in the remainder.
    if (secondOfDay_ >= kSecondsPerDay) {
        secondOfDay_ -= kSecondsPerDay;
        ++day_;
    }
}
