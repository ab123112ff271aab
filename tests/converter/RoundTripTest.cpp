#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "ConverterTestKit.h"
#include "converter/TextExport.h"
#include "converter/TextImport.h"
#include "support/Packed.h"

namespace {

using namespace convtest;

constexpr double kTwo32 = 4294967296.0;
constexpr double kTwo64 = 18446744073709551616.0;
constexpr double kLatitudeUnitsPerDegree = 10001750.0 * kTwo32 / 90.0;

// The decimal digits of value, lowest first, one per nibble.
uint32_t bcd(int value, int digits) {
    uint32_t result = 0;
    for (int i = 0; i < digits; ++i, value /= 10)
        result |= static_cast<uint32_t>(value % 10) << (4 * i);
    return result;
}

// Values as the simulator records them and the text can carry: valid BCD radios and dates,
// headings and banks away from the wrap at 360 and 180 degrees.
class Generator {
public:
    int64_t integer(int64_t lo, int64_t hi) {
        return std::uniform_int_distribution<int64_t>(lo, hi)(random_);
    }
    template <typename T> T in(int64_t lo, int64_t hi) { return static_cast<T>(integer(lo, hi)); }
    template <typename T> T any() {
        return in<T>(std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
    }
    double real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random_); }
    float real32(double lo, double hi) { return static_cast<float>(real(lo, hi)); }

    ContData cont(uint32_t timestamp) {
        ContData c{};
        c.timestamp = timestamp;
        c.latitude = static_cast<int64_t>(real(-80, 80) * kLatitudeUnitsPerDegree);
        c.longitude = static_cast<int64_t>(real(-179.9, 179.9) / 360 * kTwo64);
        c.altitude = static_cast<int64_t>(real(-100, 12000) * kTwo32);
        c.pitch = in<int32_t>(-(1 << 30), 1 << 30);
        c.bank = in<int32_t>(INT32_MIN + (1 << 22), INT32_MAX - (1 << 22));
        c.heading = in<uint32_t>(0, UINT32_MAX - (1 << 22));
        c.velocityX = real(-500, 500), c.velocityY = real(-100, 100), c.velocityZ = real(-500, 500);
        c.elevators = any<int16_t>(), c.ailerons = any<int16_t>(), c.rudder = any<int16_t>();
        for (int e = 0; e < kMaxEngines; ++e)
            c.throttle[e] = any<int16_t>(), c.prop[e] = any<int16_t>(), c.mix[e] = any<int16_t>();
        c.spoilers = any<uint16_t>(), c.IAS = real32(0, 600), c.TAS = real32(0, 600), c.mach = real32(0, 2);
        c.mainexit = real32(0, 1), c.tailhook = real32(0, 1), c.wingfoldL = real32(0, 1);
        c.wingfoldR = real32(0, 1), c.windDir = in<uint16_t>(0, 359), c.windSpd = in<uint16_t>(0, 150);
        c.hour = in<uint8_t>(0, 23), c.minute = in<uint8_t>(0, 59), c.second = in<uint8_t>(0, 59);
        for (int i = 0; i < 8; ++i) // present in the recording, never in the text
            c.extFlaps[i] = in<uint16_t>(1, 65535);
        for (int i = 0; i < 5; ++i)
            c.extControls[i] = real32(-1, 1), c.extGear[i] = real32(0.5, 1);
        return c;
    }

    DiscData disc(uint32_t timestamp, uint8_t nEngines) {
        DiscData d{};
        d.timestamp = timestamp;
        d.onground = in<uint8_t>(0, 1), d.flaps = any<uint8_t>(), d.gear = integer(0, 1) != 0 ? 0x3FFF : 0;
        d.lights = any<uint16_t>(), d.parkbrake = in<uint8_t>(0, 1);
        d.engines = in<uint8_t>(0, (1 << nEngines) - 1);
        d.nav1 = bcd(in<int>(160, 359) * 5, 4) | in<uint32_t>(0, 359) << 16; // 108.00 .. 117.95 MHz
        d.nav2 = bcd(in<int>(160, 359) * 5, 4) | in<uint32_t>(0, 359) << 16;
        d.adf = bcd(in<int>(1900, 17999), 5) << 12;                              // 190.0 .. 1799.9 kHz
        d.com = bcd(in<int>(1800, 3697), 4) | bcd(in<int>(1800, 3697), 4) << 16; // 118.00 .. 136.97 MHz
        d.squawk = 0;                                                            // four digits 0..7
        for (int i = 0; i < 4; ++i)
            d.squawk = static_cast<uint16_t>(d.squawk << 4 | in<int>(0, 7));
        d.smoke = in<uint8_t>(0, 1), d.autopilot = any<uint8_t>(), d.concnose = in<uint8_t>(0, 3);
        d.day = in<uint8_t>(1, 28), d.month = in<uint8_t>(1, 12), d.year = in<uint16_t>(1951, 2050);
        return d;
    }

