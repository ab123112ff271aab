#include "services/OwnCameras.h"

#include <algorithm>
#include <cmath>

#include "picture/Projection.h"
#include "text/AsciiCase.h"
#include "world/Aircraft.h"
#include "world/Airports.h"
#include "world/Earth.h"

namespace {

constexpr OwnCamera kCameras[] = {
    {"Cockpit", {0x5a, 0x1e, 0x7c, 0x40, 0x01, 0x4f, 0x4c, 0x8a, 0x9d, 0x51, 0x0b, 0x3e, 0x6f, 0x21, 0xc4, 0x01},
     ViewKind::Cockpit},
    {"Virtual Cockpit",
     {0x5a, 0x1e, 0x7c, 0x40, 0x01, 0x4f, 0x4c, 0x8a, 0x9d, 0x51, 0x0b, 0x3e, 0x6f, 0x21, 0xc4, 0x02},
     ViewKind::VirtualCockpit},
    {"Tower", {0x5a, 0x1e, 0x7c, 0x40, 0x01, 0x4f, 0x4c, 0x8a, 0x9d, 0x51, 0x0b, 0x3e, 0x6f, 0x21, 0xc4, 0x03},
     ViewKind::Tower},
    {"Spot", {0x5a, 0x1e, 0x7c, 0x40, 0x01, 0x4f, 0x4c, 0x8a, 0x9d, 0x51, 0x0b, 0x3e, 0x6f, 0x21, 0xc4, 0x04},
     ViewKind::Spot},
};

// The virtual cockpit sees more of the world around than the 2D panel's view.
constexpr double kVirtualCockpitZoom = 0.7;
// From the tower the aircraft takes about this share of the picture's width.
constexpr double kTowerShare = 1.0 / 6;

} // namespace

namespace OwnCameras {

// The aircraft as the picture has it: its reference point, true heading, pitch nose up, bank
// right side down.
ViewCamera atAircraft(const Aircraft& aircraft) {
    const ZHostPosition& p = aircraft.position();
    ViewCamera c;
    c.latitude = Earth::latitudeDegrees(p.latitude);
    c.longitude = Earth::longitudeDegrees(p.longitude);
    c.altitude = Earth::altitudeMetres(p.altitude);
    c.heading = Earth::headingDegrees(p.heading);
    c.pitch = -Earth::angleDegrees(p.pitch);
    c.bank = -Earth::angleDegrees(p.bank);
    return c;
}

} // namespace OwnCameras

namespace {

// The eye moved from where it is by metres along the local east, north and up.
void shift(ViewCamera& eye, Vec3 metres) {
    double latitude = 0, longitude = 0;
    const double along = std::hypot(metres.x, metres.y);
    Earth::destination(eye.latitude, eye.longitude, Earth::degrees(std::atan2(metres.x, metres.y)), along, latitude,
                       longitude);
    eye.latitude = latitude;
    eye.longitude = longitude;
    eye.altitude += metres.z;
}

ViewCamera cockpit(const Aircraft& aircraft, double zoom) {
    ViewCamera eye = OwnCameras::atAircraft(aircraft);
    double right = 0, up = 0, forward = 0;
    aircraft.type().eyeMetres(right, up, forward);
    OwnCameras::moveAlongAxes(eye, right, up, forward);
    eye.zoom = zoom;
    return eye;
}

ViewCamera tower(const Aircraft& aircraft) {
    const ViewCamera target = OwnCameras::atAircraft(aircraft);
    const Airport& airport = Airports::nearest(target.latitude, target.longitude);
    ViewCamera eye;
    eye.latitude = airport.towerLatitude;
    eye.longitude = airport.towerLongitude;
    eye.altitude = airport.elevation + airport.towerHeight;
    const double distance = std::max(1.0, Earth::distance(eye.latitude, eye.longitude, target.latitude, target.longitude));
    eye.heading = Earth::bearing(eye.latitude, eye.longitude, target.latitude, target.longitude);
    eye.pitch = Earth::degrees(std::atan2(target.altitude - eye.altitude, distance));
    const double size = std::max(aircraft.type().spanMetres(), aircraft.type().lengthMetres());
    const double halfField = std::tan(Earth::radians(ViewCamera::kFieldOfView / 2));
    eye.zoom = std::clamp(distance * halfField * 2 * kTowerShare / size, 0.5, 32.0);
    return eye;
}

ViewCamera spot(const Aircraft& aircraft) {
    ViewCamera eye = OwnCameras::atAircraft(aircraft);
    const double size = std::max(aircraft.type().spanMetres(), aircraft.type().lengthMetres());
    const double back = 2.2 * size + 12, up = 0.3 * back;
    const double heading = Earth::radians(eye.heading);
    shift(eye, {-back * std::sin(heading), -back * std::cos(heading), up});
    eye.pitch = -Earth::degrees(std::atan2(up, back));
    eye.bank = 0;
    return eye;
}

} // namespace

namespace OwnCameras {

void moveAlongAxes(ViewCamera& eye, double right, double up, double forward) {
    const Axes axes = axesOf(eye.heading, eye.pitch, eye.bank);
    shift(eye, right * axes.right + up * axes.up + forward * axes.forward);
}

bool inCockpit(ViewKind kind) {
    return kind == ViewKind::Cockpit || kind == ViewKind::VirtualCockpit;
}

std::span<const OwnCamera> all() {
    return kCameras;
}

const OwnCamera* find(std::string_view title) {
    for (const OwnCamera& camera : kCameras)
        if (equalsIgnoringCase(camera.title, title))
            return &camera;
    return nullptr;
}

ViewCamera eyeFor(ViewKind kind, const Aircraft& aircraft) {
    switch (kind) {
    case ViewKind::Cockpit:
        return cockpit(aircraft, 1);
    case ViewKind::VirtualCockpit:
        return cockpit(aircraft, kVirtualCockpitZoom);
    case ViewKind::Tower:
        return tower(aircraft);
    case ViewKind::Spot:
        break;
    }
    return spot(aircraft);
}

} // namespace OwnCameras
