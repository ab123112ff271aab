#include "cameras/CameraVC.h"

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

} // namespace

CameraVC::CameraVC(const CameraSettings* settings)
    : Camera(settings), panFilter(makeSmooth(settings->smoothTypePan, SmoothRole::ViewAngles)) {
    resetPanFilter();
}

CameraVC::CameraVC(const CameraVC& other)
    : Camera(other), pitch(other.pitch), bank(other.bank), heading(other.heading), panRate(other.panRate),
      fixedDir(other.fixedDir), panFilter(other.panFilter->clone()) {
    std::copy(std::begin(other.eyeOffset), std::end(other.eyeOffset), eyeOffset);
}

std::unique_ptr<Camera> CameraVC::create(const CameraSettings* settings) const {
    return std::make_unique<CameraVC>(settings);
}

std::unique_ptr<Camera> CameraVC::clone() const {
    return std::make_unique<CameraVC>(*this);
}

void CameraVC::load(const std::string& section, const std::string& file) {
    Camera::load(section, file);
    const char* s = section.c_str();
    if (profile::readInt(file, s, "Type", 0) != kVC)
        throw ZephrelException(ErrorCode::Unexpected, ZephrelException::Error, "CameraVC::load", __LINE__,
                               "Invalid camera type");
    const char* const axes[] = {"X", "Y", "Z"};
    for (int i = 0; i < 3; ++i)
        eyeOffset[i] = static_cast<float>(profile::readFloat(file, s, axes[i], 0));
    pitch = CameraKeys::readAngle(file, section, "Pitch", false);
    bank = CameraKeys::readAngle(file, section, "Bank", true);
    heading = CameraKeys::readAngle(file, section, "Heading", false);
    panRate = static_cast<float>(profile::readFloat(file, s, "PanRate", 1.0));
    fixedDir = profile::readBool(file, s, "FixedDir", false);
    panFilter->setTimeConstant(profile::readFloat(file, s, "SmoothPanning", 0));
    target = 0;
    resetPanFilter();
}

void CameraVC::save(const std::string& section, const std::string& file) const {
    Camera::save(section, file);
    const char* s = section.c_str();
    const char* const axes[] = {"X", "Y", "Z"};
    for (int i = 0; i < 3; ++i)
        profile::writeFloat(file, s, axes[i], eyeOffset[i], 3);
    CameraKeys::writeAngle(file, section, "Pitch", pitch, false);
    CameraKeys::writeAngle(file, section, "Bank", bank, true);
    CameraKeys::writeAngle(file, section, "Heading", heading, false);
    profile::writeFloat(file, s, "PanRate", panRate, 3);
    profile::writeBool(file, s, "FixedDir", fixedDir);
    profile::writeFloat(file, s, "SmoothPanning", panFilter->timeConstant(), 2);
}

void CameraVC::process(CameraView* view) {
    if (view == nullptr)
        throw ZephrelException(ErrorCode::Unexpected, ZephrelException::Error, "CameraVC::process", __LINE__,
                               "NULL pointer passed");
    Geometry::Attitude shown{pitch, bank, heading};
    if (target != 0 && !FSinterface::isAircraft(target))
        target = 0;
    if (target != 0 || fixedDir) {
        const AircraftPose user = AircraftPose::of(FSinterface::getUserAcftID());
        Geometry::Mat3 aircraftToWorld = Geometry::rotation(user.attitude);
        Geometry::transpose(aircraftToWorld);
        if (target != 0) {
            // The head turned so that the target is straight ahead of the eye.
            Geometry::Attitude look{};
            Geometry::localOffset(user.pointAt(eyeOffset), AircraftPose::of(target).position, &look);
            const Geometry::Attitude relative =
                CameraAngles::levelOf(Geometry::multiply(aircraftToWorld, Geometry::rotation(look)));
            pitch = relative.pitch;
            bank = 0;
            heading = relative.heading;
            shown = {pitch, bank, heading};
        } else {
            // The stored angles hold a direction in the world; this frame's are relative to the aircraft.
            shown = CameraAngles::levelOf(Geometry::multiply(aircraftToWorld, Geometry::rotation(shown)));
        }
    }
    double angles[3] = {shown.pitch, shown.bank, shown.heading};
    panFilter->update(filterStep(), angles, angles);
    Camera::process(view);
    view->x = eyeOffset[0];
    view->y = eyeOffset[1];
    view->z = eyeOffset[2];
    view->pitch = static_cast<float>(angles[0]);
    view->bank = static_cast<float>(angles[1]);
    view->heading = static_cast<float>(angles[2]);
}

