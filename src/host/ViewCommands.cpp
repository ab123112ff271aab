// The host's own view commands (host event 9) as the module's camera events: eye moves, view
// directions, pans, pan axes and zooms. A command a listener takes over does not reach the host.

#include <cmath>
#include <numbers>

#include "host/FSinterface.h"
#include "host/HostState.h"
#include "host/ViewHooks.h"

namespace {

struct Command {
    uint32_t number;
    ModuleEvent event;
    float x, y, z; // a zoom's factor in x
};

constexpr float kZoomStep = 0.9f;
const float kFineZoomIn = std::exp2(1.0f / 64);
const float kFineZoomOut = std::exp2(-1.0f / 64);
constexpr float kHalfRoot = std::numbers::sqrt2_v<float> / 2;

// The commands that carry a fixed vector or factor.
const Command kCommands[] = {
    {0x103DC, EyeMove, 0, 1, 0},
    {0x103DD, EyeMove, 0, -1, 0},
    {0x103DE, EyeMove, 1, 0, 0},
    {0x103DF, EyeMove, -1, 0, 0},
    {0x103E0, EyeMove, 0, 0, 1},
    {0x103E1, EyeMove, 0, 0, -1},
    {0x103E2, EyeMove, 0, 0, 0},
    {0x1008A, ViewDirection, 0, 0, 1},
    {0x1008B, ViewDirection, 1, 0, 1},
    {0x1008C, ViewDirection, 1, 0, 0},
    {0x1008D, ViewDirection, 1, 0, -1},
    {0x1008E, ViewDirection, 0, 0, -1},
    {0x1008F, ViewDirection, -1, 0, -1},
    {0x10090, ViewDirection, -1, 0, 0},
    {0x10091, ViewDirection, -1, 0, 1},
    {0x10092, ViewDirection, 0, -1, 0},
    {0x10259, ViewDirection, 0, 1, 1},
    {0x1025A, ViewDirection, 1, 1, 1},
    {0x1025B, ViewDirection, 1, 1, 0},
    {0x1025C, ViewDirection, 1, 1, -1},
    {0x1025D, ViewDirection, 0, 1, -1},
    {0x1025E, ViewDirection, -1, 1, -1},
    {0x1025F, ViewDirection, -1, 1, 0},
    {0x10260, ViewDirection, -1, 1, 1},
    {0x10261, ViewDirection, 0, 1, 0},
    {0x10087, PanDirection, 0, 0, -1},
    {0x10088, PanDirection, 0, 0, 1},
    {0x100C6, PanDirection, -1, 0, 0},
    {0x100C7, PanDirection, 1, 0, 0},
    {0x1013E, PanDirection, -1, 0, -1},
    {0x1013F, PanDirection, 1, 0, -1},
    {0x10140, PanDirection, -1, 0, 1},
    {0x10141, PanDirection, 1, 0, 1},
    {0x10151, PanDirection, 0, 1, 0},
    {0x10152, PanDirection, 0, -1, 0},
    {0x10153, PanDirection, 0, 0, 0},
    {0x1000E, Zoom, 0, 0, 0},
    {0x10077, Zoom, kZoomStep, 0, 0},
    {0x10078, Zoom, 1 / kZoomStep, 0, 0},
    {0x10086, Zoom, kFineZoomIn, 0, 0},
    {0x100DA, Zoom, kFineZoomIn, 0, 0},
    {0x10089, Zoom, kFineZoomOut, 0, 0},
    {0x100DB, Zoom, kFineZoomOut, 0, 0},
    {0x100B6, Zoom, kHalfRoot, 0, 0},
    {0x100B7, Zoom, std::numbers::sqrt2_v<float>, 0, 0},
};

// Pan to an angle in degrees, clockwise from straight ahead.
constexpr uint32_t kPanToAngle = 0x10370;
// Axis pans: the host's axis value (−16384 … 16384) turns into radians on the camera's axis 0, 1
// or 2.
constexpr uint32_t kPanAxis0 = 0x103C7;
constexpr uint32_t kPanAxis1 = 0x103C9;
constexpr uint32_t kPanAxis2 = 0x103C8;
constexpr float kAxisFull = 16384;
constexpr float kPi = std::numbers::pi_v<float>;

int broadcastVector(ModuleEvent event, float x, float y, float z) {
    float vector[3] = {x, y, z};
    return FSinterface::callback(event, reinterpret_cast<intptr_t>(vector));
}

int broadcastAxis(int axis, float radians) {
    return FSinterface::callback(PanAxis, reinterpret_cast<intptr_t>(&radians), axis);
}

// The listeners' answer to the command; 0 for a command that is none of the view commands.
int dispatch(uint32_t number, int32_t value) {
    const auto v = static_cast<float>(value);
    switch (number) {
    case kPanToAngle: {
        if (value < 0)
            return 0;
        const float angle = v * kPi / 180;
        return broadcastVector(PanDirection, -std::sin(angle), 0, std::cos(angle));
    }
    case kPanAxis0:
        return broadcastAxis(0, v * kPi / 2 / kAxisFull);
    case kPanAxis1:
        return broadcastAxis(1, v * kPi / kAxisFull);
    case kPanAxis2:
        return broadcastAxis(2, -v * kPi / kAxisFull);
    default:
        break;
    }
    for (const Command& c : kCommands) {
        if (c.number != number)
            continue;
        if (c.event == Zoom) {
            float factor = c.x;
            return FSinterface::callback(Zoom, reinterpret_cast<intptr_t>(&factor));
        }
        return broadcastVector(c.event, c.x, c.y, c.z);
    }
    return 0;
}

} // namespace

namespace ViewHooks {

void viewCommand(uint32_t, uintptr_t number, uintptr_t commandArgument) {
    auto* command = reinterpret_cast<ZHostCommand*>(commandArgument);
    if (hostState().stopping || command == nullptr)
        return;
    if (dispatch(static_cast<uint32_t>(number), command->value) != 0)
        command->consumed = 1;
}

} // namespace ViewHooks
