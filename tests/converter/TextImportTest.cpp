#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "ConverterTestKit.h"
#include "common/FlightData.h"
#include "converter/TextImport.h"
#include "support/Packed.h"

namespace {

using namespace convtest;
namespace fs = std::filesystem;

const std::string kSix = "latitude longitude altitude pitch bank heading";
const std::string kCub = "#Aircraft: \"Cub\"\n";
const std::string kData = "#Data: " + kSix + "\n";
const std::string kTrack = kCub + kData + "0 0 0 0 0 0\n";              // a track with one line
const std::string kTimed = kCub + "#Data: timestamp " + kSix + "\n";    // a track, no line yet
const std::string kTitleError = "Aircraft title has to be enclosed in \"double quotes\" and cannot be empty!";

std::string replaceLineEnds(const std::string& text, const std::string& end) {
    std::string out;
    for (char c : text)
        out += c == '\n' ? end : std::string(1, c);
    return out;
}

std::vector<uint32_t> contTimes(const FullTrack& track) {
    std::vector<uint32_t> times;
    for (const ContData& r : track.cont)
        times.push_back(copyOf(r.timestamp));
    return times;
}

std::vector<uint32_t> discTimes(const FullTrack& track) {
    std::vector<uint32_t> times;
    for (const DiscData& r : track.disc)
        times.push_back(copyOf(r.timestamp));
    return times;
}

// Any stored number, for a table of fields of several types.
template <typename T> double asDouble(T value) { return static_cast<double>(value); }

// Metres from the equator and from the zero meridian (at the equator).
double northMetres(const ContData& r) { return latitudeDegrees(copyOf(r.latitude)) * 40007000 / 360; }
double eastMetres(const ContData& r) { return longitudeDegrees(copyOf(r.longitude)) * 40075000 / 360; }

class TextImportTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string input = dir.file("flight.txt");
    std::string output = dir.file("flight.zfl");

    std::optional<std::string> failure(const std::string& text, bool metres = false) {
        writeText(input, text);
        return conversionMessage([&] { importText(input, output, metres); });
    }
    FullRecording imported(const std::string& text, bool metres = false) {
        if (const auto message = failure(text, metres)) {
            ADD_FAILURE() << "import failed: " << *message;
            return {};
        }
        return readFullRecording(output);
    }
    bool leftNothing() const { return !fs::exists(output) && !fs::exists(output + ".part"); }
};

