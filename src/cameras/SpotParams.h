#pragma once

#include <cstdint>
#include <string>

// What the spot camera dialog edits, in the units of the camera files: angles in degrees, lengths
// in metres, time constants in seconds (0 = off).
struct SpotParams {
    std::string title;
    int32_t flightSet = 0;
    int spotMode = 1; // 0 fixed, 1 follow (direction), 2 follow (heading), 3 free, 4 fly-by
    float zoom = 1, minZoom = 0.25f, maxZoom = 256;
    double smoothZoom = 0;
    float panRate = 1;
    double smoothPanning = 0;
    double smoothPosition = 0; // follow and free
    // Fixed: the eye offset (x right, y up, z forward). Follow and fly-by: z is the distance.
    float x = 0, y = 0, z = 0;
    float pitch = 0, bank = 0, heading = 0; // as the files store them (pitch and bank negated)
    float focus[3] = {0, 0, 0};            // follow and fly-by
    bool manualPan = false;                // follow
    bool autoPan = true;                   // free
    float maxDistance = 10000;             // free
    float autoZoom = 0;                    // fly-by and free
};
