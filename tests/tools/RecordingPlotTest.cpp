#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <vector>

#include "common/DataBuffer.h"
#include "common/ZflFile.h"
#include "support/Errors.h"
#include "support/TempDir.h"
#include "tools/AxisTicks.h"
#include "tools/PlotText.h"
#include "tools/RecordingPlot.h"

namespace {

constexpr double kLatitude = 46.0, kLongitude = 7.0; // where the test flights begin
constexpr double kMetresPerDegree = 111320.0, kFeetPerMetre = 3.28084, kMetresPerSecondPerKnot = 0.514444;

// Where a test aircraft is at a time: metres north and east of the start, its altitude, and its
// velocity over the ground.
struct Fix {
    double north, east, feet, headingDegrees, knots;
};
struct Flight {
    const char* title;
    double start, end, interval; // seconds
    std::function<Fix(double)> at;
};

// Climbs due north at 100 kt from 1000 to 5000 ft for two minutes, then turns right level at 2
// degrees a second for a full circle. Its title is not UTF-8.
constexpr double kTurnRadius = 100 * kMetresPerSecondPerKnot / (2 * M_PI / 180);
Fix climbAndTurn(double t) {
    const double leg = 100 * kMetresPerSecondPerKnot * std::min(t, 120.0);
    if (t <= 120)
        return Fix{leg, 0, 1000 + 4000 * t / 120, 0, 100};
    const double turned = (t - 120) * 2 * M_PI / 180;
    return Fix{leg + kTurnRadius * std::sin(turned), kTurnRadius * (1 - std::cos(turned)), 5000,
               (t - 120) * 2, 100};
}
const Flight kClimbAndTurn{"Climb and turn \xff", 0, 300, 0.5, climbAndTurn};

// Due east at 150 kt and 2000 ft, a kilometre south of the start.
Fix eastbound(double t) {
    return Fix{-1000, 150 * kMetresPerSecondPerKnot * (t - 30), 2000, 90, 150};
}
const Flight kEastbound{"Eastbound", 30, 200, 1, eastbound};

void writeRecording(const std::string& path, const std::vector<Flight>& flights,
                    const std::vector<Marker>& markers) {
    ZflFile file;
    file.open(path, ZflFile::Write);
    for (const Flight& flight : flights) {
        TrackInfo info{};
        std::strncpy(info.title, flight.title, sizeof info.title - 1);
        info.format = {0, 0, 0, contRecordSize(0, 0), discRecordSize(0)};
        file.addTrack(info);
        std::vector<unsigned char> record(info.format.contRecordSize);
        DataBuffer buffer(record.data(), nullptr, info.format);
        const auto samples = static_cast<long>(std::lround((flight.end - flight.start) / flight.interval));
        for (long i = 0; i <= samples && flight.end > flight.start; ++i) {
            const double t = flight.start + static_cast<double>(i) * flight.interval;
            const Fix fix = flight.at(t);
            ContData c{};
            c.timestamp = static_cast<uint32_t>(std::lround(t * kTicksPerSecond));
            c.latitude = latitudeFromDegrees(kLatitude + fix.north / kMetresPerDegree);
            c.longitude = longitudeFromDegrees(
                kLongitude + fix.east / (kMetresPerDegree * std::cos(kLatitude * M_PI / 180)));
            c.altitude = altitudeFromMetres(fix.feet / kFeetPerMetre);
            const double feetPerSecond = fix.knots * kMetresPerSecondPerKnot * kFeetPerMetre;
            c.velocityX = feetPerSecond * std::sin(fix.headingDegrees * M_PI / 180);
            c.velocityZ = feetPerSecond * std::cos(fix.headingDegrees * M_PI / 180);
            buffer.setContData(0, c);
            file.writeContData(record.data());
        }
        // A flight without continuous records keeps its track by its state alone.
        if (flight.end <= flight.start) {
            std::vector<unsigned char> state(info.format.discRecordSize);
            file.writeDiscData(state.data());
        }
    }
    for (const Marker& marker : markers)
        file.addMarker(marker);
    file.close();
}

Marker marker(double seconds, const char* text) {
    Marker m;
    m.time = static_cast<uint32_t>(seconds * kTicksPerSecond);
    m.type = Marker::DisplayText;
    m.text = text;
    return m;
}

// A PNG read back, asked which pixels have a colour (within what antialiasing leaves of a line).
class Picture {
public:
    explicit Picture(const std::string& path) : surface_(cairo_image_surface_create_from_png(path.c_str())) {}
    ~Picture() { cairo_surface_destroy(surface_); }
    bool loaded() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }
    bool is(int x, int y, PlotColour c) const {
        const unsigned char* row =
            cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
        uint32_t pixel;
        std::memcpy(&pixel, row + 4 * x, sizeof pixel);
        return std::abs(int(pixel >> 16 & 0xff) - c.red) < 40 &&
               std::abs(int(pixel >> 8 & 0xff) - c.green) < 40 && std::abs(int(pixel & 0xff) - c.blue) < 40;
    }
    // The rows (columns) of one column (row) of a panel where the colour is.
    std::vector<int> rowsAt(int x, const PlotRect& r, PlotColour c) const {
        return hits(x, r.y, r.y + r.height, c, true);
    }
    std::vector<int> columnsAt(int y, const PlotRect& r, PlotColour c) const {
        return hits(y, r.x, r.x + r.width, c, false);
    }

private:
    std::vector<int> hits(int at, double from, double to, PlotColour c, bool vertical) const {
        std::vector<int> found;
        for (int i = static_cast<int>(from); i < static_cast<int>(to); ++i)
            if (vertical ? is(at, i, c) : is(i, at, c))
                found.push_back(i);
        return found;
    }
    cairo_surface_t* surface_;
};

