#pragma once

#include <bit>
#include <cstdint>

static_assert(std::endian::native == std::endian::little, "records are stored in the machine's byte order");

// Continuous groups (ContFlags): sampled every interval, interpolated on playback.
namespace ContGroup {
constexpr uint32_t FlightControls = 0x0001;
constexpr uint32_t Throttles = 0x0002;
constexpr uint32_t Propellers = 0x0004;
constexpr uint32_t Mixtures = 0x0008;
constexpr uint32_t Spoilers = 0x0010;
constexpr uint32_t Airspeeds = 0x0020;
constexpr uint32_t MainExit = 0x0040;
constexpr uint32_t Tailhook = 0x0080;
constexpr uint32_t WingFold = 0x0100;
constexpr uint32_t AmbientWind = 0x0200;
constexpr uint32_t Mach = 0x0400;
constexpr uint32_t TimeOfDay = 0x0800;
constexpr uint32_t ExtendedControls = 0x1000;
constexpr uint32_t ExtendedFlaps = 0x2000;
constexpr uint32_t ExtendedGear = 0x4000;
constexpr uint32_t All = 0x7fff;
constexpr int Count = 15;
} // namespace ContGroup

// Discrete groups (DiscFlags): stored only when they change.
namespace DiscGroup {
constexpr uint32_t Flaps = 0x001;
constexpr uint32_t Gear = 0x002;
constexpr uint32_t Lights = 0x004;
constexpr uint32_t ParkingBrake = 0x008;
constexpr uint32_t Engines = 0x010;
constexpr uint32_t NavRadios = 0x020;
constexpr uint32_t ComRadios = 0x040;
constexpr uint32_t Smoke = 0x080;
constexpr uint32_t Autopilot = 0x100;
constexpr uint32_t NoseVisor = 0x200;
constexpr uint32_t Date = 0x400;
constexpr uint32_t All = 0x7ff;
constexpr int Count = 11;
} // namespace DiscGroup

constexpr int kMaxEngines = 4;
constexpr uint32_t kContFixedSize = 64;
constexpr uint32_t kDiscFixedSize = 5;

#pragma pack(push, 1)

// How a track's records are stored. Record sizes of 0 mean "as the flags require".
struct DataFormat {
    uint8_t nEngines;
    uint32_t ContFlags;
    uint32_t DiscFlags;
    uint32_t contRecordSize;
    uint32_t discRecordSize;
};
static_assert(sizeof(DataFormat) == 17);

// The full continuous record; a stored record keeps this order and leaves absent groups out.
struct ContData {
    uint32_t timestamp; // 1/10000 s
    int64_t latitude;   // degrees = value * 90 / (10001750 * 2^32)
    int64_t longitude;  // degrees = value * 360 / 2^64
    int64_t altitude;   // metres = value / 2^32
    int32_t pitch;      // degrees = value * 360 / 2^32
    int32_t bank;
    uint32_t heading;
    double velocityX; // feet per second towards east
    double velocityY; // feet per second up
    double velocityZ; // feet per second towards north
    int16_t elevators;
    int16_t ailerons;
    int16_t rudder;
    int16_t throttle[kMaxEngines];
    int16_t prop[kMaxEngines];
    int16_t mix[kMaxEngines];
    uint16_t spoilers;
    float IAS;
    float TAS;
    float mainexit;
    float tailhook;
    float wingfoldL;
    float wingfoldR;
    uint16_t windDir;
    uint16_t windSpd;
    float mach;
    uint8_t hour;
    uint8_t minute;
    uint8_t second;
    float extControls[5];
    uint16_t extFlaps[8];
    float extGear[5];
};
static_assert(sizeof(ContData) == 187);

// The full discrete record.
struct DiscData {
    uint32_t timestamp;
    uint8_t onground;
    uint8_t flaps;
    int16_t gear;
    uint16_t lights;
    uint8_t parkbrake;
    uint8_t engines; // bit i: engine i+1 running
    uint32_t nav1;   // low 16 bits: BCD frequency 1XX.XX, high 16 bits: OBS
    uint32_t nav2;
    uint32_t adf; // bits 16..31: BCD kHz, bits 12..15: BCD tenths
    uint32_t com; // low 16 bits: COM1, high 16 bits: COM2, BCD 1XX.XX
    uint16_t squawk;
    uint8_t smoke;
    uint8_t autopilot;
    uint8_t concnose;
    uint8_t day;
    uint8_t month;
    uint16_t year;
};
static_assert(sizeof(DiscData) == 37);

#pragma pack(pop)

// Stored bytes of one continuous group (a single ContFlags bit).
uint32_t contGroupSize(uint32_t bit, uint32_t nEngines);
// Stored bytes of one discrete group (a single DiscFlags bit).
uint32_t discGroupSize(uint32_t bit);

uint32_t contRecordSize(uint32_t contFlags, uint32_t nEngines);
uint32_t discRecordSize(uint32_t discFlags);

// Whether two discrete records agree in every field the masks make present.
bool discDataEqual(const DiscData& a, const DiscData& b, uint32_t discFlags, uint32_t nEngines);

// Prepares a record to be filled from the simulator: everything but the timestamp becomes zero,
// except the engine byte's bits above the four engines, which belong to nobody and are kept.
void clearDiscData(DiscData& data);

// Frequencies are stored as four BCD digits.
double bcdNavComMHz(uint16_t bcd);
uint32_t bcdSquawk(uint16_t bcd);
double bcdAdfKHz(uint32_t adf);

// The simulator's fixed-point units in everyday ones.
double latitudeDegrees(int64_t latitude);
int64_t latitudeFromDegrees(double degrees);
double longitudeDegrees(int64_t longitude);
int64_t longitudeFromDegrees(double degrees);
double altitudeMetres(int64_t altitude);
int64_t altitudeFromMetres(double metres);
double angleDegrees(int32_t angle);
double headingDegrees(uint32_t heading);
uint32_t angleFromDegrees(double degrees);
