// GPX files read segment by segment, point by point, and the ISO 8601 times they carry.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <string>
#include <vector>

#include "support/UtcTime.h"
#include "tracks/GpxReader.h"
#include "tracks/IsoTime.h"
#include "tracks/TrackError.h"

namespace {

struct Segment {
    std::string trackName;
    std::vector<TrackPoint> points;
};

std::vector<Segment> readAll(GpxReader& reader) {
    std::vector<Segment> segments;
    while (reader.nextTrack()) {
        Segment& segment = segments.emplace_back();
        segment.trackName = reader.trackName();
        for (TrackPoint point; reader.next(point);)
            segment.points.push_back(point);
    }
    return segments;
}

TEST(GpxReaderTest, EverySegmentIsATrackOfItsPointsInTime) {
    const std::string text = R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="test" xmlns="http://www.topografix.com/GPX/1/1">
  <metadata><name>not a track</name></metadata>
  <trk><name>Morning</name>
    <trkseg>
      <trkpt lat="47.5" lon="8.5"><ele>420.5</ele><time>2024-05-01T08:00:00Z</time></trkpt>
      <trkpt lat="47.501" lon="-8.5"><ele>421</ele><time>2024-05-01T10:00:01.5+02:00</time></trkpt>
      <trkpt lat="91" lon="8.5"><!-- read node by node --><ele>1</ele><time>2024-05-01T08:00:02Z</time></trkpt>
      <trkpt lat="47.5"><ele>1</ele><time>2024-05-01T08:00:03Z</time></trkpt>
      <trkpt lat="47.5" lon="8.5"><ele>1</ele></trkpt>
      <trkpt lat="47.5" lon="8.5"><ele>1</ele><time>yesterday</time></trkpt>
      <trkpt lat="47.5" lon="8.5"><time>2024-05-01T08:00:04Z</time></trkpt>
      <trkpt lat="47.5" lon="8.5"><ele>1</ele><time>2024-05-01T08:00:01.5Z</time></trkpt>
      <trkpt lat=" 47.502 " lon="+8.5"><ele>-3</ele><time>2024-05-01T08:00:05Z</time><extensions><ele>9</ele></extensions></trkpt>
    </trkseg>
    <trkseg/>
  </trk>
  <trk>
    <trkseg><trkpt lat="1" lon="2"><ele>3</ele><time>2024-05-01T09:00:00Z</time></trkpt></trkseg>
  </trk>
</gpx>
)";
    auto reader = GpxReader::openText(text, "test.gpx");
    const std::vector<Segment> segments = readAll(*reader);
    ASSERT_EQ(3u, segments.size());
    EXPECT_EQ("Morning", segments[0].trackName);
    ASSERT_EQ(3u, segments[0].points.size());
    EXPECT_EQ(utc(2024, 5, 1, 8, 0, 0), segments[0].points[0].time);
    EXPECT_EQ(47.5, segments[0].points[0].latitude);
    EXPECT_EQ(420.5, segments[0].points[0].altitude);
    EXPECT_EQ(utc(2024, 5, 1, 8, 0, 1.5), segments[0].points[1].time) << "the offset taken off";
    EXPECT_EQ(-8.5, segments[0].points[1].longitude);
    EXPECT_EQ(47.502, segments[0].points[2].latitude);
    EXPECT_EQ(-3, segments[0].points[2].altitude) << "the point's own elevation, not an extension's";
    EXPECT_TRUE(segments[1].points.empty());
    EXPECT_EQ("", segments[2].trackName);
    ASSERT_EQ(1u, segments[2].points.size());

    const ImportReport& report = reader->report();
    EXPECT_EQ(10u, report.readCount());
    EXPECT_EQ(4u, report.keptCount());
    const struct {
        std::string reason;
        uint64_t count, firstLine;
    } skips[] = {{"a place off the globe, or none", 2, 8},
                 {"no time", 1, 10},
                 {"a time that is no ISO 8601 time", 1, 11},
                 {"no elevation", 1, 12},
                 {"the time stamp repeats the one before", 1, 13}};
    ASSERT_EQ(std::size(skips), report.skips().size());
    for (std::size_t i = 0; i < std::size(skips); ++i) {
        EXPECT_EQ(skips[i].reason, report.skips()[i].reason);
        EXPECT_EQ(skips[i].count, report.skips()[i].count) << skips[i].reason;
        EXPECT_EQ(skips[i].firstLine, report.skips()[i].firstLine) << skips[i].reason;
    }
}

TEST(GpxReaderTest, WhatIsNoGpxIsAnErrorNamingItsLine) {
    const struct {
        const char* text;
        const char* error;
    } files[] = {
        {"", "test.gpx:1: the file is empty"},
        {"<!-- nothing -->", "test.gpx:1: this is no well-formed XML"},
        {"<kml>\n</kml>", "test.gpx:1: this is no GPX file: its root is <kml>"},
        {"<gpx><trk><trkseg>\n<trkpt lat=\"1\" lon=\"2\">\n</trkseg></gpx>",
         "test.gpx:3: this is no well-formed XML"},
        {"<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\"><ele>1</ele>",
         "test.gpx:1: this is no well-formed XML"},
    };
    for (const auto& file : files) {
        try {
            auto reader = GpxReader::openText(file.text, "test.gpx");
            readAll(*reader);
            ADD_FAILURE() << "no error: " << file.error;
        } catch (const TrackError& error) {
            EXPECT_EQ(0u, std::string(error.what()).find(file.error))
                << error.what() << "\nexpected: " << file.error;
        }
    }
}

TEST(IsoTimeTest, TimesAsGpxKmlAndCsvWriteThem) {
    const struct {
        const char* text;
        std::optional<double> time;
    } times[] = {
        {"2014-03-29T22:50:22Z", utc(2014, 3, 29, 22, 50, 22)},
        {"2014-03-29T22:50:22", utc(2014, 3, 29, 22, 50, 22)},
        {"2014-03-29 22:50:22", utc(2014, 3, 29, 22, 50, 22)},
        {"2014-03-29T22:50:22.125Z", utc(2014, 3, 29, 22, 50, 22.125)},
        {"2014-03-30T00:50:22+02:00", utc(2014, 3, 29, 22, 50, 22)},
        {"2014-03-29T17:50:22-0500", utc(2014, 3, 29, 22, 50, 22)},
        {"2016-12-31T23:59:60Z", utc(2017, 1, 1, 0, 0, 0)},
        {"2014-02-30T00:00:00Z", std::nullopt},
        {"2014-03-29T24:00:00Z", std::nullopt},
        {"2014-03-29T22:50Z", std::nullopt},
        {"2014-03-29T22:50:22.Z", std::nullopt},
        {"2014-03-29T22:50:22Zulu", std::nullopt},
        {"2014-03-29T22:50:22+15:00", std::nullopt},
        {"yesterday", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& t : times)
        EXPECT_EQ(t.time, parseIsoTime(t.text)) << t.text;
}

TEST(IsoTimeTest, TimesOneAfterTheOtherAcrossDaysAndALeapDay) {
    // Written by the C library, a little over an hour apart, from 2015-12-31 into 2017.
    char text[32];
    int wrong = 0;
    for (time_t at = 1451520000; at < 1483400000; at += 3607) {
        tm parts{};
        gmtime_r(&at, &parts);
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
        wrong += parseIsoTime(text) != std::optional<double>(static_cast<double>(at));
        wrong += parseIsoTime("2016-02-30T00:00:00Z").has_value(); // a day that is none, in between
    }
    EXPECT_EQ(0, wrong);
}

} // namespace