void CameraVC::moveEye(float dx, float dy, float dz) {
    if (dx == 0 && dy == 0 && dz == 0) {
        double eye[3];
        FSinterface::getUserEyePoint(eye);
        for (int i = 0; i < 3; ++i)
            eyeOffset[i] = static_cast<float>(eye[i]);
        return;
    }
    const float step = static_cast<float>(settings().posIncrementVC);
    eyeOffset[0] += dx * step;
    eyeOffset[1] += dy * step;
    eyeOffset[2] += dz * step;
}

void CameraVC::rotateRate(float dPitch, float dBank, float dHeading) {
    target = 0;
    if (dPitch == 0 && dBank == 0 && dHeading == 0) {
        pitch = bank = heading = 0;
        return;
    }
    panAngles(pitch, bank, heading, dPitch, dBank, dHeading, panRate);
}

void CameraVC::setAngle(float value, int axis) {
    target = 0;
    (axis == 0 ? pitch : axis == 1 ? bank : heading) = value;
    CameraAngles::normalise(pitch, bank, heading);
}

void CameraVC::lookAt(float x, float y, float z) {
    target = 0;
    const Geometry::Attitude look = CameraAngles::along(x, y, z);
    pitch = look.pitch;
    bank = 0;
    heading = look.heading;
}

void CameraVC::mousePan(bool begin, float* a, float* b) {
    if (begin) {
        *a = heading / kPi / (settings().pan360 ? 2.0f : 1.0f);
        *b = -2 * pitch / kPi;
    }
    Camera::mousePan(begin, a, b);
}

void CameraVC::pan(float x, float y) {
    target = 0;
    Camera::pan(x, y);
}

// Never the user aircraft, which holds the eye.
void CameraVC::nextTarget(bool backward) {
    const uint32_t user = FSinterface::getUserAcftID();
    Camera::nextTarget(backward);
    if (target == user)
        Camera::nextTarget(backward);
    if (target == user)
        target = 0;
}

void CameraVC::rebuildFilters() {
    Camera::rebuildFilters();
    remake(panFilter, settings().smoothTypePan, SmoothRole::ViewAngles);
    resetPanFilter();
}

void CameraVC::getDlgParams(VCParams& params) const {
    getCommonParams(params, panRate, *panFilter);
    params.x = eyeOffset[0];
    params.y = eyeOffset[1];
    params.z = eyeOffset[2];
    params.pitch = CameraKeys::degreesOf(pitch, false);
    params.bank = CameraKeys::degreesOf(bank, true);
    params.heading = CameraKeys::degreesOf(heading, false);
    params.fixedDir = fixedDir;
}

void CameraVC::setDlgParams(const VCParams& params) {
    constexpr float kEyeLimit = 1000;
    setCommonParams(params, panRate, *panFilter);
    eyeOffset[0] = std::clamp(params.x, -kEyeLimit, kEyeLimit);
    eyeOffset[1] = std::clamp(params.y, -kEyeLimit, kEyeLimit);
    eyeOffset[2] = std::clamp(params.z, -kEyeLimit, kEyeLimit);
    pitch = CameraKeys::radiansOf(params.pitch, false);
    bank = CameraKeys::radiansOf(params.bank, true);
    heading = CameraKeys::radiansOf(params.heading, false);
    fixedDir = params.fixedDir;
    resetPanFilter();
}

void CameraVC::resetPanFilter() {
    const double angles[3] = {pitch, bank, heading};
    panFilter->reset(angles);
}
