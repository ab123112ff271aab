#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "picture/ViewCamera.h"

class Aircraft;

// The simulator's own cameras a view can show, each with its title, its 16-byte identifier and
// the kind of view it gives; and where each puts the eye for the user aircraft.
enum class ViewKind { Cockpit, VirtualCockpit, Tower, Spot };

struct OwnCamera {
    const char* title;
    std::array<uint8_t, 16> id;
    ViewKind kind;
};

namespace OwnCameras {

std::span<const OwnCamera> all();
// By title, without regard to case; null when there is none of that title.
const OwnCamera* find(std::string_view title);
// The eye of a camera of that kind for an aircraft: in its cockpit at its eye point, at the
// nearest airport's tower looking at it, or behind and above it (spot).
ViewCamera eyeFor(ViewKind kind, const Aircraft& aircraft);
// Whether a camera of that kind moves with the aircraft, from inside it.
bool inCockpit(ViewKind kind);
// An aircraft's reference point and attitude as a camera sees them.
ViewCamera atAircraft(const Aircraft& aircraft);
// The eye moved by metres along its own axes: right, up and forward.
void moveAlongAxes(ViewCamera& eye, double right, double up, double forward);

} // namespace OwnCameras
