#include "cameras/CameraSpotSlew.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "cameras/CameraKeys.h"
#include "host/FSinterface.h"
#include "profile/ProfileValues.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kBehind = 50;
constexpr double kMetresPerFoot = 0.3048;
constexpr double kAboveGround = 1.0;
constexpr float kLeastMaxDistance = 100;
constexpr float kMostMaxDistance = 10000;

} // namespace

CameraSpotSlew::CameraSpotSlew(const CameraSettings* settings)
    : CameraSpot(settings), positionFilter(makeSmooth(settings->smoothTypePos, SmoothRole::Position)) {}

CameraSpotSlew::CameraSpotSlew(const CameraSpotSlew& other)
    : CameraSpot(other), eye(other.eye), pitch(other.pitch), bank(other.bank), heading(other.heading),
      autoZoom(other.autoZoom), maxDistance(other.maxDistance), positionFilter(other.positionFilter->clone()) {
    std::copy(std::begin(other.velocity), std::end(other.velocity), velocity);
}

std::unique_ptr<Camera> CameraSpotSlew::create(const CameraSettings* settings) const {
    return std::make_unique<CameraSpotSlew>(settings);
}

std::unique_ptr<Camera> CameraSpotSlew::clone() const {
    return std::make_unique<CameraSpotSlew>(*this);
}

void CameraSpotSlew::load(const std::string& section, const std::string& file) {
    CameraSpot::load(section, file);
    // Auto-pan decides the target here, over the spot cameras' user aircraft.
    target = profile::readBool(file, section.c_str(), "AutoPan", true) ? FSinterface::getUserAcftID() : 0;
}

void CameraSpotSlew::loadMode(const std::string& section, const std::string& file) {
    const char* s = section.c_str();
    if (profile::readInt(file, s, "SpotMode", -1) != kFree)
        refuseMode("Invalid spot camera type", "CameraSpotSlew::load");
    pitch = CameraKeys::readAngle(file, section, "Pitch", true);
    bank = CameraKeys::readAngle(file, section, "Bank", true);
    heading = CameraKeys::readAngle(file, section, "Heading", false);
    autoZoom = static_cast<float>(profile::readFloat(file, s, "AutoZoom", 0));
    maxDistance = static_cast<float>(profile::readFloat(file, s, "MaxDistance", 10000));
    positionFilter->setTimeConstant(profile::readFloat(file, s, "SmoothPosition", 0));
    resetPanFilter(pitch, bank, heading);
}

void CameraSpotSlew::saveMode(const std::string& section, const std::string& file) const {
    const char* s = section.c_str();
    CameraKeys::writeAngle(file, section, "Pitch", pitch, true);
    CameraKeys::writeAngle(file, section, "Bank", bank, true);
    CameraKeys::writeAngle(file, section, "Heading", heading, false);
    profile::writeFloat(file, s, "AutoZoom", autoZoom, 4);
    profile::writeFloat(file, s, "MaxDistance", maxDistance, 1);
    profile::writeBool(file, s, "AutoPan", target != 0);
    profile::writeFloat(file, s, "SmoothPosition", positionFilter->timeConstant(), 2);
}

void CameraSpotSlew::process(CameraView* view) {
    requireView(view, "CameraSpotSlew::process");
    // A camera read from a file has no place yet: it starts behind its aircraft.
    if (eye.latitude == 0 && eye.longitude == 0 && eye.altitude == 0)
        restart();
    if (!FSinterface::isPaused()) {
        const float dt = static_cast<float>(filterStep());
        const float north = (std::cos(heading) * velocity[2] - std::sin(heading) * velocity[0]) * dt;
        const float east = (std::sin(heading) * velocity[2] + std::cos(heading) * velocity[0]) * dt;
        eye = Geometry::offsetToPosition(eye, east, velocity[1] * dt, north);
        const double ground = FSinterface::getGroundElevation(eye.latitude, eye.longitude) + kAboveGround;
        if (eye.altitude < ground) {
            eye.altitude = ground;
            velocity[1] = 0;
        }
    }
    if (jumped_)
        resetPosition(*positionFilter, eye);
    Geometry::WorldPosition shown = smoothPosition(*positionFilter, eye);
    aboveGround(shown);
    if (target != 0 && !FSinterface::isAircraft(target)) {
        target = FSinterface::getUserAcftID();
        jumped_ = true;
    } else if (target != 0) {
        const Geometry::WorldPosition aircraft = AircraftPose::of(target).position;
        float d = Geometry::localOffset(shown, aircraft);
        if (d > maxDistance) {
            // Pulled in: the eye itself, and the view from there.
            d = Geometry::limitDistance(eye, aircraft, maxDistance);
            shown = eye;
            resetPosition(*positionFilter, eye);
        }
        Geometry::Attitude look{};
        Geometry::localOffset(shown, aircraft, &look);
        pitch = look.pitch;
        bank = look.bank;
        heading = look.heading;
        if (autoZoom != 0)
            zoom = autoZoom * std::min(d, maxDistance);
    }
    if (jumped_)
        resetPanFilter(pitch, bank, heading);
    jumped_ = false;
    double angles[3] = {pitch, bank, heading};
    smoothAngles(angles);
    Camera::process(view);
    fillView(*view, shown, angles);
}

