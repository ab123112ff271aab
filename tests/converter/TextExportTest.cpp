#include <cfloat>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <sstream>

#include "ConverterTestKit.h"
#include "converter/TextExport.h"

namespace {

using namespace convtest;
namespace fs = std::filesystem;

// The expected text comes from printf itself, so the line builder is checked against it.
__attribute__((format(printf, 1, 2))) std::string fmt(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

constexpr double kTwo32 = 4294967296.0;
const std::string kFixedTitles =
    "timestamp  "
    "       latitude        longitude    altitude     pitch      bank   heading  onground  "
    "  velocityX    velocityY    velocityZ  ";

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> result;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

// An exported track as its column titles and the blank-separated values of its data lines.
struct Table {
    std::vector<std::string> titles;
    std::vector<std::vector<std::string>> rows;

    std::string at(std::size_t row, const std::string& title) const {
        for (std::size_t i = 0; i < titles.size(); ++i)
            if (titles[i] == title)
                return rows.at(row).at(i);
        ADD_FAILURE() << "no column " << title;
        return {};
    }
    std::vector<std::string> column(const std::string& title) const {
        std::vector<std::string> values;
        for (std::size_t row = 0; row < rows.size(); ++row)
            values.push_back(at(row, title));
        return values;
    }
};

std::vector<Table> tablesOf(const std::string& text) {
    std::vector<Table> tables;
    bool inTrack = false;
    for (const std::string& line : splitLines(text)) {
        if (line.starts_with("#Data: ")) {
            tables.push_back({words(line.substr(7)), {}});
            inTrack = true;
        } else if (line.empty() || line.starts_with("//")) {
            inTrack = false;
        } else if (inTrack) {
            tables.back().rows.push_back(words(line));
            EXPECT_EQ(tables.back().titles.size(), tables.back().rows.back().size()) << line;
        }
    }
    return tables;
}

class TextExportTest : public TempFileTest {
protected:
    std::string out = dir.file("flight.txt");

    static ContData contAt(uint32_t timestamp) {
        ContData c{};
        c.timestamp = timestamp;
        return c;
    }
    static DiscData discAt(uint32_t timestamp) {
        DiscData d{};
        d.timestamp = timestamp;
        return d;
    }
    static FullRecording oneTrack(DataFormat format, std::vector<ContData> cont, std::vector<DiscData> disc) {
        return {{{"Test aircraft", "N123", 1.5f, format, std::move(cont), std::move(disc)}}, {}};
    }
    std::string exportOf(const FullRecording& recording, bool altitudeInMeters = false) {
        writeFullRecording(path, recording);
        exportText(path, out, altitudeInMeters);
        return readText(out);
    }
    Table tableOf(const FullRecording& recording, bool altitudeInMeters = false) {
        return tablesOf(exportOf(recording, altitudeInMeters)).at(0);
    }
};

TEST_F(TextExportTest, ColumnHeaderListsEveryGroupInTableOrderWithFourEngines) {
    const auto lines =
        splitLines(exportOf(oneTrack({4, ContGroup::All, DiscGroup::All, 0, 0}, {contAt(0)}, {})));
    std::string throttles, props, mixes, engines;
    for (int e = 1; e <= 4; ++e)
        throttles += fmt("throttle%d ", e), props += fmt("prop%d ", e), mixes += fmt(" mix%d ", e),
            engines += fmt("engine%d  ", e);
    std::string expected = "#Data: " + kFixedTitles + "elevators  ailerons  rudder  " + throttles + props +
                           mixes + "spoilers  flaps  gear  lights  parkbrake  " + engines;
    expected += "nav1frq nav1obs nav2frq nav2obs adffrq  com1frq com2frq squawk  smoke  "
                "   IAS    TAS   mach  mainexit tailhook wingfoldL wingfoldR  windDir windSpd  "
                "autopilot concnose     date       time   ";
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[4], expected); // the extended groups have no columns
}

TEST_F(TextExportTest, TwoEnginesGiveTwoColumnsPerEngineGroupAndEngineBitsZeroAndOne) {
    const DataFormat format{2, ContGroup::Throttles | ContGroup::Mixtures | ContGroup::Airspeeds,
                            DiscGroup::Gear | DiscGroup::Engines, 0, 0};
    std::vector<DiscData> disc = {discAt(0), discAt(10000), discAt(20000)};
    disc[0].engines = 0x0e; // engine 1 off, engine 2 on; the bits of absent engines are not shown
    disc[1].engines = 0x05;
    disc[2].engines = 0x03;
    const std::string text = exportOf(oneTrack(format, {contAt(0), contAt(10000), contAt(20000)}, disc));
    EXPECT_EQ(splitLines(text).at(4),
              "#Data: " + kFixedTitles +
                  "throttle1 throttle2  mix1  mix2 gear  engine1  engine2     IAS    TAS  ");
    const Table table = tablesOf(text).at(0);
    EXPECT_EQ(table.column("engine1"), (std::vector<std::string>{"0", "1", "1"}));
    EXPECT_EQ(table.column("engine2"), (std::vector<std::string>{"1", "0", "1"}));
}

TEST_F(TextExportTest, DataLineMatchesPrintfLayoutForEveryGroup) {
    ContData c = contAt(4294967295u);
    c.latitude = -14546296314512345, c.longitude = 7378697629483820646, c.altitude = -(int64_t{12} << 32) - 1;
    c.pitch = 190887435;
    c.bank = -1;            // a hair below level: "0.000" after negation
    c.heading = 0xFFFFFFFF; // rounds up to 360.000
    c.velocityX = -DBL_MAX, c.velocityY = 2.5e-6, c.velocityZ = -1234.567895;
    c.elevators = -32768, c.ailerons = 32767, c.rudder = -1;
    c.throttle[0] = -16384, c.throttle[1] = 0, c.throttle[2] = 16383, c.throttle[3] = 32767;
    c.prop[0] = 1, c.prop[1] = -2, c.prop[2] = 3, c.prop[3] = -4;
    c.mix[0] = 100, c.mix[1] = -100, c.mix[2] = 12345, c.mix[3] = -12345;
    c.spoilers = 65535;
    c.IAS = 0.125f, c.TAS = 2.375f; // ties at the last digit
    c.mainexit = std::numeric_limits<float>::quiet_NaN(), c.tailhook = std::numeric_limits<float>::infinity();
    c.wingfoldL = -0.5f, c.wingfoldR = 12345.678f, c.windDir = 7, c.windSpd = 65535, c.mach = 0.0625f;
    c.hour = 1, c.minute = 2, c.second = 3;
    c.extControls[0] = 1.0f, c.extFlaps[0] = 2, c.extGear[0] = 3.0f;
    DiscData d = discAt(0);
    d.onground = 1, d.flaps = 255, d.gear = 0x3FFF, d.lights = 0xFFFF, d.parkbrake = 1, d.engines = 0x0a;
    d.nav1 = 0x0845u | 123u << 16, d.nav2 = 0x1795u | 359u << 16, d.adf = 0x17995000u;
    d.com = 0x3697u | 0x1802u << 16, d.squawk = 0x7654;
    d.smoke = 2, d.autopilot = 1, d.concnose = 3, d.day = 5, d.month = 3, d.year = 987;

    // Degrees and feet from the stored units as the record layout defines them.
    std::string e = fmt("       %9.4f  ", 429496.7295);
    e += fmt("%15.10lf  %15.10lf  %10.3lf  ", -14546296314512345.0 * 90 / (10001750 * kTwo32),
             7378697629483820646.0 * 360 / (kTwo32 * kTwo32), (-12 * kTwo32 - 1) / kTwo32 / 0.3048);
    e += fmt("%8.3lf  %8.3lf  %8.3lf  ", -190887435.0 * 360 / kTwo32, 360 / kTwo32,
             4294967295.0 * 360 / kTwo32);
    e += fmt("%8d  ", 1) + fmt("%11.5lf  %11.5lf  %11.5lf  ", -DBL_MAX, 2.5e-6, -1234.567895);
    e += fmt("%9d  %8d  %6d  ", -32768, 32767, -1) + fmt("%9d %9d %9d %9d ", -16384, 0, 16383, 32767);
    e += fmt("%5d %5d %5d %5d ", 1, -2, 3, -4) + fmt("%5d %5d %5d %5d ", 100, -100, 12345, -12345);
    e += fmt("%8d  ", 65535) + fmt("%5d  ", 255) + fmt("%4d  ", 1) + fmt("%6d  ", 65535) + fmt("%9d  ", 1);
    e += fmt("%7d  %7d  %7d  %7d  ", 0, 1, 0, 1);
    e += fmt("%7.2f %7d %7.2f %7d %6.1f  ", 108.45, 123, 117.95, 359, 1799.5);
    e += fmt("%7.2f %7.2f %6d  ", 136.97, 118.02, 7654);
    e += fmt("%5d  ", 2) + fmt("%6.2f %6.2f  ", 0.125, 2.375) + fmt("%5.3f  ", 0.0625);
    e += fmt("%8.6f ", static_cast<double>(c.mainexit)) + fmt("%8.6f ", static_cast<double>(c.tailhook));
    e += fmt("%9.6f %9.6f  ", -0.5, static_cast<double>(12345.678f));
    e += fmt("    %03d %7d  ", 7, 65535) + fmt("%9d ", 1) + fmt("%8d ", 3);
    e += fmt(" %04d-%02d-%02d ", 987, 3, 5) + fmt(" %02d:%02d:%02d ", 1, 2, 3);
    const auto lines = splitLines(exportOf(oneTrack({4, ContGroup::All, DiscGroup::All, 0, 0}, {c}, {d})));
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[5], e);
}

