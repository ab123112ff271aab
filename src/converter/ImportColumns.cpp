#include "converter/ImportColumns.h"

#include "common/FlightData.h"
#include "converter/ConversionError.h"
#include "converter/TextScanner.h"

namespace {

constexpr Field operator+(Field field, int n) { return static_cast<Field>(static_cast<int>(field) + n); }

using VK = ValueKind;
namespace CG = ContGroup;
namespace DG = DiscGroup;

// Matched in this order; the first title that the text starts with wins.
const std::array<ColumnInfo, kFieldCount> kColumns = {{
    {"timestamp", Field::Timestamp, VK::Decimal, 0, 0, 0},
    {"latitude", Field::Latitude, VK::Decimal, 0, 0, 0},
    {"longitude", Field::Longitude, VK::Decimal, 0, 0, 0},
    {"altitude", Field::Altitude, VK::Decimal, 0, 0, 0},
    {"pitch", Field::Pitch, VK::Decimal, 0, 0, 0},
    {"bank", Field::Bank, VK::Decimal, 0, 0, 0},
    {"heading", Field::Heading, VK::Decimal, 0, 0, 0},
    {"velocityx", Field::VelocityX, VK::Decimal, 0, 0, 0},
    {"velocityy", Field::VelocityY, VK::Decimal, 0, 0, 0},
    {"velocityz", Field::VelocityZ, VK::Decimal, 0, 0, 0},
    {"onground", Field::OnGround, VK::Unsigned, 0, 0, 0},
    {"elevators", Field::Elevators, VK::Signed, CG::FlightControls, 0, 0},
    {"ailerons", Field::Ailerons, VK::Signed, CG::FlightControls, 0, 0},
    {"rudder", Field::Rudder, VK::Signed, CG::FlightControls, 0, 0},
    {"throttle1", Field::Throttle1, VK::Signed, CG::Throttles, 0, 1},
    {"throttle2", Field::Throttle1 + 1, VK::Signed, CG::Throttles, 0, 2},
    {"throttle3", Field::Throttle1 + 2, VK::Signed, CG::Throttles, 0, 3},
    {"throttle4", Field::Throttle1 + 3, VK::Signed, CG::Throttles, 0, 4},
    {"prop1", Field::Prop1, VK::Signed, CG::Propellers, 0, 1},
    {"prop2", Field::Prop1 + 1, VK::Signed, CG::Propellers, 0, 2},
    {"prop3", Field::Prop1 + 2, VK::Signed, CG::Propellers, 0, 3},
    {"prop4", Field::Prop1 + 3, VK::Signed, CG::Propellers, 0, 4},
    {"mix1", Field::Mix1, VK::Signed, CG::Mixtures, 0, 1},
    {"mix2", Field::Mix1 + 1, VK::Signed, CG::Mixtures, 0, 2},
    {"mix3", Field::Mix1 + 2, VK::Signed, CG::Mixtures, 0, 3},
    {"mix4", Field::Mix1 + 3, VK::Signed, CG::Mixtures, 0, 4},
    {"spoilers", Field::Spoilers, VK::Unsigned, CG::Spoilers, 0, 0},
    {"flaps", Field::Flaps, VK::Unsigned, 0, DG::Flaps, 0},
    {"gear", Field::Gear, VK::Unsigned, 0, DG::Gear, 0},
    {"lights", Field::Lights, VK::Unsigned, 0, DG::Lights, 0},
    {"parkbrake", Field::ParkBrake, VK::Unsigned, 0, DG::ParkingBrake, 0},
    {"engine1", Field::Engine1, VK::Unsigned, 0, DG::Engines, 1},
    {"engine2", Field::Engine1 + 1, VK::Unsigned, 0, DG::Engines, 2},
    {"engine3", Field::Engine1 + 2, VK::Unsigned, 0, DG::Engines, 3},
    {"engine4", Field::Engine1 + 3, VK::Unsigned, 0, DG::Engines, 4},
    {"nav1frq", Field::Nav1Frq, VK::Decimal, 0, DG::NavRadios, 0},
    {"nav2frq", Field::Nav2Frq, VK::Decimal, 0, DG::NavRadios, 0},
    {"nav1obs", Field::Nav1Obs, VK::Unsigned, 0, DG::NavRadios, 0},
    {"nav2obs", Field::Nav2Obs, VK::Unsigned, 0, DG::NavRadios, 0},
    {"adffrq", Field::AdfFrq, VK::Decimal, 0, DG::NavRadios, 0},
    {"com1frq", Field::Com1Frq, VK::Decimal, 0, DG::ComRadios, 0},
    {"com2frq", Field::Com2Frq, VK::Decimal, 0, DG::ComRadios, 0},
    {"squawk", Field::Squawk, VK::Unsigned, 0, DG::ComRadios, 0},
    {"smoke", Field::Smoke, VK::Unsigned, 0, DG::Smoke, 0},
    {"IAS", Field::IAS, VK::Decimal, CG::Airspeeds, 0, 0},
    {"TAS", Field::TAS, VK::Decimal, CG::Airspeeds, 0, 0},
    {"mach", Field::Mach, VK::Decimal, CG::Mach, 0, 0},
    {"mainexit", Field::MainExit, VK::Decimal, CG::MainExit, 0, 0},
    {"tailhook", Field::Tailhook, VK::Decimal, CG::Tailhook, 0, 0},
    {"wingfoldL", Field::WingFoldL, VK::Decimal, CG::WingFold, 0, 0},
    {"wingfoldR", Field::WingFoldR, VK::Decimal, CG::WingFold, 0, 0},
    {"windDir", Field::WindDir, VK::Unsigned, CG::AmbientWind, 0, 0},
    {"windSpd", Field::WindSpd, VK::Unsigned, CG::AmbientWind, 0, 0},
    {"autopilot", Field::Autopilot, VK::Unsigned, 0, DG::Autopilot, 0},
    {"concnose", Field::ConcNose, VK::Unsigned, 0, DG::NoseVisor, 0},
    {"date", Field::Date, VK::Date, 0, DG::Date, 0},
    {"time", Field::Time, VK::Time, CG::TimeOfDay, 0, 0},
}};

constexpr Field kRequired[] = {Field::Latitude, Field::Longitude, Field::Altitude,
                               Field::Pitch,    Field::Bank,      Field::Heading};

} // namespace

bool ColumnList::has(Field field) const {
    for (std::size_t i = 0; i < count; ++i)
        if (columns[i]->field == field)
            return true;
    return false;
}

ColumnList readColumnTitles(std::string_view titles) {
    ColumnList list;
    TextScanner scanner(titles);
    while (list.count < kMaxColumns && !scanner.atEnd()) {
        const ColumnInfo* found = nullptr;
        for (const ColumnInfo& column : kColumns)
            if (scanner.keyword(column.title)) {
                found = &column;
                break;
            }
        if (found == nullptr)
            throw ConversionError{"Invalid column header: " + std::string(scanner.nextWord())};
        list.columns[list.count++] = found;
        list.contFlags |= found->contFlag;
        list.discFlags |= found->discFlag;
        if (found->engine > list.nEngines)
            list.nEngines = found->engine;
    }
    for (Field field : kRequired)
        if (!list.has(field))
            throw ConversionError{"Minimum required data is latitude, longitude, altitude, pitch, bank and heading!"};
    return list;
}
