#pragma once

#include <array>
#include <cstddef>

#include "picture/Projection.h"

// An aircraft as the picture shows it: a fuselage with a pointed nose, swept wings, a tailplane
// and a fin, in the aircraft's own frame (x right, y up, z forward, metres from its centre),
// proportioned by its span and length. Each face is a flat convex polygon with its outward normal.
struct ShapeFace {
    std::array<Vec3, 4> corners;
    std::size_t count = 0;
    Vec3 normal;
    int part = 0; // one of the parts below
};

class AircraftShape {
public:
    enum Part { Fuselage, Wing, Tail };
    static constexpr std::size_t kFaces = 19;

    AircraftShape(double span, double length);
    const std::array<ShapeFace, kFaces>& faces() const { return faces_; }
    // Half the largest extent: the shape lies within this distance of its centre.
    double radius() const { return radius_; }

private:
    void add(int part, std::initializer_list<Vec3> corners, Vec3 inside);

    std::array<ShapeFace, kFaces> faces_{};
    std::size_t count_ = 0;
    double radius_;
};