TEST_F(TextImportTest, EveryRejectedLineHasItsOwnMessage) {
    const std::string title256(256, 'T'), text256(256, 't');
    const std::string minimum =
        "Minimum required data is latitude, longitude, altitude, pitch, bank and heading!";
    const std::string negative = "Timestamps cannot be negative!", empty = "Empty track is not allowed!";
    const std::string tail = "Tail number has to be enclosed in \"double quotes\"!";
    const std::string cg = "Invalid StaticCGtoGround value!", entry = "Invalid entry: ";
    const std::string offset = "Invalid offset entry: ", chapter = "Invalid chapter entry: ";
    const std::string sound = "Invalid play sound entry: ", display = "Invalid display text entry: ";
    const std::string dateError = "'! Valid formats are 'yyyy-mm-dd', 'dd.mm.yyyy', 'mm/dd/yyyy'.";
    struct Case {
        std::string text, message;
    };
    // A line after a complete track whose message quotes the line.
    const auto quoting = [](const std::string& prefix, const std::string& line) {
        return Case{kTrack + line, prefix + line};
    };
    const std::vector<Case> cases = {
        {kTrack + "#Aircraft: Cub", kTitleError}, {kTrack + "#Aircraft: \"\"", kTitleError},
        {kTrack + "#Aircraft: \"Cub", kTitleError}, {"#Aircraft: \"" + title256 + "\"", kTitleError},
        {kTrack + "#TailNumber: N123", tail}, {kTrack + "#TailNumber: \"1234567890\"", tail},
        {kTrack + "#StaticCGtoGround: 1e3", cg}, {kTrack + "#StaticCGtoGround: high", cg},
        quoting(entry, "#Weight: 1200"), quoting(entry, "#"),
        quoting(offset, "$Offset: 1 2"), quoting(offset, "$Offset: 1 y 3"),
        quoting(offset, "$Offset: 1 2 3 HX"), quoting(offset, "$Offset: 1 2 3 HPBH"),
        quoting(offset, "$Offset: 1 2 3 H 4"), quoting(offset, "$Offset: 1 2 3 4"),
        quoting("Invalid time offset entry: ", "$TimeOffset: soon"),
        quoting("Invalid time offset entry: ", "$TimeOffset:"),
        quoting("Invalid interval entry: ", "$Interval: 0,5"), quoting(chapter, "$Chapter: -1 \"x\""),
        quoting(chapter, "$Chapter: 1 x"), quoting(chapter, "$Chapter: 1 \"" + text256 + "\""),
        quoting(chapter, "$Chapter: 429496.7296 \"x\""), quoting(sound, "$PlaySound: 1 inside \"\""),
        quoting(sound, "$PlaySound: 1 loud \"a.wav\""), quoting(sound, "$PlaySound: -1 always \"a\""),
        quoting(sound, "$PlaySound: 1 always a.wav"), quoting(display, "$DisplayText: 1 64 static \"x\""),
        quoting(display, "$DisplayText: 1 5 blink \"x\""),
        quoting(display, "$DisplayText: 1 -5 static \"x\""),
        quoting(display, "$DisplayText: -1 5 scroll \"x\""), quoting(display, "$DisplayText: 1 5 scroll"),
        quoting("Invalid pause entry: ", "$Pause: 1"), quoting("Invalid pause entry: ", "$Pause: -0.5 \"x\""),
        quoting(entry, "$Jump: 1"), quoting(entry, "$Offset 1 2 3"),
        {kCub + "#Data: " + kSix + " foo", "Invalid column header: foo"},
        {kCub + "#Data: latitude longitude altitude pitch bank", minimum},
        {kCub + "#Data: heading latitude longitude altitude pitch onground", minimum},
        {"#Data: " + kSix, "No aircraft title specified!"},
        {kCub + kData + "#Data: " + kSix, empty}, {kCub + kData, empty},
        {kCub + kData + "0 0 0", empty},                           // the only line is skipped
        {kTrack + kData + "#Aircraft: \"B\"\n0 0 0 0 0 0", empty}, // the line is ignored
        {kTimed + "-1 0 0 0 0 0 0", negative}, {kTimed + "$TimeOffset: -5\n2 0 0 0 0 0 0", negative},
        {kCub + "$Interval: -1\n" + kData + "0 0 0 0 0 0\n0 0 0 0 0 0", negative},
        {kTimed + "2 0 0 0 0 0 0\n1.9999 0 0 0 0 0 0", "Timestamps have to be monotonically increasing!"},
        {kTimed + "429496.7296 0 0 0 0 0 0", "Timestamps cannot exceed 429496.7295 seconds!"},
        {kCub + "#Data: " + kSix + " date\n0 0 0 0 0 0 32.01.2011", "Invalid date '32.01.2011" + dateError},
        {kCub + "#Data: date " + kSix + "\n2011/08/15 0 0 0 0 0 0", "Invalid date '2011/08/15" + dateError},
        {kCub + "#Data: " + kSix + " time\n0 0 0 0 0 0 24:00:00",
         "Invalid time '24:00:00'! Valid format is 'hh:mm:ss'."},
    };
    for (const std::string_view end : {"\n", "\r\n"}) {
        for (const Case& c : cases) {
            const std::string lastLine = c.text.substr(c.text.rfind('\n', c.text.size() - 2) + 1, 60);
            SCOPED_TRACE(lastLine + (end == "\n" ? "" : " with CRLF"));
            EXPECT_EQ(c.message, failure(replaceLineEnds(c.text + "\n", std::string(end))));
            EXPECT_TRUE(leftNothing());
        }
    }
}

TEST_F(TextImportTest, FailureKeepsAnOlderOutputAndAMissingInputIsNamed) {
    writeText(output, "older");
    EXPECT_EQ(kTitleError, failure(kTrack + "#Aircraft: Cub\n"));
    EXPECT_EQ("older", readText(output));
    EXPECT_FALSE(fs::exists(output + ".part"));
    const std::string missing = dir.file("missing.txt");
    const auto open = [&] { importText(missing, output, false); };
    const std::string notOpened =
        "File " + missing + " could not be opened! (error 8: No such file or directory)";
    EXPECT_EQ(notOpened, conversionMessage(open));
    EXPECT_EQ("older", readText(output));
    fs::remove(output);
    EXPECT_EQ(notOpened, conversionMessage(open));
    EXPECT_TRUE(leftNothing());
}

