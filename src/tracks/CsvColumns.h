#pragma once

#include <cstddef>
#include <string>
#include <vector>

// A column of a CSV track file: where it is, and what its numbers are multiplied by to give
// metres, seconds or degrees.
struct CsvColumn {
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t index = kNone;
    double scale = 1;
    bool magnetic = false; // a direction from magnetic north
    bool found() const { return index != kNone; }
};

// What the columns of a CSV track file hold, told by the names of its header row: case and the
// spaces around them do not count, and a unit may follow the name ("altitude (ft)", "alt_m",
// "Altitude [m]", "time_ms"). Where the name gives no unit, the units row does if the file has
// one (the Garmin G1000 data log's "#yyy-mm-dd, hh:mm:ss, ..., ft msl, ..."). An altitude
// without a unit is in metres, except in the G1000 data log, which logs feet.
struct CsvColumns {
    CsvColumn latitude, longitude, altitude;
    // A number of seconds since 1970, or an ISO 8601 time. With a date column it is the time of
    // day, and with a UTC offset column the local one.
    CsvColumn time, date, utcOffset;
    // Attitude, in degrees. The track stands in for a row's missing heading; a magnetic one is
    // made true with the row's magnetic variation.
    CsvColumn pitch, bank, heading, track, magneticVariation;
    CsvColumn registration;
    // The aircraft's type or title; the number of the track a row belongs to, where one file holds
    // several tracks one after the other.
    CsvColumn aircraft, trackNumber;
};

// `units` is the units row, one field per column, or empty where there is none. `garminLog` says
// the file is the G1000 data log, whose HDG and TRK are magnetic and whose altitudes are in feet.
CsvColumns recogniseCsvColumns(const std::vector<std::string>& names, const std::vector<std::string>& units,
                               bool garminLog);