void CameraSpotSlew::restart() {
    const uint32_t followed = target != 0 && FSinterface::isAircraft(target) ? target : FSinterface::getUserAcftID();
    const AircraftPose aircraft = AircraftPose::of(followed);
    const float h = aircraft.attitude.heading;
    eye = Geometry::offsetToPosition(aircraft.position, -std::sin(h) * kBehind, 0, -std::cos(h) * kBehind);
    pitch = bank = 0;
    heading = h;
    double v[3]; // feet a second east, up, north
    FSinterface::getVelXYZ(followed, v);
    const double sh = std::sin(h), ch = std::cos(h);
    velocity[0] = static_cast<float>((ch * v[0] - sh * v[2]) * kMetresPerFoot);
    velocity[1] = static_cast<float>(v[1] * kMetresPerFoot);
    velocity[2] = static_cast<float>((sh * v[0] + ch * v[2]) * kMetresPerFoot);
    resetPosition(*positionFilter, eye);
    resetPanFilter(pitch, bank, heading);
}

void CameraSpotSlew::speedUp(float right, float up, float forward, double step) {
    velocity[0] += right * static_cast<float>(step);
    velocity[1] += up * static_cast<float>(step);
    velocity[2] += forward * static_cast<float>(step);
}

void CameraSpotSlew::moveEye(float dx, float dy, float dz) {
    if (dx == 0 && dy == 0 && dz == 0)
        restart();
    else
        speedUp(dx, dy, dz, settings().slewIncrementSpot1);
}

void CameraSpotSlew::rotateRate(float dPitch, float dBank, float dHeading) {
    target = 0;
    if (dPitch == 0 && dBank == 0 && dHeading == 0) {
        pitch = bank = heading = 0;
        return;
    }
    panAngles(pitch, bank, heading, dPitch, dBank, dHeading, panRate);
}

void CameraSpotSlew::setAngle(float value, int axis) {
    target = 0;
    (axis == 0 ? pitch : axis == 1 ? bank : heading) = value;
}

void CameraSpotSlew::command() {
    target = target == 0 ? FSinterface::getUserAcftID() : 0;
}

void CameraSpotSlew::lookAt(float x, float y, float z) {
    if (y == 0 || (x == 0 && z == 0))
        speedUp(x, y, z, settings().slewIncrementSpot2);
    else
        speedUp(x, 0, z, settings().slewIncrementSpot3);
}

void CameraSpotSlew::zoomBy(float factor) {
    const bool tracked = target != 0 && FSinterface::isAircraft(target);
    zoomWithDistance(factor, autoZoom, tracked ? Geometry::localOffset(eye, AircraftPose::of(target).position) : 0);
}

void CameraSpotSlew::mousePan(bool begin, float* a, float* b) {
    if (begin) {
        *a = heading / kPi / (settings().pan360 ? 2.0f : 1.0f);
        *b = -2 * pitch / kPi;
    }
    Camera::mousePan(begin, a, b);
}

void CameraSpotSlew::rebuildFilters() {
    CameraSpot::rebuildFilters();
    remake(positionFilter, settings().smoothTypePos, SmoothRole::Position);
    resetPosition(*positionFilter, eye);
}

void CameraSpotSlew::getDlgParams(SpotParams& params) const {
    CameraSpot::getDlgParams(params);
    params.pitch = CameraKeys::degreesOf(pitch, true);
    params.bank = CameraKeys::degreesOf(bank, true);
    params.heading = CameraKeys::degreesOf(heading, false);
    params.autoZoom = autoZoom;
    params.maxDistance = maxDistance;
    params.autoPan = target != 0;
    params.smoothPosition = positionFilter->timeConstant();
}

void CameraSpotSlew::setDlgParams(const SpotParams& params) {
    if (params.spotMode != kFree)
        refuseMode("Invalid spot mode", "CameraSpotSlew::setDlgParams");
    CameraSpot::setDlgParams(params);
    pitch = CameraKeys::radiansOf(params.pitch, true);
    bank = CameraKeys::radiansOf(params.bank, true);
    heading = CameraKeys::radiansOf(params.heading, false);
    autoZoom = params.autoZoom;
    maxDistance = std::clamp(params.maxDistance, kLeastMaxDistance, kMostMaxDistance);
    target = params.autoPan ? FSinterface::getUserAcftID() : 0;
    positionFilter->setTimeConstant(limitedTimeConstant(params.smoothPosition));
}
