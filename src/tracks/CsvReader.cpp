#include "tracks/CsvReader.h"

#include <algorithm>
#include <cmath>

#include "tracks/CsvLine.h"
#include "tracks/DecimalText.h"
#include "tracks/IsoTime.h"
#include "tracks/TrackError.h"

namespace {

constexpr std::size_t kLongestLine = 64 * 1024;
// The times ISO 8601 writes with four-digit years, 0000-01-01 up to 10000-01-01, in seconds since
// 1970: a number of seconds beyond them is no time of a flight either.
constexpr double kEarliestTime = -62167219200;
constexpr double kLatestTime = 253402300800;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kGarminFirstLine = "#airframe_info";

bool isBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

bool isComment(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    return first != std::string_view::npos && line[first] == '#';
}

// The name in airframe_name="Cessna T182T" of the G1000 log's first line.
std::string airframeName(std::string_view line) {
    constexpr std::string_view kKey = "airframe_name=\"";
    const std::size_t key = line.find(kKey);
    if (key == std::string_view::npos)
        return {};
    const std::size_t from = key + kKey.size();
    const std::size_t end = line.find('"', from);
    return std::string(line.substr(from, end == std::string_view::npos ? end : end - from));
}

bool looksLikeData(const std::string& field) {
    return decimalNumber(field) || parseIsoTime(field);
}

} // namespace

CsvReader::CsvReader(std::istream& in, std::string name) : in_(in), name_(std::move(name)) {
    std::string unitsRow; // the last comment before the header
    bool garminLog = false;
    bool header = false;
    while (readLine()) {
        if (lineNumber_ == 1 && line_.starts_with(kByteOrderMark))
            line_.erase(0, kByteOrderMark.size());
        if (lineNumber_ == 1 && line_.starts_with(kGarminFirstLine)) {
            garminLog = true;
            aircraftType_ = airframeName(line_);
        }
        if (isComment(line_)) {
            unitsRow = line_;
        } else if (!isBlank(line_)) {
            header = true;
            break;
        }
    }
    if (!header && lineNumber_ > 0 && !unitsRow.empty())
        throw TrackError(name_, lineNumber_, "the file has no header row naming its columns");
    if (!header)
        throw TrackError(name_, 1, "the file is empty");

    separator_ = csvSeparator(line_);
    std::vector<std::string> names, units;
    splitCsvLine(line_, separator_, names);
    if (!unitsRow.empty()) {
        splitCsvLine(std::string_view(unitsRow).substr(unitsRow.find('#') + 1), separator_, units);
        if (units.size() != names.size())
            units.clear(); // a comment, not the units of these columns
    }
    columns_ = recogniseCsvColumns(names, units, garminLog);
    const char* missing = !columns_.latitude.found()    ? "latitude"
                          : !columns_.longitude.found() ? "longitude"
                          : !columns_.altitude.found()  ? "altitude"
                          : !columns_.time.found()      ? "time"
                                                        : nullptr;
    if (missing && std::any_of(names.begin(), names.end(), looksLikeData))
        throw TrackError(name_, lineNumber_, "the file has no header row naming its columns");
    if (missing)
        throw TrackError(name_, lineNumber_, std::string("the header names no ") + missing + " column");
    for (const CsvColumn* column : {&columns_.latitude, &columns_.longitude, &columns_.altitude,
                                    &columns_.time, &columns_.date, &columns_.utcOffset})
        if (column->found())
            fieldsNeeded_ = std::max(fieldsNeeded_, column->index + 1);

    pending_ = readRow();
    if (pending_)
        takeTrackNames();
}

void CsvReader::takeTrackNames() {
    splitCsvLine(line_, separator_, fields_);
    registration_ = field(columns_.registration);
    if (columns_.aircraft.found())
        aircraftType_ = field(columns_.aircraft);
    trackNumber_ = field(columns_.trackNumber);
}

bool CsvReader::readLine() {
    std::streambuf* buffer = in_.rdbuf();
    using Traits = std::char_traits<char>;
    Traits::int_type c = buffer != nullptr ? buffer->sbumpc() : Traits::eof();
    if (Traits::eq_int_type(c, Traits::eof()))
        return false;
    ++lineNumber_;
    line_.clear();
    const auto tooLong = [&] {
        return TrackError(name_, lineNumber_,
                          "the line is longer than " + std::to_string(kLongestLine) + " characters");
    };
    for (; !Traits::eq_int_type(c, Traits::eof()) && c != '\n'; c = buffer->sbumpc()) {
        if (line_.size() > kLongestLine) // one more for a CR
            throw tooLong();
        line_.push_back(Traits::to_char_type(c));
    }
    if (!line_.empty() && line_.back() == '\r')
        line_.pop_back();
    if (line_.size() > kLongestLine)
        throw tooLong();
    return true;
}

bool CsvReader::readRow() {
    while (readLine())
        if (!isBlank(line_) && !isComment(line_))
            return true;
    return false;
}

