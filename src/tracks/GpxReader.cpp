#include "tracks/GpxReader.h"

#include <libxml/xmlreader.h>

#include <charconv>
#include <cmath>
#include <filesystem>

#include "tracks/IsoTime.h"
#include "tracks/TrackError.h"

namespace {

// No entities expanded, no DTD loaded, nothing from the network; libxml2's own size limits stay.
constexpr int kParseOptions = XML_PARSE_NONET;

std::string_view view(const xmlChar* text) {
    return text == nullptr ? std::string_view() : std::string_view(reinterpret_cast<const char*>(text));
}

// A decimal number and nothing else (spaces around allowed), whatever the locale.
std::optional<double> decimal(std::string_view text) {
    while (!text.empty() &&
           (text.front() == ' ' || text.front() == '\t' || text.front() == '\n' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() &&
           (text.back() == ' ' || text.back() == '\t' || text.back() == '\n' || text.back() == '\r'))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// An attribute of the current element; empty when it has none.
std::string attribute(xmlTextReaderPtr reader, const char* name) {
    xmlChar* value = xmlTextReaderGetAttribute(reader, reinterpret_cast<const xmlChar*>(name));
    std::string text(view(value));
    xmlFree(value);
    return text;
}

void keepFirstError(void* target, const char* message, xmlParserSeverities, xmlTextReaderLocatorPtr) {
    auto& first = *static_cast<std::string*>(target);
    if (first.empty() && message != nullptr) {
        first = message;
        while (!first.empty() && (first.back() == '\n' || first.back() == ' '))
            first.pop_back();
    }
}

} // namespace

std::unique_ptr<GpxReader> GpxReader::openFile(const std::string& path) {
    std::error_code unknown;
    if (std::filesystem::file_size(path, unknown) == 0 && !unknown)
        throw TrackError(path, 1, "the file is empty");
    xmlTextReaderPtr reader = xmlReaderForFile(path.c_str(), nullptr, kParseOptions);
    if (reader == nullptr)
        throw TrackError(path, 0, "the file cannot be opened");
    return std::unique_ptr<GpxReader>(new GpxReader(reader, path));
}

std::unique_ptr<GpxReader> GpxReader::openText(std::string_view text, std::string name) {
    if (text.empty())
        throw TrackError(name, 1, "the file is empty");
    xmlTextReaderPtr reader =
        xmlReaderForMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr, kParseOptions);
    if (reader == nullptr)
        throw TrackError(name, 0, "the text cannot be read");
    return std::unique_ptr<GpxReader>(new GpxReader(reader, std::move(name)));
}

GpxReader::GpxReader(xmlTextReaderPtr reader, std::string name) : reader_(reader), name_(std::move(name)) {
    xmlTextReaderSetErrorHandler(reader_, keepFirstError, &firstError_);
}

GpxReader::~GpxReader() {
    xmlFreeTextReader(reader_);
}

uint64_t GpxReader::line() const {
    const int line = xmlTextReaderGetParserLineNumber(reader_);
    return line > 0 ? static_cast<uint64_t>(line) : 1;
}

uint64_t GpxReader::nodeLine() const {
    const long line = xmlGetLineNo(xmlTextReaderCurrentNode(reader_));
    return line > 0 ? static_cast<uint64_t>(line) : this->line();
}

bool GpxReader::advance() {
    const int read = xmlTextReaderRead(reader_);
    if (read < 0)
        throw TrackError(name_, line(),
                         "this is no well-formed XML" +
                             (firstError_.empty() ? std::string() : ": " + firstError_));
    if (read == 0) {
        if (!rootSeen_)
            throw TrackError(name_, line(), "this is no GPX file: it has no element");
        return false;
    }
    if (!rootSeen_ && xmlTextReaderNodeType(reader_) == XML_READER_TYPE_ELEMENT) {
        rootSeen_ = true;
        const std::string_view root = view(xmlTextReaderConstLocalName(reader_));
        if (root != "gpx")
            throw TrackError(name_, nodeLine(),
                             "this is no GPX file: its root is <" + std::string(root) + ">");
    }
    return true;
}

bool GpxReader::atStart(std::string_view localName) const {
    return xmlTextReaderNodeType(reader_) == XML_READER_TYPE_ELEMENT &&
           view(xmlTextReaderConstLocalName(reader_)) == localName;
}

bool GpxReader::atEnd(std::string_view localName) const {
    const int type = xmlTextReaderNodeType(reader_);
    return view(xmlTextReaderConstLocalName(reader_)) == localName &&
           (type == XML_READER_TYPE_END_ELEMENT ||
            (type == XML_READER_TYPE_ELEMENT && xmlTextReaderIsEmptyElement(reader_)));
}

// The text inside the current element, up to its end.
std::string GpxReader::text() {
    std::string content;
    if (xmlTextReaderIsEmptyElement(reader_))
        return content;
    const int depth = xmlTextReaderDepth(reader_);
    while (advance() && !(xmlTextReaderNodeType(reader_) == XML_READER_TYPE_END_ELEMENT &&
                          xmlTextReaderDepth(reader_) == depth)) {
        const int type = xmlTextReaderNodeType(reader_);
        if (type == XML_READER_TYPE_TEXT || type == XML_READER_TYPE_CDATA)
            content += view(xmlTextReaderConstValue(reader_));
    }
    return content;
}

bool GpxReader::nextTrack() {
    // What is left of a segment the caller did not read to its end.
    for (TrackPoint skipped; inSegment_ && next(skipped);) {
    }
    while (advance()) {
        if (atStart("trk"))
            trackName_.clear();
        else if (atStart("name") && xmlTextReaderDepth(reader_) == 2)
            trackName_ = text(); // gpx/trk/name
        else if (atStart("trkseg")) {
            inSegment_ = !xmlTextReaderIsEmptyElement(reader_);
            order_.restart();
            return true;
        }
    }
    return false;
}

bool GpxReader::next(TrackPoint& point) {
    while (inSegment_ && advance()) {
        if (atEnd("trkseg")) {
            inSegment_ = false;
            break;
        }
        if (!atStart("trkpt"))
            continue;
        report_.read();
        const uint64_t at = nodeLine();
        const auto latitude = decimal(attribute(reader_, "lat"));
        const auto longitude = decimal(attribute(reader_, "lon"));
        std::optional<double> elevation, time;
        bool timeWritten = false;
        if (!xmlTextReaderIsEmptyElement(reader_)) {
            const int depth = xmlTextReaderDepth(reader_);
            while (advance() && !(xmlTextReaderNodeType(reader_) == XML_READER_TYPE_END_ELEMENT &&
                                  xmlTextReaderDepth(reader_) == depth)) {
                if (atStart("ele") && xmlTextReaderDepth(reader_) == depth + 1) {
                    elevation = decimal(text());
                } else if (atStart("time") && xmlTextReaderDepth(reader_) == depth + 1) {
                    timeWritten = true;
                    time = parseIsoTime(text());
                }
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
