#pragma once

// Where a view looks from and how: the eye in degrees and metres above mean sea level, the
// direction as a true heading (clockwise from north), a pitch (positive nose up) and a bank
// (positive right side down), all in degrees, and the zoom (1: a horizontal field of view of
// kFieldOfView degrees; 2 shows everything twice as large).
struct ViewCamera {
    static constexpr double kFieldOfView = 60;

    double latitude = 0;
    double longitude = 0;
    double altitude = 0;
    double heading = 0;
    double pitch = 0;
    double bank = 0;
    double zoom = 1;
};
