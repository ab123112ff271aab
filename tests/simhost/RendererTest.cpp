// The picture of a view, checked by what it must show: where an aircraft is drawn and how large,
// and where the horizon lies, as the camera turns, zooms and banks.

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "picture/Renderer.h"
#include "world/Earth.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

struct Box {
    int left = kWidth, top = kHeight, right = -1, bottom = -1;
    double centreX() const { return (left + right) / 2.0; }
    double centreY() const { return (top + bottom) / 2.0; }
    int width() const { return right - left + 1; }
};

// A picture drawn in memory, one 32-bit pixel (xRGB) per pixel.
class Picture {
public:
    Picture(const ViewCamera& camera, const Scene& scene) {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
        cairo_t* cr = cairo_create(surface);
        Renderer().draw(cr, Projection(camera, kWidth, kHeight), scene);
        cairo_destroy(cr);
        cairo_surface_flush(surface);
        const auto* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                pixels_.push_back(reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFFu);
        cairo_surface_destroy(surface);
    }
    uint32_t at(int x, int y) const { return pixels_[static_cast<std::size_t>(y * kWidth + x)]; }

    // Where this picture differs from another: what a thing added to the scene covers.
    Box differenceFrom(const Picture& other) const {
        Box box;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (at(x, y) != other.at(x, y))
                    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
        return box;
    }
    // The first row from the top in a column that is not sky.
    int horizonRow(int x) const {
        const uint32_t sky = at(x, 0);
        for (int y = 0; y < kHeight; ++y)
            if (at(x, y) != sky)
                return y;
        return kHeight;
    }

private:
    std::vector<uint32_t> pixels_;
};

// An eye 1000 m over a flat world, level, looking north-east.
ViewCamera camera() {
    ViewCamera c;
    c.latitude = 47.0;
    c.longitude = 8.0;
    c.altitude = 1000;
    c.heading = 45;
    return c;
}

double flat(double, double) { return 400; }

// A light aircraft `metres` ahead of the camera's eye along its heading, at its height, flying
// across the view.
SceneAircraft ahead(const ViewCamera& eye, double metres) {
    SceneAircraft aircraft;
    Earth::destination(eye.latitude, eye.longitude, eye.heading, metres, aircraft.latitude, aircraft.longitude);
    aircraft.altitude = eye.altitude;
    aircraft.heading = eye.heading + 90;
    return aircraft;
}

Box aircraftIn(const ViewCamera& eye, const SceneAircraft& aircraft) {
    const Scene empty{{}, {}, flat};
    const Scene withAircraft{{&aircraft, 1}, {}, flat};
    return Picture(eye, withAircraft).differenceFrom(Picture(eye, empty));
}

TEST(RendererTest, AnAircraftStraightAheadIsDrawnAtTheCentreAndOutOfViewOnceTheCameraTurns) {
    const ViewCamera eye = camera();
    const SceneAircraft aircraft = ahead(eye, 150);
    const Box seen = aircraftIn(eye, aircraft);
    ASSERT_GE(seen.right, 0) << "the aircraft is drawn";
    EXPECT_NEAR(kWidth / 2.0, seen.centreX(), 3);
    EXPECT_NEAR(kHeight / 2.0, seen.centreY(), 6); // the fin stands above the centre line
    for (const double turn : {90.0, -90.0, 180.0}) {
        ViewCamera turned = eye;
        turned.heading += turn;
        EXPECT_LT(aircraftIn(turned, aircraft).right, 0) << "turned by " << turn;
    }
}

TEST(RendererTest, ZoomTwoDoublesTheAircraftOnScreen) {
    const ViewCamera eye = camera();
    const SceneAircraft aircraft = ahead(eye, 150);
    ViewCamera zoomed = eye;
    zoomed.zoom = 2;
    const Box normal = aircraftIn(eye, aircraft), twice = aircraftIn(zoomed, aircraft);
    ASSERT_GT(normal.width(), 10);
    EXPECT_NEAR(2.0, static_cast<double>(twice.width()) / normal.width(), 0.15);
    EXPECT_NEAR(kWidth / 2.0, twice.centreX(), 3);
}

TEST(RendererTest, TheHorizonLiesAcrossTheCentreAndTiltsWithBankAndDropsWithPitch) {
    const Scene ground{{}, {}, flat};
    const auto slope = [&](const ViewCamera& eye) {
        const Picture picture(eye, ground);
        const int left = 40, right = kWidth - 40;
        return std::atan2(picture.horizonRow(left) - picture.horizonRow(right), right - left) * 180 / Earth::kPi;
    };
    ViewCamera eye = camera();
    // 1000 m up the horizon dips by a hair; level, it runs across the middle.
    EXPECT_NEAR(kHeight / 2.0, Picture(eye, ground).horizonRow(kWidth / 2), 2);
    EXPECT_NEAR(0, slope(eye), 0.5);
    for (const double bank : {20.0, -35.0}) {
        eye.bank = bank;
        EXPECT_NEAR(bank, slope(eye), 1) << "bank " << bank; // right side down: the horizon rises on the right
    }
    eye.bank = 0;
    eye.pitch = 10;
    const double focal = kWidth / 2.0 / std::tan(Earth::radians(ViewCamera::kFieldOfView / 2));
    EXPECT_NEAR(kHeight / 2.0 + focal * std::tan(Earth::radians(10)), Picture(eye, ground).horizonRow(kWidth / 2), 2);
}

TEST(RendererTest, AircraftInLineAreDrawnFarToNearWhateverTheirOrderInTheScene) {
    const ViewCamera eye = camera();
    SceneAircraft near = ahead(eye, 60), far = ahead(eye, 240);
    far.span = 60, far.length = 64; // a large one behind
    // They overlap on the screen, so the order they are drawn in shows.
    const Box nearBox = aircraftIn(eye, near), farBox = aircraftIn(eye, far);
    ASSERT_TRUE(nearBox.left <= farBox.right && farBox.left <= nearBox.right && nearBox.top <= farBox.bottom &&
                farBox.top <= nearBox.bottom);
    const SceneAircraft nearFirst[] = {near, far}, farFirst[] = {far, near};
    const Picture one(eye, Scene{nearFirst, {}, flat}), other(eye, Scene{farFirst, {}, flat});
    EXPECT_LT(one.differenceFrom(other).right, 0) << "the same picture either way";
    // And the near one is in front: where both are drawn, the pair looks like the near one.
    const Picture nearOnly(eye, Scene{{&near, 1}, {}, flat}), farOnly(eye, Scene{{&far, 1}, {}, flat});
    const Picture empty(eye, Scene{{}, {}, flat});
    int likeNear = 0, likeFar = 0;
    for (int y = nearBox.top; y <= nearBox.bottom; ++y)
        for (int x = nearBox.left; x <= nearBox.right; ++x) {
            if (nearOnly.at(x, y) == empty.at(x, y) || farOnly.at(x, y) == empty.at(x, y) ||
                nearOnly.at(x, y) == farOnly.at(x, y))
                continue;
            likeNear += one.at(x, y) == nearOnly.at(x, y) ? 1 : 0;
            likeFar += one.at(x, y) == farOnly.at(x, y) ? 1 : 0;
        }
    ASSERT_GT(likeNear + likeFar, 20);
    EXPECT_GT(likeNear, 4 * likeFar);
}

} // namespace
