// zfl-tracks import: flight logs into a recording that reads back with every fix kept.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "common/DataBuffer.h"
#include "common/FlightData.h"
#include "common/Ticks.h"
#include "common/ZflFile.h"
#include "support/TempDir.h"
#include "tools/TracksImport.h"
#include "tracks/TrackError.h"

namespace {

namespace fs = std::filesystem;

std::string realLog(const char* name) {
    return std::string(ZEPHREL_REAL_TRACKS) + "/" + name;
}

// The records are packed: their fields are compared as copies (+field), never bound to a reference.
struct ReadBack {
    TrackInfo info{};
    std::vector<ContData> cont;
    std::vector<DiscData> disc;
};

std::vector<ReadBack> readRecording(const std::string& path) {
    ZflFile file;
    file.open(path, ZflFile::Read);
    std::vector<ReadBack> tracks(file.getNTracks());
    for (uint32_t t = 0; t < file.getNTracks(); ++t) {
        ReadBack& track = tracks[t];
        track.info = file.getTrackInfo(t);
        std::vector<unsigned char> cont(std::size_t{track.info.nCont} * track.info.format.contRecordSize);
        std::vector<unsigned char> disc(std::size_t{track.info.nDisc} * track.info.format.discRecordSize);
        file.readContData(t, 0, track.info.nCont, cont.data());
        file.readDiscData(t, 0, track.info.nDisc, disc.data());
        DataBuffer buffer(cont.data(), disc.data(), track.info.format);
        track.cont.resize(track.info.nCont);
        track.disc.resize(track.info.nDisc);
        for (uint32_t i = 0; i < track.info.nCont; ++i)
            buffer.getContData(i, track.cont[i]);
        for (uint32_t i = 0; i < track.info.nDisc; ++i)
            buffer.getDiscData(i, track.disc[i]);
    }
    file.close();
    return tracks;
}

TEST(TracksImportTest, RealLogsBecomeTracksWithEveryKeptFixAtItsTime) {
    TempDir dir;
    TracksImport request;
    // Two logs of one day's flying would share a recording; these two are from different years,
    // so each is imported on its own.
    for (const auto& [log, kept, seconds, title, tail, day, month, year] :
         {std::tuple{"glider-newzealand-crosses-utc-midnight.igc", 5367u, 15622.0, "some_glider", "AA", 6, 11,
                     2009},
          std::tuple{"flight-italy-middle-landing-with-gaps.igc", 14818u, 15194.0, "Anonymous", "", 9, 3,
                     2019}}) {
        SCOPED_TRACE(log);
        request.inputs = {realLog(log)};
        request.output = dir.file("flight.zfl");
        std::ostringstream report;
        importTracks(request, report);
        EXPECT_NE(std::string::npos, report.str().find(std::to_string(kept) + " kept")) << report.str();
        const std::vector<ReadBack> tracks = readRecording(request.output);
        ASSERT_EQ(1u, tracks.size());
        const ReadBack& track = tracks[0];
        EXPECT_STREQ(title, track.info.title);
        EXPECT_STREQ(tail, track.info.tailNumber);
        ASSERT_EQ(kept, track.cont.size());
        EXPECT_EQ(0u, +track.cont.front().timestamp);
        EXPECT_EQ(static_cast<uint32_t>(seconds * kTicksPerSecond), +track.cont.back().timestamp);
        ASSERT_FALSE(track.disc.empty());
        EXPECT_EQ(1, +track.disc.front().onground) << "the log starts on the ground";
        EXPECT_EQ(day, +track.disc.front().day);
        EXPECT_EQ(month, +track.disc.front().month);
        EXPECT_EQ(year, +track.disc.front().year);
        EXPECT_FALSE(fs::exists(request.output + ".part"));
    }
}

TEST(TracksImportTest, PlacesAndTimesSurviveTheRecordingsUnits) {
    TempDir dir;
    std::ofstream(dir.file("circle.igc")) << "AXXX\nHFDTE150423\nHFGTYGLIDERTYPE:Test Glider\n"
                                             "B1200004730000N00830000EA0050000600\n"
                                             "B1200024730100N00830000EA0050000610\n"
                                             "B1200044730200N00830100EA0050000620\n";
    TracksImport request;
    request.inputs = {dir.file("circle.igc")};
    request.output = dir.file("circle.zfl");
    request.aircraft = "Cessna Skyhawk";
    request.tailNumber = "N12345678901"; // longer than a recording keeps
    std::ostringstream report;
    importTracks(request, report);
    const ReadBack track = readRecording(request.output).at(0);
    EXPECT_STREQ("Cessna Skyhawk", track.info.title) << "the option over the log's";
    EXPECT_STREQ("N123456789", track.info.tailNumber);
    ASSERT_EQ(3u, track.cont.size());
    EXPECT_NEAR(47.5, latitudeDegrees(track.cont[0].latitude), 1e-9); // 0.1 m is 1e-6 degrees
    EXPECT_NEAR(47.5 + 0.001 / 60 * 100, latitudeDegrees(track.cont[1].latitude), 1e-9);
    EXPECT_NEAR(8.5 + 0.001 / 60 * 100, longitudeDegrees(track.cont[2].longitude), 1e-9);
    EXPECT_NEAR(620, altitudeMetres(track.cont[2].altitude), 1e-6);
    EXPECT_EQ(4u * kTicksPerSecond, +track.cont[2].timestamp);
    EXPECT_EQ(12, +track.cont[1].hour);
    EXPECT_EQ(2, +track.cont[1].second);
    // North a tenth of a minute of latitude (185.3 m on the mean sphere) in 2 s: the track, and
    // the ground speed as knots.
    const double metresPerMinute = 6371008.8 * std::numbers::pi / 180 / 60;
    EXPECT_NEAR(0, headingDegrees(track.cont[0].heading), 0.01);
    EXPECT_NEAR(metresPerMinute * 0.1 / 2 * 3600 / 1852, track.cont[0].IAS, 0.01);
}

TEST(TracksImportTest, EverySegmentOfAGpxFileIsATrackNamedAfterTheFile) {
    TempDir dir;
    std::ofstream(dir.file("walk.gpx"))
        << "<gpx xmlns=\"http://www.topografix.com/GPX/1/0\"><trk><name>Out</name><trkseg>"
           "<trkpt lat=\"47.5\" lon=\"8.5\"><ele>400</ele><time>2024-05-01T08:00:10Z</time></trkpt>"
           "<trkpt lat=\"47.5001\" lon=\"8.5\"><ele>401</ele><time>2024-05-01T08:00:11Z</time></trkpt>"
           "</trkseg><trkseg>"
           "<trkpt lat=\"47.6\" lon=\"8.6\"><ele>500</ele><time>2024-05-01T08:00:00Z</time></trkpt>"
           "</trkseg></trk></gpx>";
    TracksImport request;
    request.inputs = {dir.file("walk.gpx")};
    request.output = dir.file("walk.zfl");
    request.tailNumber = "HB-ABC";
    std::ostringstream report;
    importTracks(request, report);
    EXPECT_EQ(dir.file("walk.gpx") + ": 3 points read, 0 skipped, 3 kept\n", report.str());
    const std::vector<ReadBack> tracks = readRecording(request.output);
    ASSERT_EQ(2u, tracks.size());
    EXPECT_STREQ("walk", tracks[0].info.title);
    EXPECT_STREQ("walk 2", tracks[1].info.title);
    EXPECT_STREQ("HB-ABC", tracks[1].info.tailNumber);
    ASSERT_EQ(2u, tracks[0].cont.size());
    // The recording's clock starts at the earliest point of all, the second segment's.
    EXPECT_EQ(10u * kTicksPerSecond, +tracks[0].cont[0].timestamp);
    EXPECT_EQ(0u, +tracks[1].cont.at(0).timestamp);
    EXPECT_NEAR(500, altitudeMetres(tracks[1].cont[0].altitude), 1e-6);
}

TEST(TracksImportTest, EveryPointKeepsItsTimeOfDayBeforeAndAfter1970) {
    const struct {
        const char* time;
        int hour, minute, second;
    } times[] = {{"1969-12-31T00:00:00Z", 0, 0, 0},   {"1969-12-31T22:13:14.5Z", 22, 13, 14},
                 {"1969-12-31T23:59:59Z", 23, 59, 59}, {"1970-01-01T00:00:00Z", 0, 0, 0},
                 {"1970-01-01T00:59:01Z", 0, 59, 1},   {"1970-01-04T13:47:59.9Z", 13, 47, 59}};
    TempDir dir;
    {
        std::ofstream gpx(dir.file("times.gpx"));
        gpx << "<gpx><trk><trkseg>";
        for (const auto& t : times)
            gpx << "<trkpt lat=\"47.5\" lon=\"8.5\"><ele>400</ele><time>" << t.time << "</time></trkpt>";
        gpx << "</trkseg></trk></gpx>";
    }
    TracksImport request;
    request.inputs = {dir.file("times.gpx")};
    request.output = dir.file("times.zfl");
    std::ostringstream report;
    importTracks(request, report);
    const std::vector<ContData> records = readRecording(request.output).at(0).cont;
    ASSERT_EQ(std::size(times), records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(times[i].hour, +records[i].hour) << times[i].time;
        EXPECT_EQ(times[i].minute, +records[i].minute) << times[i].time;
        EXPECT_EQ(times[i].second, +records[i].second) << times[i].time;
    }
}

TEST(TracksImportTest, ABadInputLeavesNoOutputAndNamesTheFile) {
    TempDir dir;
    std::ofstream(dir.file("empty.igc"));
    std::ofstream(dir.file("nofix.igc")) << "AXXX\nHFDTE150423\n";
    std::ofstream(dir.file("flight.kml")) << "<kml/>";
    std::ofstream(dir.file("flight.nmea")) << "$GPGGA,\n";
    std::ofstream(dir.file("flight.gpx")) << "<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\">\n</gpx>";
    std::ofstream(dir.file("older.zfl")) << "an older file, kept";
    const struct {
        std::vector<std::string> inputs;
        std::string error;
    } cases[] = {
        {{dir.file("empty.igc")}, dir.file("empty.igc") + ":1: the file is empty"},
        {{dir.file("nofix.igc")}, dir.file("nofix.igc") + ": the file holds no point to import"},
        {{dir.file("missing.igc")}, dir.file("missing.igc") + ": the file cannot be opened"},
        {{dir.file("flight.kml")}, dir.file("flight.kml") + ": the file holds no point to import"},
        {{dir.file("flight.nmea")},
         dir.file("flight.nmea") +
             ": zfl-tracks reads IGC, GPX, KML, CSV and ACMI files (.igc, .gpx, .kml, .csv, .acmi), and this is "
             "none of them"},
        {{dir.file("flight.gpx")},
         dir.file("flight.gpx") +
             ":2: this is no well-formed XML: </gpx> closes <trkpt>"},
        {{realLog("glider-newzealand-crosses-utc-midnight.igc"), realLog("paraglider-turkey-skytraxx.igc")},
         dir.file("older.zfl") +
             ": a point comes more than 119 hours after the first one, more than a recording "
             "holds (are the inputs of one flight?)"},
    };
    for (const auto& c : cases) {
        TracksImport request;
        request.inputs = c.inputs;
        request.output = dir.file("older.zfl");
        std::ostringstream report;
        try {
            importTracks(request, report);
            ADD_FAILURE() << "no error: " << c.error;
        } catch (const TrackError& error) {
            EXPECT_EQ(c.error, error.what());
        }
        std::ifstream older(request.output);
        std::stringstream kept;
        kept << older.rdbuf();
        EXPECT_EQ("an older file, kept", kept.str());
        EXPECT_FALSE(fs::exists(request.output + ".part"));
    }
}

} // namespace
