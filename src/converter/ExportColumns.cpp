#include "common/Ticks.h"
#include "converter/ExportColumns.h"

#include <algorithm>
#include <array>

namespace ExportColumns {
namespace {

// What a line is made from: the continuous record and the discrete state in force at it.
struct Row {
    const ContData& cont;
    const DiscData& disc;
    uint32_t nEngines;
    bool altitudeInMeters;
};

constexpr double kFeetPerMetre = 1 / 0.3048;

// Adding 0.0 turns a negated zero into a plain one, so a level attitude reads "0.000".
double negatedDegrees(int32_t angle) { return -angleDegrees(angle) + 0.0; }

void engineTitles(TextLine& line, uint32_t nEngines, const char* name, const char* before) {
    for (uint32_t engine = 1; engine <= nEngines; ++engine) {
        line.append(before);
        line.append(name);
        line.integer(engine, 0);
        line.append(" ");
    }
}

void engineValues(TextLine& line, const int16_t* values, uint32_t nEngines, int width) {
    for (uint32_t engine = 0; engine < nEngines; ++engine) {
        line.integer(values[engine], width);
        line.append(" ");
    }
}

struct Group {
    bool continuous;
    uint32_t flag; // 0: always written
    void (*titles)(TextLine& line, uint32_t nEngines);
    void (*values)(TextLine& line, const Row& row);
};

const std::array<Group, 26> kGroups = {{
    {true, 0, [](TextLine& l, uint32_t) { l.append("timestamp  "); },
     [](TextLine& l, const Row& r) {
         l.append("       ");
         l.fixed(static_cast<double>(r.cont.timestamp) / kTicksPerSecond, 9, 4);
         l.append("  ");
     }},
    {true, 0,
     [](TextLine& l, uint32_t) {
         l.append("       latitude        longitude    altitude     pitch      bank   heading  onground  ");
     },
     [](TextLine& l, const Row& r) {
         const double metres = altitudeMetres(r.cont.altitude);
         l.fixed(latitudeDegrees(r.cont.latitude), 15, 10);
         l.append("  ");
         l.fixed(longitudeDegrees(r.cont.longitude), 15, 10);
         l.append("  ");
         l.fixed(r.altitudeInMeters ? metres : metres * kFeetPerMetre, 10, 3);
         l.append("  ");
         l.fixed(negatedDegrees(r.cont.pitch), 8, 3);
         l.append("  ");
         l.fixed(negatedDegrees(r.cont.bank), 8, 3);
         l.append("  ");
         l.fixed(headingDegrees(r.cont.heading), 8, 3);
         l.append("  ");
         l.integer(r.disc.onground, 8);
         l.append("  ");
     }},
    {true, 0, [](TextLine& l, uint32_t) { l.append("  velocityX    velocityY    velocityZ  "); },
     [](TextLine& l, const Row& r) {
         for (double v : {r.cont.velocityX, r.cont.velocityY, r.cont.velocityZ}) {
             l.fixed(v, 11, 5);
             l.append("  ");
         }
     }},
    {true, ContGroup::FlightControls, [](TextLine& l, uint32_t) { l.append("elevators  ailerons  rudder  "); },
     [](TextLine& l, const Row& r) {
         l.integer(r.cont.elevators, 9);
         l.append("  ");
         l.integer(r.cont.ailerons, 8);
         l.append("  ");
         l.integer(r.cont.rudder, 6);
         l.append("  ");
     }},
    {true, ContGroup::Throttles, [](TextLine& l, uint32_t n) { engineTitles(l, n, "throttle", ""); },
     [](TextLine& l, const Row& r) { engineValues(l, r.cont.throttle, r.nEngines, 9); }},
    {true, ContGroup::Propellers, [](TextLine& l, uint32_t n) { engineTitles(l, n, "prop", ""); },
     [](TextLine& l, const Row& r) { engineValues(l, r.cont.prop, r.nEngines, 5); }},
    {true, ContGroup::Mixtures, [](TextLine& l, uint32_t n) { engineTitles(l, n, "mix", " "); },
     [](TextLine& l, const Row& r) { engineValues(l, r.cont.mix, r.nEngines, 5); }},
    {true, ContGroup::Spoilers, [](TextLine& l, uint32_t) { l.append("spoilers  "); },
     [](TextLine& l, const Row& r) {
         l.integer(r.cont.spoilers, 8);
         l.append("  ");
     }},
    {false, DiscGroup::Flaps, [](TextLine& l, uint32_t) { l.append("flaps  "); },
     [](TextLine& l, const Row& r) {
         l.integer(r.disc.flaps, 5);
         l.append("  ");
     }},
    {false, DiscGroup::Gear, [](TextLine& l, uint32_t) { l.append("gear  "); },
     [](TextLine& l, const Row& r) {
         l.integer(r.disc.gear != 0 ? 1 : 0, 4);
         l.append("  ");
     }},
    {false, DiscGroup::Lights, [](TextLine& l, uint32_t) { l.append("lights  "); },
     [](TextLine& l, const Row& r) {
         l.integer(r.disc.lights, 6);
         l.append("  ");
     }},
    {false, DiscGroup::ParkingBrake, [](TextLine& l, uint32_t) { l.append("parkbrake  "); },
     [](TextLine& l, const Row& r) {
         l.integer(r.disc.parkbrake, 9);
         l.append("  ");
     }},
    {false, DiscGroup::Engines,
     [](TextLine& l, uint32_t n) {
         for (uint32_t engine = 1; engine <= n; ++engine) {
             l.append("engine");
             l.integer(engine, 0);
             l.append("  ");
         }
     },
     [](TextLine& l, const Row& r) {
         for (uint32_t engine = 0; engine < r.nEngines; ++engine) {
             l.integer((r.disc.engines >> engine) & 1u, 7);
             l.append("  ");
         }
     }},
    {false, DiscGroup::NavRadios, [](TextLine& l, uint32_t) { l.append("nav1frq nav1obs nav2frq nav2obs adffrq  "); },
     [](TextLine& l, const Row& r) {
         l.fixed(bcdNavComMHz(static_cast<uint16_t>(r.disc.nav1)), 7, 2);
         l.append(" ");
         l.integer(r.disc.nav1 >> 16, 7);
         l.append(" ");
         l.fixed(bcdNavComMHz(static_cast<uint16_t>(r.disc.nav2)), 7, 2);
         l.append(" ");
         l.integer(r.disc.nav2 >> 16, 7);
         l.append(" ");
         l.fixed(bcdAdfKHz(r.disc.adf), 6, 1);
         l.append("  ");
     }},
    {false, DiscGroup::ComRadios, [](TextLine& l, uint32_t) { l.append("com1frq com2frq squawk  "); },
     [](TextLine& l, const Row& r) {
         l.fixed(bcdNavComMHz(static_cast<uint16_t>(r.disc.com)), 7, 2);
         l.append(" ");
         l.fixed(bcdNavComMHz(static_cast<uint16_t>(r.disc.com >> 16)), 7, 2);
         l.append(" ");
         l.integer(bcdSquawk(r.disc.squawk), 6);
         l.append("  ");
     }},
    {false, DiscGroup::Smoke, [](TextLine& l, uint32_t) { l.append("smoke  "); },
     [](TextLine& l, const Row& r) {
         l.integer(r.disc.smoke, 5);
         l.append("  ");
     }},
    {true, ContGroup::Airspeeds, [](TextLine& l, uint32_t) { l.append("   IAS    TAS  "); },
     [](TextLine& l, const Row& r) {
         l.fixed(r.cont.IAS, 6, 2);
         l.append(" ");
         l.fixed(r.cont.TAS, 6, 2);
         l.append("  ");
     }},
    {true, ContGroup::Mach, [](TextLine& l, uint32_t) { l.append(" mach  "); },
     [](TextLine& l, const Row& r) {
         l.fixed(r.cont.mach, 5, 3);
         l.append("  ");
     }},
    {true, ContGroup::MainExit, [](TextLine& l, uint32_t) { l.append("mainexit "); },
     [](TextLine& l, const Row& r) {
         l.fixed(r.cont.mainexit, 8, 6);
         l.append(" ");
     }},
    {true, ContGroup::Tailhook, [](TextLine& l, uint32_t) { l.append("tailhook "); },
     [](TextLine& l, const Row& r) {
         l.fixed(r.cont.tailhook, 8, 6);
         l.append(" ");
     }},
    {true, ContGroup::WingFold, [](TextLine& l, uint32_t) { l.append("wingfoldL wingfoldR  "); },
     [](TextLine& l, const Row& r) {
         l.fixed(r.cont.wingfoldL, 9, 6);
         l.append(" ");
         l.fixed(r.cont.wingfoldR, 9, 6);
         l.append("  ");
     }},
    {true, ContGroup::AmbientWind, [](TextLine& l, uint32_t) { l.append("windDir windSpd  "); },
     [](TextLine& l, const Row& r) {
         l.append("    ");
         l.zeroPadded(r.cont.windDir, 3);
         l.append(" ");
         l.integer(r.cont.windSpd, 7);
         l.append("  ");
     }},
    {false, DiscGroup::Autopilot, [](TextLine& l, uint32_t) { l.append("autopilot "); },
     [](TextLine& l, const Row& r) {
         l.integer(r.disc.autopilot, 9);
         l.append(" ");
     }},
    {false, DiscGroup::NoseVisor, [](TextLine& l, uint32_t) { l.append("concnose "); },
     [](TextLine& l, const Row& r) {
         l.integer(r.disc.concnose, 8);
         l.append(" ");
     }},
    {false, DiscGroup::Date, [](TextLine& l, uint32_t) { l.append("    date    "); },
     [](TextLine& l, const Row& r) {
         l.append(" ");
         l.zeroPadded(r.disc.year, 4);
         l.append("-");
         l.zeroPadded(r.disc.month, 2);
         l.append("-");
         l.zeroPadded(r.disc.day, 2);
         l.append(" ");
     }},
    {true, ContGroup::TimeOfDay, [](TextLine& l, uint32_t) { l.append("   time   "); },
     [](TextLine& l, const Row& r) {
         l.append(" ");
         l.zeroPadded(r.cont.hour, 2);
         l.append(":");
         l.zeroPadded(r.cont.minute, 2);
         l.append(":");
         l.zeroPadded(r.cont.second, 2);
         l.append(" ");
     }},
}};

// A damaged header may claim more engines than a record holds.
uint32_t engineCount(const DataFormat& format) { return std::min<uint32_t>(format.nEngines, kMaxEngines); }

bool present(const Group& group, const DataFormat& format) {
    return group.flag == 0 || ((group.continuous ? format.ContFlags : format.DiscFlags) & group.flag) != 0;
}

} // namespace

void writeTitles(TextLine& line, const DataFormat& format) {
    for (const Group& group : kGroups)
        if (present(group, format))
            group.titles(line, engineCount(format));
}

void writeValues(TextLine& line, const DataFormat& format, const ContData& cont, const DiscData& disc,
                 bool altitudeInMeters) {
    const Row row{cont, disc, engineCount(format), altitudeInMeters};
    for (const Group& group : kGroups)
        if (present(group, format))
            group.values(line, row);
}

} // namespace ExportColumns
