#include "tracks/GpxReader.h"

#include "tracks/DecimalText.h"
#include "tracks/IsoTime.h"

std::unique_ptr<GpxReader> GpxReader::openFile(const std::string& path) {
    return std::unique_ptr<GpxReader>(new GpxReader(XmlStream::openFile(path, "gpx")));
}

std::unique_ptr<GpxReader> GpxReader::openText(std::string_view text, std::string name) {
    return std::unique_ptr<GpxReader>(new GpxReader(XmlStream::openText(text, std::move(name), "gpx")));
}

bool GpxReader::nextTrack() {
    // What is left of a segment the caller did not read to its end.
    for (TrackPoint skipped; inSegment_ && next(skipped);) {
    }
    XmlStream& xml = *xml_;
    while (xml.advance()) {
        if (xml.atStart("trk"))
            trackName_.clear();
        else if (xml.atStart("name") && xml.depth() == 2)
            trackName_ = xml.text(); // gpx/trk/name
        else if (xml.atStart("trkseg")) {
            inSegment_ = !xml.atEmptyElement();
            order_.restart();
            return true;
        }
    }
    return false;
}

bool GpxReader::next(TrackPoint& point) {
    XmlStream& xml = *xml_;
    while (inSegment_ && xml.advance()) {
        if (xml.atEnd("trkseg")) {
            inSegment_ = false;
            break;
        }
        if (!xml.atStart("trkpt"))
            continue;
        report_.read();
        const uint64_t at = xml.nodeLine();
        const auto latitude = decimalNumber(xml.attribute("lat"));
        const auto longitude = decimalNumber(xml.attribute("lon"));
        std::optional<double> elevation, time;
        bool timeWritten = false;
        static constexpr std::string_view kEle = "ele", kTime = "time";
        const auto child = [&](std::string_view name, std::string_view text) {
            if (name == kEle) {
                elevation = decimalNumber(text);
            } else if (name == kTime) {
                timeWritten = true;
                time = parseIsoTime(text);
            }
        };
        if (xml.readPlainChildren(children_)) {
            for (const XmlStream::PlainChild& plain : children_)
                child(plain.name, plain.text);
        } else if (!xml.atEmptyElement()) {
            const int depth = xml.depth();
            while (xml.advance() && !xml.atEndOfDepth(depth)) {
                if (xml.depth() != depth + 1 || !(xml.atStart(kEle) || xml.atStart(kTime)))
                    continue;
                const std::string_view name = xml.atStart(kEle) ? kEle : kTime;
                child(name, xml.text());
            }
        }
        if (!latitude || !longitude || *latitude < -90 || *latitude > 90 || *longitude < -180 ||
            *longitude > 180)
            report_.skipped("a place off the globe, or none", at);
        else if (!time)
            report_.skipped(timeWritten ? "a time that is no ISO 8601 time" : "no time", at);
        else if (!elevation)
            report_.skipped("no elevation", at);
        else if (order_.keep(*time, report_, at)) {
            point = {*time, *latitude, *longitude, *elevation};
            return true;
        }
    }
    return false;
}
