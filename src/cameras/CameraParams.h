#pragma once

#include <cstdint>
#include <string>

// What the camera edit dialogs edit, in the units of the camera files: angles in degrees (as the
// files store them, some negated), lengths in metres, time constants in seconds (0 = off). Each
// camera fills its record and applies it within its own limits.
struct CameraParams {
    std::string title;
    int32_t flightSet = 0; // 0 global, 1 flight, 2 aircraft
    float zoom = 1, minZoom = 0.25f, maxZoom = 256;
    double smoothZoom = 0;
    float panRate = 1;
    double smoothPanning = 0;
};

struct VCParams : CameraParams {
    float x = 0, y = 0, z = 0; // the eye, metres right, up, forward
    float pitch = 0, bank = 0, heading = 0;
    bool fixedDir = false;
};

struct TowerParams : CameraParams {
    double latitude = 0, longitude = 0; // degrees
    double altitude = 0;                // metres
    float focus[3] = {0, 0, 0};
    float maxDistance = 10000;
    bool autoPan = true;
    // Where the dialog's "Set to FS Tower" and "Set to Aircraft" put the camera (degrees, metres).
    bool hasSimulatorTower = false;
    double simulatorTower[3] = {0, 0, 0};
    double aircraft[3] = {0, 0, 0};
};

struct SpotParams : CameraParams {
    int spotMode = 1; // 0 fixed, 1 follow (direction), 2 follow (heading), 3 free, 4 fly-by
    double smoothPosition = 0; // follow and free
    // Fixed: the eye offset (x right, y up, z forward). Follow and fly-by: z is the distance.
    float x = 0, y = 0, z = 0;
    float pitch = 0, bank = 0, heading = 0;
    float focus[3] = {0, 0, 0}; // follow and fly-by
    bool manualPan = false;     // follow
    bool autoPan = true;        // free
    float maxDistance = 10000;  // free
    float autoZoom = 0;         // fly-by and free
};
