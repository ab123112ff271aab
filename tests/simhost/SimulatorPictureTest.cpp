// The main view's picture: the simulator's own cameras placed for the user aircraft, and the
// picture drawn into the main window's pixels when asked for.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "SimulatorFixture.h"
#include "picture/Projection.h"
#include "services/OwnCameras.h"
#include "services/ViewPicture.h"
#include "winsys/Pixels.h"
#include "world/Aircraft.h"
#include "world/Earth.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// Where the user aircraft's reference point lies on a picture of the camera of that kind.
void userOnScreen(const Simulator& simulator, ViewKind kind, double& x, double& y) {
    Aircraft& user = *const_cast<Simulator&>(simulator).world().user();
    const Projection projection(OwnCameras::eyeFor(kind, user), kWidth, kHeight);
    const ZHostPosition& p = user.position();
    const Vec3 seen = projection.toCamera(projection.local(
        Earth::latitudeDegrees(p.latitude), Earth::longitudeDegrees(p.longitude), Earth::altitudeMetres(p.altitude)));
    ASSERT_GT(seen.z, Projection::kNear) << "the aircraft is in front of the camera";
    projection.toScreen(seen, x, y);
}

TEST(SimulatorPictureTest, TheTowerAndTheSpotCameraLookAtTheUserAircraft) {
    SimulatorFixture f(3);
    for (int frame = 0; frame < 60; ++frame) // on its way down the runway
        f.sim->frame();
    double x = 0, y = 0;
    userOnScreen(*f.sim, ViewKind::Tower, x, y);
    EXPECT_NEAR(kWidth / 2.0, x, 0.5);
    EXPECT_NEAR(kHeight / 2.0, y, 0.5);
    userOnScreen(*f.sim, ViewKind::Spot, x, y);
    EXPECT_NEAR(kWidth / 2.0, x, 0.5);
    EXPECT_NEAR(kHeight / 2.0, y, 0.5);
}

TEST(SimulatorPictureTest, TheCockpitCameraSitsAtTheEyeLookingWhereTheAircraftPoints) {
    SimulatorFixture f(3);
    const Aircraft& user = *f.sim->world().user();
    const ViewCamera eye = OwnCameras::eyeFor(ViewKind::Cockpit, user);
    const ZHostPosition& p = user.position();
    EXPECT_NEAR(Earth::headingDegrees(p.heading), eye.heading, 1e-9);
    EXPECT_NEAR(-Earth::angleDegrees(p.pitch), eye.pitch, 1e-9);
    // No eye point in its aircraft.cfg: ahead of the reference point by 0.3 of its length, and up.
    const double length = user.type().lengthMetres();
    const double ahead = Earth::distance(Earth::latitudeDegrees(p.latitude), Earth::longitudeDegrees(p.longitude),
                                         eye.latitude, eye.longitude);
    EXPECT_NEAR(0.3 * length, ahead, 0.05);
    EXPECT_NEAR(0.05 * length + 0.5, eye.altitude - Earth::altitudeMetres(p.altitude), 0.05);
    EXPECT_DOUBLE_EQ(0.7, OwnCameras::eyeFor(ViewKind::VirtualCockpit, user).zoom);
}

// Drawn every frame when asked for, otherwise when someone looks at the window's pixels.
TEST(SimulatorPictureTest, PicturesAreDrawnIntoTheMainWindowWhenAskedForOrLookedAt) {
    SimulatorFixture f(3);
    f.sim->setClientSize(kWidth, kHeight);
    EXPECT_EQ(nullptr, win::GetClientPixels(f.sim->mainWindow())) << "nothing to draw before the first frame";
    f.sim->frame();
    const win::ClientPixels* looked = win::GetClientPixels(f.sim->mainWindow());
    ASSERT_NE(nullptr, looked) << "painted when looked at";
    EXPECT_EQ(kWidth, looked->width);
    EXPECT_EQ("Spot", f.sim->cameraTitle());
    EXPECT_FALSE(f.sim->selectCamera("Chase"));
    ASSERT_TRUE(f.sim->selectCamera("tower"));
    EXPECT_EQ("Tower", f.sim->cameraTitle());
    ASSERT_TRUE(f.sim->selectCamera("SPOT"));
    f.sim->setPictures(true);
    f.sim->frame();
    const win::ClientPixels* pixels = win::GetClientPixels(f.sim->mainWindow());
    ASSERT_NE(nullptr, pixels);
    EXPECT_EQ(kWidth, pixels->width);
    EXPECT_EQ(kHeight, pixels->height);
    // The aircraft is drawn where the spot camera has it: the centre is neither sky nor ground.
    const auto at = [&](int px, int py) {
        const uint8_t* rgb = pixels->rgb.data() + (py * kWidth + px) * 3;
        return uint32_t{rgb[0]} << 16 | uint32_t{rgb[1]} << 8 | rgb[2];
    };
    const uint32_t sky = at(kWidth / 2, 0), ground = at(kWidth / 2, kHeight - 1);
    EXPECT_NE(sky, ground);
    int aircraft = 0;
    for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx)
            aircraft += at(kWidth / 2 + dx, kHeight / 2 + dy) != sky && at(kWidth / 2 + dx, kHeight / 2 + dy) != ground;
    EXPECT_GT(aircraft, 10);
}

TEST(SimulatorPictureTest, TheMessageLineStatusTextsAndCaptionsAreDrawnOverThePicture) {
    SimulatorFixture f(3);
    f.sim->setClientSize(kWidth, kHeight);
    const win::HWND window = f.sim->mainWindow();
    const ViewCamera eye = OwnCameras::eyeFor(ViewKind::Spot, *f.sim->world().user());
    ViewPicture picture;
    ZHostView view{};
    const ViewShot shot{eye, {0, 0, kWidth, kHeight}, &view};
    picture.draw(window, {&shot, 1}, f.sim->world(), {}, MessageLine{});
    const std::vector<uint8_t> plain = win::GetClientPixels(window)->rgb;
    const DrawnText texts[] = {{&view, "RECORDING [5 seconds]", 0xFFFFFFFFu, 0xC0C00000u, 9},
                               {&view, "Chapter", 100, 200, 15}};
    picture.draw(window, {&shot, 1}, f.sim->world(), texts, MessageLine{"Marker", 0, 18});
    const std::vector<uint8_t>& shown = win::GetClientPixels(window)->rgb;
    const auto pixel = [&](const std::vector<uint8_t>& rgb, int x, int y) { return &rgb[static_cast<std::size_t>((y * kWidth + x) * 3)]; };
    const auto changedIn = [&](int left, int top, int right, int bottom, bool red) {
        int changed = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) {
                const uint8_t* p = pixel(shown, x, y);
                if (std::memcmp(p, pixel(plain, x, y), 3) != 0 && (!red || (p[0] > 150 && p[1] < 60 && p[2] < 60)))
                    ++changed;
            }
        return changed;
    };
    // The message line's band darkens the top; its text stands in the middle.
    EXPECT_LT(pixel(shown, 5, 5)[2], pixel(plain, 5, 5)[2]);
    EXPECT_GT(changedIn(kWidth / 2 - 30, 6, kWidth / 2 + 30, 22, false), 20);
    // The status text in its own colour down the left, below the band; the caption at its place.
    EXPECT_GT(changedIn(8, 28, 160, 46, true), 20);
    EXPECT_GT(changedIn(100, 188, 160, 204, false), 20);
    EXPECT_EQ(0, changedIn(kWidth / 2 - 40, 100, kWidth / 2 + 40, 150, false)) << "the middle stays as it was";
}

} // namespace