TEST_F(TextImportTest, ColumnsComeInAnyOrderAndCase) {
    const auto rec = imported(kCub + "#Data: heading ALTITUDE bank Latitude pitch longitude"
                                     " throttle3 Engine2 flaps squawk\n"
                              "90 1000 -10 45 5 -135 -500 0 3 7700\n");
    ASSERT_EQ(1u, rec.tracks.size());
    const FullTrack& t = rec.tracks[0];
    EXPECT_EQ(ContGroup::Throttles, copyOf(t.format.ContFlags));
    EXPECT_EQ(DiscGroup::Flaps | DiscGroup::Engines | DiscGroup::ComRadios, copyOf(t.format.DiscFlags));
    EXPECT_EQ(3, copyOf(t.format.nEngines));
    ASSERT_EQ(1u, t.cont.size());
    ASSERT_EQ(1u, t.disc.size());
    const ContData& c = t.cont[0];
    const DiscData& d = t.disc[0];
    EXPECT_EQ(int64_t{10001750} << 31, copyOf(c.latitude));        // 45 degrees
    EXPECT_EQ(-3 * (int64_t{1} << 61), copyOf(c.longitude));       // -135 degrees
    EXPECT_EQ(1309106031820, copyOf(c.altitude));                   // 304.8 m
    EXPECT_EQ(-59652323, copyOf(c.pitch));                          // 5 degrees, negated
    EXPECT_EQ(119304647, copyOf(c.bank));                           // -10 degrees, negated
    EXPECT_EQ(1u << 30, copyOf(c.heading));                         // 90 degrees
    EXPECT_EQ(-500, copyOf(c.throttle[2]));
    EXPECT_EQ(0b101, copyOf(d.engines) & 0b111); // engine 2 stopped, 1 and 3 keep their default
    EXPECT_EQ(3, copyOf(d.flaps));
    EXPECT_EQ(0x7700, copyOf(d.squawk));
    EXPECT_EQ(0x18001800u, copyOf(d.com));
}

TEST_F(TextImportTest, FlagsAndEnginesComeExactlyFromTheColumns) {
    struct Case {
        std::string columns;
        uint32_t cont, disc;
        int engines;
    };
    const std::vector<Case> cases = {
        {"", 0, 0, 0},
        {"timestamp onground velocityx velocityy velocityz", 0, 0, 0},
        {"elevators ailerons rudder", ContGroup::FlightControls, 0, 0},
        {"throttle2", ContGroup::Throttles, 0, 2},
        {"prop1 mix4", ContGroup::Propellers | ContGroup::Mixtures, 0, 4},
        {"spoilers IAS TAS mach mainexit tailhook wingfoldL wingfoldR windDir windSpd time",
         0x10 | 0x20 | 0x400 | 0x40 | 0x80 | 0x100 | 0x200 | 0x800, 0, 0},
        {"flaps gear lights parkbrake", 0, 0xF, 0},
        {"engine3", 0, DiscGroup::Engines, 3},
        {"nav1frq nav2obs adffrq", 0, DiscGroup::NavRadios, 0},
        {"com2frq squawk", 0, DiscGroup::ComRadios, 0},
        {"smoke autopilot concnose date", 0, 0x80 | 0x100 | 0x200 | 0x400, 0},
        {"mix1 engine2 prop3", ContGroup::Mixtures | ContGroup::Propellers, DiscGroup::Engines, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columns);
        std::istringstream words(c.columns);
        std::string line = "1 2 3 4 5 6", word;
        while (words >> word)
            line += word == "date" ? " 2011-08-15" : word == "time" ? " 12:00:00" : " 1";
        const auto rec = imported(kCub + "#Data: " + kSix + " " + c.columns + "\n" + line + "\n");
        ASSERT_EQ(1u, rec.tracks.size());
        EXPECT_EQ(c.cont, copyOf(rec.tracks[0].format.ContFlags));
        EXPECT_EQ(c.disc, copyOf(rec.tracks[0].format.DiscFlags));
        EXPECT_EQ(c.engines, copyOf(rec.tracks[0].format.nEngines));
        EXPECT_EQ(1u, rec.tracks[0].cont.size());
    }
    // Titles after the 57th are not read at all.
    std::string columns = kSix, line = "0 0 0 0 0 0";
    for (int i = 0; i < 51; ++i)
        columns += " elevators", line += " 1";
    const auto rec = imported(kCub + "#Data: " + columns + " bogus\n" + line + "\n");
    ASSERT_EQ(1u, rec.tracks.size());
    EXPECT_EQ(ContGroup::FlightControls, copyOf(rec.tracks[0].format.ContFlags));
}

