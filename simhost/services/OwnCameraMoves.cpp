#include "services/OwnCameraMoves.h"

#include <algorithm>
#include <cmath>

#include "services/OwnCameras.h"

namespace {

constexpr double kEyeStep = 0.25;  // metres per eye move
constexpr double kPanStep = 5;     // degrees per pan
constexpr double kAxisFull = 16384; // a pan axis at its end
constexpr double kMinZoom = 0.25;
constexpr double kMaxZoom = 64;

// The eye moves: up, down, right, left, forward, back, and back to the camera's own eye.
constexpr uint32_t kEyeMoves = 0x103DC;
constexpr uint32_t kEyeReset = 0x103E2;
// The eight directions from ahead clockwise and straight down; the same one level up, and up.
constexpr uint32_t kLookLevel = 0x1008A;
constexpr uint32_t kLookUp = 0x10259;
constexpr uint32_t kLookCount = 9;
constexpr uint32_t kPanToAngle = 0x10370;

struct Pan {
    uint32_t command;
    double heading, pitch, bank; // steps
};
constexpr Pan kPans[] = {
    {0x10087, 0, 1, 0},  {0x10088, 0, -1, 0}, {0x100C6, -1, 0, 0}, {0x100C7, 1, 0, 0},
    {0x1013E, -1, 1, 0}, {0x1013F, 1, 1, 0},  {0x10140, -1, -1, 0}, {0x10141, 1, -1, 0},
    {0x10151, 0, 0, -1}, {0x10152, 0, 0, 1},
};
constexpr uint32_t kPanReset = 0x10153;

struct ZoomStep {
    uint32_t command;
    double factor; // 0: back to 1
};
const ZoomStep kZooms[] = {
    {0x1000E, 0},
    {0x10077, 0.9},
    {0x10078, 1 / 0.9},
    {0x10086, std::exp2(1.0 / 64)},
    {0x100DA, std::exp2(1.0 / 64)},
    {0x10089, std::exp2(-1.0 / 64)},
    {0x100DB, std::exp2(-1.0 / 64)},
    {0x100B6, std::sqrt(0.5)},
    {0x100B7, std::sqrt(2.0)},
};

// A look around: the heading clockwise from ahead in steps of 45 degrees, or straight down (8).
void look(OwnCameraMoves& m, uint32_t step, bool raised) {
    if (step == 8) {
        m.heading = 0;
        m.pitch = raised ? 90 : -90;
    } else {
        m.heading = 45.0 * step;
        m.pitch = raised ? 45 : 0;
    }
    m.bank = 0;
}

bool moveEye(OwnCameraMoves& m, uint32_t command) {
    if (command == kEyeReset) {
        m.right = m.up = m.forward = 0;
        return true;
    }
    if (command < kEyeMoves || command > kEyeReset)
        return false;
    const uint32_t step = command - kEyeMoves;
    const double sign = step % 2 == 0 ? 1 : -1;
    double& axis = step < 2 ? m.up : step < 4 ? m.right : m.forward;
    axis += sign * kEyeStep;
    return true;
}

} // namespace

bool OwnCameraMoves::apply(uint32_t command, int32_t value) {
    if (command >= kLookLevel && command < kLookLevel + kLookCount) {
        look(*this, command - kLookLevel, false);
        return true;
    }
    if (command >= kLookUp && command < kLookUp + kLookCount) {
        look(*this, command - kLookUp, true);
        return true;
    }
    if (moveEye(*this, command))
        return true;
    if (command == kPanToAngle) {
        if (value >= 0) {
            heading = value % 360;
            pitch = bank = 0;
        }
        return true;
    }
    const double axis = static_cast<double>(value) / kAxisFull;
    switch (command) {
    case 0x103C7:
        pitch = -90 * axis;
        return true;
    case 0x103C9: // tilt
        bank = 180 * axis;
        return true;
    case 0x103C8: // heading, to the left for a positive value
        heading = -180 * axis;
        return true;
    case kPanReset:
        heading = pitch = bank = 0;
        return true;
    default:
        break;
    }
    for (const Pan& p : kPans)
        if (p.command == command) {
            heading += p.heading * kPanStep;
            pitch = std::clamp(pitch + p.pitch * kPanStep, -90.0, 90.0);
            bank += p.bank * kPanStep;
            return true;
        }
    for (const ZoomStep& z : kZooms)
        if (z.command == command) {
            zoom = z.factor == 0 ? 1 : std::clamp(zoom * z.factor, kMinZoom, kMaxZoom);
            return true;
        }
    return false;
}

void OwnCameraMoves::onto(ViewCamera& eye) const {
    OwnCameras::moveAlongAxes(eye, right, up, forward);
    eye.heading += heading;
    eye.pitch = std::clamp(eye.pitch + pitch, -90.0, 90.0);
    eye.bank += bank;
    eye.zoom *= zoom;
}
