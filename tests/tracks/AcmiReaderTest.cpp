// Tacview ACMI text read aircraft by aircraft: the objects that are tracks, their places worked out
// from the global references, the points skipped and the files refused.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "support/UtcTime.h"
#include "tracks/AcmiReader.h"
#include "tracks/TrackError.h"

namespace {

struct Track {
    std::string aircraftType, registration;
    std::vector<TrackPoint> points;
};

struct Read {
    std::vector<Track> tracks;
    ImportReport report;
};

Read readText(const std::string& text) {
    std::istringstream in(text);
    AcmiReader reader(in, "test.acmi");
    Read read;
    while (reader.nextTrack()) {
        Track& track = read.tracks.emplace_back(Track{reader.aircraftType(), reader.registration(), {}});
        for (TrackPoint point; reader.next(point);)
            track.points.push_back(point);
    }
    read.report = reader.report();
    return read;
}

const std::string kHeader = "FileType=text/acmi/tacview\nFileVersion=2.2\n";

TEST(AcmiReaderTest, InterleavedObjectsGiveATrackPerAircraft) {
    const std::string text =
        "\xEF\xBB\xBF"
        "FileType=text/acmi/tacview\r\n"
        "FileVersion=2.1\r\n"
        "// written by hand\r\n"
        "0,ReferenceLatitude=30\r\n"
        "0,ReferenceTime=2011-06-02T05:00:00Z,ReferenceLongitude=-129\r\n"
        "0,Title=Two ships\\, one missile\r\n"
        "\r\n"
        "#0\r\n"
        "a1,T=0.5|0.25|3000|10|2|90,Type=Air+FixedWing,Name=F-16C-52,Registration=87-0350\r\n"
        "b2,T=1.25|-0.5|1500,Type=Air+Rotorcraft,Name=UH-1H\\, Huey,CallSign=Dustoff\r\n"
        "d4,T=-0.5|0.5|10,Type=Ground+Static+Aerodrome,Name=Base\r\n"
        "#1.5\r\n"
        "a1,T=0.501|0.2505|3010|-20|5|359.5\r\n"
        "b2,T=1.2505||1510\r\n"
        "#2.25\r\n"
        "c3,T=0.502|0.251|3020|0|1|90,Type=Weapon+Missile,Name=AIM-9X\r\n"
        "a1,T=|0.251|3020|||-10,Label=Lead\\\r\n"
        "and wingman\r\n"
        "#3\r\n"
        "-b2\r\n"
        "c3,T=0.503|0.252|3020\r\n"
        "#4.5\r\n"
        "a1,T=0.503|0.252|3030|0|0|0\r\n";
    const Read read = readText(text);
    ASSERT_EQ(2u, read.tracks.size());
    const double start = utc(2011, 6, 2, 5, 0, 0);
    const struct {
        double time, latitude, longitude, altitude;
        bool hasAttitude;
        double bank, pitch, heading;
    } expected[2][4] = {
        {{start, 30.25, -128.5, 3000, true, 10, 2, 90},
         {start + 1.5, 30.2505, -128.499, 3010, true, -20, 5, 359.5},
         {start + 2.25, 30.251, -128.499, 3020, true, -20, 5, 350},
         {start + 4.5, 30.252, -128.497, 3030, true, 0, 0, 0}},
        {{start, 29.5, -127.75, 1500, false, 0, 0, 0}, {start + 1.5, 29.5, -127.7495, 1510, false, 0, 0, 0}}};
    const std::size_t counts[2] = {4, 2};
    EXPECT_EQ("F-16C-52", read.tracks[0].aircraftType);
    EXPECT_EQ("87-0350", read.tracks[0].registration);
    EXPECT_EQ("UH-1H, Huey", read.tracks[1].aircraftType);
    EXPECT_EQ("", read.tracks[1].registration);
    for (std::size_t t = 0; t < 2; ++t) {
        ASSERT_EQ(counts[t], read.tracks[t].points.size()) << "track " << t;
        for (std::size_t i = 0; i < counts[t]; ++i) {
            SCOPED_TRACE("track " + std::to_string(t) + ", point " + std::to_string(i));
            const TrackPoint& point = read.tracks[t].points[i];
            EXPECT_EQ(expected[t][i].time, point.time);
            EXPECT_NEAR(expected[t][i].latitude, point.latitude, 1e-9);
            EXPECT_NEAR(expected[t][i].longitude, point.longitude, 1e-9);
            EXPECT_EQ(expected[t][i].altitude, point.altitude);
            EXPECT_EQ(expected[t][i].hasAttitude, point.hasAttitude);
            EXPECT_EQ(expected[t][i].bank, point.bank);
            EXPECT_EQ(expected[t][i].pitch, point.pitch);
            EXPECT_EQ(expected[t][i].heading, point.heading);
        }
    }
    EXPECT_EQ(6u, read.report.readCount()); // neither the missile's nor the aerodrome's
    EXPECT_EQ(6u, read.report.keptCount());
}

TEST(AcmiReaderTest, EveryFormOfTheTransformGivesItsPlaceAndAttitude) {
    const struct {
        const char *referenceLongitude, *referenceLatitude, *earlier, *transform;
        double latitude, longitude, altitude;
        bool hasAttitude;
        double bank, pitch, heading;
    } forms[] = {
        {"10", "40", "", "1|2|300", 42, 11, 300, false, 0, 0, 0},
        {"10", "40", "", "1|2|300|1234.5|-567.5", 42, 11, 300, false, 0, 0, 0}, // U and V are not used
        {"10", "40", "", "1|2|300|-30|15|-90", 42, 11, 300, true, -30, 15, 270},
        {"10", "40", "", "1|2|300|30|-15|450|1234.5|-567.5|10", 42, 11, 300, true, 30, -15, 90},
        {"10", "40", "", "+1.5| 2.5 |-20|0|0|720", 42.5, 11.5, -20, true, 0, 0, 0},
        {"179", "0", "", "1.5|50|0", 50, -179.5, 0, false, 0, 0, 0},    // past the antimeridian
        {"-180", "-90", "", "-0.5|0|0", -90, 179.5, 0, false, 0, 0, 0}, // the other way, at the pole
        {"-180", "90", "", "0|0|8848", 90, -180, 8848, false, 0, 0, 0},
        // Empty components keep the values of the T before; U and V are no roll and pitch.
        {"10", "40", "1|2|300|-30|15|-90", "||310||20|", 42, 11, 310, true, -30, 20, 270},
        {"10", "40", "1|2|300|45|50", "|||||90", 42, 11, 300, false, 0, 0, 0},
    };
    for (const auto& form : forms) {
        SCOPED_TRACE(form.transform);
        const std::string earlier = *form.earlier ? std::string("#6\na1,T=") + form.earlier + "\n" : "";
        const Read read = readText(kHeader + "0,ReferenceLongitude=" + form.referenceLongitude +
                                   ",ReferenceLatitude=" + form.referenceLatitude + "\n" + earlier +
                                   "#7\na1,T=" + form.transform + ",Type=Air+FixedWing\n");
        ASSERT_EQ(1u, read.tracks.size());
        ASSERT_EQ(earlier.empty() ? 1u : 2u, read.tracks[0].points.size());
        const TrackPoint& point = read.tracks[0].points.back();
        EXPECT_EQ(7, point.time); // no ReferenceTime: 1970
        EXPECT_NEAR(form.latitude, point.latitude, 1e-9);
        EXPECT_NEAR(form.longitude, point.longitude, 1e-9);
        EXPECT_EQ(form.altitude, point.altitude);
        EXPECT_EQ(form.hasAttitude, point.hasAttitude);
        EXPECT_EQ(form.bank, point.bank);
        EXPECT_EQ(form.pitch, point.pitch);
        EXPECT_EQ(form.heading, point.heading);
    }
}

TEST(AcmiReaderTest, PlacesThatCannotBeUsedAreSkippedWithTheirReasonAndFirstLine) {
    // The body starts at line 4, under the header and the references (10 east, 40 north).
    const struct {
        const char* body;
        const char* reason;
        uint64_t count, firstLine, read, kept;
    } cases[] = {
        {"#1\na1,T=1|2|3\n#2\na1,T=1|2|3m\n#3\na1,T=1|nan|3\n", "a transform component that is not a number",
         2, 7, 3, 1},
        {"#1\na1,T=1|50.5|3\n#2\na1,T=1|2|3\n#3\na1,T=-371|2|3\n", "a place off the globe", 2, 5, 3, 1},
        {"#1\na1,T=1|2\n#2\na1,T=1|2|3|4\n#3\na1,T=1|2|3|4|5|6|7|8|9|10\n#4\na1,T=1|2|3\n",
         "a transform of neither 3, 5, 6 nor 9 components", 3, 5, 4, 1},
        {"#1\na1,T=|2|3\n#2\na1,T=1|2|3\n#3\na1,T=|2|\n", "an empty place component with no earlier value", 1,
         5, 3, 2},
        // The skipped place still counts as the last one: the next T takes its longitude.
        {"a1,T=1|2|3\n#1\na1,T=||4\n", "a place before the first time frame", 1, 4, 2, 1},
        {"#1\na1,T=1|2|3\n#1.5s\na1,T=1|2|4\n#2\na1,T=1|2|5\n",
         "a place in a time frame that is not a number of seconds", 1, 7, 3, 2},
        {"#1\na1,T=1|2|3\na1,T=1|2|4\n", "the time stamp repeats the one before", 1, 6, 2, 1},
        {"#2\na1,T=1|2|3\n#1\na1,T=1|2|4\n#3\na1,T=1|2|5\n", "the time stamp goes back", 1, 7, 3, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        const Read read = readText(kHeader + "0,ReferenceLongitude=10,ReferenceLatitude=40\n" + c.body);
        ASSERT_EQ(1u, read.tracks.size());
        EXPECT_EQ(c.read, read.report.readCount());
        EXPECT_EQ(c.kept, read.report.keptCount());
        EXPECT_EQ(c.kept, read.tracks[0].points.size());
        ASSERT_EQ(1u, read.report.skips().size());
        EXPECT_EQ(c.reason, read.report.skips()[0].reason);
        EXPECT_EQ(c.count, read.report.skips()[0].count);
        EXPECT_EQ(c.firstLine, read.report.skips()[0].firstLine);
        for (const TrackPoint& point : read.tracks[0].points)
            EXPECT_EQ(42, point.latitude);
    }
}

TEST(AcmiReaderTest, OnlyAircraftAreTracks) {
    const struct {
        const char* lines;
        bool track;
    } objects[] = {
        {"a1,T=1|2|3,Type=Air+FixedWing\n", true},
        {"a1,T=1|2|3,Type=Heavy+Air+Rotorcraft\n", true},
        {"a1,T=1|2|3\n", true}, // never typed
        {"a1,T=1|2|3,Type=Weapon+Missile\n", false},
        {"a1,T=1|2|3,Type=Ground+Light+Human+Air+Parachutist\n", false},
        {"a1,T=1|2|3,Type=Misc+Decoy+Flare\n", false},
        {"a1,T=1|2|3,Type=Navaid+Static+Bullseye\n", false},
        {"a1,T=1|2|3,Type=Sea+Watercraft\n", false},
        {"a1,T=1|2|3,Type=Projectile+Shell\n", false},
        {"a1,T=1|2|3,Type=\n", false},
        {"a1,Type=Air+FixedWing,Name=No place\n", false},
        {"a1,T=1|2|3,Type=Air+FixedWing\na1,Type=Misc+Shrapnel\n", false}, // its last Type
        {"a1,T=1|2|3,Type=Weapon+Missile\na1,Type=Air+FixedWing\n", true},
    };
    for (const auto& object : objects) {
        SCOPED_TRACE(object.lines);
        const Read read = readText(kHeader + "#1\n" + object.lines);
        EXPECT_EQ(object.track ? 1u : 0u, read.tracks.size());
        EXPECT_EQ(object.track ? 1u : 0u, read.report.readCount());
    }
}

TEST(AcmiReaderTest, AnIdUsedAgainAfterItsRemovalIsAnotherAircraft) {
    // Both lives within one time frame, which the second's reading starts from.
    const Read read =
        readText(kHeader + "#1\nA1,T=1|2|3,Name=First\n-a1\na1,T=4|5|6,Name=Second\n#4\na1,T=||7\n");
    ASSERT_EQ(2u, read.tracks.size());
    EXPECT_EQ("First", read.tracks[0].aircraftType);
    ASSERT_EQ(1u, read.tracks[0].points.size());
    EXPECT_EQ(1, read.tracks[0].points[0].time);
    EXPECT_EQ("Second", read.tracks[1].aircraftType);
    ASSERT_EQ(2u, read.tracks[1].points.size());
    EXPECT_EQ(1, read.tracks[1].points[0].time);
    EXPECT_EQ(4, read.tracks[1].points[0].longitude);
    EXPECT_EQ(5, read.tracks[1].points[1].latitude);
    EXPECT_EQ(7, read.tracks[1].points[1].altitude);
}

TEST(AcmiReaderTest, AFileThatIsNoAcmi2TextIsAnErrorNamingItsLine) {
    const std::string refs = kHeader + "0,ReferenceLongitude=10\n";
    const struct {
        std::string text;
        std::string error;
    } files[] = {
        {"", "test.acmi:1: the file does not begin with FileType=text/acmi/tacview: it is no ACMI text file"},
        {"PK\x03\x04",
         "test.acmi:1: the file does not begin with FileType=text/acmi/tacview: it is no ACMI text file"},
        {"FileType=text/acmi/tacview\n",
         "test.acmi:2: the second line is not the FileVersion: it is no ACMI text file"},
        {"FileType=text/acmi/tacview\nFileVersion=1.1\n",
         "test.acmi:2: the file version \"1.1\" is not 2.x: only ACMI 2 text is read"},
        {"FileType=text/acmi/tacview\nFileVersion=2.x\n",
         "test.acmi:2: the file version \"2.x\" is not 2.x: only ACMI 2 text is read"},
        {kHeader + "0,ReferenceTime=2011-13-02T05:00:00Z\n",
         "test.acmi:3: the reference time is not an ISO 8601 time: \"2011-13-02T05:00:00Z\""},
        {refs + "0,ReferenceLongitude=-181\n",
         "test.acmi:4: the reference longitude is not a longitude in degrees: \"-181\""},
        {refs + "0,ReferenceLatitude=north\n",
         "test.acmi:4: the reference latitude is not a latitude in degrees: \"north\""},
        {refs + "#0\nz1,T=1|2|3\n", "test.acmi:5: the object id \"z1\" is not hexadecimal"},
        {refs + "#0\n-g\n", "test.acmi:5: the object id \"g\" is not hexadecimal"},
        {refs + ",T=1|2|3\n", "test.acmi:4: the object id \"\" is not hexadecimal"},
        {refs + "10000000000000000,T=1|2|3\n",
         "test.acmi:4: the object id \"10000000000000000\" is not hexadecimal"},
        {refs + std::string(50, 'g') + ",T=1|2|3\n",
         "test.acmi:4: the object id \"" + std::string(40, 'g') + "...\" is not hexadecimal"},
        {refs + "a1,Name=x\\\ny\n\nzz,T=1|2|3\n", "test.acmi:7: the object id \"zz\" is not hexadecimal"},
        {refs + "a1,Name=" + std::string(70000, 'x') + "\n",
         "test.acmi:4: the line is longer than 65536 characters"},
        {refs + "a1,Name=" + std::string(40000, 'x') + "\\\n" + std::string(40000, 'y') + "\n",
         "test.acmi:5: the line is longer than 65536 characters"},
    };
    for (const auto& file : files) {
        try {
            readText(file.text);
            ADD_FAILURE() << "no error for " << file.error;
        } catch (const TrackError& error) {
            EXPECT_EQ(file.error, error.what());
        }
    }
}

TEST(AcmiReaderTest, AnInputThatCannotGoBackIsRefused) {
    // A stream buffer without seeking, as a pipe's.
    struct OneWay : std::streambuf {
        explicit OneWay(std::string& text) { setg(text.data(), text.data(), text.data() + text.size()); }
    };
    std::string text = kHeader + "#1\na1,T=1|2|3\n";
    OneWay buffer(text);
    std::istream in(&buffer);
    try {
        AcmiReader reader(in, "pipe.acmi");
        ADD_FAILURE() << "no error";
    } catch (const TrackError& error) {
        EXPECT_STREQ("pipe.acmi: the file cannot be gone back in, as reading each track needs", error.what());
    }
}

} // namespace
