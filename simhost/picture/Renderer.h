#pragma once

#include <cairo.h>

#include <array>
#include <cstddef>
#include <vector>

#include "picture/Projection.h"
#include "picture/Scene.h"

// Draws a view's picture with cairo: sky and ground split at the horizon, a grid over the
// terrain, the runways, and every aircraft as a lit solid shape in perspective, far ones first.
// The same scene and camera give the same pixels on every run.
class Renderer {
public:
    // Over the whole of the surface `cr` draws on, which is projection.width() x height() pixels.
    void draw(cairo_t* cr, const Projection& projection, const Scene& scene);

    // Grid lines every 250 m over 12 km around the eye.
    static constexpr int kGridPoints = 49;

private:
    struct Rgb {
        double r, g, b;
    };
    // A polygon on the screen, kept for the far-to-near pass.
    struct Polygon {
        std::array<double, 2 * 8> points;
        std::size_t count;
        double depth;
        Rgb colour;
        // How an aircraft's face is drawn by its size on the screen: small ones sharp, large ones
        // with their edges a shade darker.
        enum Finish : unsigned char { Sharp, Smooth, Outlined } finish;
    };

    void drawGround(cairo_t* cr, const Projection& projection);
    void drawGrid(cairo_t* cr, const Projection& projection, const Scene& scene);
    void drawRunways(cairo_t* cr, const Projection& projection, const Scene& scene);
    void addAircraft(const Projection& projection, const SceneAircraft& aircraft);
    // Clips a convex polygon given in the camera's frame at the near plane and keeps it for
    // drawing; false when nothing of it is in front.
    bool addPolygon(const Projection& projection, const Vec3* corners, std::size_t count, Rgb colour,
                    Polygon::Finish finish);
    static void fill(cairo_t* cr, const Polygon& polygon);

    std::vector<Polygon> polygons_; // kept between pictures: drawing allocates nothing once warm
    std::array<Vec3, kGridPoints * kGridPoints> grid_{};
};