TEST_F(TextExportTest, PitchAndBankNegatedAltitudeInFeetOrMetres) {
    struct Row {
        int32_t pitch, bank;
        int64_t altitude;
        const char* shown; // pitch, bank, altitude in feet, altitude in metres
    };
    const Row rows[] = {
        {0, 0, 0, "0.000 0.000 0.000 0.000"},
        {1 << 30, -(1 << 30), int64_t{1000} << 32, "-90.000 90.000 3280.840 1000.000"},
        {INT32_MIN, 1, -(int64_t{25} << 31), "180.000 -0.000 -41.010 -12.500"},
        {-(1 << 29), 1 << 29, std::llround(0.3048 * kTwo32), "45.000 -45.000 1.000 0.305"},
    };
    std::vector<ContData> cont;
    for (const Row& row : rows) {
        cont.push_back(contAt(static_cast<uint32_t>(cont.size()) * 10000));
        cont.back().pitch = row.pitch, cont.back().bank = row.bank, cont.back().altitude = row.altitude;
    }
    const Table feet = tableOf(oneTrack({0, 0, 0, 0, 0}, cont, {discAt(0)}), false);
    const Table metres = tableOf(oneTrack({0, 0, 0, 0, 0}, cont, {discAt(0)}), true);
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(feet.at(i, "pitch") + " " + feet.at(i, "bank") + " " + feet.at(i, "altitude") + " " +
                      metres.at(i, "altitude"),
                  rows[i].shown);
}