    // A track whose discrete state is recorded every `every` records; about a third of those
    // records repeat the state before them. `changes` receives the ones that change it.
    FullTrack track(const char* title, const char* tail, float cg, DataFormat format, uint32_t count,
                    uint32_t every, std::vector<DiscData>& changes) {
        FullTrack t{title, tail, cg, format, {}, {}};
        uint32_t time = static_cast<uint32_t>(integer(0, 100000));
        for (uint32_t k = 0; k < count; ++k) {
            time += static_cast<uint32_t>(integer(1, 20000));
            t.cont.push_back(cont(time));
            if (k % every != 0)
                continue;
            DiscData d = t.disc.empty() ? DiscData{} : t.disc.back();
            if (t.disc.empty() || integer(0, 2) != 0) {
                const uint8_t onground = d.onground;
                d = disc(time, format.nEngines);
                if (!t.disc.empty()) // a change of onground is seen by every track
                    d.onground = static_cast<uint8_t>(onground ^ 1);
                changes.push_back(d);
            }
            d.timestamp = time;
            t.disc.push_back(d);
        }
        return t;
    }

private:
    std::mt19937 random_{20240611};
};

bool near(double x, double y, double tolerance) {
    return std::fabs(x - y) <= tolerance;
}

void expectSameText(const std::string& first, const std::string& second) {
    if (first == second)
        return;
    const auto diff = static_cast<std::size_t>(
        std::mismatch(first.begin(), first.end(), second.begin(), second.end()).first - first.begin());
    const std::size_t start = first.rfind('\n', diff == 0 ? 0 : diff - 1) + 1;
    ADD_FAILURE() << "texts differ at line\n"
                  << first.substr(start, first.find('\n', start) - start) << "\n"
                  << second.substr(start, second.find('\n', start) - start);
}

