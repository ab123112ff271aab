#include "picture/AircraftShape.h"

#include <algorithm>
#include <cmath>

void AircraftShape::add(int part, std::initializer_list<Vec3> corners, Vec3 inside) {
    ShapeFace& face = faces_[count_++];
    std::copy(corners.begin(), corners.end(), face.corners.begin());
    face.count = corners.size();
    face.part = part;
    const Vec3 a = face.corners[0], b = face.corners[1], c = face.corners[2];
    Vec3 normal = cross(b - a, c - a);
    // Outward: away from a point inside the part the face belongs to.
    if (dot(normal, a - inside) < 0)
        normal = -1.0 * normal;
    const double size = std::sqrt(dot(normal, normal));
    face.normal = size > 0 ? (1 / size) * normal : normal;
}

AircraftShape::AircraftShape(double span, double length) : radius_(std::max(span, length) / 2) {
    const double l = length, w = std::max(1.0, 0.09 * l), h = std::max(1.1, 0.1 * l);
    // Fuselage: a section behind the nose, one smaller and higher at the tail, the nose's tip.
    const double front = 0.36 * l, rear = -0.5 * l, tip = 0.5 * l;
    const Vec3 fl{-w / 2, -h / 2, front}, fr{w / 2, -h / 2, front}, ftl{-w / 2, h / 2, front}, ftr{w / 2, h / 2, front};
    const Vec3 rl{-w / 5, h / 10, rear}, rr{w / 5, h / 10, rear}, rtl{-w / 5, h / 2, rear}, rtr{w / 5, h / 2, rear};
    const Vec3 nose{0, -h / 10, tip};
    const Vec3 body{0, 0, 0};
    add(Fuselage, {fl, fr, rr, rl}, body);     // belly
    add(Fuselage, {ftl, ftr, rtr, rtl}, body); // top
    add(Fuselage, {fl, ftl, rtl, rl}, body);   // left side
    add(Fuselage, {fr, ftr, rtr, rr}, body);   // right side
    add(Fuselage, {rl, rr, rtr, rtl}, body);   // tail end
    add(Fuselage, {fl, fr, nose}, body);
    add(Fuselage, {ftl, ftr, nose}, body);
    add(Fuselage, {fl, ftl, nose}, body);
    add(Fuselage, {fr, ftr, nose}, body);
    // Wings: a thin swept slab through the fuselage, its root ahead of the centre.
    const double root = std::max(1.5, 0.16 * l), tipChord = root * 0.45, sweep = 0.12 * l, lead = 0.1 * l;
    const double t = std::max(0.15, 0.012 * l), y = -h / 6;
    const auto slab = [&](int part, double halfSpan, double rootChord, double tipC, double leading, double swept,
                          double level) {
        const Vec3 inside{0, level, leading - rootChord / 2};
        const Vec3 lr{0, level, leading}, tr{0, level, leading - rootChord};
        const Vec3 lt{halfSpan, level, leading - swept}, tt{halfSpan, level, leading - swept - tipC};
        const auto mirrored = [](Vec3 v) { return Vec3{-v.x, v.y, v.z}; };
        for (const double side : {1.0, -1.0}) {
            const auto s = [&](Vec3 v) { return side > 0 ? v : mirrored(v); };
            const Vec3 up{0, t / 2, 0};
            add(part, {s(lr) + up, s(lt) + up, s(tt) + up, s(tr) + up}, inside);
            add(part, {s(lr) - up, s(lt) - up, s(tt) - up, s(tr) - up}, inside);
        }
    };
    slab(Wing, span / 2, root, tipChord, lead, sweep, y);
    slab(Tail, 0.18 * span, 0.5 * root, 0.25 * root, rear + 0.16 * l, 0.06 * l, h / 3);
    // Fin: two faces of a thin plate standing on the tail.
    const double finBase = rear + 0.2 * l, finTop = h / 2 + std::max(1.5, 0.17 * l);
    const Vec3 a{0, h / 2, finBase}, b{0, h / 2, rear}, c{0, finTop, rear - 0.02 * l}, d{0, finTop, rear + 0.07 * l};
    const Vec3 side{t / 2, 0, 0};
    add(Tail, {a + side, b + side, c + side, d + side}, Vec3{0, h, rear});
    add(Tail, {a - side, b - side, c - side, d - side}, Vec3{0, h, rear});
}
