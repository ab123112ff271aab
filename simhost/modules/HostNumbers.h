#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The stand-in simulator's numbering of its entry points, data words, properties, variables,
// units and internal records for each host version (docs/host/numbers.md). The add-on keeps its
// own tables of the same numbers; they are computed here so that the two are not one copy.
namespace HostNumbers {

// A role's position in its module's list of entry points or data words.
uint32_t entry(int versionIndex, int role);
uint32_t data(int versionIndex, int role);

enum class Property : int { Title, TailNumber, Category, Position, Velocity, ReferencePoint, EyePoint, Count };

enum class Unit : int { Position, Ratio, Knots, Degrees, Feet, Bool, Number, Bcd16, Mask, Mach, Metres, Percent, Count };

enum class Quantity : int {
    ElevatorPosition,
    AileronPosition,
    RudderPosition,
    ThrottleLever,
    PropellerLever,
    MixtureLever,
    SpoilerHandle,
    IndicatedAirspeed,
    TrueAirspeed,
    MainExitOpen,
    TailhookPosition,
    WingFoldLeft,
    WingFoldRight,
    WindDirection,
    WindSpeed,
    MachNumber,
    TrailingEdgeFlapsInner,
    TrailingEdgeFlapsOuter,
    LeadingEdgeFlapsInner,
    LeadingEdgeFlapsOuter,
    GearLegPosition,
    FlapHandleIndex,
    GearHandlePosition,
    LightStates,
    ParkingBrakePosition,
    EngineRunning,
    NavActiveFrequency,
    NavObs,
    AdfFrequency,
    AdfExtendedFrequency,
    ComActiveFrequency,
    TransponderCode,
    SmokeEnable,
    AutopilotMaster,
    NoseVisorPosition,
    OnGround,
    ReferenceAboveGround,
    GroundAltitude,
    MagneticVariation,
    FlapPositions,
    EngineCount,
    HasFlaps,
    HasRetractableGear,
    HasSpoilers,
    HasPropAndMixture,
    StaticCgHeight,
    Count
};

enum class Record : int { Controls, ControlChain, Exits, Tailhook, WingFold, Count };

struct QuantityInfo {
    Unit unit;
    int maxIndex; // 0: no index; else the index runs 1..maxIndex
    bool readOnly;
};
constexpr QuantityInfo info(Quantity quantity);

uint32_t propertyId(int buildTag, Property property);
uint32_t variableId(int buildTag, Quantity quantity);
uint32_t unitId(int buildTag, Unit unit);
uint32_t recordNumber(int versionIndex, Record record);

// The reverse lookups the simulator answers calls with; false for an id that is not one. Those
// of variables and units answer every variable call of every aircraft, so they are inline.
bool propertyOf(int buildTag, uint32_t id, Property& property);
constexpr bool quantityOf(int buildTag, uint32_t id, Quantity& quantity);
constexpr bool unitOf(int buildTag, uint32_t id, Unit& unit);
bool recordOf(int versionIndex, uint32_t number, Record& record);

// Roles of each module, in the order of the numbering document.
namespace Sim1 { enum : int { UserObject, ObjectById }; }
namespace Traffic { enum : int { GetTraffic, SetTraffic, AiCreator }; }
namespace Main {
enum : int { GetOptions, SetOptions, SetDate, ApplyDateTime };
enum : int { DateTime, AccumulatedTime, RateWord, FrameTime };
} // namespace Main
namespace Scheduler { enum : int { SimGroups, GetRate, SetRate }; }
namespace Api {
enum : int { RegisterEvent, UnregisterEvent, RealFrameTime, Folder, SetFullScreen, Device, Tick, Idle };
enum : int { MenuAnchor, HostWord, FrameTimeA, FrameTimeB };
} // namespace Api
namespace Acontain { enum : int { UserAircraft, RemoveObject, SelectUserAircraft }; }
namespace Flight { enum : int { SaveFlight, LoadFlight }; }
namespace Window {
enum : int {
    ShowText,
    DrawText,
    CameraCreate,
    CameraDestroy,
    CameraRegister,
    CameraUnregister,
    CameraCount,
    CameraGet,
    CameraLock,
    CameraSelect
};
enum : int { MainView, ActiveView };
} // namespace Window
namespace G2d { enum : int { TextCreate, TextFree }; }
namespace G3d { enum : int { GroundElevation, PositionQuery, ObjectMap, TowerPosition }; }
namespace Fe { enum : int { Idle }; }

namespace detail {

constexpr int kQuantities = static_cast<int>(Quantity::Count);
constexpr int kUnits = static_cast<int>(Unit::Count);
static_assert(kQuantities == 46 && kUnits == 12, "the numbering document's counts");
constexpr uint32_t kVariableBase = 0x400;
constexpr uint32_t kUnitBase = 0x80;

// The position of `id - base` in a permutation of `count` that is shifted by `shift`.
constexpr bool unshift(uint32_t id, uint32_t base, int count, int shift, int& position) {
    if (id < base || id >= base + static_cast<uint32_t>(count))
        return false;
    position = ((static_cast<int>(id - base) - shift) % count + count) % count;
    return true;
}

// unshift worked out beforehand for the build tags of the known versions (the version's index
// plus one), since every variable call of every aircraft asks it.
constexpr int kTabledTags = 8;
template <std::size_t Count, int Factor> constexpr auto unshiftTable() {
    std::array<std::array<int8_t, Count>, kTabledTags> table{};
    for (int tag = 0; tag < kTabledTags; ++tag)
        for (std::size_t i = 0; i < Count; ++i) {
            constexpr int count = static_cast<int>(Count);
            table[static_cast<std::size_t>(tag)][i] =
                static_cast<int8_t>(((static_cast<int>(i) - Factor * tag) % count + count) % count);
        }
    return table;
}
inline constexpr auto kQuantityAt = unshiftTable<static_cast<std::size_t>(kQuantities), 7>();
inline constexpr auto kUnitAt = unshiftTable<static_cast<std::size_t>(kUnits), 3>();

constexpr bool unshiftTabled(uint32_t id, uint32_t base, int count, int tag, int factor, const auto& table,
                             int& position) {
    if (tag < 0 || tag >= kTabledTags)
        return unshift(id, base, count, factor * tag, position);
    if (id < base || id >= base + static_cast<uint32_t>(count))
        return false;
    position = table[static_cast<std::size_t>(tag)][id - base];
    return true;
}

using U = Unit;
inline constexpr std::array<QuantityInfo, kQuantities> kInfo = {{
    {U::Position, 0, false}, {U::Position, 0, false}, {U::Position, 0, false}, // controls
    {U::Position, 4, false}, {U::Position, 4, false}, {U::Position, 4, false}, // levers
    {U::Position, 0, false},                                                  // spoilers
    {U::Knots, 0, false},    {U::Knots, 0, false},                            // airspeeds
    {U::Ratio, 0, false},    {U::Ratio, 0, false},    {U::Ratio, 0, false},    {U::Ratio, 0, false},
    {U::Degrees, 0, false},  {U::Knots, 0, false},    {U::Mach, 0, false}, // wind, Mach
    {U::Position, 2, false}, {U::Position, 2, false}, {U::Position, 2, false}, {U::Position, 2, false},
    {U::Ratio, 5, false},                                             // gear legs
    {U::Number, 0, false},   {U::Position, 0, false}, {U::Mask, 0, false},  {U::Number, 0, false},
    {U::Bool, 4, false},                                              // engines
    {U::Bcd16, 2, false},    {U::Degrees, 2, false},  {U::Bcd16, 1, false}, {U::Number, 1, false},
    {U::Bcd16, 2, false},    {U::Bcd16, 0, false},                    // COM, transponder
    {U::Bool, 0, false},     {U::Bool, 0, false},     {U::Percent, 0, false}, {U::Bool, 0, false},
    {U::Feet, 0, true},      {U::Metres, 0, true},    {U::Degrees, 0, true}, {U::Number, 0, true},
    {U::Number, 0, true},    {U::Bool, 0, true},      {U::Bool, 0, true},    {U::Bool, 0, true},
    {U::Bool, 0, true},      {U::Feet, 0, true},
}};

} // namespace detail

constexpr QuantityInfo info(Quantity quantity) { return detail::kInfo[static_cast<std::size_t>(quantity)]; }

constexpr bool quantityOf(int buildTag, uint32_t id, Quantity& quantity) {
    int q = 0;
    if (!detail::unshiftTabled(id, detail::kVariableBase, detail::kQuantities, buildTag, 7, detail::kQuantityAt, q))
        return false;
    quantity = static_cast<Quantity>(q);
    return true;
}

constexpr bool unitOf(int buildTag, uint32_t id, Unit& unit) {
    int u = 0;
    if (!detail::unshiftTabled(id, detail::kUnitBase, detail::kUnits, buildTag, 3, detail::kUnitAt, u))
        return false;
    unit = static_cast<Unit>(u);
    return true;
}

} // namespace HostNumbers
