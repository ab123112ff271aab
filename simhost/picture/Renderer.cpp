#include "picture/Renderer.h"

#include <algorithm>
#include <cmath>

#include "picture/AircraftShape.h"
#include "world/Earth.h"

namespace {

constexpr double kSky[] = {0.47, 0.67, 0.89};
constexpr double kGround[] = {0.36, 0.52, 0.28};
constexpr double kGridLine[] = {0.30, 0.44, 0.23};
constexpr double kRunway[] = {0.33, 0.33, 0.35};
constexpr double kGridSpacing = 250; // metres
constexpr double kPixelSize = 2.5;   // an aircraft smaller than this on screen is a dot
constexpr double kOutlined = 25;     // pixels: aircraft larger than this have their edges drawn,
constexpr double kSmoothed = 16;     // smaller ones are drawn with smooth edges, the smallest sharp

// The sun stands high in the south-east; faces towards it are lit, the rest in shade.
const Vec3 kSun{0.5, -0.5, 0.707};

// Keeps the part of a convex polygon in front of the near plane (Sutherland-Hodgman).
std::size_t clipNear(const Vec3* in, std::size_t count, Vec3* out) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const Vec3 a = in[i], b = in[(i + 1) % count];
        const bool aIn = a.z >= Projection::kNear, bIn = b.z >= Projection::kNear;
        if (aIn)
            out[n++] = a;
        if (aIn != bIn)
            out[n++] = a + ((Projection::kNear - a.z) / (b.z - a.z)) * (b - a);
    }
    return n;
}

} // namespace

void Renderer::draw(cairo_t* cr, const Projection& projection, const Scene& scene) {
    cairo_save(cr);
    cairo_set_source_rgb(cr, kSky[0], kSky[1], kSky[2]);
    cairo_paint(cr);
    drawGround(cr, projection);
    drawGrid(cr, projection, scene);
    drawRunways(cr, projection, scene);
    polygons_.clear();
    for (const SceneAircraft& aircraft : scene.aircraft)
        addAircraft(projection, aircraft);
    std::stable_sort(polygons_.begin(), polygons_.end(),
                     [](const Polygon& a, const Polygon& b) { return a.depth > b.depth; });
    cairo_set_line_width(cr, 0.6);
    for (const Polygon& polygon : polygons_)
        fill(cr, polygon);
    cairo_restore(cr);
}

// The part of the picture below the horizon: the corners where the view ray falls, and where
// the horizon crosses the picture's edges.
void Renderer::drawGround(cairo_t* cr, const Projection& projection) {
    const double w = projection.width(), h = projection.height();
    const double corners[4][2] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    cairo_new_path(cr);
    for (int i = 0; i < 4; ++i) {
        const double* a = corners[i];
        const double* b = corners[(i + 1) % 4];
        const double ra = projection.rayRise(a[0], a[1]), rb = projection.rayRise(b[0], b[1]);
        if (ra < 0)
            cairo_line_to(cr, a[0], a[1]);
        if ((ra < 0) != (rb < 0)) {
            const double s = ra / (ra - rb);
            cairo_line_to(cr, a[0] + s * (b[0] - a[0]), a[1] + s * (b[1] - a[1]));
        }
    }
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, kGround[0], kGround[1], kGround[2]);
    cairo_fill(cr);
}

// Lines every kGridSpacing metres east and north around the eye, following the terrain: the
// crossings worked out once, each line drawn as one path, sharp (many lines crowd the horizon).
void Renderer::drawGrid(cairo_t* cr, const Projection& projection, const Scene& scene) {
    if (scene.groundElevation == nullptr)
        return;
    const ViewCamera& camera = projection.camera();
    const double metresPerDegree = Earth::radians(Earth::kRadius);
    const double metresPerDegreeEast = metresPerDegree * std::cos(Earth::radians(camera.latitude));
    // Grid lines stay put on the ground as the eye moves.
    const double originEast = std::floor(camera.longitude * metresPerDegreeEast / kGridSpacing) * kGridSpacing;
    const double originNorth = std::floor(camera.latitude * metresPerDegree / kGridSpacing) * kGridSpacing;
    for (int row = 0; row < kGridPoints; ++row) {
        for (int column = 0; column < kGridPoints; ++column) {
            const double north = originNorth + (row - kGridPoints / 2) * kGridSpacing;
            const double east = originEast + (column - kGridPoints / 2) * kGridSpacing;
            const double latitude = north / metresPerDegree, longitude = east / metresPerDegreeEast;
            const double elevation = scene.groundElevation(Earth::radians(latitude), Earth::radians(longitude));
            grid_[static_cast<std::size_t>(row * kGridPoints + column)] =
                projection.toCamera(projection.local(latitude, longitude, elevation));
        }
    }
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_source_rgb(cr, kGridLine[0], kGridLine[1], kGridLine[2]);
    cairo_set_line_width(cr, 1);
    const auto point = [&](int row, int column) { return grid_[static_cast<std::size_t>(row * kGridPoints + column)]; };
    for (int direction = 0; direction < 2; ++direction) {
        for (int line = 0; line < kGridPoints; ++line) {
            bool drawing = false;
            for (int piece = 0; piece + 1 < kGridPoints; ++piece) {
                Vec3 a = direction == 0 ? point(piece, line) : point(line, piece);
                Vec3 b = direction == 0 ? point(piece + 1, line) : point(line, piece + 1);
                if (a.z < Projection::kNear && b.z < Projection::kNear) {
                    drawing = false;
                    continue;
                }
                const bool clipped = a.z < Projection::kNear;
                if (clipped)
                    a = a + ((Projection::kNear - a.z) / (b.z - a.z)) * (b - a);
                if (b.z < Projection::kNear)
                    b = b + ((Projection::kNear - b.z) / (a.z - b.z)) * (a - b);
                double x0, y0, x1, y1;
                projection.toScreen(a, x0, y0);
                projection.toScreen(b, x1, y1);
                if (!drawing || clipped)
                    cairo_move_to(cr, x0, y0);
                cairo_line_to(cr, x1, y1);
                drawing = b.z >= Projection::kNear;
            }
        }
    }
    cairo_stroke(cr);
    cairo_restore(cr);
}

