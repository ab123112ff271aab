#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tracks/TimeOrder.h"
#include "tracks/TrackSource.h"
#include "tracks/XmlStream.h"

// Reads the tracks of a GPX file (1.0 or 1.1) as they come: every track segment is a track, each
// track point with its lat, lon, <ele> (metres) and <time> (ISO 8601) a point. Points without a
// time or an elevation, with a place off the globe or a time that does not advance are skipped and
// counted; a file that is no well-formed GPX is a TrackError naming its line.
class GpxReader final : public TrackSource {
public:
    static std::unique_ptr<GpxReader> openFile(const std::string& path);
    static std::unique_ptr<GpxReader> openText(std::string_view text, std::string name);

    bool nextTrack() override;
    bool next(TrackPoint& point) override;
    std::string aircraftType() const override { return {}; }
    std::string registration() const override { return {}; }
    const ImportReport& report() const override { return report_; }

    // The <name> of the current segment's track; empty where it has none.
    const std::string& trackName() const { return trackName_; }

private:
    explicit GpxReader(std::unique_ptr<XmlStream> xml) : xml_(std::move(xml)) {}
    // A point: its place from the element's attributes, then its children's texts, then kept in
    // `point` or skipped and counted at its line, `lineOf()`. beginPoint and readChild are inline
    // where they are called, for every point.
    [[gnu::always_inline]] inline void beginPoint();
    [[gnu::always_inline]] inline void readChild(std::string_view name, std::string_view text);
    template <class LineOf>
    bool endPoint(const LineOf& lineOf, TrackPoint& point);

    std::unique_ptr<XmlStream> xml_;
    std::string trackName_;
    std::vector<XmlStream::PlainChild> children_; // of the point being read
    std::optional<double> latitude_, longitude_, elevation_, time_;
    bool timeWritten_ = false;
    bool inSegment_ = false;
    ImportReport report_;
    TimeOrder order_;
};
