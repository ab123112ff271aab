// KML files read track by track: gx:Track times and places paired by streams of their own, the
// timed points of a folder, a LineString with a time span, and what is no track.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tracks/IsoTime.h"
#include "tracks/KmlReader.h"
#include "tracks/TrackError.h"

namespace {

struct Track {
    std::string name;
    std::vector<TrackPoint> points;
};

std::vector<Track> readAll(KmlReader& reader) {
    std::vector<Track> tracks;
    while (reader.nextTrack()) {
        Track& track = tracks.emplace_back();
        track.name = reader.trackName();
        for (TrackPoint point; reader.next(point);)
            track.points.push_back(point);
    }
    return tracks;
}

double at(const char* text) {
    return *parseIsoTime(text);
}

void expectSkips(const ImportReport& report, const std::vector<std::pair<std::string, uint64_t>>& skips) {
    ASSERT_EQ(skips.size(), report.skips().size());
    for (std::size_t i = 0; i < skips.size(); ++i) {
        EXPECT_EQ(skips[i].first, report.skips()[i].reason);
        EXPECT_EQ(skips[i].second, report.skips()[i].firstLine) << skips[i].first;
    }
}

TEST(KmlReaderTest, GxTracksPairTheirTimesWithTheirPlacesAndAngles) {
    const std::string text = R"(<?xml version="1.0" encoding="UTF-8"?>
<kml xmlns="http://www.opengis.net/kml/2.2" xmlns:gx="http://www.google.com/kml/ext/2.2">
<Document><name>Flights</name>
  <Placemark><name>Glider</name>
    <gx:MultiTrack>
      <gx:Track>
        <altitudeMode>absolute</altitudeMode>
        <when>2024-05-01T08:00:00Z</when>
        <when>2024-05-01T08:00:01.5Z</when>
        <when>2024-05-01T08:00:01Z</when>
        <when>not a time</when>
        <when>2024-05-01T08:00:04Z</when>
        <when>2024-05-01T08:00:05Z</when>
        <gx:coord>8.5 47.5 420.5</gx:coord>
        <gx:coord>-8.5 47.501 421</gx:coord>
        <gx:coord>8.5 47.5 1</gx:coord>
        <gx:coord>8.5 47.5 1</gx:coord>
        <gx:coord>8.5 47.5</gx:coord>
        <gx:angles>370 5 -10</gx:angles>
        <gx:angles>90 0 20</gx:angles>
      </gx:Track>
      <gx:Track>
        <when>2024-05-01T09:00:00Z</when><gx:coord>1 2 3</gx:coord>
        <when>2024-05-01T09:00:01Z</when><gx:coord>1 91 3</gx:coord>
        <gx:coord>1 2 4</gx:coord>
      </gx:Track>
    </gx:MultiTrack>
  </Placemark>
  <Placemark><name>Empty</name><gx:Track/></Placemark>
</Document>
</kml>
)";
    auto reader = KmlReader::openText(text, "test.kml");
    const std::vector<Track> tracks = readAll(*reader);
    ASSERT_EQ(3u, tracks.size());
    EXPECT_EQ("Glider", tracks[0].name);
    ASSERT_EQ(2u, tracks[0].points.size());
    const TrackPoint& first = tracks[0].points[0];
    EXPECT_EQ(at("2024-05-01T08:00:00Z"), first.time);
    EXPECT_EQ(47.5, first.latitude);
    EXPECT_EQ(8.5, first.longitude);
    EXPECT_EQ(420.5, first.altitude);
    EXPECT_TRUE(first.hasAttitude);
    EXPECT_EQ(10, first.heading) << "turned into 0..360";
    EXPECT_EQ(5, first.pitch);
    EXPECT_EQ(-10, first.bank);
    const TrackPoint& second = tracks[0].points[1];
    EXPECT_EQ(at("2024-05-01T08:00:01.5Z"), second.time);
    EXPECT_EQ(-8.5, second.longitude);
    EXPECT_EQ(20, second.bank);
    ASSERT_EQ(1u, tracks[1].points.size()) << "when and coord interleaved";
    EXPECT_FALSE(tracks[1].points[0].hasAttitude);
    EXPECT_EQ(3, tracks[1].points[0].altitude);
    EXPECT_EQ("Empty", tracks[2].name);
    EXPECT_TRUE(tracks[2].points.empty());

