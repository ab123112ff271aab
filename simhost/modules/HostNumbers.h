#pragma once

#include <cstdint>

// The stand-in simulator's numbering of its entry points, data words, properties, variables,
// units and internal records for each host version (docs/host/numbers.md). The add-on keeps its
// own tables of the same numbers; they are computed here so that the two are not one copy.
namespace HostNumbers {

// A role's position in its module's list of entry points or data words.
uint32_t entry(int versionIndex, int role);
uint32_t data(int versionIndex, int role);

enum class Property : int { Title, TailNumber, Category, Position, Velocity, ReferencePoint, Count };

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
QuantityInfo info(Quantity quantity);

uint32_t propertyId(int buildTag, Property property);
uint32_t variableId(int buildTag, Quantity quantity);
uint32_t unitId(int buildTag, Unit unit);
uint32_t recordNumber(int versionIndex, Record record);

// The reverse lookups the simulator answers calls with; false for an id that is not one.
bool propertyOf(int buildTag, uint32_t id, Property& property);
bool quantityOf(int buildTag, uint32_t id, Quantity& quantity);
bool unitOf(int buildTag, uint32_t id, Unit& unit);
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
enum : int { ShowText, DrawText };
enum : int { MainView };
} // namespace Window
namespace G2d { enum : int { TextCreate, TextFree }; }
namespace G3d { enum : int { GroundElevation, PositionQuery, ObjectMap }; }
namespace Fe { enum : int { Idle }; }

} // namespace HostNumbers
