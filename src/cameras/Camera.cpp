#include "cameras/Camera.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "cameras/CameraAngles.h"
#include "cameras/Geometry.h"
#include "common/ZephrelException.h"
#include "host/FSinterface.h"
#include "profile/ProfileValues.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr double kLog2E = 1.44269504088896;
constexpr float kWheelIn = 0.9f;
constexpr float kWheelOut = 1.1111112f;
constexpr float kLeastZoom = 0.2f;
constexpr float kMostZoom = 256;
constexpr double kShortestSmoothing = 0.1;
constexpr double kLongestSmoothing = 30;
constexpr double kAboveGround = 1.0;

} // namespace

Camera::Camera(const CameraSettings* settings)
    : zoomFilter(makeSmooth(settings->smoothTypeZoom, SmoothRole::Zoom)), settings_(settings) {
    guid = Guid::create();
    resetZoomFilter();
}

Camera::Camera(const Camera& other)
    : guid(other.guid), flightSet(other.flightSet), title(other.title), zoom(other.zoom), minZoom(other.minZoom),
      maxZoom(other.maxZoom), target(other.target), menuId(other.menuId), zoomFilter(other.zoomFilter->clone()),
      mousePanX(other.mousePanX), mousePanY(other.mousePanY), settings_(other.settings_) {}

void Camera::load(const std::string& section, const std::string& file) {
    const char* s = section.c_str();
    guid = profile::readGuid(file, s, "GUID");
    title = profile::readString(file, s, "Title", "");
    zoom = static_cast<float>(profile::readFloat(file, s, "Zoom", 1.0));
    zoomFilter->setTimeConstant(profile::readFloat(file, s, "SmoothZoom", 0));
    minZoom = static_cast<float>(profile::readFloat(file, s, "MinZoom", 0.25));
    maxZoom = static_cast<float>(profile::readFloat(file, s, "MaxZoom", 256.0));
    resetZoomFilter();
}

void Camera::save(const std::string& section, const std::string& file) const {
    const char* s = section.c_str();
    profile::writeGuid(file, s, "GUID", guid);
    profile::writeString(file, s, "Title", title);
    profile::writeInt(file, s, "Type", getType());
    profile::writeFloat(file, s, "Zoom", zoom);
    profile::writeFloat(file, s, "SmoothZoom", zoomFilter->timeConstant());
    profile::writeFloat(file, s, "MinZoom", minZoom);
    profile::writeFloat(file, s, "MaxZoom", maxZoom);
}

void Camera::process(CameraView* view) {
    if (view == nullptr)
        throw ZephrelException(ErrorCode::Unexpected, ZephrelException::Error, "Camera::process", __LINE__,
                               "NULL pointer passed");
    if (zoom > maxZoom)
        zoom = maxZoom;
    if (zoom < minZoom)
        zoom = minZoom;
    if (zoomFilter->timeConstant() == 0) {
        view->zoom = zoom;
        return;
    }
    double level = std::log(static_cast<double>(zoom)) * kLog2E;
    zoomFilter->update(filterStep(), &level, &level);
    view->zoom = static_cast<float>(std::exp2(level));
}

void Camera::zoomBy(float factor) {
    if (factor == 0)
        zoom = 1;
    else if (factor > 0)
        zoom *= factor;
}

void Camera::mousePan(bool begin, float* a, float* b) {
    if (begin) {
        mousePanX = *a;
        mousePanY = *b;
    } else {
        *a = mousePanX;
        *b = mousePanY;
    }
}

void Camera::pan(float x, float y) {
    setAngle(settings().pan360 ? Geometry::wrapViewAngle(x * 2 * kPi) : x * kPi, 2);
    setAngle(-y * kPi / 2, 0);
}

void Camera::zoomStep(int direction) {
    zoomBy(direction < 1 ? kWheelIn : kWheelOut);
}

void Camera::nextTarget(bool backward) {
    if (target == 0)
        target = FSinterface::getUserAcftID();
    else
        target = backward ? FSinterface::getPrevAcftID(target) : FSinterface::getNextAcftID(target);
}

void Camera::rebuildFilters() {
    remake(zoomFilter, settings().smoothTypeZoom, SmoothRole::Zoom);
    resetZoomFilter();
}

double Camera::filterStep() const {
    if (settings().pauseSmoothing && FSinterface::isPaused())
        return 0;
    return static_cast<double>(FSinterface::getFrameTime()) * static_cast<double>(FSinterface::getSimRate());
}

float Camera::turnStep(float input, float panRate) {
    return input * panRate * (kPi / 180) * FSinterface::getFrameTime();
}

float Camera::panStep(float input, float panRate) const {
    return turnStep(input, panRate) / zoom;
}

void Camera::panAngles(float& pitch, float& bank, float& heading, float dPitch, float dBank, float dHeading,
                       float panRate) const {
    pitch += panStep(dPitch, panRate);
    bank += panStep(dBank, panRate);
    heading += panStep(dHeading, panRate);
    CameraAngles::normalise(pitch, bank, heading);
}

void Camera::zoomWithDistance(float factor, float& autoZoom, float distance) {
    if (factor == 0) {
        zoom = 1;
        autoZoom = 0;
    } else if (factor > 0) {
        zoom *= factor;
        autoZoom *= factor;
    } else if (autoZoom != 0) {
        autoZoom = 0;
    } else if (distance > 0) {
        autoZoom = shownZoom() / distance;
    }
}

void Camera::getCommonParams(CameraParams& params, float panRate, const Smooth& panFilter) const {
    params.title = title;
    params.flightSet = flightSet;
    params.zoom = zoom;
    params.minZoom = minZoom;
    params.maxZoom = maxZoom;
    params.smoothZoom = zoomFilter->timeConstant();
    params.panRate = panRate;
    params.smoothPanning = panFilter.timeConstant();
}

void Camera::setCommonParams(const CameraParams& params, float& panRate, Smooth& panFilter) {
    title = params.title;
    flightSet = params.flightSet >= 0 && params.flightSet <= 2 ? params.flightSet : 0;
    maxZoom = std::clamp(params.maxZoom, kLeastZoom, kMostZoom);
    minZoom = std::clamp(params.minZoom, kLeastZoom, maxZoom);
    zoom = std::clamp(params.zoom, minZoom, maxZoom);
    zoomFilter->setTimeConstant(limitedTimeConstant(params.smoothZoom));
    resetZoomFilter();
    panRate = params.panRate;
    panFilter.setTimeConstant(limitedTimeConstant(params.smoothPanning));
}

double Camera::limitedTimeConstant(double seconds) {
    return seconds == 0 ? 0 : std::clamp(seconds, kShortestSmoothing, kLongestSmoothing);
}

void Camera::aboveGround(Geometry::WorldPosition& position) {
    position.altitude = std::max(position.altitude,
                                 FSinterface::getGroundElevation(position.latitude, position.longitude) + kAboveGround);
}

void Camera::remake(std::unique_ptr<Smooth>& filter, int kind, SmoothRole role) {
    const double timeConstant = filter->timeConstant();
    filter = makeSmooth(kind, role);
    filter->setTimeConstant(timeConstant);
}

// Without smoothing the filter only keeps the zoom of its last reset; the zoom itself is shown.
float Camera::shownZoom() const {
    if (zoomFilter->timeConstant() <= 0)
        return zoom;
    double level = 0;
    zoomFilter->held(&level);
    return static_cast<float>(std::exp2(level));
}

void Camera::resetZoomFilter() {
    const double level = std::log(static_cast<double>(std::max(zoom, 1e-6f))) * kLog2E;
    zoomFilter->reset(&level);
}
