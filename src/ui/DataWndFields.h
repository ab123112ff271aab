#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/FlightData.h"

// The data window's value fields: their control ids, and the text each shows for one frame of the
// track that drives the user aircraft.
namespace DataWndFields {

// Position
constexpr int kLatitude = 1001;
constexpr int kLongitude = 1009;
constexpr int kAltitude = 1013;
constexpr int kAGL = 1175;
// Attitude
constexpr int kPitch = 1126;
constexpr int kBank = 1127;
constexpr int kHeadingTrue = 1167;
constexpr int kFPA = 1173;
constexpr int kAoA = 1174;
constexpr int kHeadingMag = 1022;
// Speeds
constexpr int kIAS = 1115;
constexpr int kTAS = 1117;
constexpr int kGS = 1027;
constexpr int kMach = 1131;
constexpr int kVS = 1130;
// Flight controls
constexpr int kElevators = 1033;
constexpr int kAilerons = 1036;
constexpr int kRudder = 1044;
constexpr int kSpoilers = 1107;
constexpr int kFlaps = 1110;
// By engine, 1 to 4.
constexpr int kThrottles[kMaxEngines] = {1049, 1053, 1058, 1062};
constexpr int kPropellers[kMaxEngines] = {1066, 1072, 1078, 1084};
constexpr int kMixtures[kMaxEngines] = {1088, 1093, 1098, 1102};
// Miscellaneous
constexpr int kTimecode = 1124;
constexpr int kLandingGear = 1113;
constexpr int kAutopilot = 1119;
constexpr int kWind = 1122;
constexpr int kDate = 1120;
constexpr int kTime = 1125;

// What the records do not hold, read from the simulator as the frame is shown: the user
// aircraft's height above ground in metres (asked only while it is in the air) and the magnetic
// variation at it in degrees.
struct Surroundings {
    std::function<float()> heightAboveGround;
    std::function<double()> magneticVariation;
};

struct FieldText {
    int id;
    std::string text;
};

// Every value field with its text; "-" for a group the track does not carry and for an engine
// beyond its engine count.
std::vector<FieldText> texts(const ContData& cont, const DiscData& disc, const DataFormat& format,
                             const Surroundings& surroundings);

} // namespace DataWndFields
