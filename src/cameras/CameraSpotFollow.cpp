#include "cameras/CameraSpotFollow.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "cameras/CameraAngles.h"
#include "cameras/CameraKeys.h"
#include "profile/ProfileValues.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kLeastDistance = 1;
constexpr float kMostDistance = 10000;
constexpr float kWheelIn = 0.9f;
constexpr float kWheelOut = 1.1111112f;
constexpr float kMostElevationDegrees = 90;

bool isZero(const float v[3]) {
    return v[0] == 0 && v[1] == 0 && v[2] == 0;
}

} // namespace

CameraSpotFollow::CameraSpotFollow(const CameraSettings* settings, bool headingFixed)
    : CameraSpot(settings), fixedHeading(headingFixed),
      positionFilter(makeSmooth(settings->smoothTypePos, SmoothRole::Position)) {}

CameraSpotFollow::CameraSpotFollow(const CameraSpotFollow& other)
    : CameraSpot(other), headingOffset(other.headingOffset), elevation(other.elevation), distance(other.distance),
      fixedHeading(other.fixedHeading), manualPan(other.manualPan), panPitch(other.panPitch),
      panBank(other.panBank), panHeading(other.panHeading), positionFilter(other.positionFilter->clone()) {
    std::copy(std::begin(other.focus), std::end(other.focus), focus);
}

std::unique_ptr<Camera> CameraSpotFollow::create(const CameraSettings* settings) const {
    return std::make_unique<CameraSpotFollow>(settings, fixedHeading);
}

std::unique_ptr<Camera> CameraSpotFollow::clone() const {
    return std::make_unique<CameraSpotFollow>(*this);
}

void CameraSpotFollow::loadMode(const std::string& section, const std::string& file) {
    const char* s = section.c_str();
    const int mode = profile::readInt(file, s, "SpotMode", -1);
    if (mode != kFollowDirection && mode != kFollowHeading)
        refuseMode("Invalid spot camera type", "CameraSpotFollow::load");
    fixedHeading = mode == kFollowHeading;
    headingOffset = CameraKeys::readAngle(file, section, "Heading", false);
    elevation = CameraKeys::readAngle(file, section, "Pitch", true);
    distance = static_cast<float>(profile::readFloat(file, s, "Z", 0));
    manualPan = profile::readBool(file, s, "ManualPan", false);
    panPitch = static_cast<float>(profile::readFloat(file, s, "PanPitch", 0));
    panBank = static_cast<float>(profile::readFloat(file, s, "PanBank", 0));
    panHeading = static_cast<float>(profile::readFloat(file, s, "PanHeading", 0));
    CameraKeys::readFocus(file, section, focus);
    positionFilter->setTimeConstant(profile::readFloat(file, s, "SmoothPosition", 0));
    resetPanFilter(panPitch, panBank, panHeading);
}

void CameraSpotFollow::saveMode(const std::string& section, const std::string& file) const {
    const char* s = section.c_str();
    CameraKeys::writeAngle(file, section, "Heading", headingOffset, false);
    CameraKeys::writeAngle(file, section, "Pitch", elevation, true);
    profile::writeFloat(file, s, "Z", distance, 3);
    profile::writeBool(file, s, "ManualPan", manualPan);
    profile::writeFloat(file, s, "PanPitch", panPitch, 1);
    profile::writeFloat(file, s, "PanBank", panBank, 1);
    profile::writeFloat(file, s, "PanHeading", panHeading, 1);
    CameraKeys::writeFocus(file, section, focus);
    profile::writeFloat(file, s, "SmoothPosition", positionFilter->timeConstant(), 2);
}

void CameraSpotFollow::process(CameraView* view) {
    requireView(view, "CameraSpotFollow::process");
    const AircraftPose aircraft = resolveTarget();
    const Geometry::WorldPosition looked = isZero(focus) ? aircraft.position : aircraft.pointAt(focus);
    const float bearing = fixedHeading ? headingOffset : aircraft.attitude.heading + headingOffset;
    const float across = distance * std::cos(elevation);
    Geometry::WorldPosition eye = Geometry::offsetToPosition(looked, std::sin(bearing) * across,
                                                             std::sin(-elevation) * distance,
                                                             std::cos(bearing) * across);
    if (jumped_)
        resetPosition(*positionFilter, eye);
    eye = smoothPosition(*positionFilter, eye);
    aboveGround(eye);
    if (!manualPan) {
        Geometry::Attitude look{};
        Geometry::localOffset(eye, looked, &look);
        panPitch = look.pitch;
        panBank = look.bank;
        panHeading = look.heading;
    }
    if (jumped_)
        resetPanFilter(panPitch, panBank, panHeading);
    jumped_ = false;
    double angles[3] = {panPitch, panBank, panHeading};
    smoothAngles(angles);
    Camera::process(view);
    fillView(*view, eye, angles);
}

