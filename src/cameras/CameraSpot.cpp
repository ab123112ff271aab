#include "cameras/CameraSpot.h"

#include "cameras/CameraSpotFixed.h"
#include "cameras/CameraSpotFlyBy.h"
#include "cameras/CameraSpotFollow.h"
#include "cameras/CameraSpotSlew.h"
#include "common/ZephrelException.h"
#include "host/FSinterface.h"
#include "profile/ProfileValues.h"

namespace {

constexpr const char* kModeNames[] = {"Fixed to Aircraft", "Follow (fixed Direction)", "Follow (fixed Heading)",
                                      "Free", "Fly By"};

} // namespace

CameraSpot::CameraSpot(const CameraSettings* settings)
    : Camera(settings), panFilter(makeSmooth(settings->smoothTypePan, SmoothRole::ViewAngles)) {
    resetPanFilter(0, 0, 0);
}

CameraSpot::CameraSpot(const CameraSpot& other)
    : Camera(other), panRate(other.panRate), panFilter(other.panFilter->clone()) {}

std::unique_ptr<CameraSpot> CameraSpot::ofMode(int mode, const CameraSettings* settings) {
    switch (mode) {
    case kFixed:
        return std::make_unique<CameraSpotFixed>(settings);
    case kFollowDirection:
    case kFollowHeading:
        return std::make_unique<CameraSpotFollow>(settings, mode == kFollowHeading);
    case kFree:
        return std::make_unique<CameraSpotSlew>(settings);
    case kFlyBy:
        return std::make_unique<CameraSpotFlyBy>(settings);
    default:
        return nullptr;
    }
}

std::unique_ptr<Camera> CameraSpot::loadFrom(const std::string& section, const std::string& file,
                                             const CameraSettings* settings) {
    std::unique_ptr<CameraSpot> camera = ofMode(profile::readInt(file, section.c_str(), "SpotMode", 1), settings);
    if (camera != nullptr)
        camera->load(section, file);
    return camera;
}

const char* CameraSpot::modeName(int mode) {
    return mode >= 0 && mode < static_cast<int>(std::size(kModeNames)) ? kModeNames[mode] : "";
}

void CameraSpot::load(const std::string& section, const std::string& file) {
    Camera::load(section, file);
    const char* s = section.c_str();
    if (profile::readInt(file, s, "Type", 0) != kSpot)
        throw ZephrelException(ErrorCode::Unexpected, ZephrelException::Error, "CameraSpot::load", __LINE__,
                               "Invalid camera type");
    panRate = static_cast<float>(profile::readFloat(file, s, "PanRate", 1.0));
    panFilter->setTimeConstant(profile::readFloat(file, s, "SmoothPanning", 0));
    target = FSinterface::getUserAcftID();
    loadMode(section, file);
}

void CameraSpot::save(const std::string& section, const std::string& file) const {
    Camera::save(section, file);
    const char* s = section.c_str();
    profile::writeInt(file, s, "SpotMode", getSpotMode());
    profile::writeFloat(file, s, "PanRate", panRate, 3);
    profile::writeFloat(file, s, "SmoothPanning", panFilter->timeConstant(), 2);
    saveMode(section, file);
}

void CameraSpot::rebuildFilters() {
    Camera::rebuildFilters();
    double held[3];
    panFilter->held(held);
    remake(panFilter, settings().smoothTypePan, SmoothRole::ViewAngles);
    panFilter->reset(held);
}

void CameraSpot::getDlgParams(SpotParams& params) const {
    getCommonParams(params, panRate, *panFilter);
    params.spotMode = getSpotMode();
}

void CameraSpot::setDlgParams(const SpotParams& params) {
    setCommonParams(params, panRate, *panFilter);
    jumped_ = true;
}

void CameraSpot::nextTarget(bool backward) {
    Camera::nextTarget(backward);
    jumped_ = true;
}

AircraftPose CameraSpot::resolveTarget() {
    if (target == 0 || !FSinterface::isAircraft(target)) {
        target = FSinterface::getUserAcftID();
        jumped_ = true;
    }
    return AircraftPose::of(target);
}

void CameraSpot::requireView(const CameraView* view, const char* place) {
    if (view == nullptr)
        throw ZephrelException(ErrorCode::Unexpected, ZephrelException::Error, place, __LINE__, "NULL pointer passed");
}

void CameraSpot::refuseMode(const char* text, const char* place) {
    throw ZephrelException(ErrorCode::Unexpected, ZephrelException::Error, place, __LINE__, text);
}

void CameraSpot::smoothAngles(double angles[3]) {
    panFilter->update(filterStep(), angles, angles);
}

void CameraSpot::resetPanFilter(float pitch, float bank, float heading) {
    const double angles[3] = {pitch, bank, heading};
    panFilter->reset(angles);
}

Geometry::WorldPosition CameraSpot::smoothPosition(Smooth& filter, const Geometry::WorldPosition& eye) const {
    constexpr float kJump = 10000;
    const double raw[3] = {eye.latitude, eye.longitude, eye.altitude};
    double smoothed[3];
    filter.update(filterStep(), raw, smoothed);
    const Geometry::WorldPosition result{smoothed[0], smoothed[1], smoothed[2]};
    if (Geometry::localOffset(eye, result) <= kJump)
        return result;
    filter.reset(raw);
    return eye;
}

void CameraSpot::resetPosition(Smooth& filter, const Geometry::WorldPosition& eye) {
    const double raw[3] = {eye.latitude, eye.longitude, eye.altitude};
    filter.reset(raw);
}

void CameraSpot::fillView(CameraView& view, const Geometry::WorldPosition& eye, const double angles[3]) const {
    view.latitude = eye.latitude;
    view.longitude = eye.longitude;
    view.altitude = eye.altitude;
    view.pitch = static_cast<float>(angles[0]);
    view.bank = static_cast<float>(angles[1]);
    view.heading = static_cast<float>(angles[2]);
}
