#include "cameras/CameraTower.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "cameras/AircraftPose.h"
#include "cameras/CameraAngles.h"
#include "cameras/CameraKeys.h"
#include "common/ZephrelException.h"
#include "host/FSinterface.h"
#include "profile/ProfileValues.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr double kFeetPerMetre = 3.2808399;
constexpr double kMetresPerFoot = 0.3048;

double degrees(double radians) {
    return radians / static_cast<double>(Geometry::kDegreesToRadians);
}

} // namespace

CameraTower::CameraTower(const CameraSettings* settings)
    : Camera(settings), panFilter(makeSmooth(settings->smoothTypePan, SmoothRole::ViewAngles)) {
    resetPanFilter();
}

CameraTower::CameraTower(const CameraTower& other)
    : Camera(other), position(other.position), pitch(other.pitch), bank(other.bank), heading(other.heading),
      panRate(other.panRate), panFilter(other.panFilter->clone()), maxDistance(other.maxDistance),
      autoZoom(other.autoZoom), mouseX(other.mouseX), mouseY(other.mouseY) {
    std::copy(std::begin(other.focus), std::end(other.focus), focus);
}

std::unique_ptr<Camera> CameraTower::create(const CameraSettings* settings) const {
    return std::make_unique<CameraTower>(settings);
}

std::unique_ptr<Camera> CameraTower::clone() const {
    return std::make_unique<CameraTower>(*this);
}

void CameraTower::load(const std::string& section, const std::string& file) {
    Camera::load(section, file);
    const char* s = section.c_str();
    if (profile::readInt(file, s, "Type", 0) != kTower)
        throw ZephrelException(ErrorCode::Unexpected, ZephrelException::Error, "CameraTower::load", __LINE__,
                               "Invalid camera type");
    position.latitude = profile::readFloat(file, s, "Latitude", 0) * static_cast<double>(Geometry::kDegreesToRadians);
    position.longitude = profile::readFloat(file, s, "Longitude", 0) * static_cast<double>(Geometry::kDegreesToRadians);
    position.altitude = profile::readFloat(file, s, "Altitude", 0) * kMetresPerFoot;
    pitch = CameraKeys::readAngle(file, section, "Pitch", true);
    bank = CameraKeys::readAngle(file, section, "Bank", true);
    heading = CameraKeys::readAngle(file, section, "Heading", false);
    CameraKeys::readFocus(file, section, focus);
    clampFocus();
    panRate = static_cast<float>(profile::readFloat(file, s, "PanRate", 1.0));
    panFilter->setTimeConstant(profile::readFloat(file, s, "SmoothPanning", 0));
    maxDistance = static_cast<float>(profile::readFloat(file, s, "MaxDistance", 10000));
    autoZoom = static_cast<float>(profile::readFloat(file, s, "AutoZoom", 0));
    target = profile::readBool(file, s, "AutoPan", true) ? FSinterface::getUserAcftID() : 0;
    resetPanFilter();
}

void CameraTower::save(const std::string& section, const std::string& file) const {
    Camera::save(section, file);
    const char* s = section.c_str();
    profile::writeFloat(file, s, "Latitude", degrees(position.latitude), 8);
    profile::writeFloat(file, s, "Longitude", degrees(position.longitude), 8);
    profile::writeFloat(file, s, "Altitude", position.altitude * kFeetPerMetre, 3);
    CameraKeys::writeAngle(file, section, "Pitch", pitch, true);
    CameraKeys::writeAngle(file, section, "Bank", bank, true);
    CameraKeys::writeAngle(file, section, "Heading", heading, false);
    CameraKeys::writeFocus(file, section, focus);
    profile::writeFloat(file, s, "PanRate", panRate, 3);
    profile::writeFloat(file, s, "SmoothPanning", panFilter->timeConstant(), 2);
    profile::writeFloat(file, s, "MaxDistance", maxDistance, 1);
    profile::writeFloat(file, s, "AutoZoom", autoZoom, 4);
    profile::writeBool(file, s, "AutoPan", target != 0);
}

