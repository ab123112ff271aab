#include <numbers>

#include "host/FSinterface.h"
#include "host/HostState.h"
#include "host/SimObject.h"

namespace V = HostVariables;

namespace {

constexpr double kTwo32 = 4294967296.0;
constexpr double kTwo64 = kTwo32 * kTwo32;
constexpr double kLatitudeUnitsPerQuarterTurn = 10001750.0 * kTwo32;
constexpr float kMetresPerFoot = 0.3048f;

double radiansToDegrees(double radians) {
    return radians * 180 / std::numbers::pi;
}

// Pitch, bank and heading alike as signed words: the heading lies in -pi .. pi.
float angleRadians(int32_t angle) {
    return static_cast<float>(static_cast<double>(angle) * 2 * std::numbers::pi / kTwo32);
}

} // namespace

bool FSinterface::getOnGround() {
    return SimObject::user("FSinterface::getOnGround").get(V::kOnGround) != 0;
}

bool FSinterface::getEngineRunning() {
    return SimObject::user("FSinterface::getEngineRunning").get(V::kEngineRunning, 1) != 0;
}

void FSinterface::getLLAPBH(uint32_t id, double lla[3], float pbh[3]) {
    const ZHostPosition position = SimObject::byId(id, "FSinterface::getLLAPBH").position();
    if (lla != nullptr) {
        lla[0] =
            static_cast<double>(position.latitude) * (std::numbers::pi / 2) / kLatitudeUnitsPerQuarterTurn;
        lla[1] = static_cast<double>(position.longitude) * 2 * std::numbers::pi / kTwo64;
        lla[2] = static_cast<double>(position.altitude) / kTwo32;
    }
    if (pbh != nullptr) {
        pbh[0] = angleRadians(position.pitch);
        pbh[1] = angleRadians(position.bank);
        pbh[2] = angleRadians(static_cast<int32_t>(position.heading));
    }
}

void FSinterface::getVelXYZ(uint32_t id, double v[3]) {
    SimObject::byId(id, "FSinterface::getVelXYZ").velocity(v);
}

uint16_t FSinterface::getSpoilers() {
    const double spoilers = SimObject::user("FSinterface::getSpoilers").get(V::kSpoilerHandle);
    return static_cast<uint16_t>(static_cast<int64_t>(spoilers));
}

void FSinterface::setSpoilers(uint16_t spoilers) {
    if (hostState().stopping)
        return;
    SimObject::user("FSinterface::setSpoilers").set(V::kSpoilerHandle, spoilers);
}

float FSinterface::getHeight() {
    const SimObject object = SimObject::user("FSinterface::getHeight");
    const auto altitude = static_cast<float>(static_cast<double>(object.position().altitude) / kTwo32);
    const auto ground = static_cast<float>(object.get(V::kGroundAltitude));
    const auto referenceAboveGround =
        static_cast<float>(object.get(V::kReferenceAboveGround)) * kMetresPerFoot;
    return altitude - ground - referenceAboveGround;
}

double FSinterface::getGroundAlt() {
    return SimObject::user("FSinterface::getGroundAlt").get(V::kGroundAltitude);
}

double FSinterface::getMagVar() {
    return SimObject::user("FSinterface::getMagVar").get(V::kMagneticVariation);
}

ZHostDateTime FSinterface::getDateTime() {
    return *hostState().bound.dateTime;
}

void FSinterface::setDateTime(const ZHostDateTime& dateTime) {
    HostState& state = hostState();
    if (state.stopping)
        return;
    ZHostDateTime* record = state.bound.dateTime;
    record->hour = dateTime.hour;
    record->minute = dateTime.minute;
    record->second = dateTime.second;
    state.bound.setDate(record, dateTime.year, dateTime.month, dateTime.day);
    state.bound.applyDateTime(record);
}

double FSinterface::getGroundElevation(double latitude, double longitude) {
    return getGroundElevationRaw(latitudeFromDegrees(radiansToDegrees(latitude)),
                                 longitudeFromDegrees(radiansToDegrees(longitude)));
}

double FSinterface::getGroundElevationRaw(int64_t latitude, int64_t longitude) {
    return hostState().bound.groundElevation(latitude, longitude);
}

void FSinterface::getUserRefPoint(double point[3]) {
    point[0] = point[1] = point[2] = 0;
    if (ZHostObject* user = hostState().bound.userObject(); user != nullptr)
        SimObject(user).doubles(HostProperties::kReferencePoint, point);
}

void FSinterface::getUserEyePoint(double point[3]) {
    point[0] = point[1] = point[2] = 0;
    if (ZHostObject* user = hostState().bound.userObject(); user != nullptr)
        SimObject(user).doubles(HostProperties::kEyePoint, point);
}

bool FSinterface::getTowerPosition(double lla[3]) {
    return hostState().bound.towerPosition(lla) == 0;
}

bool FSinterface::isLevelD767() {
    return hostState().levelD767;
}

bool FSinterface::isHelicopter() {
    return hostState().helicopter;
}
