#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "tracks/TimeOrder.h"
#include "tracks/TrackSource.h"

using xmlTextReaderPtr = struct _xmlTextReader*;

// Reads the tracks of a GPX file (1.0 or 1.1) as they come, through libxml2's streaming reader so
// that a file of any size takes little memory: every track segment is a track, each track point
// with its lat, lon, <ele> (metres) and <time> (ISO 8601) a point. Points without a time or an
// elevation, with a place off the globe or a time that does not advance are skipped and counted;
// a file that is no well-formed GPX is a TrackError naming its line. Entities are not expanded and
// nothing is fetched from the network.
class GpxReader final : public TrackSource {
public:
    static std::unique_ptr<GpxReader> openFile(const std::string& path);
    // `text` must outlive the reader.
    static std::unique_ptr<GpxReader> openText(std::string_view text, std::string name);
    ~GpxReader() override;
    GpxReader(const GpxReader&) = delete;
    GpxReader& operator=(const GpxReader&) = delete;

    bool nextTrack() override;
    bool next(TrackPoint& point) override;
    std::string aircraftType() const override { return {}; }
    std::string registration() const override { return {}; }
    const ImportReport& report() const override { return report_; }

    // The <name> of the current segment's track; empty where it has none.
    const std::string& trackName() const { return trackName_; }

private:
    GpxReader(xmlTextReaderPtr reader, std::string name);
    // The next node; false at the end of the document; TrackError where it is not well-formed.
    bool advance();
    bool atStart(std::string_view localName) const;
    bool atEnd(std::string_view localName) const;
    std::string text();
    // Where the parser is, and where the current node began.
    uint64_t line() const;
    uint64_t nodeLine() const;

    xmlTextReaderPtr reader_;
    std::string name_;
    std::string trackName_;
    std::string firstError_;
    bool rootSeen_ = false;
    bool inSegment_ = false;
    ImportReport report_;
    TimeOrder order_;
};