// The imported track against the original, within what the text prints of each value.
void expectCarried(const FullTrack& original, const std::vector<DiscData>& changes, const FullTrack& imported,
                   bool altitudeInMeters) {
    EXPECT_EQ(imported.title, original.title);
    EXPECT_EQ(imported.tailNumber, original.tailNumber);
    EXPECT_NEAR(imported.staticCGtoGround, original.staticCGtoGround, 1e-5);
    const DataFormat f = original.format;
    const uint32_t cf = f.ContFlags, df = f.DiscFlags, n = f.nEngines;
    // Engines are counted from the engine columns; a track without any has none.
    const bool engineColumns = (cf & (ContGroup::Throttles | ContGroup::Propellers | ContGroup::Mixtures)) ||
                               (df & DiscGroup::Engines);
    EXPECT_EQ(copyOf(imported.format.nEngines), engineColumns ? n : 0u);
    EXPECT_EQ(copyOf(imported.format.ContFlags), cf & 0x0fffu); // the extended groups have no columns
    EXPECT_EQ(copyOf(imported.format.DiscFlags), df);
    const double altitudeUnit = altitudeInMeters ? 1 : 1 / 0.3048;
    // Degrees and metres from the stored units as the record layout defines them.
    auto latitudeDeg = [](int64_t v) { return static_cast<double>(v) / kLatitudeUnitsPerDegree; };
    auto longitudeDeg = [](int64_t v) { return static_cast<double>(v) * 360.0 / kTwo64; };
    auto metres = [](int64_t v) { return static_cast<double>(v) / kTwo32; };
    auto angleDeg = [](double v) { return v * 360.0 / kTwo32; };
    ASSERT_EQ(imported.cont.size(), original.cont.size());
    for (std::size_t k = 0; k < original.cont.size(); ++k) {
        SCOPED_TRACE("continuous record " + std::to_string(k));
        const ContData &a = original.cont[k], &b = imported.cont[k];
        EXPECT_EQ(copyOf(b.timestamp), copyOf(a.timestamp));
        EXPECT_NEAR(latitudeDeg(b.latitude), latitudeDeg(a.latitude), 1e-10);
        EXPECT_NEAR(longitudeDeg(b.longitude), longitudeDeg(a.longitude), 1e-10);
        EXPECT_NEAR(metres(b.altitude) * altitudeUnit, metres(a.altitude) * altitudeUnit, 1e-3);
        EXPECT_NEAR(angleDeg(b.pitch), angleDeg(a.pitch), 1e-3);
        EXPECT_NEAR(angleDeg(b.bank), angleDeg(a.bank), 1e-3);
        EXPECT_NEAR(angleDeg(b.heading), angleDeg(a.heading), 1e-3);
        EXPECT_TRUE(near(b.velocityX, a.velocityX, 1e-5) && near(b.velocityY, a.velocityY, 1e-5) &&
                    near(b.velocityZ, a.velocityZ, 1e-5));
        EXPECT_TRUE(!(cf & ContGroup::FlightControls) ||
                    (b.elevators == a.elevators && b.ailerons == a.ailerons && b.rudder == a.rudder));
        for (uint32_t e = 0; e < n; ++e)
            EXPECT_TRUE((!(cf & ContGroup::Throttles) || b.throttle[e] == a.throttle[e]) &&
                        (!(cf & ContGroup::Propellers) || b.prop[e] == a.prop[e]) &&
                        (!(cf & ContGroup::Mixtures) || b.mix[e] == a.mix[e]))
                << "engine " << e;
        EXPECT_TRUE(!(cf & ContGroup::Spoilers) || b.spoilers == a.spoilers);
        EXPECT_TRUE(!(cf & ContGroup::Airspeeds) || (near(b.IAS, a.IAS, 1e-2) && near(b.TAS, a.TAS, 1e-2)));
        EXPECT_TRUE(!(cf & ContGroup::Mach) || near(b.mach, a.mach, 1e-3));
        EXPECT_TRUE(!(cf & ContGroup::MainExit) || near(b.mainexit, a.mainexit, 1e-6));
        EXPECT_TRUE(!(cf & ContGroup::Tailhook) || near(b.tailhook, a.tailhook, 1e-6));
        EXPECT_TRUE(!(cf & ContGroup::WingFold) ||
                    (near(b.wingfoldL, a.wingfoldL, 1e-6) && near(b.wingfoldR, a.wingfoldR, 1e-6)));
        EXPECT_TRUE(!(cf & ContGroup::AmbientWind) || (b.windDir == a.windDir && b.windSpd == a.windSpd));
        EXPECT_TRUE(!(cf & ContGroup::TimeOfDay) ||
                    (b.hour == a.hour && b.minute == a.minute && b.second == a.second));
        EXPECT_TRUE(copyOf(b.extControls[0]) == 0 && copyOf(b.extFlaps[0]) == 0 && copyOf(b.extGear[0]) == 0);
    }
    // Only the changes of the discrete state come back.
    ASSERT_EQ(imported.disc.size(), changes.size());
    const uint32_t engineMask = (1u << n) - 1;
    for (std::size_t j = 0; j < changes.size(); ++j) {
        SCOPED_TRACE("discrete record " + std::to_string(j));
        const DiscData &a = changes[j], &b = imported.disc[j];
        EXPECT_EQ(copyOf(b.timestamp), copyOf(a.timestamp));
        EXPECT_EQ(copyOf(b.onground), copyOf(a.onground));
        EXPECT_TRUE(!(df & DiscGroup::Flaps) || b.flaps == a.flaps);
        EXPECT_TRUE(!(df & DiscGroup::Gear) || b.gear == a.gear) << copyOf(b.gear); // 0 or 0x3FFF
        EXPECT_TRUE(!(df & DiscGroup::Lights) || b.lights == a.lights);
        EXPECT_TRUE(!(df & DiscGroup::ParkingBrake) || b.parkbrake == a.parkbrake);
        EXPECT_TRUE(!(df & DiscGroup::Engines) || (b.engines & engineMask) == a.engines);
        EXPECT_TRUE(!(df & DiscGroup::NavRadios) || (b.nav1 == a.nav1 && b.nav2 == a.nav2 && b.adf == a.adf));
        EXPECT_TRUE(!(df & DiscGroup::ComRadios) || (b.com == a.com && b.squawk == a.squawk));
        EXPECT_TRUE(!(df & DiscGroup::Smoke) || b.smoke == a.smoke);
        EXPECT_TRUE(!(df & DiscGroup::Autopilot) || b.autopilot == a.autopilot);
        EXPECT_TRUE(!(df & DiscGroup::NoseVisor) || b.concnose == a.concnose);
        EXPECT_TRUE(!(df & DiscGroup::Date) || (b.day == a.day && b.month == a.month && b.year == a.year));
    }
}

class RoundTripTest : public TempFileTest {
protected:
    Generator generate;

