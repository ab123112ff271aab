// CSV flight logs read row by row: the header's column names and units, the Garmin G1000 data
// log, quoting, and what a malformed row or file gives.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "support/UtcTime.h"
#include "tracks/CsvLine.h"
#include "tracks/CsvReader.h"
#include "tracks/TrackError.h"

namespace {

struct Read {
    std::vector<TrackPoint> points;
    ImportReport report;
    std::string aircraftType, registration;
};

Read readText(const std::string& text) {
    std::istringstream in(text);
    CsvReader reader(in, "test.csv");
    Read read;
    EXPECT_TRUE(reader.nextTrack());
    for (TrackPoint point; reader.next(point);)
        read.points.push_back(point);
    EXPECT_FALSE(reader.nextTrack());
    read.report = reader.report();
    read.aircraftType = reader.aircraftType();
    read.registration = reader.registration();
    return read;
}

const double kEight = utc(2024, 5, 1, 8, 0, 0); // 1714550400

TEST(CsvReaderTest, HeaderNamesAndUnitsSayWhatEachColumnHolds) {
    const struct {
        const char* text;
        double latitude, longitude, altitude, time;
    } files[] = {
        {"latitude,longitude,altitude,time\n47.5,8.5,420.5,2024-05-01T08:00:00Z\n", 47.5, 8.5, 420.5, kEight},
        {"Lat, Lon, Alt (ft), Timestamp\n47.5, 8.5, 1000, 1714550400\n", 47.5, 8.5, 304.8, kEight},
        // A byte order mark, CRLF, a blank line, semicolons and decimal commas.
        {"\xEF\xBB\xBF LAT ;LNG;alt_m;date_time\r\n\r\n47,5;8,5;420,5;2024-05-01 08:00:00\r\n", 47.5, 8.5,
         420.5, kEight},
        {"Altitude [m],long,Latitude,time (s)\n12.5,-122.25,45.5,1714550400.5\n", 45.5, -122.25, 12.5,
         kEight + 0.5},
        {"ele\tlon\tlat\ttime_ms\n-3\t8.5\t47.5\t1714550400250\n", 47.5, 8.5, -3, kEight + 0.25},
        {"date,time,lat,lon,altitude_feet\n2024-05-01,08:00:00,47.5,8.5,100\n", 47.5, 8.5, 30.48, kEight},
        {"local date;local time;utc offset;lat;lon;elevation\n2024-05-01;01:00:00;-07:00;47,5;8,5;100\n",
         47.5, 8.5, 100, kEight},
        {"\"Latitude\",\"Longitude\",\"Elevation (m)\",\"UTC\"\n47.5,8.5,100,2024-05-01T10:00:00+02:00\n",
         47.5, 8.5, 100, kEight},
        // Above mean sea level before a plain altitude before the GNSS one, whatever their order.
        {"lat,lon,GPS Altitude (ft),Altitude,Alt MSL (ft),seconds\n47.5,8.5,1,2,3,1714550400\n", 47.5, 8.5,
         0.9144, kEight},
        // A units row of as many fields as the header; the name's own unit first.
        {"#deg,deg,feet,s\nlat,lon,alt,time\n47.5,8.5,100,1714550400\n", 47.5, 8.5, 30.48, kEight},
        {"#,,ft,\nlat,lon,alt (m),time\n47.5,8.5,100,1714550400\n", 47.5, 8.5, 100, kEight},
        // A remark of other fields than the header is no units row.
        {"# feet, as exported\nalt,lat,lon,time\n100,47.5,8.5,1714550400\n", 47.5, 8.5, 100, kEight},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.text);
        const Read read = readText(file.text);
        ASSERT_EQ(1u, read.points.size());
        EXPECT_NEAR(file.latitude, read.points[0].latitude, 1e-9);
        EXPECT_NEAR(file.longitude, read.points[0].longitude, 1e-9);
        EXPECT_NEAR(file.altitude, read.points[0].altitude, 1e-9);
        EXPECT_NEAR(file.time, read.points[0].time, 1e-6);
        EXPECT_FALSE(read.points[0].hasAttitude);
    }
}

