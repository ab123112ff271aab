#pragma once

#include "app/ControllerSeams.h"
#include "playback/PlayerSeams.h"

// What a marker does when the playback reaches it: its sound (in the kinds of view it names), its
// text on the message line, a pause of the simulator, or a switch to its camera.
class MarkerFiring : public MarkerActions {
public:
    // Without a camera manager camera markers do nothing and every view counts as an outside one.
    explicit MarkerFiring(CameraManager* cameras) : cameras_(cameras) {}

    void fire(const Marker& marker) override;

private:
    CameraManager* cameras_;
};