TEST_F(TextImportTest, EveryTrackStartsFromTheDefaults) {
    const auto rec = imported(kCub + "#Data: " + kSix + " nav1obs nav2frq com1frq engine1 throttle4\n"
                                     "0 0 0 0 0 0 90 110.5 121.5 0 0\n"
                                     "#Data: " + kSix + " nav1frq com2frq engine4\n"
                                     "0 0 0 0 0 0 109.1 122.8 0\n");
    ASSERT_EQ(2u, rec.tracks.size());
    ASSERT_EQ(1u, rec.tracks[0].disc.size());
    ASSERT_EQ(1u, rec.tracks[1].disc.size());
    const DiscData& a = rec.tracks[0].disc[0];
    EXPECT_EQ(0x0800u | 90u << 16, copyOf(a.nav1)); // NAV1 108.00
    EXPECT_EQ(0x1050u, copyOf(a.nav2));
    EXPECT_EQ(0x05000000u, copyOf(a.adf)); // 500.0 kHz
    EXPECT_EQ(0x2150u | 0x1800u << 16, copyOf(a.com)); // COM2 118.00
    EXPECT_EQ(0x1200, copyOf(a.squawk));
    EXPECT_EQ(0b1110, copyOf(a.engines) & 0xF);
    // Nothing of the first track carries over.
    const DiscData& b = rec.tracks[1].disc[0];
    EXPECT_EQ(0x0910u, copyOf(b.nav1));
    EXPECT_EQ(0x0800u, copyOf(b.nav2));
    EXPECT_EQ(0x05000000u, copyOf(b.adf));
    EXPECT_EQ(0x1800u | 0x2280u << 16, copyOf(b.com));
    EXPECT_EQ(0x1200, copyOf(b.squawk));
    EXPECT_EQ(0b0111, copyOf(b.engines) & 0xF);
}

TEST_F(TextImportTest, ValuesAreStoredByTheirKind) {
    const auto rec = imported(
        kCub + "#Data: " + kSix +
        " elevators ailerons rudder throttle1 prop2 mix3 spoilers flaps gear lights parkbrake smoke autopilot"
        " concnose windDir windSpd IAS TAS mach mainexit tailhook wingfoldL wingfoldR onground nav1frq adffrq"
        " date time\n"
        "0 0 0 0 0 0 -16384 70000 -1 32767 -32768 65535 65535 258 7 300 1 2 3 4 65537 20"
        " 120.5 130.25 0.5 1.5 0.25 0.75 1 2 113.45 1234.5 15.08.11 12:34:56\n"
        "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1" + std::string(39, '0') +
        " 0 0 0 0 0 0 0 113.45 1234.5 31.02.2011 23:59:59\n"
        "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1" + std::string(400, '0') +
        " 0 0 0 0 0 0 0 113.45 1234.5 31.02.2011 23:59:59\n");
    ASSERT_EQ(1u, rec.tracks.size());
    const FullTrack& t = rec.tracks[0];
    ASSERT_EQ(2u, t.cont.size()); // a number beyond the double range skips its line
    const ContData& c = t.cont[0];
    const DiscData& d = t.disc[0];
    struct Stored {
        const char* field;
        double actual, expected;
    };
    const std::vector<Stored> stored = {
        {"elevators", asDouble(c.elevators), -16384}, {"ailerons", asDouble(c.ailerons), 70000 - 65536},
        {"rudder", asDouble(c.rudder), -1},           {"throttle1", asDouble(c.throttle[0]), 32767},
        {"prop2", asDouble(c.prop[1]), -32768},       {"mix3", asDouble(c.mix[2]), -1},
        {"spoilers", asDouble(c.spoilers), 65535},    {"windDir", asDouble(c.windDir), 1},
        {"windSpd", asDouble(c.windSpd), 20},         {"IAS", asDouble(c.IAS), 120.5},
        {"TAS", asDouble(c.TAS), 130.25},             {"mach", asDouble(c.mach), 0.5},
        {"mainexit", asDouble(c.mainexit), 1.5},      {"tailhook", asDouble(c.tailhook), 0.25},
        {"wingfoldL", asDouble(c.wingfoldL), 0.75},   {"wingfoldR", asDouble(c.wingfoldR), 1},
        {"hour", asDouble(c.hour), 12},               {"minute", asDouble(c.minute), 34},
        {"second", asDouble(c.second), 56},           {"huge IAS", asDouble(t.cont[1].IAS), FLT_MAX},
        {"onground", asDouble(d.onground), 2},        {"flaps", asDouble(d.flaps), 2}, // the low byte of 258
        {"gear", asDouble(d.gear), 0x3FFF},           {"lights", asDouble(d.lights), 300},
        {"parkbrake", asDouble(d.parkbrake), 1},      {"smoke", asDouble(d.smoke), 2},
        {"autopilot", asDouble(d.autopilot), 3},      {"concnose", asDouble(d.concnose), 4},
        {"nav1", asDouble(copyOf(d.nav1) & 0xFFFF), 0x1345}, {"adf", asDouble(d.adf), 0x12345000},
        {"year", asDouble(d.year), 2011},             {"month", asDouble(d.month), 8},
        {"day", asDouble(d.day), 15},
    };
    for (const Stored& f : stored)
        EXPECT_EQ(f.expected, f.actual) << f.field;
    EXPECT_EQ(23, copyOf(t.cont[1].hour));
    EXPECT_EQ(0, copyOf(t.disc[1].gear));
    EXPECT_EQ(2, copyOf(t.disc[1].month));
    EXPECT_EQ(31, copyOf(t.disc[1].day));
}

