#include "tracks/GpxReader.h"

#include <cstring>

#include "tracks/DecimalText.h"
#include "tracks/IsoTime.h"

namespace {

// A point's children this reader takes.
constexpr char kEle[] = "ele", kTime[] = "time";

// Whether `name` is `known`, compared in place: twice for every point.
template <std::size_t N>
bool is(std::string_view name, const char (&known)[N]) {
    return name.size() == N - 1 && std::memcmp(name.data(), known, N - 1) == 0;
}

} // namespace

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
    while (inSegment_) {
        // A point as nearly every file writes it is read in one step; anything else node by node.
        if (xml.readPlainElement("trkpt", children_)) {
            beginPoint();
            for (const XmlStream::PlainChild& plain : children_)
                readChild(plain.name, plain.text);
            if (endPoint([&xml] { return xml.nodeLine(); }, point))
                return true;
            continue;
        }
        if (!xml.advance())
            break;
        if (xml.atEnd("trkseg")) {
            inSegment_ = false;
            break;
        }
        if (!xml.atStart("trkpt"))
            continue;
        const uint64_t at = xml.nodeOffset();
        beginPoint();
        if (xml.readPlainChildren(children_)) {
            for (const XmlStream::PlainChild& plain : children_)
                readChild(plain.name, plain.text);
        } else if (!xml.atEmptyElement()) {
            const int depth = xml.depth();
            while (xml.advance() && !xml.atEndOfDepth(depth)) {
                if (xml.depth() != depth + 1 || !(xml.atStart(kEle) || xml.atStart(kTime)))
                    continue;
                const std::string_view name = xml.atStart(kEle) ? std::string_view(kEle) : kTime;
                readChild(name, xml.text());
            }
        }
        if (endPoint([&xml, at] { return xml.lineAt(at); }, point))
            return true;
    }
    return false;
}

void GpxReader::beginPoint() {
    report_.read();
    latitude_ = decimalNumber(xml_->attribute("lat"));
    longitude_ = decimalNumber(xml_->attribute("lon"));
    // Each emptied on its own: one copied from the other just emptied would be read back before
    // the processor has it.
    elevation_.reset();
    time_.reset();
    timeWritten_ = false;
}

void GpxReader::readChild(std::string_view name, std::string_view text) {
    if (is(name, kEle)) {
        elevation_ = decimalNumber(text);
    } else if (is(name, kTime)) {
        timeWritten_ = true;
        time_ = parseIsoTime(text);
    }
}

template <class LineOf>
bool GpxReader::endPoint(const LineOf& lineOf, TrackPoint& point) {
    if (!latitude_ || !longitude_ || *latitude_ < -90 || *latitude_ > 90 || *longitude_ < -180 ||
        *longitude_ > 180)
        report_.skipped("a place off the globe, or none", lineOf());
    else if (!time_)
        report_.skipped(timeWritten_ ? "a time that is no ISO 8601 time" : "no time", lineOf());
    else if (!elevation_)
        report_.skipped("no elevation", lineOf());
    else if (order_.keep(*time_, report_, lineOf)) {
        point = {*time_, *latitude_, *longitude_, *elevation_};
        return true;
    }
    return false;
}
