#include "cameras/CameraSpotFixed.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "cameras/CameraAngles.h"
#include "cameras/CameraKeys.h"
#include "profile/ProfileValues.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kOffsetLimit = 1000;
const char* const kAxes[] = {"X", "Y", "Z"};

} // namespace

CameraSpotFixed::CameraSpotFixed(const CameraSettings* settings) : CameraSpot(settings) {}

std::unique_ptr<Camera> CameraSpotFixed::create(const CameraSettings* settings) const {
    return std::make_unique<CameraSpotFixed>(settings);
}

std::unique_ptr<Camera> CameraSpotFixed::clone() const {
    return std::make_unique<CameraSpotFixed>(*this);
}

void CameraSpotFixed::loadMode(const std::string& section, const std::string& file) {
    if (profile::readInt(file, section.c_str(), "SpotMode", -1) != kFixed)
        refuseMode("Invalid spot camera type", "CameraSpotFixed::load");
    for (int i = 0; i < 3; ++i)
        offset[i] = static_cast<float>(profile::readFloat(file, section.c_str(), kAxes[i], 0));
    pitch = CameraKeys::readAngle(file, section, "Pitch", true);
    bank = CameraKeys::readAngle(file, section, "Bank", true);
    heading = CameraKeys::readAngle(file, section, "Heading", false);
    resetPanFilter(pitch, bank, heading);
}

void CameraSpotFixed::saveMode(const std::string& section, const std::string& file) const {
    for (int i = 0; i < 3; ++i)
        profile::writeFloat(file, section.c_str(), kAxes[i], offset[i], 3);
    CameraKeys::writeAngle(file, section, "Pitch", pitch, true);
    CameraKeys::writeAngle(file, section, "Bank", bank, true);
    CameraKeys::writeAngle(file, section, "Heading", heading, false);
}

void CameraSpotFixed::process(CameraView* view) {
    requireView(view, "CameraSpotFixed::process");
    const AircraftPose aircraft = resolveTarget();
    const Geometry::WorldPosition eye = aircraft.pointAt(offset);
    double angles[3] = {pitch, bank, heading};
    smoothAngles(angles);
    const Geometry::Mat3 w = Geometry::multiply(
        Geometry::rotation(aircraft.attitude),
        Geometry::rotation(static_cast<float>(angles[0]), static_cast<float>(angles[1]), static_cast<float>(angles[2])));
    Camera::process(view);
    const auto& m = w.m;
    const double shown[3] = {std::asin(std::clamp(-m[5], -1.0f, 1.0f)), std::atan2(m[3], m[4]),
                             std::atan2(m[2], m[8])};
    fillView(*view, eye, shown);
}

void CameraSpotFixed::moveEye(float dx, float dy, float dz) {
    const float step = static_cast<float>(settings().posIncrementSpot);
    offset[0] += dx * step;
    offset[1] += dy * step;
    offset[2] += dz * step;
}

void CameraSpotFixed::rotateRate(float dPitch, float dBank, float dHeading) {
    panAngles(pitch, bank, heading, dPitch, dBank, dHeading, panRate);
}

void CameraSpotFixed::setAngle(float value, int axis) {
    (axis == 0 ? pitch : axis == 1 ? bank : heading) = value;
}

void CameraSpotFixed::lookAt(float x, float y, float z) {
    const Geometry::Attitude look = CameraAngles::along(x, y, z);
    pitch = look.pitch;
    bank = 0;
    heading = look.heading;
}

void CameraSpotFixed::mousePan(bool begin, float* a, float* b) {
    if (begin) {
        *a = heading / kPi / (settings().pan360 ? 2.0f : 1.0f);
        *b = -2 * pitch / kPi;
    }
    Camera::mousePan(begin, a, b);
}

void CameraSpotFixed::getDlgParams(SpotParams& params) const {
    CameraSpot::getDlgParams(params);
    params.x = offset[0];
    params.y = offset[1];
    params.z = offset[2];
    params.pitch = CameraKeys::degreesOf(pitch, true);
    params.bank = CameraKeys::degreesOf(bank, true);
    params.heading = CameraKeys::degreesOf(heading, false);
}

void CameraSpotFixed::setDlgParams(const SpotParams& params) {
    if (params.spotMode != kFixed)
        refuseMode("Invalid spot mode", "CameraSpotFixed::setDlgParams");
    CameraSpot::setDlgParams(params);
    offset[0] = std::clamp(params.x, -kOffsetLimit, kOffsetLimit);
    offset[1] = std::clamp(params.y, -kOffsetLimit, kOffsetLimit);
    offset[2] = std::clamp(params.z, -kOffsetLimit, kOffsetLimit);
    pitch = CameraKeys::radiansOf(params.pitch, true);
    bank = CameraKeys::radiansOf(params.bank, true);
    heading = CameraKeys::radiansOf(params.heading, false);
    resetPanFilter(pitch, bank, heading);
}
