#pragma once

#include <cstdint>

#include "picture/ViewCamera.h"

// How the simulator's own view commands have moved a view's own camera from where the camera
// puts it: the eye shifted along the view's axes, the look turned, the zoom changed. Cleared when
// the view shows another camera.
struct OwnCameraMoves {
    double right = 0, up = 0, forward = 0; // metres
    double heading = 0, pitch = 0, bank = 0; // degrees; pitch positive up, bank right side down
    double zoom = 1;

    // False for a command that is none of the view commands.
    bool apply(uint32_t command, int32_t value);
    void onto(ViewCamera& eye) const;
};
