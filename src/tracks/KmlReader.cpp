#include "tracks/KmlReader.h"

#include <cmath>

#include "tracks/DecimalText.h"
#include "tracks/IsoTime.h"

namespace {} // namespace

KmlReader::Numbers KmlReader::numbersOf(std::string_view text, char separator) {
    Numbers numbers;
    while (!text.empty() && numbers.valid) {
        const std::size_t end = separator == ' ' ? text.find_first_of(" \t\r\n") : text.find(separator);
        const std::string_view field = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (separator == ' ' && field.empty())
            continue;
        const auto value = decimalNumber(field);
        if (!value || numbers.count == 3)
            numbers.valid = false;
        else
            numbers.values[static_cast<std::size_t>(numbers.count++)] = *value;
    }
    return numbers;
}

namespace {

// The whitespace-separated tuples of a <coordinates> text, one at a time.
bool nextTuple(std::string_view& text, std::string_view& tuple) {
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos)
        return false;
    text.remove_prefix(start);
    const std::size_t end = text.find_first_of(" \t\r\n");
    tuple = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end);
    return true;
}

} // namespace

std::unique_ptr<KmlReader> KmlReader::openFile(const std::string& path) {
    return std::unique_ptr<KmlReader>(new KmlReader([path] { return XmlStream::openFile(path, "kml"); }));
}

std::unique_ptr<KmlReader> KmlReader::openText(std::string_view text, std::string name) {
    return std::unique_ptr<KmlReader>(
        new KmlReader([text, name] { return XmlStream::openText(text, name, "kml"); }));
}

KmlReader::KmlReader(Opener open) : open_(std::move(open)), xml_(open_()) {}

bool KmlReader::nextTrack() {
    // What is left of a track the caller did not read to its end.
    for (TrackPoint skipped; kind_ != Kind::None && next(skipped);) {
    }
    XmlStream& xml = *xml_;
    order_.restart();
    while (waiting_ != Kind::None || reread_ || xml.advance()) {
        Kind found = waiting_;
        waiting_ = Kind::None;
        reread_ = false;
        if (found == Kind::None && xml.atStart("Track"))
            found = Kind::Track;
        else if (found == Kind::None && xml.atStart("Placemark"))
            found = readPlacemark();
        else if (placemark_.depth >= 0 && xml.atEndOfDepth(placemark_.depth))
            placemark_.depth = -1;
        else if (placemark_.depth < 0 && xml.atStart("name"))
            folderName_ = xml.text();

        if (found == Kind::Points && placemark_.when.empty()) {
            report_.read();
            report_.skipped("a placemark without a time", placemark_.pointLine);
            continue;
        }
        if (found == Kind::Track) {
            ++tracksSeen_;
            trackDepth_ = xml.depth();
            anglesEnded_ = false;
            trackName_ = placemark_.name;
            kind_ = xml.atEmptyElement() ? Kind::None : Kind::Track;
            return true;
        }
        if (found == Kind::Path) {
            trackName_ = placemark_.name;
            kind_ = Kind::Path;
            return true;
        }
        if (found == Kind::Points) {
            trackName_ = folderName_;
            pointsDepth_ = placemarkDepth_;
            pendingPoint_ = true;
            kind_ = Kind::Points;
            return true;
        }
    }
    return false;
}

KmlReader::Kind KmlReader::readPlacemark() {
    XmlStream& xml = *xml_;
    placemark_ = {};
    placemarkDepth_ = xml.depth();
    if (xml.atEmptyElement())
        return Kind::None;
    placemark_.depth = placemarkDepth_;
    const int depth = placemark_.depth;
    std::string_view geometry;
    while (xml.advance() && !xml.atEndOfDepth(depth)) {
        const int at = xml.depth();
        if (xml.atStart("Track"))
            return Kind::Track;
        if (xml.atStart("name") && at == depth + 1)
            placemark_.name = xml.text();
        else if (xml.atStart("when") && at == depth + 2) {
            placemark_.whenLine = xml.nodeLine();
            placemark_.when = xml.text();
        } else if (xml.atStart("begin") && at == depth + 2)
            placemark_.begin = xml.text();
        else if (xml.atStart("end") && at == depth + 2)
            placemark_.end = xml.text();
        else if (xml.atStart("Point") || xml.atStart("LineString") || xml.atStart("LinearRing") ||
                 xml.atStart("Polygon") || xml.atStart("Model"))
            geometry = xml.atStart("Point") ? "Point" : xml.atStart("LineString") ? "LineString" : "";
        else if (xml.atStart("coordinates") && geometry == "Point") {
            placemark_.pointLine = xml.nodeLine();
            placemark_.point = xml.text();
        } else if (xml.atStart("coordinates") && geometry == "LineString") {
            const uint64_t line = xml.nodeLine();
            readPath(xml.text(), line);
            if (pathNext_ < path_.size())
                return Kind::Path;
        }
    }
    placemark_.depth = -1;
    return placemark_.point.empty() ? Kind::None : Kind::Points;
}

