#pragma once

#include <array>

#include "picture/ViewCamera.h"

// A point or direction in metres: in the local frame (east, north, up from the eye) or in the
// camera's frame (right, up, forward).
struct Vec3 {
    double x = 0;
    double y = 0;
    double z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(double k, Vec3 a) { return {k * a.x, k * a.y, k * a.z}; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// The axes of an attitude in the local frame: right, up and forward of a body with that true
// heading, pitch (nose up) and bank (right side down), in degrees.
struct Axes {
    Vec3 right;
    Vec3 up;
    Vec3 forward;
};
Axes axesOf(double heading, double pitch, double bank);

// The camera of a view over a picture of width x height pixels: from the earth to the local
// frame around the eye (flat over the few kilometres a view shows), to the camera's frame, to
// pixels with perspective.
class Projection {
public:
    static constexpr double kNear = 0.5; // metres: nothing nearer the eye is drawn

    Projection(const ViewCamera& camera, int width, int height);

    // The local position of a point given in degrees and metres above mean sea level.
    Vec3 local(double latitude, double longitude, double altitude) const;
    Vec3 toCamera(Vec3 local) const { return {dot(local, axes_.right), dot(local, axes_.up), dot(local, axes_.forward)}; }
    // Pixels of a point in the camera's frame in front of the near plane.
    void toScreen(Vec3 camera, double& x, double& y) const {
        x = centreX_ + focal_ * camera.x / camera.z;
        y = centreY_ - focal_ * camera.y / camera.z;
    }
    // The upward part (in the local frame) of the view ray through a pixel, up to a positive
    // factor: negative below the horizon. Linear in x and y, so the horizon is a straight line.
    double rayRise(double x, double y) const {
        return (axes_.right.z * (x - centreX_) - axes_.up.z * (y - centreY_)) / focal_ + axes_.forward.z;
    }
    // Pixels per metre at one metre straight ahead.
    double focal() const { return focal_; }
    const ViewCamera& camera() const { return camera_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    ViewCamera camera_;
    Axes axes_;
    int width_;
    int height_;
    double centreX_;
    double centreY_;
    double focal_;
    double metresPerDegreeEast_;
};
