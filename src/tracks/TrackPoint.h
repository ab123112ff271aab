#pragma once

// One fix of a logged track: when (UTC, seconds since 1970-01-01), where (degrees on WGS 84) and
// how high (metres above mean sea level); and, from the formats that log it, the attitude
// (otherwise worked out from the path).
struct TrackPoint {
    double time = 0;
    double latitude = 0;
    double longitude = 0;
    double altitude = 0;
    bool hasAttitude = false;
    double pitch = 0;   // degrees, nose up positive
    double bank = 0;    // degrees, right wing down positive
    double heading = 0; // degrees true, 0..360
};