double middle(const std::vector<int>& v) {
    return v.empty() ? NAN : (v.front() + v.back()) / 2.0;
}

// Where a time, a value or a position falls, by the layout's edges.
double timeX(const PlotLayout& l, double seconds) {
    return l.altitude.x +
           (seconds * kTicksPerSecond - l.startTime) / (l.endTime - l.startTime) * l.altitude.width;
}
double valueY(const PlotRect& r, double value, double low, double high) {
    return r.y + r.height - (value - low) / (high - low) * r.height;
}
double mapX(const PlotLayout& l, double eastMetres) {
    const double longitude = kLongitude + eastMetres / (kMetresPerDegree * std::cos(kLatitude * M_PI / 180));
    return l.map.x + (longitude - l.west) / (l.east - l.west) * l.map.width;
}
double mapY(const PlotLayout& l, double northMetres) {
    return l.map.y +
           (l.north - (kLatitude + northMetres / kMetresPerDegree)) / (l.north - l.south) * l.map.height;
}

class RecordingPlotTest : public ::testing::Test {
protected:
    PlotLayout plot(const PlotOptions& options = {}) {
        writeRecording(recording, {kClimbAndTurn, kEastbound},
                       {marker(120, "Top of climb"), marker(165, "Quarter round")});
        return plotRecording(recording, picture, options);
    }
    TempDir dir;
    std::string recording = dir.file("climb.zfl");
    // Kept in the working folder (the build folder under CTest) to be looked at.
    std::string picture =
        std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png";
};

TEST_F(RecordingPlotTest, AltitudeRisesThroughTheClimbAndStaysLevelInTheTurn) {
    const PlotLayout l = plot();
    const Picture png(picture);
    ASSERT_TRUE(png.loaded());
    EXPECT_LE(l.lowestFeet, 1000);
    EXPECT_GE(l.highestFeet, 5000);
    double previous = INFINITY;
    for (double t = 3; t <= 297; t += 3) {
        const double y = middle(png.rowsAt(static_cast<int>(timeX(l, t)), l.altitude, kMarkedTrackColour));
        const double feet = t <= 120 ? 1000 + 4000 * t / 120 : 5000;
        EXPECT_NEAR(valueY(l.altitude, feet, l.lowestFeet, l.highestFeet), y, 2.5) << "at " << t << " s";
        if (t <= 120) {
            EXPECT_LT(y, previous) << "at " << t << " s";
        }
        previous = y;
    }
    // The eastbound track is level at 2000 ft while it flies.
    const double y =
        middle(png.rowsAt(static_cast<int>(timeX(l, 100)), l.altitude, PlotColour{110, 160, 225}));
    EXPECT_NEAR(valueY(l.altitude, 2000, l.lowestFeet, l.highestFeet), y, 2.5);
}