bool CameraTower::lookedAt(Geometry::WorldPosition& point, Geometry::Attitude* attitude) const {
    if (target == 0 || !FSinterface::isAircraft(target))
        return false;
    const AircraftPose pose = AircraftPose::of(target);
    point = (focus[0] != 0 || focus[1] != 0 || focus[2] != 0) ? pose.pointAt(focus) : pose.position;
    if (attitude != nullptr)
        *attitude = pose.attitude;
    return true;
}

void CameraTower::process(CameraView* view) {
    if (view == nullptr)
        throw ZephrelException(ErrorCode::Unexpected, ZephrelException::Error, "CameraTower::process", __LINE__,
                               "NULL pointer passed");
    aboveGround(position);
    Geometry::WorldPosition eye = position;
    if (target != 0 && !FSinterface::isAircraft(target))
        target = FSinterface::getUserAcftID();
    if (Geometry::WorldPosition looked{}; lookedAt(looked)) {
        const float distance = Geometry::limitDistance(eye, looked, maxDistance);
        Geometry::Attitude look{};
        Geometry::localOffset(eye, looked, &look);
        pitch = look.pitch;
        bank = look.bank;
        heading = look.heading;
        if (autoZoom != 0)
            zoom = autoZoom * distance;
    }
    double angles[3] = {pitch, bank, heading};
    panFilter->update(filterStep(), angles, angles);
    Camera::process(view);
    view->latitude = eye.latitude;
    view->longitude = eye.longitude;
    view->altitude = eye.altitude;
    view->pitch = static_cast<float>(angles[0]);
    view->bank = static_cast<float>(angles[1]);
    view->heading = static_cast<float>(angles[2]);
}

void CameraTower::move(float dx, float dy, float dz, float step) {
    const float north = (std::cos(heading) * dz - std::sin(heading) * dx) * step;
    const float east = (std::sin(heading) * dz + std::cos(heading) * dx) * step;
    position = Geometry::offsetToPosition(position, east, dy * step, north);
}

void CameraTower::clampFocus() {
    for (float& axis : focus)
        axis = std::clamp(axis, -kFocusLimit, kFocusLimit);
}

void CameraTower::moveEye(float dx, float dy, float dz) {
    const bool reset = dx == 0 && dy == 0 && dz == 0;
    if (settings().moveTower1Target) {
        if (reset) {
            std::fill(std::begin(focus), std::end(focus), 0.0f);
        } else {
            const float step = static_cast<float>(settings().posIncrementSpot);
            focus[0] += dx * step;
            focus[1] += dy * step;
            focus[2] += dz * step;
            clampFocus();
        }
        return;
    }
    if (!reset) {
        move(dx, dy, dz, static_cast<float>(settings().posIncrementTower1));
        return;
    }
    double tower[3];
    if (FSinterface::getTowerPosition(tower)) {
        const double toRadians = static_cast<double>(Geometry::kDegreesToRadians);
        position = {tower[0] * toRadians, tower[1] * toRadians, tower[2]};
    }
    target = FSinterface::getUserAcftID();
}

void CameraTower::moveFocus(float x, float y) {
    Geometry::Attitude aircraft{};
    Geometry::WorldPosition looked{};
    if (!lookedAt(looked, &aircraft))
        return;
    const Geometry::Mat3 turn = Geometry::relativeRotation(Geometry::Attitude{pitch, bank, heading}, aircraft);
    const Geometry::Vec3 moved = Geometry::multiply(turn, Geometry::Vec3{x, y, 0});
    focus[0] += moved.x;
    focus[1] += moved.y;
    focus[2] += moved.z;
    clampFocus();
}

void CameraTower::rotateRate(float dPitch, float dBank, float dHeading) {
    const bool reset = dPitch == 0 && dBank == 0 && dHeading == 0;
    if (target == 0) {
        if (reset) {
            target = FSinterface::getUserAcftID();
            return;
        }
        panAngles(pitch, bank, heading, dPitch, dBank, dHeading, panRate);
        return;
    }
    if (reset) {
        std::fill(std::begin(focus), std::end(focus), 0.0f);
        return;
    }
    if (!settings().panFocus)
        return;
    Geometry::WorldPosition looked{};
    lookedAt(looked);
    const float k = std::tan(panStep(1, panRate)) * Geometry::localOffset(position, looked);
    moveFocus(dHeading * k, -dPitch * k);
}

