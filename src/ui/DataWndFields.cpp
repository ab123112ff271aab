#include "ui/DataWndFields.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>

#include "common/Ticks.h"

namespace DataWndFields {

namespace {

constexpr double kDegreesPerAngleUnit = 8.381903171539307e-08; // 360 / 2^32
constexpr double kDegreesPerLatitudeUnit = 2.0951091487837895e-15;
constexpr double kDegreesPerLongitudeUnit = 1.951563910473908e-17;
constexpr double kMetresPerAltitudeUnit = 1.0 / 4294967296.0; // 32.32 fixed point
constexpr double kFeetPerMetre = 3.280839895013123;
constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kKnotsPerFootPerSecond = 0.5924838012958964;
constexpr double kMinutesPerDegree = 60;
constexpr double kSecondsPerMinute = 60;
constexpr double kFullCircle = 360;
constexpr const char* kAbsent = "-";

__attribute__((format(printf, 1, 2))) std::string printed(const char* pattern, ...) {
    char text[96];
    va_list arguments;
    va_start(arguments, pattern);
    std::vsnprintf(text, sizeof text, pattern, arguments);
    va_end(arguments);
    return text;
}

// Toward zero as the original's conversion, which gives INT_MIN for anything no int holds (a
// record from a file may carry any altitude).
int truncated(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// Negated as an integer first, so that a level attitude shows 0.0 and not -0.0.
double negatedDegrees(int32_t angle) {
    return static_cast<double>(-static_cast<int64_t>(angle)) * kDegreesPerAngleUnit;
}

std::string degreesText(double degrees) {
    return printed("%.1f°", degrees);
}

std::string headingText(double degrees) {
    return printed("%5.1f°", degrees);
}

std::string hemisphereText(double degrees, char positive, char negative) {
    const double magnitude = std::fabs(degrees);
    const double whole = std::trunc(magnitude);
    return printed("%c%d° %05.2f'", degrees >= 0 ? positive : negative, truncated(whole),
                   (magnitude - whole) * kMinutesPerDegree);
}

std::string feetText(double metres) {
    return printed("%dft", truncated(metres * kFeetPerMetre));
}

std::string agreed(bool present, const std::string& text) {
    return present ? text : kAbsent;
}

void addPosition(std::vector<FieldText>& fields, const ContData& cont, const DiscData& disc,
                 const Surroundings& surroundings) {
    const auto latitude = static_cast<double>(cont.latitude) * kDegreesPerLatitudeUnit;
    const auto longitude = static_cast<double>(cont.longitude) * kDegreesPerLongitudeUnit;
    fields.push_back({kLatitude, hemisphereText(latitude, 'N', 'S')});
    fields.push_back({kLongitude, hemisphereText(longitude, 'E', 'W')});
    fields.push_back({kAltitude, feetText(static_cast<double>(cont.altitude) * kMetresPerAltitudeUnit)});
    fields.push_back({kAGL, disc.onground != 0 ? "GND" : feetText(surroundings.heightAboveGround())});
}

void addAttitude(std::vector<FieldText>& fields, const ContData& cont, bool onGround, double horizontalSpeed,
                 const Surroundings& surroundings) {
    const double pitch = negatedDegrees(cont.pitch);
    const double heading = cont.heading * kDegreesPerAngleUnit;
    const double flightPath = std::atan2(cont.velocityY, horizontalSpeed) * kDegreesPerRadian;
    double magnetic = std::fmod(heading - surroundings.magneticVariation(), kFullCircle);
    if (magnetic < 0)
        magnetic += kFullCircle;
    fields.push_back({kPitch, degreesText(pitch)});
    fields.push_back({kBank, degreesText(negatedDegrees(cont.bank))});
    fields.push_back({kHeadingTrue, headingText(heading)});
    // On the ground the flight path is the runway's slope, not the aircraft's: nothing to show.
    fields.push_back({kFPA, onGround ? kAbsent : degreesText(flightPath)});
    fields.push_back({kAoA, onGround ? kAbsent : degreesText(pitch - flightPath)});
    fields.push_back({kHeadingMag, headingText(magnetic)});
}

void addSpeeds(std::vector<FieldText>& fields, const ContData& cont, const DataFormat& format,
               double horizontalSpeed) {
    const bool airspeeds = (format.ContFlags & ContGroup::Airspeeds) != 0;
    fields.push_back({kIAS, agreed(airspeeds, printed("%.0fkts", static_cast<double>(cont.IAS)))});
    fields.push_back({kTAS, agreed(airspeeds, printed("%.0fkts", static_cast<double>(cont.TAS)))});
    fields.push_back({kGS, printed("%.0fkts", horizontalSpeed * kKnotsPerFootPerSecond)});
    fields.push_back({kMach, agreed((format.ContFlags & ContGroup::Mach) != 0,
                                    printed("%.3f", static_cast<double>(cont.mach)))});
    fields.push_back({kVS, printed("%.0ffpm", cont.velocityY * kSecondsPerMinute)});
}

void addControls(std::vector<FieldText>& fields, const ContData& cont, const DiscData& disc,
                 const DataFormat& format) {
    const bool controls = (format.ContFlags & ContGroup::FlightControls) != 0;
    fields.push_back({kElevators, agreed(controls, printed("%d", cont.elevators))});
    fields.push_back({kAilerons, agreed(controls, printed("%d", cont.ailerons))});
    fields.push_back({kRudder, agreed(controls, printed("%d", cont.rudder))});
    fields.push_back(
        {kSpoilers, agreed((format.ContFlags & ContGroup::Spoilers) != 0, printed("%d", cont.spoilers))});
    fields.push_back({kFlaps, agreed((format.DiscFlags & DiscGroup::Flaps) != 0, printed("%d", disc.flaps))});
}

void addEngines(std::vector<FieldText>& fields, const int (&ids)[kMaxEngines],
                const int16_t (&values)[kMaxEngines], bool present, int engines) {
    for (int engine = 0; engine < kMaxEngines; ++engine)
        fields.push_back({ids[engine], agreed(present && engine < engines, printed("%d", values[engine]))});
}

void addMiscellaneous(std::vector<FieldText>& fields, const ContData& cont, const DiscData& disc,
                      const DataFormat& format) {
    const auto hasCont = [&format](uint32_t group) { return (format.ContFlags & group) != 0; };
    const auto hasDisc = [&format](uint32_t group) { return (format.DiscFlags & group) != 0; };
    fields.push_back({kTimecode, printed("%.1fsec", cont.timestamp / static_cast<double>(kTicksPerSecond))});
    fields.push_back({kLandingGear, agreed(hasDisc(DiscGroup::Gear), disc.gear == 0 ? "Up" : "Down")});
    fields.push_back({kAutopilot, agreed(hasDisc(DiscGroup::Autopilot), disc.autopilot != 0 ? "On" : "Off")});
    fields.push_back(
        {kWind, agreed(hasCont(ContGroup::AmbientWind), printed("%03d°/%dkts", cont.windDir, cont.windSpd))});
    fields.push_back({kDate, agreed(hasDisc(DiscGroup::Date),
                                    printed("%02d.%02d.%04d", disc.day, disc.month, disc.year))});
    fields.push_back({kTime, agreed(hasCont(ContGroup::TimeOfDay),
                                    printed("%02d:%02d:%02d", cont.hour, cont.minute, cont.second))});
}

} // namespace

std::vector<FieldText> texts(const ContData& cont, const DiscData& disc, const DataFormat& format,
                             const Surroundings& surroundings) {
    const double horizontalSpeed =
        std::sqrt(cont.velocityX * cont.velocityX + cont.velocityZ * cont.velocityZ);
    std::vector<FieldText> fields;
    addPosition(fields, cont, disc, surroundings);
    addAttitude(fields, cont, disc.onground != 0, horizontalSpeed, surroundings);
    addSpeeds(fields, cont, format, horizontalSpeed);
    addControls(fields, cont, disc, format);
    const int engines = format.nEngines;
    addEngines(fields, kThrottles, cont.throttle, (format.ContFlags & ContGroup::Throttles) != 0, engines);
    addEngines(fields, kPropellers, cont.prop, (format.ContFlags & ContGroup::Propellers) != 0, engines);
    addEngines(fields, kMixtures, cont.mix, (format.ContFlags & ContGroup::Mixtures) != 0, engines);
    addMiscellaneous(fields, cont, disc, format);
    return fields;
}

} // namespace DataWndFields
