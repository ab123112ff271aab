#include "tracks/AcmiReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "tracks/DecimalText.h"
#include "tracks/IsoTime.h"
#include "tracks/TrackError.h"

namespace {

constexpr std::string_view kFileType = "FileType=text/acmi/tacview";
constexpr std::string_view kFileVersion = "FileVersion=";

constexpr const char* kNotANumber = "a transform component that is not a number";
constexpr const char* kComponentCount = "a transform of neither 3, 5, 6 nor 9 components";
constexpr const char* kNoEarlierValue = "an empty place component with no earlier value";
constexpr const char* kOffTheGlobe = "a place off the globe";
constexpr const char* kBeforeFrames = "a place before the first time frame";
constexpr const char* kMalformedFrame = "a place in a time frame that is not a number of seconds";

bool blank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

std::string_view trimmedEnd(std::string_view text) {
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(0, last == std::string_view::npos ? 0 : last + 1);
}

// "2", "2.1", "2.2": the versions this reader knows; 1.x is another format.
bool versionTwo(std::string_view version) {
    if (version == "2")
        return true;
    if (version.size() < 3 || !version.starts_with("2."))
        return false;
    return std::all_of(version.begin() + 2, version.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The value of `field` when it sets property `name` ("Name=F-16C"); nullopt otherwise.
std::optional<std::string_view> property(std::string_view field, std::string_view name) {
    if (field.size() > name.size() && field[name.size()] == '=' && field.starts_with(name))
        return field.substr(name.size() + 1);
    return std::nullopt;
}

// Whether a Type is an aircraft's: the Air tag, and none of the classes whose objects fly without
// being aircraft (weapons, projectiles, decoys and debris, navigation aids, parachutists).
bool isAircraftType(std::string_view type) {
    constexpr std::string_view kNotAircraft[] = {"Ground", "Sea", "Weapon", "Projectile", "Misc", "Navaid"};
    bool air = false;
    for (std::size_t from = 0; from <= type.size();) {
        const std::size_t plus = std::min(type.find('+', from), type.size());
        const std::string_view tag = type.substr(from, plus - from);
        if (tag == "Air")
            air = true;
        else if (std::find(std::begin(kNotAircraft), std::end(kNotAircraft), tag) != std::end(kNotAircraft))
            return false;
        from = plus + 1;
    }
    return air;
}

// A value of the file in an error message, quoted and cut short: a garbled file's can be long.
std::string quoted(std::string_view value) {
    constexpr std::size_t kLongestShown = 40;
    return "\"" + std::string(value.substr(0, kLongestShown)) +
           (value.size() > kLongestShown ? "...\"" : "\"");
}

// The id of an object as ACMI writes it: hexadecimal, up to 64 bits.
uint64_t objectId(std::string_view text, const std::string& file, uint64_t line) {
    uint64_t id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id, 16);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw TrackError(file, line, "the object id " + quoted(text) + " is not hexadecimal");
    return id;
}

// A global reference whose value is not what it must be.
[[noreturn]] void refuseReference(const std::string& file, uint64_t line, const char* what,
                                  std::string_view value) {
    throw TrackError(file, line, std::string("the ") + what + ": " + quoted(value));
}

double heading(double yaw) {
    double degrees = std::fmod(yaw, 360.0);
    if (degrees < 0)
        degrees += 360;
    return degrees >= 360 ? degrees - 360 : degrees; // -1e-20 + 360 rounds to 360
}

} // namespace

AcmiReader::AcmiReader(std::istream& in, std::string name) : lines_(in, name), name_(std::move(name)) {
    if (!lines_.next() || trimmedEnd(lines_.text()) != kFileType)
        throw TrackError(name_, lines_.number(),
                         "the file does not begin with " + std::string(kFileType) +
                             ": it is no ACMI text file");
    if (!lines_.next() || !lines_.text().starts_with(kFileVersion))
        throw TrackError(name_, lines_.number(),
                         "the second line is not the FileVersion: it is no ACMI text file");
    const std::string_view version = trimmedEnd(std::string_view(lines_.text()).substr(kFileVersion.size()));
    if (!versionTwo(version))
        throw TrackError(name_, lines_.number(),
                         "the file version " + quoted(version) + " is not 2.x: only ACMI 2 text is read");
    findObjects();
}

void AcmiReader::findObjects() {
    std::streamoff frameAt = -1; // the last time frame's line
    uint64_t frameLine = 0;
    while (lines_.next()) {
        const std::string& line = lines_.text();
        if (blank(line) || line.starts_with("//"))
            continue;
        if (line[0] == '#') {
            frameAt = lines_.start();
            frameLine = lines_.number();
            continue;
        }
        if (line[0] == '-') {
            const auto object =
                live_.find(objectId(std::string_view(line).substr(1), name_, lines_.number()));
            if (object != live_.end())
                endObject(object);
            continue;
        }
        const uint64_t id =
            objectId(std::string_view(line).substr(0, line.find(',')), name_, lines_.number());
        splitAcmiFields(line, fields_);
        if (id == 0) {
            readGlobal();
            continue;
        }
        const auto [entry, appears] = live_.try_emplace(id);
        Object& object = entry->second;
        if (appears) {
            object.id = id;
            object.firstLine = lines_.number();
            object.resumeAt = frameAt >= 0 ? frameAt : lines_.start();
            object.resumeLine = frameAt >= 0 ? frameLine : lines_.number();
        }
        for (std::size_t i = 1; i < fields_.size(); ++i) {
            if (property(fields_[i], "T"))
                object.placed = true;
            else if (const auto type = property(fields_[i], "Type"))
                object.aircraftTyped = isAircraftType(*type);
            else if (const auto name = property(fields_[i], "Name"))
                object.name = *name;
            else if (const auto registration = property(fields_[i], "Registration"))
                object.registration = *registration;
        }
    }
    while (!live_.empty())
        endObject(live_.begin());
    std::sort(tracks_.begin(), tracks_.end(),
              [](const Object& a, const Object& b) { return a.firstLine < b.firstLine; });
}

void AcmiReader::readGlobal() {
    for (std::size_t i = 1; i < fields_.size(); ++i) {
        if (const auto text = property(fields_[i], "ReferenceTime")) {
            const auto time = parseIsoTime(*text);
            if (!time)
                refuseReference(name_, lines_.number(), "reference time is not an ISO 8601 time", *text);
            referenceTime_ = *time;
        } else if (const auto longitude = property(fields_[i], "ReferenceLongitude")) {
            const auto degrees = decimalNumber(*longitude);
            if (!degrees || *degrees < -180 || *degrees > 180)
                refuseReference(name_, lines_.number(), "reference longitude is not a longitude in degrees",
                                *longitude);
            referenceLongitude_ = *degrees;
        } else if (const auto latitude = property(fields_[i], "ReferenceLatitude")) {
            const auto degrees = decimalNumber(*latitude);
            if (!degrees || *degrees < -90 || *degrees > 90)
                refuseReference(name_, lines_.number(), "reference latitude is not a latitude in degrees",
                                *latitude);
            referenceLatitude_ = *degrees;
        }
    }
}

void AcmiReader::endObject(std::unordered_map<uint64_t, Object>::iterator object) {
    if (object->second.placed && object->second.aircraftTyped.value_or(true))
        tracks_.push_back(std::move(object->second));
    live_.erase(object);
}

bool AcmiReader::nextTrack() {
    if (track_ >= tracks_.size()) {
        track_ = tracks_.size() + 1;
        inTrack_ = false;
        return false;
    }
    const Object& object = tracks_[track_++];
    lines_.seek(object.resumeAt, object.resumeLine);
    inTrack_ = true;
    frame_ = Frame::None;
    last_.fill(std::nullopt);
    order_.restart();
    return true;
}

std::string AcmiReader::aircraftType() const {
    return track_ > 0 && track_ <= tracks_.size() ? tracks_[track_ - 1].name : std::string();
}

std::string AcmiReader::registration() const {
    return track_ > 0 && track_ <= tracks_.size() ? tracks_[track_ - 1].registration : std::string();
}

bool AcmiReader::next(TrackPoint& point) {
    while (inTrack_ && lines_.next()) {
        const Object& object = tracks_[track_ - 1];
        const std::string& line = lines_.text();
        const uint64_t at = lines_.number();
        if (blank(line) || line.starts_with("//"))
            continue;
        if (line[0] == '#') {
            const auto seconds = decimalNumber(std::string_view(line).substr(1));
            frame_ = seconds ? Frame::Known : Frame::Malformed;
            frameTime_ = referenceTime_ + seconds.value_or(0);
            continue;
        }
        if (line[0] == '-') {
            if (objectId(std::string_view(line).substr(1), name_, at) == object.id && at > object.firstLine)
                break; // removed: its track ends
            continue;
        }
        if (at < object.firstLine ||
            objectId(std::string_view(line).substr(0, line.find(',')), name_, at) != object.id)
            continue;
        splitAcmiFields(line, fields_);
        std::optional<std::string_view> transform;
        for (std::size_t i = 1; i < fields_.size(); ++i)
            if (const auto value = property(fields_[i], "T"))
                transform = value;
        if (!transform)
            continue;
        report_.read();
        std::optional<TrackPoint> found = place(*transform, at);
        if (!found)
            continue;
        if (frame_ != Frame::Known) {
            report_.skipped(frame_ == Frame::None ? kBeforeFrames : kMalformedFrame, at);
            continue;
        }
        if (!order_.keep(frameTime_, report_, at))
            continue;
        found->time = frameTime_;
        point = *found;
        return true;
    }
    inTrack_ = false;
    return false;
}

std::optional<TrackPoint> AcmiReader::place(std::string_view transform, uint64_t line) {
    std::array<std::optional<double>, 9> given; // empty where the component is
    std::size_t count = 0;
    for (std::size_t from = 0; from <= transform.size(); ++count) {
        const std::size_t bar = std::min(transform.find('|', from), transform.size());
        if (count == given.size()) {
            report_.skipped(kComponentCount, line);
            return std::nullopt;
        }
        const std::string_view component = transform.substr(from, bar - from);
        if (!component.empty()) {
            given[count] = decimalNumber(component);
            if (!given[count]) {
                report_.skipped(kNotANumber, line);
                return std::nullopt;
            }
        }
        from = bar + 1;
    }
    if (count != 3 && count != 5 && count != 6 && count != 9) {
        report_.skipped(kComponentCount, line);
        return std::nullopt;
    }
    // Lon|Lat|Alt, then Roll|Pitch|Yaw where there are 6 or 9 (5 are Lon|Lat|Alt|U|V).
    const bool attitude = count == 6 || count == 9;
    std::array<std::optional<double>, 6> values = last_;
    for (std::size_t i = 0; i < (attitude ? 6u : 3u); ++i)
        if (given[i])
            values[i] = given[i];
    if (!values[0] || !values[1] || !values[2]) {
        report_.skipped(kNoEarlierValue, line);
        return std::nullopt;
    }
    double longitude = referenceLongitude_ + *values[0];
    const double latitude = referenceLatitude_ + *values[1];
    if (longitude > 180 && longitude <= 360)
        longitude -= 360;
    else if (longitude < -180 && longitude >= -360)
        longitude += 360;
    if (latitude < -90 || latitude > 90 || longitude < -180 || longitude > 180) {
        report_.skipped(kOffTheGlobe, line);
        return std::nullopt;
    }
    last_ = values;
    TrackPoint point;
    point.latitude = latitude;
    point.longitude = longitude;
    point.altitude = *values[2];
    if (attitude && values[3] && values[4] && values[5]) {
        point.hasAttitude = true;
        point.bank = *values[3];
        point.pitch = *values[4];
        point.heading = heading(*values[5]);
    }
    return point;
}