TEST(CsvReaderTest, APitchBankAndHeadingOnARowGiveItsAttitude) {
    const struct {
        const char* columns; // after time,lat,lon,alt
        const char* values;
        bool hasAttitude;
        double pitch, bank, heading;
    } rows[] = {
        {"pitch,roll,heading,track", "5,-20,90,95", true, 5, -20, 90},
        {"pitch,roll,heading,track", "5,-20,,95", true, 5, -20, 95}, // the track for a missing heading
        {"Pitch (deg),Bank,True Heading", "-3,20,-10", true, -3, 20, 350},
        {"pitch,bank,hdg", "0,0,360", true, 0, 0, 0},
        {"pitch,bank,hdg", "0,0,725", true, 0, 0, 5},
        {"pitch,roll,magnetic heading,declination", "1,2,100,-5", true, 1, 2, 95},
        {"pitch,roll,magnetic heading,declination", "1,2,2,-5", true, 1, 2, 357},
        {"pitch,roll,magnetic heading,declination", "1,2,100,", false, 0, 0, 0},
        {"pitch,roll,heading,track", ",-20,90,95", false, 0, 0, 0},
        {"pitch,roll,heading,track", "5,-20,,", false, 0, 0, 0},
        {"pitch,roll,heading", "91,0,90", false, 0, 0, 0},
        {"pitch,roll,heading", "0,-181,90", false, 0, 0, 0},
        {"pitch,roll", "1,2", false, 0, 0, 0},
    };
    for (const auto& row : rows) {
        const std::string text =
            std::string("time,lat,lon,alt,") + row.columns + "\n1714550400,47.5,8.5,100," + row.values + "\n";
        SCOPED_TRACE(text);
        const Read read = readText(text);
        ASSERT_EQ(1u, read.points.size());
        EXPECT_EQ(row.hasAttitude, read.points[0].hasAttitude);
        EXPECT_NEAR(row.pitch, read.points[0].pitch, 1e-9);
        EXPECT_NEAR(row.bank, read.points[0].bank, 1e-9);
        EXPECT_NEAR(row.heading, read.points[0].heading, 1e-9);
    }
}

// The G1000 data log's layout with fewer columns and made-up values; 45.5 N 122.25 W, where the
// variation is 15.5 degrees east.
const char* const kGarminLog =
    "#airframe_info, log_version=\"1.00\", airframe_name=\"Diamond DA40\", system_id=\"0000\", mode=NORMAL, "
    "\r\n"
    "#yyy-mm-dd, hh:mm:ss,   hh:mm,  ident,      degrees,      degrees, ft Baro,  ft msl,    kt,    deg,"
    "    deg,   deg,   deg,  ft wgs,    deg,   enum\r\n"
    "  Lcl Date, Lcl Time, UTCOfst, AtvWpt,     Latitude,    Longitude,    AltB,  AltMSL,   IAS,  Pitch,"
    "   Roll,   HDG,   TRK,  AltGPS, MagVar, GPSfix\r\n"
    "2021-06-12, 17:59:56,  -07:00,       ,             ,             ,   990.0,        ,  0.00,   0.10,"
    "   0.00, 180.0,      ,        ,       , NoSoln\r\n"
    "2021-06-12, 17:59:57,  -07:00,       ,             ,             ,   990.0,        ,  0.00,   0.10,"
    "   0.00, 180.0,      ,        ,       , NoSoln\r\n"
    "2021-06-12, 17:59:58,  -07:00,       ,   45.5000000, -122.2500000,  1010.0,  1000.0, 60.00,   2.50,"
    " -10.00, 350.0, 348.0,  1050.0,   15.5,     3D\r\n"
    "2021-06-12, 17:59:59,  -07:00,       ,   45.5010000, -122.2490000,  1020.0,  1010.0, 61.00,   3.00,"
    "  12.00,      , 200.0,  1060.0,   15.5,     3D\r\n"
    "2021-06-12, 18:00:00,  -07:00,       ,   45.5020000, -122.2480000,  1030.0,  1020.0, 62.00,       ,"
    "   0.00, 100.0, 100.0,  1070.0,   15.5,     3D\r\n"
    "2021-06-12, 18:00:01,  -07:00,       ,   45.5030000, -122.2470000,  1040.0,  1030.0, 63.00,   1.00,"
    "   0.00,   5.0,   4.0,  1080.0,  -12.0,     3D\r\n";

