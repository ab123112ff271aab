#include "tracks/CsvColumns.h"

#include <array>
#include <climits>
#include <numbers>
#include <optional>
#include <string_view>

namespace {

enum class Kind { Angle, Length, Duration, Text };

struct Unit {
    std::string_view word;
    Kind kind;
    double scale;
};

constexpr double kMetresPerFoot = 0.3048;

constexpr Unit kUnits[] = {
    {"ft", Kind::Length, kMetresPerFoot},
    {"feet", Kind::Length, kMetresPerFoot},
    {"foot", Kind::Length, kMetresPerFoot},
    {"m", Kind::Length, 1},
    {"meter", Kind::Length, 1},
    {"meters", Kind::Length, 1},
    {"metre", Kind::Length, 1},
    {"metres", Kind::Length, 1},
    {"s", Kind::Duration, 1},
    {"sec", Kind::Duration, 1},
    {"secs", Kind::Duration, 1},
    {"second", Kind::Duration, 1},
    {"seconds", Kind::Duration, 1},
    {"ms", Kind::Duration, 0.001},
    {"millisecond", Kind::Duration, 0.001},
    {"milliseconds", Kind::Duration, 0.001},
    {"deg", Kind::Angle, 1},
    {"degree", Kind::Angle, 1},
    {"degrees", Kind::Angle, 1},
    {"rad", Kind::Angle, 180 / std::numbers::pi},
    {"radian", Kind::Angle, 180 / std::numbers::pi},
    {"radians", Kind::Angle, 180 / std::numbers::pi},
};

// What a column holds. A full time stands alone; a time of day needs the date column beside it.
enum Quantity {
    kLatitude,
    kLongitude,
    kAltitude,
    kFullTime,
    kTimeOfDay,
    kDate,
    kUtcOffset,
    kPitch,
    kBank,
    kHeading,
    kTrack,
    kMagneticVariation,
    kRegistration,
    kAircraft,
    kTrackNumber,
    kQuantities
};

struct Name {
    std::string_view key; // the name's words without its unit, lower case, one space apart
    Quantity quantity;
    int rank = 0; // where a file names more than one, the lowest rank is taken
    bool magnetic = false;
};

constexpr Name kNames[] = {
    {"latitude", kLatitude},
    {"lat", kLatitude},
    {"longitude", kLongitude},
    {"lon", kLongitude},
    {"lng", kLongitude},
    {"long", kLongitude},
    // Above mean sea level first, then plain altitudes, then the GNSS receiver's.
    {"altmsl", kAltitude, 0},
    {"alt msl", kAltitude, 0},
    {"altitude msl", kAltitude, 0},
    {"altitude", kAltitude, 1},
    {"alt", kAltitude, 1},
    {"ele", kAltitude, 1},
    {"elevation", kAltitude, 1},
    {"altgps", kAltitude, 2},
    {"alt gps", kAltitude, 2},
    {"gps altitude", kAltitude, 2},
    {"timestamp", kFullTime},
    {"datetime", kFullTime},
    {"date time", kFullTime},
    {"utc", kFullTime},
    {"seconds", kFullTime},
    {"unix time", kFullTime},
    {"unixtime", kFullTime},
    {"epoch", kFullTime},
    {"time", kTimeOfDay},
    {"utc time", kTimeOfDay},
    {"time utc", kTimeOfDay},
    {"gps time", kTimeOfDay},
    {"lcl time", kTimeOfDay},
    {"local time", kTimeOfDay},
    {"date", kDate},
    {"utc date", kDate},
    {"date utc", kDate},
    {"gps date", kDate},
    {"lcl date", kDate},
    {"local date", kDate},
    {"utcofst", kUtcOffset},
    {"utc offset", kUtcOffset},
    {"pitch", kPitch},
    {"roll", kBank},
    {"bank", kBank},
    {"true heading", kHeading, 0},
    {"heading true", kHeading, 0},
    {"heading", kHeading, 1},
    {"hdg", kHeading, 1},
    {"magnetic heading", kHeading, 2, true},
    {"heading magnetic", kHeading, 2, true},
    {"mag heading", kHeading, 2, true},
    {"track", kTrack},
    {"trk", kTrack},
    {"course", kTrack},
    {"magvar", kMagneticVariation},
    {"mag var", kMagneticVariation},
    {"magnetic variation", kMagneticVariation},
    {"declination", kMagneticVariation},
    {"registration", kRegistration},
    {"tail", kRegistration},
    {"tail number", kRegistration},
    {"aircraft", kAircraft},
    {"aircraft type", kAircraft},
    {"track number", kTrackNumber},
};

Kind kindOf(Quantity quantity) {
    switch (quantity) {
    case kAltitude:
        return Kind::Length;
    case kFullTime:
    case kTimeOfDay:
        return Kind::Duration;
    case kDate:
    case kUtcOffset:
    case kRegistration:
    case kAircraft:
    case kTrackNumber:
        return Kind::Text;
    default:
        return Kind::Angle;
    }
}

// The words of a name or unit, lower case: "Altitude [m]" is "altitude", "m".
std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> words;
    bool inWord = false;
    for (const char c : text) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        const bool capital = c >= 'A' && c <= 'Z';
        if (!letter && !capital) {
            inWord = false;
            continue;
        }
        if (!inWord)
            words.emplace_back();
        inWord = true;
        words.back().push_back(capital ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return words;
}

const Unit* unitOf(std::string_view word) {
    for (const Unit& unit : kUnits)
        if (unit.word == word)
            return &unit;
    return nullptr;
}

const Name* nameOf(std::string_view key) {
    for (const Name& name : kNames)
        if (name.key == key)
            return &name;
    return nullptr;
}

} // namespace