TEST_F(TextImportTest, SkippedLinesDoNotCountForTheTimeOrder) {
    const auto rec = imported(kCub + "7 0 0 0 0 0 0\n#Data: timestamp " + kSix + "\n"
                                     "1 0 0 0 0 0 0\n"
                                     "5 0 0 0 0 0\n"      // one value too few
                                     "3 0 0 0 0 x 0\n"    // a malformed value
                                     "2 0 0 0 0 0 0 extra words\n"
                                     "// 9 0 0 0 0 0 0\n"
                                     "\n"
                                     "2 0 0 0 0 0 0\n"    // the same time again
                                     "3.00006 0 0 0 0 0 0\n");
    ASSERT_EQ(1u, rec.tracks.size());
    EXPECT_EQ((std::vector<uint32_t>{10000, 20000, 20000, 30001}), contTimes(rec.tracks[0]));
}

// The user hears of every data line left out, by count, and why the first one was, by its line
// in the file; blank lines and comments are no data lines.
TEST_F(TextImportTest, SkippedDataLinesAreCountedAndTheFirstIsNamed) {
    std::string longLine = "1 2 3 4 5 6";
    longLine.resize(1023, ' ');
    const struct {
        const char* name;
        std::string text;
        const char* summary;
    } cases[] = {
        {"none", kTrack + "\n   \n// 1 2\n", ""},
        {"a value missing", kTimed + "0 0 0 0 0 0 0\n1 0 0 0 0 0\n", "1 data line skipped (line 4, column heading: missing)"},
        {"an unsigned value", kCub + "#Data: " + kSix + " windDir\n0 0 0 0 0 0 10\n\n1 0 0 0 0 0 -167\n1 0 0 0 0 0\n",
         "2 data lines skipped (first: line 5, column windDir: \"-167\" is not an unsigned number)"},
        {"a signed value", kCub + "#Data: " + kSix + " elevators\n0 0 0 0 0 0 1.5\n0 0 0 0 0 0 -2\n",
         "1 data line skipped (line 3, column elevators: \"1.5\" is not a whole number)"},
        {"a decimal value", kTrack + "0 0 0 0 1e5 0\n",
         "1 data line skipped (line 4, column bank: \"1e5\" is not a decimal number)"},
        {"a date and a time", kCub + "#Data: " + kSix + " date time\n0 0 0 0 0 0 20110815000 1:2:3\n"
                                                 "0 0 0 0 0 0 2011-08-15 12:34:56.7\n0 0 0 0 0 0 15.8.11 1:2:3\n",
         "2 data lines skipped (first: line 3, column date: \"20110815000\" is not a date)"},
        {"before any track", kCub + "7 0 0 0 0 0 0\n" + kData + "0 0 0 0 0 0\n",
         "1 data line skipped (line 2, no \"#Data:\" line before it)"},
        {"after the columns were cleared", kTrack + "#Aircraft: \"Two\"\n0 0 0 0 0 0\n",
         "1 data line skipped (line 5, no \"#Data:\" line before it)"},
        {"the piece of a long line", kCub + kData + longLine + "bad\n0 0 0\n",
         "2 data lines skipped (first: line 3 from character 1024, column latitude: \"bad\" is not a decimal "
         "number)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeText(input, c.text);
        std::string summary;
        EXPECT_EQ(std::nullopt, conversionMessage([&] { summary = importText(input, output, false).summary(); }));
        EXPECT_EQ(c.summary, summary);
    }
}

TEST_F(TextImportTest, IntervalAndTimeOffsetGiveTheTimes) {
    const std::string line = "0 0 0 0 0 0\n";
    const auto rec = imported(kCub + "$Interval: 0.5\n" + kData + line + "0 0 0\n" + line + line +
                              kData + "$TimeOffset: 2\n" + line + line +
                              "#Data: timestamp " + kSix + "\n$TimeOffset: 1.5\n1 " + line +
                              "#Data: timestamp " + kSix + "\n1.23456 " + line);
    ASSERT_EQ(4u, rec.tracks.size());
    // A skipped line takes no step.
    EXPECT_EQ((std::vector<uint32_t>{0, 5000, 10000}), contTimes(rec.tracks[0]));
    EXPECT_EQ((std::vector<uint32_t>{20000, 25000}), contTimes(rec.tracks[1])); // the interval stays
    EXPECT_EQ((std::vector<uint32_t>{25000}), contTimes(rec.tracks[2]));
    EXPECT_EQ((std::vector<uint32_t>{12346}), contTimes(rec.tracks[3])); // rounded; offset reset
    // A time offset takes effect from the next line on; the limit itself is allowed.
    const auto late = imported(kTimed + "0 " + line + "$TimeOffset: 429496.7295\n0 " + line);
    ASSERT_EQ(1u, late.tracks.size());
    EXPECT_EQ((std::vector<uint32_t>{0, 4294967295u}), contTimes(late.tracks[0]));
}

TEST_F(TextImportTest, OffsetMovesTheFollowingLinesUntilTheNextTrack) {
    const auto rec = imported(kTimed + "0 0 0 0 0 0 90\n$Offset: 0 0 10 h\n1 0 0 0 0 0 90\n"
                                       "$Offset: 0 0 10\n2 0 0 0 0 0 90\n$Offset: 0 3 0\n3 0 0 0 0 0 90\n"
                                       "#Data: " + kSix + "\n0 0 0 0 0 90\n");
    ASSERT_EQ(2u, rec.tracks.size());
    const auto& a = rec.tracks[0].cont;
    ASSERT_EQ(4u, a.size());
    EXPECT_EQ(0, copyOf(a[0].latitude));
    EXPECT_EQ(0, copyOf(a[0].longitude));
    EXPECT_NEAR(10, eastMetres(a[1]), 1e-4); // forward on heading 90 is east
    EXPECT_NEAR(0, northMetres(a[1]), 1e-4);
    EXPECT_NEAR(0, eastMetres(a[2]), 1e-4); // the letter is gone: forward is north
    EXPECT_NEAR(10, northMetres(a[2]), 1e-4);
    EXPECT_EQ(int64_t{3} << 32, copyOf(a[3].altitude));
    for (const ContData& r : a) { // velocities come from the lines' own positions
        EXPECT_EQ(0.0, copyOf(r.velocityX));
        EXPECT_EQ(0.0, copyOf(r.velocityZ));
    }
    ASSERT_EQ(1u, rec.tracks[1].cont.size());
    EXPECT_EQ(0, copyOf(rec.tracks[1].cont[0].latitude));
    EXPECT_EQ(0, copyOf(rec.tracks[1].cont[0].longitude));
}

TEST_F(TextImportTest, VelocitiesAreGivenOrDerived) {
    const auto rec = imported(kCub + "#Data: timestamp " + kSix + " velocityy\n"
                                     "0 0 0 0 0 0 0 7\n2 0.001 0.002 20 0 0 0 8\n2 0.001 0.002 20 0 0 0 9\n");
    ASSERT_EQ(1u, rec.tracks.size());
    const auto& r = rec.tracks[0].cont;
    ASSERT_EQ(3u, r.size());
    EXPECT_EQ(0.0, copyOf(r[0].velocityX));
    EXPECT_EQ(7.0, copyOf(r[0].velocityY));
    // 0.002 degrees east (111319.44 m a degree) and 0.001 degrees north (111130.56 m) in 2 s.
    EXPECT_NEAR(0.002 * 111319.444 / 0.3048 / 2, copyOf(r[1].velocityX), 1e-3);
    EXPECT_EQ(8.0, copyOf(r[1].velocityY));
    EXPECT_NEAR(0.001 * 111130.556 / 0.3048 / 2, copyOf(r[1].velocityZ), 1e-3);
    EXPECT_EQ(0.0, copyOf(r[2].velocityX)); // no time passed
    EXPECT_EQ(9.0, copyOf(r[2].velocityY));
    EXPECT_EQ(0.0, copyOf(r[2].velocityZ));
}

TEST_F(TextImportTest, AltitudeMayBeGivenInMetres) {
    const std::string text = kTimed + "0 0 0 100 0 0 0\n2 0 0 160.96 0 0 0\n";
    const auto metres = imported(text, true);
    ASSERT_EQ(1u, metres.tracks.size());
    ASSERT_EQ(2u, metres.tracks[0].cont.size());
    EXPECT_NEAR(100, altitudeMetres(copyOf(metres.tracks[0].cont[0].altitude)), 1e-6);
    EXPECT_NEAR(100, copyOf(metres.tracks[0].cont[1].velocityY), 1e-6); // 200 ft in 2 s
    const auto feet = imported(text, false);
    ASSERT_EQ(1u, feet.tracks.size());
    EXPECT_NEAR(30.48, altitudeMetres(copyOf(feet.tracks[0].cont[0].altitude)), 1e-6);
    EXPECT_NEAR(30.48, copyOf(feet.tracks[0].cont[1].velocityY), 1e-6);
}

TEST_F(TextImportTest, TrackSettingsCarryOverButClearTheColumns) {
    const std::string longTitle(255, 'B'), line = "0 0 0 0 0 0\n";
    const auto rec = imported("#Aircraft: \"A\"\n#TailNumber: \"N12345678\"\n#StaticCGtoGround: 4.5\n" +
                              kData + line + kData + line + "#Aircraft: \"" + longTitle + "\"\n" + line +
                              kData + line + "#TailNumber: \"\"\n" + line + "#StaticCGtoGround: -2\n" + line +
                              kData + line + line);
    struct Expected {
        std::string title, tail;
        float cg;
        std::size_t lines;
    };
    const std::vector<Expected> expected = {{"A", "N12345678", 4.5f, 1},
                                            {"A", "N12345678", 4.5f, 1},
                                            {longTitle, "N12345678", 4.5f, 1}, // the columns were cleared
                                            {longTitle, "", -2, 2}};
    ASSERT_EQ(expected.size(), rec.tracks.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("track " + std::to_string(i));
        EXPECT_EQ(expected[i].title, rec.tracks[i].title);
        EXPECT_EQ(expected[i].tail, rec.tracks[i].tailNumber);
        EXPECT_EQ(expected[i].cg, rec.tracks[i].staticCGtoGround);
        EXPECT_EQ(expected[i].lines, rec.tracks[i].cont.size());
    }
}

TEST_F(TextImportTest, DiscreteRecordsOnlyWhenTheStateChanges) {
    const auto rec = imported(kCub + "#Data: timestamp " + kSix + " onground flaps\n"
                                     "0 0 0 0 0 0 0 0 0\n1 0 0 0 0 0 0 0 0\n2 0 0 0 0 0 0 1 0\n"
                                     "3 0 0 0 0 0 0 1 0\n4 0 0 0 0 0 0 1 2\n5 0 0 0 0 0 0 1 2\n"
                                     "6 0 0 0 0 0 0 0 0\n");
    ASSERT_EQ(1u, rec.tracks.size());
    EXPECT_EQ(7u, rec.tracks[0].cont.size());
    EXPECT_EQ((std::vector<uint32_t>{0, 20000, 40000, 60000}), discTimes(rec.tracks[0]));
}

TEST_F(TextImportTest, MarkersOfEveryKindAreWrittenAtTheEndInInputOrder) {
    const std::string text255(255, 'c');
    const auto rec = imported("$Chapter: 1.23456 \"Intro\"\n" + kCub + "$PlaySound: 2 inside \"a.wav\"\n" +
                              kData + "$PlaySound: 3 OUTSIDE \"b.wav\" chapter\n0 0 0 0 0 0\n"
                              "$PlaySound: 4 always \"c.wav\"\n$playsound: 5 never \"d.wav\"\n" + kData +
                              "$DisplayText: 6 60 scroll \"Hello\" chapter\n0 0 0 0 0 0\n"
                              "$DisplayText: 7 63 static \"\"\n$Pause: 8 \"Wait\"\n$Pause: 0.5 \"\" CHAPTER\n"
                              "$Chapter: 429496.7295 \"" + text255 + "\"\n"
                              "$Chapter: 0.0003 \"\"\n$Chapter: 0.0029 \"\"\n$Chapter: +0.00489 \"\"\n");
    EXPECT_EQ(2u, rec.tracks.size());
    struct Expected {
        uint32_t time, type, flags;
        std::string text;
    };
    const uint32_t chapter = Marker::kChapter;
    const std::vector<Expected> expected = {
        {12345, Marker::None, chapter, "Intro"}, // truncated, not rounded
        {20000, Marker::PlaySound, 1, "a.wav"},
        {30000, Marker::PlaySound, 2 | chapter, "b.wav"},
        {40000, Marker::PlaySound, 3, "c.wav"},
        {50000, Marker::PlaySound, 0, "d.wav"},
        {60000, Marker::DisplayText, 60 | 0x40 | chapter, "Hello"},
        {70000, Marker::DisplayText, 63, ""},
        {80000, Marker::Pause, 0, "Wait"},
        {5000, Marker::Pause, chapter, ""},
        {4294967295u, Marker::None, chapter, text255},
        // As written: these lose a unit when they pass through a double first.
        {3, Marker::None, chapter, ""},
        {29, Marker::None, chapter, ""},
        {48, Marker::None, chapter, ""},
    };
    ASSERT_EQ(expected.size(), rec.markers.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("marker " + std::to_string(i));
        EXPECT_EQ(expected[i].time, rec.markers[i].time);
        EXPECT_EQ(expected[i].type, rec.markers[i].type);
        EXPECT_EQ(expected[i].flags, rec.markers[i].flags);
        EXPECT_EQ(expected[i].text, rec.markers[i].text);
    }
}

TEST_F(TextImportTest, InputWithoutDataHeaderHasOnlyMarkers) {
    const auto rec = imported("// settings only\n" + kCub + "0 0 0 0 0 0\n$Pause: 1 \"x\"\n");
    EXPECT_TRUE(rec.tracks.empty());
    ASSERT_EQ(1u, rec.markers.size());
    EXPECT_EQ(10000u, rec.markers[0].time);
    const auto empty = imported("");
    EXPECT_TRUE(empty.tracks.empty());
    EXPECT_TRUE(empty.markers.empty());
}

TEST_F(TextImportTest, LongLinesAreReadInPiecesOf1023Characters) {
    // The first piece ends with the 1023rd character; the rest is a line of its own.
    std::string first = "1 2 3 4 5 6";
    first.resize(1023, ' ');
    const auto rec = imported(kCub + kData + first + "7 8 9 10 11 12\n//" + std::string(1019, 'x') + "#\n");
    ASSERT_EQ(1u, rec.tracks.size());
    ASSERT_EQ(2u, rec.tracks[0].cont.size());
    EXPECT_NEAR(1, latitudeDegrees(copyOf(rec.tracks[0].cont[0].latitude)), 1e-9);
    EXPECT_NEAR(7, latitudeDegrees(copyOf(rec.tracks[0].cont[1].latitude)), 1e-9);
    EXPECT_EQ("Invalid entry: #bad", failure(kTrack + "//" + std::string(1021, 'x') + "#bad\n"));
}

TEST_F(TextImportTest, CrLfLineEndsAreAccepted) {
    const std::string text = "#Aircraft: \"Cub\"\n#TailNumber: \"N1\"\n#StaticCGtoGround: 2.5\n#Data: " +
                             kSix +
                             " time date\n0 0 0 0 0 0 12:34:56 2011-08-15\n$Offset: 0 0 10 H\n"
                             "$Pause: 1 \"x\" chapter\n0 0 0 0 0 90 12:34:57 2011-08-15\n";
    const auto rec = imported(replaceLineEnds(text, "\r\n"));
    ASSERT_EQ(1u, rec.tracks.size());
    const FullTrack& t = rec.tracks[0];
    EXPECT_EQ("Cub", t.title);
    EXPECT_EQ("N1", t.tailNumber);
    EXPECT_EQ(2.5f, t.staticCGtoGround);
    ASSERT_EQ(2u, t.cont.size());
    EXPECT_EQ(57, copyOf(t.cont[1].second));
    EXPECT_NEAR(10, eastMetres(t.cont[1]), 1e-4);
    ASSERT_EQ(1u, t.disc.size());
    EXPECT_EQ(15, copyOf(t.disc[0].day));
    ASSERT_EQ(1u, rec.markers.size());
    EXPECT_EQ(Marker::kChapter, rec.markers[0].flags);
}

} // namespace