void CameraTower::setAngle(float value, int axis) {
    if (target != 0)
        return;
    (axis == 0 ? pitch : axis == 1 ? bank : heading) = value;
    CameraAngles::normalise(pitch, bank, heading);
}

void CameraTower::command() {
    target = target == 0 ? FSinterface::getUserAcftID() : 0;
}

void CameraTower::lookAt(float x, float y, float z) {
    if (y == 0 || (x == 0 && z == 0))
        move(x, y, z, static_cast<float>(settings().posIncrementTower2));
    else
        move(x, 0, z, static_cast<float>(settings().posIncrementTower3));
}

void CameraTower::zoomBy(float factor) {
    Geometry::WorldPosition looked{};
    zoomWithDistance(factor, autoZoom, lookedAt(looked) ? Geometry::localOffset(position, looked) : 0);
}

void CameraTower::mousePan(bool begin, float* a, float* b) {
    if (begin) {
        if (!settings().panTowerInc && target == 0) {
            *a = heading / kPi / (settings().pan360 ? 2.0f : 1.0f);
            *b = -2 * pitch / kPi;
        } else {
            *a = *b = 0;
            mouseX = mouseY = 0;
        }
    }
    Camera::mousePan(begin, a, b);
}

void CameraTower::pan(float x, float y) {
    if (target == 0) {
        if (!settings().panTowerInc) {
            Camera::pan(x, y);
        } else {
            heading = Geometry::wrapViewAngle(heading + (x - mouseX) * (kPi / 2) / zoom);
            pitch = std::clamp(pitch - (y - mouseY) * (kPi / 2) / zoom, -CameraAngles::kPitchLimit,
                               CameraAngles::kPitchLimit);
        }
    } else if (settings().panFocus) {
        moveFocus((x - mouseX) * kFocusLimit, (y - mouseY) * kFocusLimit);
    }
    mouseX = x;
    mouseY = y;
}

void CameraTower::toAircraft() {
    position = AircraftPose::of(FSinterface::getUserAcftID()).position;
    zoom = 1.0f;
    resetZoomFilter();
}

void CameraTower::getDlgParams(TowerParams& params) const {
    getCommonParams(params, panRate, *panFilter);
    params.latitude = degrees(position.latitude);
    params.longitude = degrees(position.longitude);
    params.altitude = position.altitude;
    std::copy(std::begin(focus), std::end(focus), params.focus);
    params.maxDistance = maxDistance;
    params.autoPan = target != 0;
    params.hasSimulatorTower = FSinterface::getTowerPosition(params.simulatorTower);
    const Geometry::WorldPosition user = AircraftPose::of(FSinterface::getUserAcftID()).position;
    params.aircraft[0] = degrees(user.latitude);
    params.aircraft[1] = degrees(user.longitude);
    params.aircraft[2] = user.altitude;
}

void CameraTower::setDlgParams(const TowerParams& params) {
    constexpr double kLowest = -10, kHighest = 30000;
    constexpr float kLeastMaxDistance = 100;
    setCommonParams(params, panRate, *panFilter);
    const double toRadians = static_cast<double>(Geometry::kDegreesToRadians);
    position = {params.latitude * toRadians, params.longitude * toRadians,
                std::clamp(params.altitude, kLowest, kHighest)};
    std::copy(std::begin(params.focus), std::end(params.focus), focus);
    clampFocus();
    maxDistance = std::max(params.maxDistance, kLeastMaxDistance);
    target = params.autoPan ? FSinterface::getUserAcftID() : 0;
    resetPanFilter();
}

void CameraTower::rebuildFilters() {
    Camera::rebuildFilters();
    remake(panFilter, settings().smoothTypePan, SmoothRole::ViewAngles);
    resetPanFilter();
}

void CameraTower::resetPanFilter() {
    const double angles[3] = {pitch, bank, heading};
    panFilter->reset(angles);
}