CsvColumns recogniseCsvColumns(const std::vector<std::string>& names, const std::vector<std::string>& units,
                               bool garminLog) {
    std::array<CsvColumn, kQuantities> found;
    std::array<int, kQuantities> rank;
    rank.fill(INT_MAX);
    for (std::size_t index = 0; index < names.size(); ++index) {
        const std::vector<std::string> nameWords = words(names[index]);
        if (nameWords.empty())
            continue;
        // The first word is always the name's, so that "seconds" names a column.
        std::string key = nameWords[0];
        const Unit* unit = nullptr;
        for (std::size_t i = 1; i < nameWords.size(); ++i) {
            if (const Unit* given = unitOf(nameWords[i]); given && !unit)
                unit = given;
            else
                key += ' ' + nameWords[i];
        }
        const Name* name = nameOf(key);
        if (!name || name->rank >= rank[name->quantity])
            continue;
        const Kind kind = kindOf(name->quantity);
        if (unit && kind != Kind::Text && unit->kind != kind)
            continue; // "altitude (s)" is no altitude
        if (!unit && index < units.size()) {
            for (const std::string& word : words(units[index])) {
                const Unit* given = unitOf(word);
                if (given && given->kind == kind) {
                    unit = given;
                    break;
                }
            }
        }
        CsvColumn column;
        column.index = index;
        column.scale = unit ? unit->scale : kind == Kind::Length && garminLog ? kMetresPerFoot : 1;
        // The G1000 logs the heading and the track as its instruments show them: from magnetic north.
        column.magnetic = name->magnetic || (garminLog && (key == "hdg" || key == "trk"));
        found[name->quantity] = column;
        rank[name->quantity] = name->rank;
    }

    CsvColumns columns;
    columns.latitude = found[kLatitude];
    columns.longitude = found[kLongitude];
    columns.altitude = found[kAltitude];
    if (found[kFullTime].found()) {
        columns.time = found[kFullTime];
    } else if (found[kTimeOfDay].found()) {
        columns.time = found[kTimeOfDay];
        if (found[kDate].found()) {
            columns.date = found[kDate];
            columns.utcOffset = found[kUtcOffset];
        }
    }
    columns.pitch = found[kPitch];
    columns.bank = found[kBank];
    columns.heading = found[kHeading];
    columns.track = found[kTrack];
    columns.magneticVariation = found[kMagneticVariation];
    columns.registration = found[kRegistration];
    columns.aircraft = found[kAircraft];
    columns.trackNumber = found[kTrackNumber];
    return columns;
}