void CameraSpotFollow::limitAngles() {
    elevation = std::clamp(elevation, -CameraAngles::kPitchLimit, CameraAngles::kPitchLimit);
    headingOffset = Geometry::wrapViewAngle(headingOffset);
    CameraAngles::normalise(panPitch, panBank, panHeading);
}

void CameraSpotFollow::moveEye(float dx, float dy, float dz) {
    if (manualPan) {
        elevation -= turnStep(dy, panRate);
        headingOffset -= turnStep(dx, panRate);
        distance -= dz * static_cast<float>(settings().posIncrementSpot);
        limitAngles();
        return;
    }
    if (dx == 0 && dy == 0 && dz == 0) {
        std::fill(std::begin(focus), std::end(focus), 0.0f);
        return;
    }
    const float step = static_cast<float>(settings().posIncrementSpot);
    focus[0] += dx * step;
    focus[1] += dy * step;
    focus[2] += dz * step;
}

void CameraSpotFollow::rotateRate(float dPitch, float dBank, float dHeading) {
    if (manualPan) {
        panAngles(panPitch, panBank, panHeading, dPitch, dBank, dHeading, panRate);
        return;
    }
    elevation += turnStep(dPitch, panRate);
    headingOffset -= turnStep(dHeading, panRate);
    limitAngles();
}

void CameraSpotFollow::setAngle(float value, int axis) {
    if (manualPan)
        (axis == 0 ? panPitch : axis == 1 ? panBank : panHeading) = value;
    else if (axis == 0)
        elevation = value;
    else if (axis == 2)
        headingOffset = -value;
}

void CameraSpotFollow::lookAt(float x, float y, float z) {
    const Geometry::Attitude look = CameraAngles::along(x, y, z);
    elevation = look.pitch;
    headingOffset = look.heading;
}

void CameraSpotFollow::zoomStep(int direction) {
    if (!settings().mouseWheelDistSpotFollow || manualPan) {
        Camera::zoomStep(direction);
        return;
    }
    distance = std::clamp(distance * (direction < 1 ? kWheelIn : kWheelOut), kLeastDistance, kMostDistance);
}

// The mouse point that the view now stands for, so that a mouse pan starts where the view is.
void CameraSpotFollow::mousePan(bool begin, float* a, float* b) {
    if (begin) {
        const float scale = settings().pan360 ? 2.0f : 1.0f;
        *a = (manualPan ? panHeading : -headingOffset) / kPi / scale;
        *b = -2 * (manualPan ? panPitch : elevation) / kPi;
    }
    Camera::mousePan(begin, a, b);
}

void CameraSpotFollow::rebuildFilters() {
    CameraSpot::rebuildFilters();
    double held[3];
    positionFilter->held(held);
    remake(positionFilter, settings().smoothTypePos, SmoothRole::Position);
    positionFilter->reset(held);
}

void CameraSpotFollow::getDlgParams(SpotParams& params) const {
    CameraSpot::getDlgParams(params);
    params.heading = CameraKeys::degreesOf(headingOffset, false);
    params.pitch = CameraKeys::degreesOf(elevation, true);
    params.z = distance;
    params.manualPan = manualPan;
    std::copy(std::begin(focus), std::end(focus), params.focus);
    params.smoothPosition = positionFilter->timeConstant();
}

void CameraSpotFollow::setDlgParams(const SpotParams& params) {
    if (params.spotMode != kFollowDirection && params.spotMode != kFollowHeading)
        refuseMode("Invalid spot mode", "CameraSpotFollow::setDlgParams");
    CameraSpot::setDlgParams(params);
    fixedHeading = params.spotMode == kFollowHeading;
    headingOffset = CameraKeys::radiansOf(params.heading, false);
    elevation = CameraKeys::radiansOf(std::clamp(params.pitch, -kMostElevationDegrees, kMostElevationDegrees), true);
    distance = std::clamp(params.z, kLeastDistance, kMostDistance);
    manualPan = params.manualPan;
    std::copy(std::begin(params.focus), std::end(params.focus), focus);
    positionFilter->setTimeConstant(limitedTimeConstant(params.smoothPosition));
}
