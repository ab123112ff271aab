#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The columns a "#Data:" line may name, and what each one fills.
enum class ValueKind : uint8_t { Decimal, Signed, Unsigned, Date, Time };

enum class Field : uint8_t {
    Timestamp,
    Latitude,
    Longitude,
    Altitude,
    Pitch,
    Bank,
    Heading,
    VelocityX,
    VelocityY,
    VelocityZ,
    OnGround,
    Elevators,
    Ailerons,
    Rudder,
    Throttle1,
    Prop1 = Throttle1 + 4,
    Mix1 = Prop1 + 4,
    Spoilers = Mix1 + 4,
    Flaps,
    Gear,
    Lights,
    ParkBrake,
    Engine1,
    Nav1Frq = Engine1 + 4,
    Nav2Frq,
    Nav1Obs,
    Nav2Obs,
    AdfFrq,
    Com1Frq,
    Com2Frq,
    Squawk,
    Smoke,
    IAS,
    TAS,
    Mach,
    MainExit,
    Tailhook,
    WingFoldL,
    WingFoldR,
    WindDir,
    WindSpd,
    Autopilot,
    ConcNose,
    Date,
    Time,
    Count
};
constexpr std::size_t kFieldCount = static_cast<std::size_t>(Field::Count);

struct ColumnInfo {
    const char* title;
    Field field;
    ValueKind kind;
    uint32_t contFlag;
    uint32_t discFlag;
    uint8_t engine; // 1..4 for the per-engine columns, else 0
};

// Titles after the 57th are ignored.
constexpr std::size_t kMaxColumns = 57;

// A track's column list, in the order of its "#Data:" line.
struct ColumnList {
    std::array<const ColumnInfo*, kMaxColumns> columns{};
    std::size_t count = 0;
    uint32_t contFlags = 0;
    uint32_t discFlags = 0;
    uint8_t nEngines = 0;

    bool has(Field field) const;
};

// Reads the titles after "#Data:". Throws ConversionError for an unknown title ("Invalid column
// header: ...") and when the six position and attitude columns are not all there.
ColumnList readColumnTitles(std::string_view titles);