TEST(CsvReaderTest, TheG1000LogGivesUtcFeetAsMetresAndTrueHeadings) {
    const Read read = readText(kGarminLog);
    EXPECT_EQ("Diamond DA40", read.aircraftType);
    EXPECT_EQ("", read.registration);
    const struct {
        double time, latitude, longitude, altitude;
        bool hasAttitude;
        double pitch, bank, heading;
    } points[] = {
        // Local 17:59:58 seven hours behind UTC is 00:59:58 the next day; HDG 350 + 15.5 east.
        {utc(2021, 6, 13, 0, 59, 58), 45.5, -122.25, 304.8, true, 2.5, -10, 5.5},
        {utc(2021, 6, 13, 0, 59, 59), 45.501, -122.249, 307.848, true, 3, 12, 215.5}, // TRK without HDG
        {utc(2021, 6, 13, 1, 0, 0), 45.502, -122.248, 310.896, false, 0, 0, 0},       // no pitch
        {utc(2021, 6, 13, 1, 0, 1), 45.503, -122.247, 313.944, true, 1, 0, 353},      // 5 - 12
    };
    ASSERT_EQ(std::size(points), read.points.size());
    for (std::size_t i = 0; i < std::size(points); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(points[i].time, read.points[i].time);
        EXPECT_NEAR(points[i].latitude, read.points[i].latitude, 1e-9);
        EXPECT_NEAR(points[i].longitude, read.points[i].longitude, 1e-9);
        EXPECT_NEAR(points[i].altitude, read.points[i].altitude, 1e-9);
        EXPECT_EQ(points[i].hasAttitude, read.points[i].hasAttitude);
        EXPECT_NEAR(points[i].pitch, read.points[i].pitch, 1e-9);
        EXPECT_NEAR(points[i].bank, read.points[i].bank, 1e-9);
        EXPECT_NEAR(points[i].heading, read.points[i].heading, 1e-9);
    }
    EXPECT_EQ(read.report.text("log.csv"),
              "log.csv: 6 points read, 2 skipped, 4 kept\n"
              "  2 skipped: no latitude or longitude (no GPS fix) (first at line 4)\n");
}

TEST(CsvReaderTest, QuotedFieldsHoldSeparatorsAndQuotes) {
    const struct {
        const char* line;
        char separator;
        std::vector<std::string> fields;
    } lines[] = {
        {"a,b,c", ',', {"a", "b", "c"}},
        {" a , b ", ',', {"a", "b"}},
        {"\"a, b\",c", ',', {"a, b", "c"}},
        {"\"say \"\"hi\"\"\",x", ',', {"say \"hi\"", "x"}},
        {"\"  padded  \" ,", ',', {"  padded  ", ""}},
        {",", ',', {"", ""}},
        {"", ',', {""}},
        {"\"open, to the end", ',', {"open, to the end"}},
        {"\"a\"b ,c", ',', {"ab", "c"}},
        {"1;\"2;3\";4,5", ';', {"1", "2;3", "4,5"}},
        {"a\t b \tc", '\t', {"a", "b", "c"}},
    };
    std::vector<std::string> fields{"left", "from", "before"};
    for (const auto& line : lines) {
        splitCsvLine(line.line, line.separator, fields);
        EXPECT_EQ(line.fields, fields) << line.line;
    }

    const struct {
        const char* header;
        char separator;
    } headers[] = {{"a,b;c", ','}, {"a;b;c,d", ';'}, {"a\tb\tc", '\t'}, {"\"x;y;z\",b", ','}, {"abc", ','}};
    for (const auto& header : headers)
        EXPECT_EQ(header.separator, csvSeparator(header.header)) << header.header;

    const Read read = readText("\"Latitude\",\"Longitude\",\"Remark\",\"Altitude (ft)\",\"Time\",\"Tail\"\n"
                               "47.5,8.5,\"climbing, \"\"fast\"\"\",\"1000\",\"2024-05-01T08:00:00Z\",\"\"\n"
                               "47.6,8.6,,1000,2024-05-01T08:00:01Z,\"D-EABC\"\n");
    ASSERT_EQ(2u, read.points.size());
    EXPECT_NEAR(304.8, read.points[0].altitude, 1e-9);
    EXPECT_EQ(kEight, read.points[0].time);
    EXPECT_EQ("D-EABC", read.registration);
}