    // Export, import that text, export again: the two texts must agree.
    FullRecording roundTrip(const FullRecording& original, bool altitudeInMeters) {
        const std::string first = dir.file("1.txt"), back = dir.file("back.zfl"), second = dir.file("2.txt");
        writeFullRecording(path, original);
        exportText(path, first, altitudeInMeters);
        importText(first, back, altitudeInMeters);
        exportText(back, second, altitudeInMeters);
        expectSameText(readText(first), readText(second));
        return readFullRecording(back);
    }

    void singleTrack(DataFormat format, bool altitudeInMeters) {
        std::vector<DiscData> changes;
        FullRecording original;
        original.tracks.push_back(
            generate.track("Douglas DC-3", "N25641", 2.345678f, format, 300, 7, changes));
        const FullRecording imported = roundTrip(original, altitudeInMeters);
        ASSERT_EQ(imported.tracks.size(), 1u);
        EXPECT_LT(changes.size(), original.tracks[0].disc.size());
        expectCarried(original.tracks[0], changes, imported.tracks[0], altitudeInMeters);
    }
};

TEST_F(RoundTripTest, EveryGroupWithFourEngines) {
    singleTrack({4, ContGroup::All, DiscGroup::All, 0, 0}, false);
}

TEST_F(RoundTripTest, NoOptionalGroupsWithAltitudeInMetres) {
    singleTrack({0, 0, 0, 0, 0}, true);
}

TEST_F(RoundTripTest, SeveralTracksAndEveryExportableMarker) {
    namespace CG = ContGroup;
    namespace DG = DiscGroup;
    std::vector<DiscData> changes[3];
    FullRecording original;
    const DataFormat formats[3] = {
        {1, CG::FlightControls | CG::Throttles | CG::TimeOfDay, DG::Flaps | DG::Engines | DG::Date, 0, 0},
        {2, CG::Propellers | CG::Mixtures | CG::Airspeeds | CG::Mach | CG::ExtendedGear,
         DG::Gear | DG::NavRadios | DG::ComRadios, 0, 0},
        {3, CG::Spoilers | CG::MainExit | CG::Tailhook | CG::WingFold | CG::AmbientWind,
         DG::Lights | DG::ParkingBrake | DG::Smoke | DG::Autopilot | DG::NoseVisor, 0, 0}};
    const char* names[3][2] = {
        {"Piper PA-28 Cherokee", "D-EFGH"}, {"Airbus A320", "D-AIPX"}, {"DHC-2", "C-FABC"}};
    for (uint32_t t = 0; t < 3; ++t)
        original.tracks.push_back(generate.track(names[t][0], names[t][1], 1.234567f * static_cast<float>(t),
                                                 formats[t], 90 + 30 * t, 3 + t, changes[t]));
    // Marker times are read back by truncation: multiples of 1/16 s print as exact decimals.
    const uint32_t chapter = Marker::kChapter;
    const struct {
        uint32_t sixteenths, type, flags;
        const char* text;
        bool exported;
    } rows[] = {{0, Marker::None, chapter, "Start", true},
                {3, Marker::PlaySound, 3 | chapter, "engine.wav", true},
                {5, Marker::None, 0, "comment", false},
                {17, Marker::PlaySound, 1, "inside.wav", true},
                {40, Marker::PlaySound, 2, "outside.wav", true},
                {41, Marker::PlaySound, 0, "never.wav", true},
                {100, Marker::DisplayText, 63 | 0x40 | chapter, "Scrolling", true},
                {101, Marker::DisplayText, 5, "Static text", true},
                {200, Marker::DisplayText, 0, "", true},
                {333, Marker::Pause, chapter, "Wait here", true},
                {999, Marker::Pause, 0, "", true},
                {1000, Marker::SwitchCamera, 0, "Cockpit", false}};
    std::vector<Marker> exportable;
    for (const auto& row : rows) {
        Marker& m = original.markers.emplace_back();
        m.time = row.sixteenths * 625, m.type = row.type, m.flags = row.flags, m.text = row.text;
        if (row.exported)
            exportable.push_back(m);
    }

    const FullRecording imported = roundTrip(original, false);
    ASSERT_EQ(imported.tracks.size(), 3u);
    for (std::size_t t = 0; t < 3; ++t) {
        SCOPED_TRACE("track " + std::to_string(t));
        expectCarried(original.tracks[t], changes[t], imported.tracks[t], false);
    }
    auto shown = [](const std::vector<Marker>& markers) {
        std::vector<std::string> result;
        for (const Marker& m : markers)
            result.push_back(std::to_string(m.time) + " " + std::to_string(m.type) + " " +
                             std::to_string(m.flags) + " \"" + m.text + "\"");
        return result;
    };
    EXPECT_EQ(shown(imported.markers), shown(exportable));
}

} // namespace