void KmlReader::readPath(std::string_view coordinates, uint64_t line) {
    pathLine_ = line;
    path_.clear();
    pathNext_ = 0;
    std::size_t count = 0;
    std::string_view text = coordinates, tuple;
    while (nextTuple(text, tuple))
        ++count;
    const auto begin = parseIsoTime(placemark_.begin);
    const auto end = parseIsoTime(placemark_.end);
    text = coordinates;
    for (std::size_t i = 0; nextTuple(text, tuple); ++i) {
        report_.read();
        if (!begin || !end) {
            report_.skipped("a point of a path without times", line);
            continue;
        }
        const double share = count > 1 ? static_cast<double>(i) / static_cast<double>(count - 1) : 0;
        TrackPoint point;
        if (place(point, numbersOf(tuple, ','), line)) {
            point.time = *begin + (*end - *begin) * share;
            path_.push_back(point);
        }
    }
}

bool KmlReader::place(TrackPoint& point, const Numbers& numbers, uint64_t line) {
    const auto& [longitude, latitude, altitude] = numbers.values;
    if (!numbers.valid || numbers.count < 2 || latitude < -90 || latitude > 90 || longitude < -180 ||
        longitude > 180) {
        report_.skipped("a place off the globe, or none", line);
        return false;
    }
    if (numbers.count < 3) {
        report_.skipped("no altitude", line);
        return false;
    }
    point.latitude = latitude;
    point.longitude = longitude;
    point.altitude = altitude;
    return true;
}

bool KmlReader::timed(TrackPoint& point, std::string_view when, uint64_t line) {
    const auto time = parseIsoTime(when);
    if (!time) {
        report_.skipped("a time that is no ISO 8601 time", line);
        return false;
    }
    point.time = *time;
    return order_.keep(*time, report_, line);
}

bool KmlReader::next(TrackPoint& point) {
    switch (kind_) {
    case Kind::Track:
        return nextTrackPoint(point);
    case Kind::Points:
        return nextPlacemarkPoint(point);
    case Kind::Path:
        return nextPathPoint(point);
    case Kind::None:
        break;
    }
    return false;
}

bool KmlReader::follow(Follower& follower, std::string_view element) {
    if (!follower.xml)
        follower.xml = open_();
    XmlStream& xml = *follower.xml;
    while (follower.tracksPassed < tracksSeen_ && xml.advance()) {
        if (xml.atStart("Track") && ++follower.tracksPassed == tracksSeen_) {
            follower.inTrack = !xml.atEmptyElement();
            follower.trackDepth = xml.depth();
        }
    }
    while (follower.inTrack && xml.advance()) {
        if (xml.atEndOfDepth(follower.trackDepth))
            follower.inTrack = false;
        else if (xml.atStart(element) && xml.depth() == follower.trackDepth + 1)
            return true;
    }
    return false;
}

bool KmlReader::nextTrackPoint(TrackPoint& point) {
    XmlStream& xml = *xml_;
    while (xml.advance()) {
        if (xml.atEndOfDepth(trackDepth_)) {
            while (follow(coords_, "coord")) {
                report_.read();
                report_.skipped("a place without a time", coords_.xml->nodeLine());
            }
            kind_ = Kind::None;
            return false;
        }
        if (!xml.atStart("when") || xml.depth() != trackDepth_ + 1)
            continue;
        report_.read();
        const uint64_t line = xml.nodeLine();
        const std::string_view when = xml.text();
        if (!follow(coords_, "coord")) {
            report_.skipped("a time without a place", line);
            continue;
        }
        const Numbers place = numbersOf(coords_.xml->text(), ' ');
        anglesEnded_ = anglesEnded_ || !follow(angles_, "angles");
        const Numbers angles = anglesEnded_ ? Numbers{{}, 0, false} : numbersOf(angles_.xml->text(), ' ');
        point = {};
        if (!this->place(point, place, line) || !timed(point, when, line))
            continue;
        if (angles.valid && angles.count == 3) {
            point.hasAttitude = true;
            point.heading = std::fmod(std::fmod(angles.values[0], 360) + 360, 360);
            point.pitch = angles.values[1];
            point.bank = angles.values[2];
        }
        return true;
    }
    kind_ = Kind::None;
    return false;
}

bool KmlReader::nextPlacemarkPoint(TrackPoint& point) {
    XmlStream& xml = *xml_;
    while (true) {
        if (pendingPoint_) {
            pendingPoint_ = false;
            report_.read();
            point = {};
            if (placemark_.when.empty())
                report_.skipped("a placemark without a time", placemark_.pointLine);
            else if (place(point, numbersOf(placemark_.point, ','), placemark_.pointLine) &&
                     timed(point, placemark_.when, placemark_.whenLine))
                return true;
            continue;
        }
        if (!xml.advance() || xml.atEndOfDepth(pointsDepth_ - 1))
            break;
        if (!xml.atStart("Placemark"))
            continue;
        if (xml.depth() != pointsDepth_) {
            reread_ = true;
            break;
        }
        const Kind found = readPlacemark();
        if (found == Kind::Points) {
            pendingPoint_ = true;
        } else if (found != Kind::None) {
            waiting_ = found;
            break;
        }
    }
    kind_ = Kind::None;
    return false;
}

bool KmlReader::nextPathPoint(TrackPoint& point) {
    while (pathNext_ < path_.size()) {
        point = path_[pathNext_++];
        if (order_.keep(point.time, report_, pathLine_))
            return true;
    }
    kind_ = Kind::None;
    return false;
}
