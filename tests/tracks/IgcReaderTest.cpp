// IGC flight logs read fix by fix: the real loggers' files, and what a malformed one gives.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tracks/IgcReader.h"
#include "tracks/TrackError.h"

namespace {

struct Read {
    std::vector<TrackPoint> points;
    ImportReport report;
    std::string aircraftType, registration;
};

Read readAll(std::istream& in, const std::string& name) {
    IgcReader reader(in, name);
    Read read;
    for (TrackPoint point; reader.next(point);)
        read.points.push_back(point);
    read.report = reader.report();
    read.aircraftType = reader.aircraftType();
    read.registration = reader.registration();
    return read;
}

Read readText(const std::string& text) {
    std::istringstream in(text);
    return readAll(in, "test.igc");
}

// Seconds since 1970 of a UTC date and time.
double utc(int year, unsigned month, unsigned day, int hours, int minutes, int seconds) {
    const std::chrono::sys_days date = std::chrono::year_month_day{
        std::chrono::year(year), std::chrono::month(month), std::chrono::day(day)};
    return static_cast<double>(date.time_since_epoch().count()) * 86400 + hours * 3600 + minutes * 60 +
           seconds;
}

TEST(IgcReaderTest, RealLogsKeepTheirFixesInTimeAcrossMidnightGapsAndRepeats) {
    const struct {
        const char* file;
        uint64_t read, kept;
        double first, last; // UTC
        double longestGap;  // seconds
        const char* aircraftType;
        const char* registration;
        double latitude, longitude; // of the first fix, worked out by hand from its B record
    } logs[] = {
        {"glider-newzealand-crosses-utc-midnight.igc", 5367, 5367, utc(2009, 11, 6, 23, 48, 8),
         utc(2009, 11, 7, 4, 8, 30), 3, "some_glider", "AA", -38.662883, 176.141683},
        {"flight-italy-middle-landing-with-gaps.igc", 14819, 14818, utc(2019, 3, 9, 11, 23, 18),
         utc(2019, 3, 9, 15, 36, 32), 226, "Anonymous", "", 41.590967, 12.957200},
        {"excerpt-poland-duplicate-timestamps.igc", 200, 150, utc(2003, 2, 1, 10, 16, 48),
         utc(2003, 2, 1, 10, 24, 3), 8, "", "", 53.771600, 20.419733},
        {"paraglider-turkey-skytraxx.igc", 2008, 2008, utc(2023, 4, 15, 7, 39, 37),
         utc(2023, 4, 15, 8, 13, 4), 1, "", "", 36.576383, 31.970783},
    };
    for (const auto& log : logs) {
        SCOPED_TRACE(log.file);
        std::ifstream in(std::string(ZEPHREL_REAL_TRACKS) + "/" + log.file, std::ios::binary);
        ASSERT_TRUE(in);
        const Read read = readAll(in, log.file);
        EXPECT_EQ(log.read, read.report.readCount());
        EXPECT_EQ(log.kept, read.report.keptCount());
        ASSERT_EQ(log.kept, read.points.size());
        EXPECT_EQ(log.first, read.points.front().time);
        EXPECT_EQ(log.last, read.points.back().time);
        double longestGap = 0;
        for (std::size_t i = 1; i < read.points.size(); ++i) {
            ASSERT_GT(read.points[i].time, read.points[i - 1].time) << "fix " << i;
            longestGap = std::max(longestGap, read.points[i].time - read.points[i - 1].time);
        }
        EXPECT_EQ(log.longestGap, longestGap);
        EXPECT_EQ(log.aircraftType, read.aircraftType);
        EXPECT_EQ(log.registration, read.registration);
        EXPECT_NEAR(log.latitude, read.points.front().latitude, 1e-6);
        EXPECT_NEAR(log.longitude, read.points.front().longitude, 1e-6);
    }
}

TEST(IgcReaderTest, RepeatedTimeStampsAreCountedWithTheirFirstLine) {
    std::ifstream in(std::string(ZEPHREL_REAL_TRACKS) + "/excerpt-poland-duplicate-timestamps.igc",
                     std::ios::binary);
    const Read read = readAll(in, "poland.igc");
    ASSERT_EQ(1u, read.report.skips().size());
    EXPECT_EQ("the time stamp repeats the one before", read.report.skips()[0].reason);
    EXPECT_EQ(50u, read.report.skips()[0].count);
    EXPECT_EQ(read.report.text("poland.igc"),
              "poland.igc: 200 points read, 50 skipped, 150 kept\n"
              "  50 skipped: the time stamp repeats the one before (first at line " +
                  std::to_string(read.report.skips()[0].firstLine) + ")\n");
}

const std::string kHeader = "AXXX001\r\nHFDTE150423\r\n";

TEST(IgcReaderTest, AFixGivesItsPlaceAndAltitude) {
    const struct {
        const char* record;
        double latitude, longitude, altitude;
    } fixes[] = {
        {"B1200004730000N00830000EA0050000600", 47.5, 8.5, 600},     // the GNSS altitude
        {"B1200004730000N00830000EA0050000000", 47.5, 8.5, 500},     // none: the pressure one
        {"B1200003830000S17630000WA-005300000", -38.5, -176.5, -53}, // south, west, below sea level
        {"B1200000000000N00000000EA0000000001", 0, 0, 1},
        {"B1200009000000N18000000EA0000000001", 90, 180, 1},
    };
    for (const auto& fix : fixes) {
        const Read read = readText(kHeader + fix.record + "\r\n");
        ASSERT_EQ(1u, read.points.size()) << fix.record;
        EXPECT_NEAR(fix.latitude, read.points[0].latitude, 1e-9) << fix.record;
        EXPECT_NEAR(fix.longitude, read.points[0].longitude, 1e-9) << fix.record;
        EXPECT_EQ(fix.altitude, read.points[0].altitude) << fix.record;
        EXPECT_EQ(utc(2023, 4, 15, 12, 0, 0), read.points[0].time) << fix.record;
    }
}

TEST(IgcReaderTest, MalformedFixesAreSkippedWithTheirReason) {
    const struct {
        const char* record;
        const char* reason;
    } fixes[] = {
        {"B1200004730000N00830000EA005000060", "a malformed fix"},  // one character short
        {"B1260004730000N00830000EA0050000600", "a malformed fix"}, // minute 60
        {"B2400004730000N00830000EA0050000600", "a malformed fix"}, // hour 24
        {"B1200004760000N00830000EA0050000600", "a malformed fix"}, // 60 minutes of latitude
        {"B1200009100000N00830000EA0050000600", "a malformed fix"}, // 91 degrees
        {"B1200004730000X00830000EA0050000600", "a malformed fix"}, // no hemisphere
        {"B120000473O000N00830000EA0050000600", "a malformed fix"}, // a letter O for a zero
        {"B1200004730000N00830000EX0050000600", "a malformed fix"}, // neither A nor V
        {"B1200004730000N00830000EA00-500600", "a malformed fix"},  // a sign inside the number
        {"B1200004730000N00830000EV0050000600", "no 3-D fix (V)"},
    };
    for (const auto& fix : fixes) {
        const Read read = readText(kHeader + fix.record + "\r\nB1200014730000N00830000EA0050000600\r\n");
        EXPECT_EQ(2u, read.report.readCount()) << fix.record;
        ASSERT_EQ(1u, read.points.size()) << fix.record;
        ASSERT_EQ(1u, read.report.skips().size()) << fix.record;
        EXPECT_EQ(fix.reason, read.report.skips()[0].reason) << fix.record;
        EXPECT_EQ(3u, read.report.skips()[0].firstLine) << fix.record;
    }
}

TEST(IgcReaderTest, TheDateIsTheHeadersInEitherForm) {
    const struct {
        const char* header;
        double time;
    } dates[] = {
        {"HFDTE010203", utc(2003, 2, 1, 12, 0, 0)},
        {"HFDTEDATE:150423,01", utc(2023, 4, 15, 12, 0, 0)},
        {"HFDTEDATE:311299", utc(1999, 12, 31, 12, 0, 0)},
    };
    for (const auto& date : dates) {
        const Read read =
            readText(std::string("AXXX\n") + date.header + "\nB1200004730000N00830000EA0050000600\n");
        ASSERT_EQ(1u, read.points.size()) << date.header;
        EXPECT_EQ(date.time, read.points[0].time) << date.header;
    }
}

TEST(IgcReaderTest, AFileThatIsNoLogIsAnErrorNamingItsLine) {
    const struct {
        std::string text;
        const char* error;
    } files[] = {
        {"", "test.igc:1: the file is empty"},
        {"AXXX\nB1200004730000N00830000EA0050000600\n",
         "test.igc:2: the first fix comes before the date (HFDTE)"},
        {"AXXX\nHFDTE320123\n", "test.igc:2: the date \"HFDTE320123\" is not DDMMYY"},
        {"AXXX\nHFDTE29022\n", "test.igc:2: the date \"HFDTE29022\" is not DDMMYY"},
        {"AXXX\n" + std::string(5000, 'H') + "\n",
         "test.igc:2: the line is longer than 1024 characters: this is no IGC flight log"},
    };
    for (const auto& file : files) {
        try {
            readText(file.text);
            ADD_FAILURE() << "no error for " << file.error;
        } catch (const TrackError& error) {
            EXPECT_STREQ(file.error, error.what());
        }
    }
}

} // namespace