TEST(CsvReaderTest, MalformedRowsAreSkippedWithTheirReason) {
    const struct {
        const char* row;
        const char* reason;
    } rows[] = {
        {"47.5,8.5,100", "too few fields"},
        {",8.5,100,2024-05-01T08:00:00Z", "no latitude or longitude (no GPS fix)"},
        {"47.5, ,100,2024-05-01T08:00:00Z", "no latitude or longitude (no GPS fix)"},
        {"N47.5,8.5,100,2024-05-01T08:00:00Z", "the latitude or longitude is not a number"},
        {"90.1,8.5,100,2024-05-01T08:00:00Z", "the place is off the globe"},
        {"47.5,-180.5,100,2024-05-01T08:00:00Z", "the place is off the globe"},
        {"47.5,8.5,100,", "no time"},
        {"47.5,8.5,100,yesterday", "the time is not understood"},
        {"47.5,8.5,100,2024-02-30T08:00:00Z", "the time is not understood"},
        {"47.5,8.5,100,1e12", "the time is not understood"}, // some 31 700 years after 1970
        {"47.5,8.5,,2024-05-01T08:00:00Z", "no altitude"},
        {"47.5,8.5,high,2024-05-01T08:00:00Z", "the altitude is not a number"},
        {"47.5,8.5,inf,2024-05-01T08:00:00Z", "the altitude is not a number"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        const Read read =
            readText(std::string("lat,lon,alt,time\n") + row.row + "\n47.6,8.6,100,2024-05-01T09:00:00Z\n");
        EXPECT_EQ(2u, read.report.readCount());
        ASSERT_EQ(1u, read.points.size());
        ASSERT_EQ(1u, read.report.skips().size());
        EXPECT_EQ(row.reason, read.report.skips()[0].reason);
        EXPECT_EQ(2u, read.report.skips()[0].firstLine);
    }

    const Read read = readText("lat,lon,alt,time\n"
                               "47.5,8.5,100,2024-05-01T08:00:00Z\n"
                               "47.5,8.5,,2024-05-01T08:00:01Z\n"
                               "47.5,8.5,100,2024-05-01T08:00:00Z\n"
                               "47.5,8.5,100,2024-05-01T07:59:59Z\n"
                               "\n"
                               "# a remark\n"
                               "47.5,8.5,,2024-05-01T08:00:02Z\n"
                               "47.5,8.5,100,2024-05-01T08:00:01Z\n");
    ASSERT_EQ(2u, read.points.size());
    EXPECT_EQ(kEight + 1, read.points[1].time);
    EXPECT_EQ(read.report.text("t.csv"),
              "t.csv: 6 points read, 4 skipped, 2 kept\n"
              "  2 skipped: no altitude (first at line 3)\n"
              "  1 skipped: the time stamp repeats the one before (first at line 4)\n"
              "  1 skipped: the time stamp goes back (first at line 5)\n");
}

TEST(CsvReaderTest, AFileThatIsNoCsvLogIsAnErrorNamingItsLine) {
    const std::string header = "lat,lon,alt,time\n";
    const struct {
        std::string text;
        const char* error;
    } files[] = {
        {"", "test.csv:1: the file is empty"},
        {" \n\r\n", "test.csv:1: the file is empty"},
        {"# a remark\n#and another\n", "test.csv:2: the file has no header row naming its columns"},
        {"47.5,8.5,100,1714550400\n", "test.csv:1: the file has no header row naming its columns"},
        {"\n# tool\nlon,alt,time\n", "test.csv:3: the header names no latitude column"},
        {"lat,alt,time\n", "test.csv:1: the header names no longitude column"},
        {"lat,lon,time\n", "test.csv:1: the header names no altitude column"},
        {"lat,lon,altitude (s),time\n", "test.csv:1: the header names no altitude column"},
        {"lat,lon,alt\n", "test.csv:1: the header names no time column"},
        {"lat,lon,alt,date\n", "test.csv:1: the header names no time column"},
        {"lat,lon,alt,time (m)\n", "test.csv:1: the header names no time column"},
        {header + std::string(65537, ' ') + "\r\n", "test.csv:2: the line is longer than 65536 characters"},
        {std::string(70000, 'x'), "test.csv:1: the line is longer than 65536 characters"},
    };
    for (const auto& file : files) {
        try {
            readText(file.text);
            ADD_FAILURE() << "no error for " << file.error;
        } catch (const TrackError& error) {
            EXPECT_STREQ(file.error, error.what());
        }
    }
    // A line at the limit is read, its CR aside.
    const std::string row = "47.5,8.5,100,1714550400";
    const Read read = readText(header + row + std::string(65536 - row.size(), ' ') + "\r\n");
    EXPECT_EQ(1u, read.points.size());
}

} // namespace