TEST_F(RecordingPlotTest, SpeedChartShowsEachTracksGroundSpeed) {
    const PlotLayout l = plot();
    const Picture png(picture);
    for (double t : {10.0, 150.0, 290.0}) {
        const double y = middle(png.rowsAt(static_cast<int>(timeX(l, t)), l.speed, kMarkedTrackColour));
        EXPECT_NEAR(valueY(l.speed, 100, l.lowestKnots, l.highestKnots), y, 2.5) << "at " << t << " s";
    }
    const double y = middle(png.rowsAt(static_cast<int>(timeX(l, 100)), l.speed, PlotColour{110, 160, 225}));
    EXPECT_NEAR(valueY(l.speed, 150, l.lowestKnots, l.highestKnots), y, 2.5);
    // Nothing of the eastbound track before it begins.
    EXPECT_TRUE(png.rowsAt(static_cast<int>(timeX(l, 20)), l.speed, PlotColour{110, 160, 225}).empty());
}

TEST_F(RecordingPlotTest, MarkerLinesStandAtTheirTimesInBothCharts) {
    const PlotLayout l = plot();
    const Picture png(picture);
    for (double seconds : {120.0, 165.0}) {
        for (const PlotRect* chart : {&l.altitude, &l.speed}) {
            // The column most covered in the markers' colour.
            int best = 0;
            std::size_t most = 0;
            for (int x = static_cast<int>(chart->x); x < chart->x + chart->width; ++x) {
                const std::size_t n = png.rowsAt(x, *chart, kMarkerColour).size();
                if (n > most && std::abs(x - timeX(l, seconds)) < 60)
                    best = x, most = n;
            }
            EXPECT_NEAR(timeX(l, seconds), best, 1.0) << seconds << " s";
            EXPECT_GT(most, chart->height * 0.8) << seconds << " s";
        }
    }
    // The top of climb marker stands where the altitude line levels off.
    const double level = valueY(l.altitude, 5000, l.lowestFeet, l.highestFeet);
    int levelled = static_cast<int>(l.altitude.x);
    while (!(std::abs(middle(png.rowsAt(levelled, l.altitude, kMarkedTrackColour)) - level) < 0.75))
        ++levelled;
    EXPECT_NEAR(timeX(l, 120), levelled, 3);
}

TEST_F(RecordingPlotTest, GroundTrackLiesWhereThePositionsAreAtOneScale) {
    const PlotLayout l = plot();
    const Picture png(picture);
    // North up and equal scale: a degree of longitude is cos(latitude) of a degree of latitude.
    const double middleLatitude = (l.north + l.south) / 2;
    EXPECT_NEAR((l.east - l.west) * std::cos(middleLatitude * M_PI / 180) / l.map.width,
                (l.north - l.south) / l.map.height, 1e-3 * (l.north - l.south) / l.map.height);
    // The climb due north is a vertical line, up to where the turn begins to swing east.
    const double legEnd = 100 * kMetresPerSecondPerKnot * 120;
    for (double north = 300; north < legEnd - 1.2 * kTurnRadius; north += 250) {
        const std::vector<int> xs =
            png.columnsAt(static_cast<int>(mapY(l, north)), l.map, kMarkedTrackColour);
        ASSERT_FALSE(xs.empty()) << north << " m north";
        EXPECT_NEAR(mapX(l, 0), xs.front(), 2.5) << north << " m north";
        EXPECT_NEAR(mapX(l, 0), xs.back(), 2.5) << north << " m north";
    }
    // The circle's east side, and the eastbound track a kilometre south of the start.
    EXPECT_FALSE(png.columnsAt(static_cast<int>(mapY(l, legEnd)), l.map, kMarkedTrackColour).empty());
    EXPECT_NEAR(mapX(l, 2 * kTurnRadius),
                png.columnsAt(static_cast<int>(mapY(l, legEnd)), l.map, kMarkedTrackColour).back(), 2.5);
    const std::vector<int> south =
        png.columnsAt(static_cast<int>(mapY(l, -1000)), l.map, PlotColour{110, 160, 225});
    ASSERT_FALSE(south.empty());
    EXPECT_NEAR(mapX(l, 150 * kMetresPerSecondPerKnot * 170), south.back(), 2.5);
    // The marker at the top of the climb is a dot where the turn begins.
    EXPECT_TRUE(png.is(static_cast<int>(mapX(l, 0)), static_cast<int>(mapY(l, legEnd)), kMarkerColour));
}

