#include "cameras/CameraSpotFlyBy.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "cameras/CameraAngles.h"
#include "cameras/CameraKeys.h"
#include "host/FSinterface.h"
#include "profile/ProfileValues.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kAngleLimit = 1.3962634f; // 80°
constexpr float kAngleLimitDegrees = 80;
constexpr float kLeastDistance = 5;
constexpr float kLeastWheelDistance = 1;
constexpr float kMostDistance = 10000;
constexpr float kWheelIn = 0.9f;
constexpr float kWheelOut = 1.1111112f;
// An aircraft other than the user's counts as on the ground this close above it.
constexpr double kOnGroundMetres = 3;

} // namespace

CameraSpotFlyBy::CameraSpotFlyBy(const CameraSettings* settings) : CameraSpot(settings) {}

std::unique_ptr<Camera> CameraSpotFlyBy::create(const CameraSettings* settings) const {
    return std::make_unique<CameraSpotFlyBy>(settings);
}

std::unique_ptr<Camera> CameraSpotFlyBy::clone() const {
    return std::make_unique<CameraSpotFlyBy>(*this);
}

void CameraSpotFlyBy::loadMode(const std::string& section, const std::string& file) {
    const char* s = section.c_str();
    if (profile::readInt(file, s, "SpotMode", -1) != kFlyBy)
        refuseMode("Invalid spot camera type", "CameraSpotFlyBy::load");
    heading = CameraKeys::readAngle(file, section, "Heading", false);
    pitch = CameraKeys::readAngle(file, section, "Pitch", true);
    distance = static_cast<float>(profile::readFloat(file, s, "Z", 0));
    CameraKeys::readFocus(file, section, focus);
    autoZoom = static_cast<float>(profile::readFloat(file, s, "AutoZoom", 0));
    limitAngles();
    clearEye();
}

void CameraSpotFlyBy::saveMode(const std::string& section, const std::string& file) const {
    const char* s = section.c_str();
    CameraKeys::writeAngle(file, section, "Heading", heading, false);
    CameraKeys::writeAngle(file, section, "Pitch", pitch, true);
    profile::writeFloat(file, s, "Z", distance, 3);
    CameraKeys::writeFocus(file, section, focus);
    profile::writeFloat(file, s, "AutoZoom", autoZoom, 4);
}

Geometry::WorldPosition CameraSpotFlyBy::lookedAt(const AircraftPose& aircraft) const {
    const bool noFocus = focus[0] == 0 && focus[1] == 0 && focus[2] == 0;
    return noFocus ? aircraft.position : aircraft.pointAt(focus);
}

Geometry::Attitude CameraSpotFlyBy::travel(const AircraftPose& aircraft) const {
    const bool onGround =
        target == FSinterface::getUserAcftID()
            ? FSinterface::getOnGround()
            : aircraft.position.altitude - FSinterface::getGroundElevation(aircraft.position.latitude,
                                                                            aircraft.position.longitude) <
                  kOnGroundMetres;
    if (onGround)
        return {0, 0, aircraft.attitude.heading};
    double v[3]; // east, up, north
    FSinterface::getVelXYZ(target, v);
    return {static_cast<float>(std::atan2(-v[1], std::hypot(v[0], v[2]))), 0,
            static_cast<float>(std::atan2(v[0], v[2]))};
}

void CameraSpotFlyBy::process(CameraView* view) {
    requireView(view, "CameraSpotFlyBy::process");
    const AircraftPose aircraft = resolveTarget();
    const Geometry::WorldPosition looked = lookedAt(aircraft);
    if (eyeCleared() || Geometry::localOffset(eye, looked) > distance) {
        const float across = distance * std::cos(pitch);
        const Geometry::Vec3 ahead{across * std::sin(heading), distance * std::sin(-pitch), across * std::cos(heading)};
        const Geometry::Attitude along = travel(aircraft);
        const Geometry::Vec3 local = Geometry::multiply(Geometry::rotation(along.pitch, 0, along.heading), ahead);
        eye = Geometry::offsetToPosition(looked, local.x, local.y, local.z);
        aboveGround(eye);
    }
    Geometry::Attitude look{};
    const float d = Geometry::localOffset(eye, looked, &look);
    if (autoZoom != 0)
        zoom = autoZoom * d;
    Camera::process(view);
    const double angles[3] = {look.pitch, look.bank, look.heading};
    fillView(*view, eye, angles);
}