TEST_F(TextExportTest, DiscreteValuesShownAsGearFlagEngineBitsAndDecodedRadios) {
    struct Row {
        int16_t gear;
        uint8_t engines;
        uint32_t nav1, nav2, adf, com;
        uint16_t squawk;
        const char* shown; // gear, engine1..4, nav1frq nav1obs nav2frq nav2obs adffrq, com1frq com2frq squawk
    };
    const Row rows[] = {
        {0, 0x00, 0x0800, 0x1000u | 180u << 16, 0x01900000, 0x1800u | 0x2250u << 16, 0x1200,
         "0 0 0 0 0 108.00 0 110.00 180 190.0 118.00 122.50 1200"},
        {1, 0x01, 0x1795u | 359u << 16, 0x0405, 0x17999000, 0x3697u | 0x1802u << 16, 0x0007,
         "1 1 0 0 0 117.95 359 104.05 0 1799.9 136.97 118.02 7"},
        {0x3FFF, 0x0a, 0, 0, 0x05005000, 0, 0x7777, "1 0 1 0 1 100.00 0 100.00 0 500.5 100.00 100.00 7777"},
        {-1, 0xf0, 0, 0, 0, 0, 0, "1 0 0 0 0 100.00 0 100.00 0 0.0 100.00 100.00 0"},
    };
    std::vector<ContData> cont;
    std::vector<DiscData> disc;
    for (const Row& r : rows) {
        cont.push_back(contAt(static_cast<uint32_t>(cont.size()) * 10000));
        disc.push_back(discAt(cont.back().timestamp));
        DiscData& d = disc.back();
        d.gear = r.gear, d.engines = r.engines, d.nav1 = r.nav1, d.nav2 = r.nav2, d.adf = r.adf,
        d.com = r.com;
        d.squawk = r.squawk;
    }
    const uint32_t flags = DiscGroup::Gear | DiscGroup::Engines | DiscGroup::NavRadios | DiscGroup::ComRadios;
    const Table table = tableOf(oneTrack({4, 0, flags, 0, 0}, cont, disc));
    ASSERT_EQ(table.titles.size(), 24u);
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(std::vector<std::string>(table.rows.at(i).begin() + 11, table.rows.at(i).end()),
                  words(rows[i].shown))
            << i;
}