TEST_F(RecordingPlotTest, OneTrackAskedForIsTheOnlyOneAndTheMarkedOne) {
    const PlotLayout l = plot({.track = 2});
    const Picture png(picture);
    EXPECT_EQ(30u * kTicksPerSecond, l.startTime);
    EXPECT_EQ(200u * kTicksPerSecond, l.endTime);
    // Its time charts begin with it: its speed from the left edge, the marker where it falls.
    const double speedY = middle(png.rowsAt(static_cast<int>(timeX(l, 31)), l.speed, kMarkedTrackColour));
    EXPECT_NEAR(valueY(l.speed, 150, l.lowestKnots, l.highestKnots), speedY, 2.5);
    EXPECT_GT(png.rowsAt(static_cast<int>(timeX(l, 165)), l.speed, kMarkerColour).size(),
              l.speed.height * 0.8);
    // The eastbound track is a horizontal line in the strong colour, and track 1 is not drawn.
    const std::vector<int> xs = png.columnsAt(static_cast<int>(mapY(l, -1000)), l.map, kMarkedTrackColour);
    ASSERT_FALSE(xs.empty());
    EXPECT_NEAR(mapX(l, 0), xs.front(), 7); // the open circle where it begins
    EXPECT_NEAR(mapX(l, 150 * kMetresPerSecondPerKnot * 170), xs.back(), 2.5);
    EXPECT_TRUE(png.rowsAt(static_cast<int>(mapX(l, 0)),
                           {l.map.x, l.map.y, l.map.width, mapY(l, -600) - l.map.y}, kMarkedTrackColour)
                    .empty());
}

TEST_F(RecordingPlotTest, KeepsASpikeOfOneRecordAmongThousands) {
    // 30001 records, a hundred a second, one of them 8000 ft above the others.
    const auto spikeAt200s = [](double t) {
        return Fix{0, 0, std::abs(t - 200) < 0.005 ? 9000.0 : 1000.0, 0, 0};
    };
    const Flight busy{"Busy", 0, 300, 0.01, spikeAt200s};
    writeRecording(recording, {busy}, {});
    const PlotLayout l = plotRecording(recording, picture);
    const Picture png(picture);
    const std::vector<int> ys = png.rowsAt(static_cast<int>(timeX(l, 200)), l.altitude, kMarkedTrackColour);
    ASSERT_FALSE(ys.empty());
    EXPECT_NEAR(valueY(l.altitude, 9000, l.lowestFeet, l.highestFeet), ys.front(), 2.5);
}

struct Refusal {
    const char* name;
    std::vector<Flight> flights;
    uint32_t track;
    const char* output; // in the test's folder
    const char* says;
};

class RecordingPlotRefusalTest : public ::testing::TestWithParam<Refusal> {};