void Renderer::drawRunways(cairo_t* cr, const Projection& projection, const Scene& scene) {
    polygons_.clear();
    for (const Runway& runway : scene.runways) {
        const Vec3 centre = projection.local(runway.latitude, runway.longitude, runway.elevation);
        const Axes axes = axesOf(runway.heading, 0, 0);
        const Vec3 along = (runway.length / 2) * axes.forward, across = (runway.width / 2) * axes.right;
        const Vec3 corners[4] = {projection.toCamera(centre - along - across), projection.toCamera(centre + along - across),
                                 projection.toCamera(centre + along + across), projection.toCamera(centre - along + across)};
        addPolygon(projection, corners, 4, {kRunway[0], kRunway[1], kRunway[2]}, Polygon::Smooth);
    }
    for (const Polygon& polygon : polygons_) {
        cairo_new_path(cr);
        for (std::size_t i = 0; i < polygon.count; ++i)
            cairo_line_to(cr, polygon.points[2 * i], polygon.points[2 * i + 1]);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, polygon.colour.r, polygon.colour.g, polygon.colour.b);
        cairo_fill(cr);
    }
}

void Renderer::addAircraft(const Projection& projection, const SceneAircraft& aircraft) {
    const Vec3 centre = projection.local(aircraft.latitude, aircraft.longitude, aircraft.altitude);
    const Vec3 seen = projection.toCamera(centre);
    const double radius = std::max(aircraft.span, aircraft.length) / 2;
    if (seen.z + radius < Projection::kNear)
        return; // behind the eye
    const double screenRadius = seen.z > 0 ? projection.focal() * radius / seen.z : 1e9;
    if (screenRadius < kPixelSize) {
        double x, y;
        projection.toScreen(seen, x, y);
        if (x < -kPixelSize || y < -kPixelSize || x > projection.width() + kPixelSize ||
            y > projection.height() + kPixelSize)
            return;
        const double s = kPixelSize / 2;
        polygons_.push_back(
            {{x - s, y - s, x + s, y - s, x + s, y + s, x - s, y + s}, 4, seen.z, {0.2, 0.2, 0.22}, Polygon::Sharp});
        return;
    }
    const Polygon::Finish finish = screenRadius > kOutlined ? Polygon::Outlined
                                   : screenRadius > kSmoothed ? Polygon::Smooth
                                                              : Polygon::Sharp;
    const AircraftShape shape(aircraft.span, aircraft.length);
    const Axes axes = axesOf(aircraft.heading, aircraft.pitch, aircraft.bank);
    const auto toLocal = [&](Vec3 v) { return v.x * axes.right + v.y * axes.up + v.z * axes.forward; };
    static constexpr Rgb kColours[] = {{0.93, 0.93, 0.90}, {0.70, 0.72, 0.75}, {0.80, 0.16, 0.14}};
    for (const ShapeFace& face : shape.faces()) {
        const Vec3 normal = toLocal(face.normal);
        Vec3 corners[4];
        for (std::size_t i = 0; i < face.count; ++i)
            corners[i] = centre + toLocal(face.corners[i]);
        if (dot(normal, corners[0]) >= 0)
            continue; // turned away from the eye
        const double light = 0.45 + 0.55 * std::max(0.0, dot(normal, kSun));
        const Rgb base = kColours[face.part];
        Vec3 seenCorners[4];
        for (std::size_t i = 0; i < face.count; ++i)
            seenCorners[i] = projection.toCamera(corners[i]);
        addPolygon(projection, seenCorners, face.count, {base.r * light, base.g * light, base.b * light}, finish);
    }
}

bool Renderer::addPolygon(const Projection& projection, const Vec3* corners, std::size_t count, Rgb colour,
                          Polygon::Finish finish) {
    Vec3 clipped[8];
    const std::size_t n = clipNear(corners, count, clipped);
    if (n < 3)
        return false;
    Polygon polygon{{}, n, 0, colour, finish};
    for (std::size_t i = 0; i < n; ++i) {
        projection.toScreen(clipped[i], polygon.points[2 * i], polygon.points[2 * i + 1]);
        polygon.depth += clipped[i].z / static_cast<double>(n);
    }
    polygons_.push_back(polygon);
    return true;
}

void Renderer::fill(cairo_t* cr, const Polygon& polygon) {
    cairo_new_path(cr);
    for (std::size_t i = 0; i < polygon.count; ++i)
        cairo_line_to(cr, polygon.points[2 * i], polygon.points[2 * i + 1]);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, polygon.colour.r, polygon.colour.g, polygon.colour.b);
    cairo_set_antialias(cr, polygon.finish == Polygon::Sharp ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_DEFAULT);
    if (polygon.finish != Polygon::Outlined) {
        cairo_fill(cr);
        return;
    }
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, polygon.colour.r * 0.8, polygon.colour.g * 0.8, polygon.colour.b * 0.8);
    cairo_stroke(cr);
}
