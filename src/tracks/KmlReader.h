#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tracks/TimeOrder.h"
#include "tracks/TrackSource.h"
#include "tracks/XmlStream.h"

// Reads the tracks of a KML file as they come. A track is
// - a <gx:Track>: its <when> times paired in order with its <gx:coord> places (and <gx:angles>
//   heading, tilt and roll where it has them: the attitude, nose up and right wing down positive);
// - a run of Placemarks in one folder, each a <Point> with a <TimeStamp> (as GPS tools write the
//   points of a track);
// - a <LineString> whose Placemark has a <TimeSpan>: its points spread evenly over that time.
// A LineString without times is only a picture of a path: its points are counted as skipped.
// Altitudes are taken as written whatever the altitudeMode, since writers often leave the mode at
// its default while logging heights above the sea. The pairs of a gx:Track are read by streams of
// their own over the same document, in step, so that memory stays flat however long the track.
class KmlReader final : public TrackSource {
public:
    static std::unique_ptr<KmlReader> openFile(const std::string& path);
    // `text` must outlive the reader.
    static std::unique_ptr<KmlReader> openText(std::string_view text, std::string name);

    bool nextTrack() override;
    bool next(TrackPoint& point) override;
    std::string aircraftType() const override { return {}; }
    std::string registration() const override { return {}; }
    const ImportReport& report() const override { return report_; }

    // The <name> of the current track's Placemark (or of the points' folder); empty where it has none.
    const std::string& trackName() const { return trackName_; }

private:
    enum class Kind { None, Track, Points, Path };
    using Opener = std::function<std::unique_ptr<XmlStream>()>;
    // A stream of its own over the document that follows one kind of element of a gx:Track.
    struct Follower {
        std::unique_ptr<XmlStream> xml;
        uint64_t tracksPassed = 0;
        bool inTrack = false;
        int trackDepth = 0;
    };

    explicit KmlReader(Opener open);
    bool nextTrackPoint(TrackPoint& point);
    bool nextPlacemarkPoint(TrackPoint& point);
    bool nextPathPoint(TrackPoint& point);
    // Moves the follower into the current gx:Track; then to its next `element`, false at its end.
    bool follow(Follower& follower, std::string_view element);
    // A Placemark's own name, times and geometry, read up to its end, to a gx:Track inside it or
    // to the end of a timed LineString inside it: which of them it is.
    Kind readPlacemark();
    // A LineString's points, with the times of the Placemark's TimeSpan spread evenly over them.
    void readPath(std::string_view coordinates, uint64_t line);
    // The place of a point from its numbers (longitude, latitude, altitude), and its time; false,
    // with the reason counted, where it is to be skipped.
    struct Numbers {
        std::array<double, 3> values{};
        int count = 0;
        bool valid = true;
    };
    // Up to three numbers of a KML tuple (longitude, latitude, altitude; or heading, tilt, roll).
    static Numbers numbersOf(std::string_view text, char separator);
    bool place(TrackPoint& point, const Numbers& numbers, uint64_t line);
    bool timed(TrackPoint& point, std::string_view when, uint64_t line);

    Opener open_;
    std::unique_ptr<XmlStream> xml_;
    Follower coords_, angles_;
    Kind kind_ = Kind::None;
    std::string trackName_;
    uint64_t tracksSeen_ = 0; // gx:Track elements met by xml_
    int trackDepth_ = 0;
    bool anglesEnded_ = false;

    // The Placemark being read: what it says, and whether xml_ stopped on a node of the next track.
    struct Placemark {
        int depth = -1;
        std::string name;
        std::string when, begin, end;
        uint64_t whenLine = 0;
        std::string point;
        uint64_t pointLine = 0;
    } placemark_;
    int placemarkDepth_ = 0;
    bool reread_ = false;       // xml_ stopped on a node that starts the next track
    Kind waiting_ = Kind::None; // the next track, found while reading the points of one
    bool pendingPoint_ = false; // placemark_ is a point not given yet
    int pointsDepth_ = 0;       // the depth of the Placemarks that are the points
    std::string folderName_;

    // A timed LineString's points: they come as one text, and need their count for their times.
    std::vector<TrackPoint> path_;
    std::size_t pathNext_ = 0;
    uint64_t pathLine_ = 0;

    ImportReport report_;
    TimeOrder order_;
};