TEST_F(TextExportTest, DiscreteStateChangesAtItsTimestampAndOneRecordPerLine) {
    const DataFormat format{0, 0, DiscGroup::Flaps, 0, 0};
    std::vector<ContData> everySecond;
    for (uint32_t s = 0; s < 8; ++s)
        everySecond.push_back(contAt(s * 10000));
    const std::vector<ContData> everyTenSeconds = {contAt(0), contAt(100000), contAt(200000), contAt(300000),
                                                   contAt(400000)};
    std::vector<DiscData> twoStates = {discAt(0), discAt(50000)};
    twoStates[0].flaps = 1, twoStates[1].flaps = 2;
    EXPECT_EQ(tableOf(oneTrack(format, everySecond, twoStates)).column("flaps"),
              (std::vector<std::string>{"1", "1", "1", "1", "1", "2", "2", "2"}));
    // Three records fall between the lines at 0 s and 10 s: they come into force one line at a time.
    std::vector<DiscData> crowded = {discAt(0), discAt(30000), discAt(50000), discAt(70000)};
    for (uint8_t i = 0; i < 4; ++i)
        crowded[i].flaps = static_cast<uint8_t>(10 + i);
    EXPECT_EQ(tableOf(oneTrack(format, everyTenSeconds, crowded)).column("flaps"),
              (std::vector<std::string>{"10", "11", "12", "13", "13"}));
}

TEST_F(TextExportTest, TrackWithoutDiscreteRecordShowsAllZeroState) {
    const Table table = tableOf(oneTrack({2, 0, DiscGroup::All, 0, 0}, {contAt(0), contAt(10000)}, {}));
    ASSERT_EQ(table.rows.size(), 2u);
    // A BCD frequency of zero still has its implied hundreds digit.
    const std::string zeroState =
        " 0.0000000000 0.0000000000 0.000 0.000 0.000 0.000 0 0.00000 0.00000 0.00000 "
        "0 0 0 0 0 0 100.00 0 100.00 0 0.0 100.00 100.00 0 0 0 0 0000-00-00";
    EXPECT_EQ(table.rows[0], words("0.0000" + zeroState));
    EXPECT_EQ(table.rows[1], words("1.0000" + zeroState));
}

TEST_F(TextExportTest, MarkersSectionWritesExportableKindsOnly) {
    const uint32_t chapter = Marker::kChapter;
    struct Case {
        uint32_t time, type, flags;
        const char* text;
        const char* line; // empty: no line
    };
    // Written out from the line formats: a marker without chapter word keeps the blank before it.
    const Case cases[] = {
        {15000, Marker::None, chapter, "Take-off", "$Chapter: 1.5000 \"Take-off\"\n"},
        {20000, Marker::None, 0, "hidden", ""},
        {30000, Marker::PlaySound, 3, "a.wav", "$PlaySound: 3.0000 always \"a.wav\" \n"},
        {31234, Marker::PlaySound, 1 | chapter, "b.wav", "$PlaySound: 3.1234 inside \"b.wav\" chapter\n"},
        {40000, Marker::PlaySound, 2, "c", "$PlaySound: 4.0000 outside \"c\" \n"},
        {45000, Marker::PlaySound, 0, "d", "$PlaySound: 4.5000 never \"d\" \n"},
        {50000, Marker::DisplayText, 0x40 | 12 | chapter, "Hi there",
         "$DisplayText: 5.0000 12 scroll \"Hi there\" chapter\n"},
        {60000, Marker::DisplayText, 0x80 | 0x3f, "Text", "$DisplayText: 6.0000 63 static \"Text\" \n"},
        {70000, Marker::Pause, chapter, "Wait", "$Pause: 7.0000 \"Wait\" chapter\n"},
        {80000, Marker::Pause, 0, "", "$Pause: 8.0000 \"\" \n"},
        {90000, Marker::SwitchCamera, chapter, "cam", ""},
        {95000, 7, chapter, "unknown", ""},
        {4294967295u, Marker::Pause, 0, "end", "$Pause: 429496.7295 \"end\" \n"},
    };
    FullRecording recording;
    std::string expected = "// Markers\n";
    for (const Case& c : cases) {
        Marker& m = recording.markers.emplace_back();
        m.time = c.time, m.type = c.type, m.flags = c.flags, m.text = c.text;
        expected += c.line;
    }
    EXPECT_EQ(exportOf(recording), expected);
}