void CameraSpotFlyBy::limitAngles() {
    pitch = std::clamp(pitch, -kAngleLimit, kAngleLimit);
    heading = std::clamp(heading, -kAngleLimit, kAngleLimit);
}

void CameraSpotFlyBy::moveEye(float dx, float dy, float dz) {
    if (dx == 0 && dy == 0 && dz == 0) {
        std::fill(std::begin(focus), std::end(focus), 0.0f);
        return;
    }
    const float step = static_cast<float>(settings().posIncrementSpot);
    focus[0] += dx * step;
    focus[1] += dy * step;
    focus[2] += dz * step;
}

void CameraSpotFlyBy::rotateRate(float dPitch, float, float dHeading) {
    pitch += turnStep(dPitch, panRate);
    heading -= turnStep(dHeading, panRate);
    limitAngles();
    clearEye();
}

void CameraSpotFlyBy::setAngle(float value, int axis) {
    if (axis == 0)
        pitch = value;
    else if (axis == 2)
        heading = -value / 2;
    limitAngles();
    clearEye();
}

void CameraSpotFlyBy::lookAt(float x, float y, float z) {
    const Geometry::Attitude look = CameraAngles::along(x, y, z);
    pitch = look.pitch;
    heading = look.heading;
    limitAngles();
    clearEye();
}

void CameraSpotFlyBy::zoomBy(float factor) {
    const float d = eyeCleared() || target == 0 || !FSinterface::isAircraft(target)
                        ? 0
                        : Geometry::localOffset(eye, lookedAt(AircraftPose::of(target)));
    zoomWithDistance(factor, autoZoom, d);
}

void CameraSpotFlyBy::zoomStep(int direction) {
    if (!settings().mouseWheelDistSpotFlyby) {
        Camera::zoomStep(direction);
        return;
    }
    distance = std::clamp(distance * (direction < 1 ? kWheelIn : kWheelOut), kLeastWheelDistance, kMostDistance);
    clearEye();
}

void CameraSpotFlyBy::mousePan(bool begin, float* a, float* b) {
    if (begin) {
        *a = -2 * heading / kPi;
        *b = -2 * pitch / kPi;
    }
    Camera::mousePan(begin, a, b);
}

void CameraSpotFlyBy::pan(float x, float y) {
    setAngle(x * kPi, 2);
    setAngle(-y * kPi / 2, 0);
}

void CameraSpotFlyBy::getDlgParams(SpotParams& params) const {
    CameraSpot::getDlgParams(params);
    params.heading = CameraKeys::degreesOf(heading, false);
    params.pitch = CameraKeys::degreesOf(pitch, true);
    params.z = distance;
    std::copy(std::begin(focus), std::end(focus), params.focus);
    params.autoZoom = autoZoom;
}

void CameraSpotFlyBy::setDlgParams(const SpotParams& params) {
    if (params.spotMode != kFlyBy)
        refuseMode("Invalid spot mode", "CameraSpotFlyBy::setDlgParams");
    CameraSpot::setDlgParams(params);
    heading = CameraKeys::radiansOf(std::clamp(params.heading, -kAngleLimitDegrees, kAngleLimitDegrees), false);
    pitch = CameraKeys::radiansOf(std::clamp(params.pitch, -kAngleLimitDegrees, kAngleLimitDegrees), true);
    distance = std::clamp(params.z, kLeastDistance, kMostDistance);
    std::copy(std::begin(params.focus), std::end(params.focus), focus);
    autoZoom = params.autoZoom;
    clearEye();
}