    const ImportReport& report = reader->report();
    EXPECT_EQ(9u, report.readCount());
    EXPECT_EQ(3u, report.keptCount());
    expectSkips(report, {{"the time stamp goes back", 10},
                         {"a time that is no ISO 8601 time", 11},
                         {"no altitude", 12},
                         {"a time without a place", 13},
                         {"a place off the globe, or none", 24},
                         {"a place without a time", 25}});
}

TEST(KmlReaderTest, TimedPointsOfAFolderAreATrackAndAnUntimedPathIsNone) {
    // The layout GPS tools write: the points of a track as timed Placemarks in a folder, and the
    // path beside them as a LineString without times.
    const std::string text = R"(<kml xmlns="http://www.opengis.net/kml/2.2">
<Document>
  <Placemark><name>Home</name><Point><coordinates>8,47,400</coordinates></Point></Placemark>
  <Folder><name>Morning</name>
    <Folder><name>Points</name>
      <Placemark><TimeStamp><when>2024-05-01T08:00:00Z</when></TimeStamp>
        <Point><coordinates>8.5,47.5,420.5</coordinates></Point></Placemark>
      <Placemark><TimeStamp><when>2024-05-01T08:00:02Z</when></TimeStamp>
        <Point><coordinates>8.502,47.502,425</coordinates></Point></Placemark>
    </Folder>
    <Placemark><name>Path</name>
      <LineString><coordinates>8.5,47.5,420.5 8.502,47.502,425</coordinates></LineString></Placemark>
  </Folder>
  <Folder><name>Evening</name>
    <Placemark><TimeStamp><when>2024-05-01T18:00:00Z</when></TimeStamp>
      <Point><coordinates>9,48,500</coordinates></Point></Placemark>
    <Placemark><name>Leg</name>
      <TimeSpan><begin>2024-05-01T19:00:00Z</begin><end>2024-05-01T19:00:10Z</end></TimeSpan>
      <LineString><coordinates>
        9,48,500 9.1,48,510
        9.2,48,520</coordinates></LineString></Placemark>
  </Folder>
</Document>
</kml>)";
    auto reader = KmlReader::openText(text, "test.kml");
    const std::vector<Track> tracks = readAll(*reader);
    ASSERT_EQ(3u, tracks.size());
    EXPECT_EQ("Points", tracks[0].name);
    ASSERT_EQ(2u, tracks[0].points.size());
    EXPECT_EQ(at("2024-05-01T08:00:02Z"), tracks[0].points[1].time);
    EXPECT_EQ(47.502, tracks[0].points[1].latitude);
    EXPECT_EQ(425, tracks[0].points[1].altitude);
    EXPECT_FALSE(tracks[0].points[1].hasAttitude);

    EXPECT_EQ("Evening", tracks[1].name);
    ASSERT_EQ(1u, tracks[1].points.size()) << "the timed LineString after it is a track of its own";
    EXPECT_EQ("Leg", tracks[2].name);
    ASSERT_EQ(3u, tracks[2].points.size());
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(at("2024-05-01T19:00:00Z") + 5.0 * static_cast<double>(i), tracks[2].points[i].time);
        EXPECT_EQ(500 + 10.0 * static_cast<double>(i), tracks[2].points[i].altitude);
    }
    EXPECT_EQ(9.2, tracks[2].points[2].longitude);

    const ImportReport& report = reader->report();
    EXPECT_EQ(9u, report.readCount());
    EXPECT_EQ(6u, report.keptCount());
    expectSkips(report, {{"a placemark without a time", 3}, {"a point of a path without times", 12}});
}

TEST(KmlReaderTest, WhatIsNoKmlIsAnErrorNamingItsLine) {
    const struct {
        const char* text;
        const char* error;
    } files[] = {
        {"", "test.kml:1: the file is empty"},
        {"<gpx>\n</gpx>", "test.kml:1: this is no KML file: its root is <gpx>"},
        {"<kml><Placemark><gx:Track xmlns:gx='x'>\n<when>2024-05-01T08:00:00Z</when>\n</Placemark></kml>",
         "test.kml:3: this is no well-formed XML"},
        {"<kml>\n<Placemark><gx:Track xmlns:gx='x'><when>2024-05-01T08:00:00Z</when><gx:coord>1 2 3",
         "test.kml:2: this is no well-formed XML"},
    };
    for (const auto& file : files) {
        try {
            auto reader = KmlReader::openText(file.text, "test.kml");
            readAll(*reader);
            ADD_FAILURE() << "no error: " << file.error;
        } catch (const TrackError& error) {
            EXPECT_EQ(0u, std::string(error.what()).find(file.error))
                << error.what() << "\nexpected: " << file.error;
        }
    }
}

} // namespace