TEST_F(TextExportTest, HeaderLinesPerTrackAndBlankLineAfterEach) {
    FullRecording recording = oneTrack({0, 0, 0, 0, 0}, {contAt(0)}, {discAt(0)});
    recording.tracks[0].title = "Cessna Skyhawk 172SP";
    recording.tracks[0].tailNumber = "N172SP";
    recording.tracks[0].staticCGtoGround = 1.234567f;
    recording.tracks.push_back({"Boeing 737-800", "D-ABCDEFG", -0.000004f, {0, 0, 0, 0, 0}, {contAt(0)}, {}});
    std::vector<std::string> lines = splitLines(exportOf(recording));
    ASSERT_EQ(lines.size(), 15u);
    lines[5] = lines[12] = "(data)";
    const std::string expected =
        "// Track 1\n#Aircraft: \"Cessna Skyhawk 172SP\"\n#TailNumber: \"N172SP\"\n" +
        fmt("#StaticCGtoGround: %.5f", static_cast<double>(1.234567f)) + "\n#Data: " + kFixedTitles +
        "\n(data)\n\n// Track 2\n#Aircraft: \"Boeing 737-800\"\n#TailNumber: \"D-ABCDEFG\"\n" +
        fmt("#StaticCGtoGround: %.5f", static_cast<double>(-0.000004f)) + "\n#Data: " + kFixedTitles +
        "\n(data)\n\n// Markers";
    EXPECT_EQ(lines, splitLines(expected));
}

TEST_F(TextExportTest, ManyRecordsAcrossReadChunksKeepOrderAndDiscreteState) {
    constexpr uint32_t kCount = 10000; // more than two read chunks of 4096 records
    std::vector<ContData> cont;
    std::vector<DiscData> disc;
    for (uint32_t k = 0; k < kCount; ++k) {
        cont.push_back(contAt(k * 1000));
        cont.back().elevators = static_cast<int16_t>(static_cast<int>(k) - 5000);
        if (k % 1000 == 0) {
            disc.push_back(discAt(k * 1000));
            disc.back().flaps = static_cast<uint8_t>(k / 1000);
        }
    }
    const std::string text =
        exportOf(oneTrack({0, ContGroup::FlightControls, DiscGroup::Flaps, 0, 0}, cont, disc));
    EXPECT_EQ(splitLines(text).size(), 5 + kCount + 2);
    const Table table = tablesOf(text).at(0);
    ASSERT_EQ(table.rows.size(), kCount);
    for (uint32_t k = 0; k < kCount; ++k) // record 4096 is the first of the second chunk
        ASSERT_EQ(table.at(k, "timestamp") + " " + table.at(k, "elevators") + " " + table.at(k, "flaps"),
                  fmt("%.4f %d %u", k * 1000 / 10000.0, static_cast<int>(k) - 5000, k / 1000))
            << "record " << k;
}

TEST_F(TextExportTest, OutputThatCannotBeOpenedIsReportedAndLeavesNothing) {
    writeFullRecording(path, oneTrack({0, 0, 0, 0, 0}, {contAt(0)}, {discAt(0)}));
    const std::string missing = dir.file("missing/flight.txt");
    EXPECT_EQ(conversionMessage([&] { exportText(path, missing, false); }),
              "File " + missing + " could not be opened! (error 8: No such file or directory)");
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_FALSE(fs::exists(missing + ".part"));
}

TEST_F(TextExportTest, MissingOrDamagedInputIsNamedLeavesNoOutputAndKeepsAnOldOne) {
    writeFullRecording(path, oneTrack({0, 0, 0, 0, 0}, {contAt(0), contAt(10000)}, {discAt(0)}));
    const Bytes whole = readBytes(path);
    ASSERT_GT(whole.size(), 20u);
    const std::string input = dir.file("input.zfl");
    const std::string damaged =
        "The file '" + input + "' is damaged or uses an unsupported format! (error 11)";
    const struct {
        std::optional<Bytes> content; // nullopt: missing
        std::string message;
    } cases[] = {
        {std::nullopt, "File " + input + " could not be opened! (error 8: No such file or directory)"},
        {Bytes(100, 'x'), damaged},                        // not a recording
        {Bytes(whole.begin(), whole.end() - 20), damaged}, // cut short
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        std::remove(input.c_str());
        if (c.content)
            writeBytes(input, *c.content);
        std::remove(out.c_str());
        EXPECT_EQ(conversionMessage([&] { exportText(input, out, false); }), c.message);
        EXPECT_FALSE(fs::exists(out));
        EXPECT_FALSE(fs::exists(out + ".part"));
        writeText(out, "older export\n");
        EXPECT_EQ(conversionMessage([&] { exportText(input, out, false); }), c.message);
        EXPECT_EQ(readText(out), "older export\n");
        EXPECT_FALSE(fs::exists(out + ".part"));
    }
}

} // namespace
