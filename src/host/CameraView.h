#pragma once

// The camera a listener computes for a view in the CameraUpdate event; the host interface zeroes
// it before the event and writes it into the view's host camera when a listener answers.
struct CameraView {
    // The eye in the world, for cameras outside the aircraft: radians, radians, metres.
    double latitude = 0;
    double longitude = 0;
    double altitude = 0;
    // The eye in the aircraft's frame, for virtual-cockpit cameras.
    float x = 0;
    float y = 0;
    float z = 0;
    // Radians.
    float pitch = 0;
    float bank = 0;
    float heading = 0;
    float zoom = 0;
};