TEST_P(RecordingPlotRefusalTest, SaysWhyAndLeavesNoPicture) {
    const Refusal& refusal = GetParam();
    TempDir dir;
    writeRecording(dir.file("flight.zfl"), refusal.flights, {});
    const std::string output = dir.file(refusal.output);
    try {
        plotRecording(dir.file("flight.zfl"), output, {.track = refusal.track});
        ADD_FAILURE() << "drawn";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(refusal.says), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_FALSE(std::filesystem::exists(output + ".part"));
}

const Flight kNoRecords{"Parked", 0, 0, 1, kClimbAndTurn.at};
INSTANTIATE_TEST_SUITE_P(
    Cases, RecordingPlotRefusalTest,
    ::testing::Values(Refusal{"TrackOutOfRange",
                              {kClimbAndTurn, kEastbound},
                              3,
                              "p.png",
                              "no track 3: the recording has 2 tracks"},
                      Refusal{"NoRecords", {kNoRecords}, 0, "p.png", "no flight records to plot"},
                      Refusal{"TrackWithoutRecords",
                              {kClimbAndTurn, kNoRecords},
                              2,
                              "p.png",
                              "track 2 holds no flight records"},
                      Refusal{
                          "OutputFolderMissing", {kClimbAndTurn}, 0, "none/p.png", "could not be written"}),
    caseName<Refusal>);

TEST(AxisTicksTest, RangesWidenToRoundStepsWithinTheStepsAllowed) {
    struct Case {
        double low, high;
        int maxSteps;
        double step, roundLow, roundHigh;
    };
    const Case cases[] = {
        {0, 4230, 8, 1000, 0, 5000}, {1530, 1580, 5, 10, 1530, 1580}, {-3, 7, 5, 5, -5, 10},
        {0.12, 0.93, 4, 0.5, 0, 1},  {95, 95.4, 6, 0.1, 95, 95.4},
    };
    for (const Case& c : cases) {
        const RoundRange range = roundRange(c.low, c.high, c.maxSteps);
        EXPECT_DOUBLE_EQ(c.step, range.step) << c.low << " to " << c.high;
        EXPECT_NEAR(c.roundLow, range.low, 1e-9) << c.low << " to " << c.high;
        EXPECT_NEAR(c.roundHigh, range.high, 1e-9) << c.low << " to " << c.high;
        EXPECT_LE((range.high - range.low) / range.step, c.maxSteps + 1e-9);
    }
    EXPECT_DOUBLE_EQ(0.5, roundLengthAtMost(0.8));
    EXPECT_DOUBLE_EQ(2, roundLengthAtMost(3.7));
    EXPECT_DOUBLE_EQ(10, roundLengthAtMost(10));
    EXPECT_DOUBLE_EQ(0.02, roundLengthAtMost(0.03));
}

std::vector<std::string> labels(const std::vector<AxisTick>& ticks) {
    std::vector<std::string> text;
    for (const AxisTick& tick : ticks)
        text.push_back(tick.label);
    return text;
}

TEST(AxisTicksTest, LabelsValuesAndTimesAsAReaderTakesThem) {
    using Labels = std::vector<std::string>;
    EXPECT_EQ((Labels{"0.0", "0.5", "1.0"}), labels(valueTicks(0, 1, 0.5)));
    EXPECT_EQ((Labels{"-1000", "-500", "0", "500", "1000"}), labels(valueTicks(-1000, 1000, 500)));
    struct Case {
        double start, end;
        int maxTicks;
        const char* unit;
        Labels labels;
    };
    const Case cases[] = {
        {0, 300, 10, "min", {"0", "1", "2", "3", "4", "5"}},
        {0,
         5400,
         12,
         "h:mm",
         {"0:00", "0:10", "0:20", "0:30", "0:40", "0:50", "1:00", "1:10", "1:20", "1:30"}},
        {0, 40, 10, "m:ss", {"0:00", "0:05", "0:10", "0:15", "0:20", "0:25", "0:30", "0:35", "0:40"}},
        {100, 250, 6, "m:ss", {"2:00", "2:30", "3:00", "3:30", "4:00"}},
    };
    for (const Case& c : cases) {
        const TimeTicks ticks = timeTicks(c.start, c.end, c.maxTicks);
        EXPECT_EQ(c.unit, ticks.unit) << c.start << " to " << c.end;
        EXPECT_EQ(c.labels, labels(ticks.ticks)) << c.start << " to " << c.end;
    }
    EXPECT_EQ("5:00", durationText(300));
    EXPECT_EQ("1:02:05", durationText(3725));
    EXPECT_EQ("1:00", durationText(59.6));
}

TEST(PlotTextTest, KeepsCharactersAndReplacesWhatCairoWouldRefuse) {
    const struct {
        const char* text;
        std::size_t most;
        const char* drawable;
    } cases[] = {
        {"Zl\xc3\xadn Z-526", 40, "Zl\xc3\xadn Z-526"},
        {"bad \xff byte", 40, "bad ? byte"},
        {"over\xc0\xaflong", 40, "over??long"},
        {"cut \xe2\x82", 40, "cut ??"},
        {"surrogate \xed\xa0\x80", 40, "surrogate ???"},
        {"tab\there", 40, "tab here"},
        {"abcdef", 3, "abc..."},
        {"\xc3\xa9t\xc3\xa9", 2, "\xc3\xa9t..."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.drawable, drawableText(c.text, c.most)) << c.text;
}

} // namespace