bool CsvReader::nextTrack() {
    // What is left of a track the caller did not read to its end.
    for (TrackPoint skipped; trackGiven_ && !nextTrackPending_ && next(skipped);) {
    }
    const bool more = !trackGiven_ || nextTrackPending_;
    if (nextTrackPending_) {
        takeTrackNames();
        order_.restart();
    }
    trackGiven_ = true;
    nextTrackPending_ = false;
    return more;
}

bool CsvReader::next(TrackPoint& point) {
    while (!nextTrackPending_ && (pending_ || readRow())) {
        pending_ = false;
        splitCsvLine(line_, separator_, fields_);
        if (field(columns_.trackNumber) != trackNumber_) {
            // The first row of the next track.
            pending_ = nextTrackPending_ = true;
            return false;
        }
        if (registration_.empty())
            registration_ = field(columns_.registration);
        report_.read();
        const char* refusal = "";
        std::optional<TrackPoint> found = pointOfRow(refusal);
        if (!found) {
            report_.skipped(refusal, lineNumber_);
            continue;
        }
        if (!order_.keep(found->time, report_, lineNumber_))
            continue;
        point = *found;
        return true;
    }
    return false;
}

std::string_view CsvReader::field(const CsvColumn& column) const {
    return column.found() && column.index < fields_.size() ? std::string_view(fields_[column.index])
                                                           : std::string_view();
}

std::optional<double> CsvReader::number(const CsvColumn& column) const {
    const std::string_view text = field(column);
    std::optional<double> value;
    if (separator_ != ',' && text.find(',') != std::string_view::npos) {
        std::string decimalPoint(text); // "47,5": the decimal comma of a semicolon-separated file
        std::replace(decimalPoint.begin(), decimalPoint.end(), ',', '.');
        value = decimalNumber(decimalPoint);
    } else {
        value = decimalNumber(text);
    }
    if (!value || !std::isfinite(*value * column.scale))
        return std::nullopt;
    return *value * column.scale;
}

std::optional<TrackPoint> CsvReader::pointOfRow(const char*& refusal) const {
    if (fields_.size() < fieldsNeeded_) {
        refusal = "too few fields";
        return std::nullopt;
    }
    if (field(columns_.latitude).empty() || field(columns_.longitude).empty()) {
        refusal = "no latitude or longitude (no GPS fix)";
        return std::nullopt;
    }
    const auto latitude = number(columns_.latitude), longitude = number(columns_.longitude);
    if (!latitude || !longitude) {
        refusal = "the latitude or longitude is not a number";
        return std::nullopt;
    }
    if (*latitude < -90 || *latitude > 90 || *longitude < -180 || *longitude > 180) {
        refusal = "the place is off the globe";
        return std::nullopt;
    }
    const std::optional<double> time = timeOfRow(refusal);
    if (!time)
        return std::nullopt;
    if (field(columns_.altitude).empty()) {
        refusal = "no altitude";
        return std::nullopt;
    }
    const auto altitude = number(columns_.altitude);
    if (!altitude) {
        refusal = "the altitude is not a number";
        return std::nullopt;
    }
    TrackPoint point;
    point.time = *time;
    point.latitude = *latitude;
    point.longitude = *longitude;
    point.altitude = *altitude;
    addAttitude(point);
    return point;
}

std::optional<double> CsvReader::timeOfRow(const char*& refusal) const {
    const std::string_view text = field(columns_.time);
    std::optional<double> time;
    if (columns_.date.found()) {
        // Local date and time and their offset from UTC, as ISO 8601 writes them together.
        const std::string_view date = field(columns_.date), offset = field(columns_.utcOffset);
        if (text.empty() || date.empty() || (columns_.utcOffset.found() && offset.empty())) {
            refusal = "no time";
            return std::nullopt;
        }
        std::string written(date);
        written.append(1, 'T').append(text).append(offset);
        time = parseIsoTime(written);
    } else if (text.empty()) {
        refusal = "no time";
        return std::nullopt;
    } else if (const auto seconds = number(columns_.time)) {
        if (*seconds >= kEarliestTime && *seconds < kLatestTime)
            time = seconds;
    } else {
        time = parseIsoTime(text);
    }
    if (!time)
        refusal = "the time is not understood";
    return time;
}

void CsvReader::addAttitude(TrackPoint& point) const {
    const CsvColumn& direction = field(columns_.heading).empty() ? columns_.track : columns_.heading;
    const auto pitch = number(columns_.pitch), bank = number(columns_.bank);
    auto heading = number(direction);
    if (!pitch || !bank || !heading || std::abs(*pitch) > 90 || std::abs(*bank) > 180)
        return;
    if (direction.magnetic) {
        // The variation is east positive, as the G1000 logs it: +11.6 over Utah, where the
        // variation is 11.6° E and the bearing between its fixes is the logged TRK + MagVar.
        const auto variation = number(columns_.magneticVariation);
        if (!variation || std::abs(*variation) > 180)
            return; // no true heading without it: the attitude is then worked out from the path
        *heading += *variation;
    }
    double degrees = std::fmod(*heading, 360.0);
    if (degrees < 0)
        degrees += 360;
    point.hasAttitude = true;
    point.pitch = *pitch;
    point.bank = *bank;
    point.heading = degrees < 360 ? degrees : 0; // a tiny negative heading rounds up to 360
}
