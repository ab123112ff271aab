#pragma once

// One fix of a logged track: when (UTC, seconds since 1970-01-01), where (degrees on WGS 84) and
// how high (metres above mean sea level).
struct TrackPoint {
    double time = 0;
    double latitude = 0;
    double longitude = 0;
    double altitude = 0;
};
