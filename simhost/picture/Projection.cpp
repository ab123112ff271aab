#include "picture/Projection.h"

#include <cmath>

#include "world/Earth.h"

Axes axesOf(double heading, double pitch, double bank) {
    const double h = Earth::radians(heading), p = Earth::radians(pitch), b = Earth::radians(bank);
    const Vec3 forward{std::sin(h) * std::cos(p), std::cos(h) * std::cos(p), std::sin(p)};
    const Vec3 level{std::cos(h), -std::sin(h), 0};
    const Vec3 up = cross(level, forward);
    return {std::cos(b) * level - std::sin(b) * up, std::cos(b) * up + std::sin(b) * level, forward};
}

Projection::Projection(const ViewCamera& camera, int width, int height)
    : camera_(camera), axes_(axesOf(camera.heading, camera.pitch, camera.bank)), width_(width), height_(height),
      centreX_(width / 2.0), centreY_(height / 2.0),
      focal_(width / 2.0 / std::tan(Earth::radians(ViewCamera::kFieldOfView / 2)) * camera.zoom),
      metresPerDegreeEast_(Earth::radians(Earth::kRadius) * std::cos(Earth::radians(camera.latitude))) {}

Vec3 Projection::local(double latitude, double longitude, double altitude) const {
    double east = longitude - camera_.longitude;
    east -= 360 * std::round(east / 360); // the short way round the date line
    return {east * metresPerDegreeEast_, (latitude - camera_.latitude) * Earth::radians(Earth::kRadius),
            altitude - camera_.altitude};
}
