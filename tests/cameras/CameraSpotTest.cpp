// The spot cameras inside frames of the stand-in simulator: where each puts the eye and where it
// looks, against positions worked out by hand; never below the ground; their keys and dialogs.

#include <algorithm>
#include <cmath>
#include <vector>
#include <fstream>

#include "CameraFixture.h"
#include "cameras/AircraftPose.h"
#include "cameras/CameraSpotFixed.h"
#include "cameras/CameraSpotFlyBy.h"
#include "cameras/CameraSpotFollow.h"
#include "cameras/CameraSpotSlew.h"
#include "common/ZephrelException.h"
#include "host/FSinterface.h"
#include "profile/ProfileValues.h"

namespace {

class CameraSpotTest : public CameraFixture {
protected:
    static CameraView processed(Camera& camera) {
        CameraView view;
        camera.process(&view);
        return view;
    }
    // The eye of a view in the aircraft's local frame: metres east, up, north of its reference point.
    static Geometry::Vec3 eyeFrom(const AircraftPose& aircraft, const CameraView& view) {
        Geometry::Vec3 offset{};
        Geometry::localOffset(aircraft.position, {view.latitude, view.longitude, view.altitude}, nullptr, &offset);
        return offset;
    }
    AircraftPose userPose() { return AircraftPose::of(FSinterface::getUserAcftID()); }
    static void expectNear(const Geometry::Vec3& expected, const Geometry::Vec3& actual, float tolerance) {
        EXPECT_NEAR(expected.x, actual.x, tolerance);
        EXPECT_NEAR(expected.y, actual.y, tolerance);
        EXPECT_NEAR(expected.z, actual.z, tolerance);
    }
    // The view looks at the point `offset` (east, up, north) from the eye.
    static void expectLooksAlong(const Geometry::Vec3& toward, const CameraView& view) {
        const double horizontal = std::hypot(toward.x, toward.z);
        EXPECT_NEAR(std::atan2(toward.x, toward.z), view.heading, 1e-3);
        EXPECT_NEAR(std::atan2(-toward.y, horizontal), view.pitch, 1e-3);
    }
};

TEST_F(CameraSpotTest, AFixedCameraRidesAtItsOffsetAndLooksRelativeToTheAircraft) {
    place(user(), kLatitude, kLongitude, 1200, 90); // heading east
    CameraSpotFixed camera(&settings);
    camera.offset[0] = 10; // right of the aircraft: south of it
    camera.offset[2] = -20; // behind: west
    camera.heading = static_cast<float>(radians(-90)); // looking left of the nose: north
    const CameraView view = processed(camera);
    expectNear({-20, 0, -10}, eyeFrom(userPose(), view), 0.05f);
    EXPECT_NEAR(0, view.heading, 1e-4);
    EXPECT_NEAR(0, view.pitch, 1e-4);
}

TEST_F(CameraSpotTest, AFollowCameraTrailsAtItsBearingLooksAtTheAircraftAndJumpsAfterATeleport) {
    place(user(), kLatitude, kLongitude, 1500, 90); // heading east
    struct Case {
        bool fixedHeading;
        Geometry::Vec3 eye; // east, up, north of the aircraft
    };
    // Heading offset 180°, elevation 30° above, 100 m: behind the aircraft (relative), or south
    // (true bearing 180°).
    for (const Case c : {Case{false, {-86.603f, 50, 0}}, Case{true, {0, 50, -86.603f}}}) {
        CameraSpotFollow camera(&settings, c.fixedHeading);
        camera.headingOffset = static_cast<float>(Earth::kPi);
        camera.elevation = static_cast<float>(radians(-30));
        camera.distance = 100;
        const CameraView view = processed(camera);
        const Geometry::Vec3 eye = eyeFrom(userPose(), view);
        expectNear(c.eye, eye, 0.1f);
        expectLooksAlong({-eye.x, -eye.y, -eye.z}, view);
        EXPECT_EQ(c.fixedHeading ? 2 : 1, camera.getSpotMode());
    }

    // With position smoothing the eye lags; after a jump of 50 km it follows in one frame.
    CameraSpotFollow camera(&settings, false);
    camera.distance = 100;
    camera.positionFilter->setTimeConstant(2);
    processed(camera);
    place(user(), kLatitude, kLongitude + 0.001, 1500, 90);
    CameraView view = processed(camera);
    EXPECT_GT(std::abs(eyeFrom(userPose(), view).x - 100.0f), 1.0f) << "smoothed: behind where it would be";
    place(user(), kLatitude + 0.5, kLongitude, 1500, 90);
    view = processed(camera);
    EXPECT_NEAR(100, eyeFrom(userPose(), view).x, 0.5) << "the heading offset 0: ahead by the distance";
}

// A new target is a jump: the smoothed eye starts again behind it instead of gliding over.
TEST_F(CameraSpotTest, AFollowCameraJumpsToANewTarget) {
    place(user(), kLatitude, kLongitude, 1500, 0);
    const uint32_t other = addAircraft(kLatitude + 0.05, kLongitude, 1500, 0); // 5.5 km north
    CameraSpotFollow camera(&settings, false);
    camera.distance = 100;
    camera.positionFilter->setTimeConstant(5);
    processed(camera);
    processed(camera);
    camera.nextTarget(false);
    while (camera.target != other)
        camera.nextTarget(false);
    const CameraView view = processed(camera);
    Geometry::Vec3 offset{};
    Geometry::localOffset(AircraftPose::of(other).position, {view.latitude, view.longitude, view.altitude}, nullptr,
                          &offset);
    EXPECT_NEAR(100, offset.z, 1) << "ahead of it by the distance, at once";
}

TEST_F(CameraSpotTest, NoCameraIsEverBelowTheGroundAndAGoneTargetGivesWayToTheUserAircraft) {
    place(user(), kLatitude, kLongitude, 1000, 0);
    const double ground = World::groundElevation(radians(kLatitude), radians(kLongitude));
    CameraSpotFollow follow(&settings, false);
    follow.elevation = static_cast<float>(radians(80)); // below the aircraft
    follow.distance = 5000;
    EXPECT_GE(processed(follow).altitude, ground + 1 - 1e-9);

    const uint32_t other = addAircraft(kLatitude + 0.01, kLongitude, 800, 0);
    follow.target = other;
    processed(follow);
    EXPECT_EQ(other, follow.target);
    sim().world().remove(other);
    processed(follow);
    EXPECT_EQ(FSinterface::getUserAcftID(), follow.target);
}

TEST_F(CameraSpotTest, AFlyByCameraWaitsAlongTheHeadingOnTheGroundAndAlongThePathAbove) {
    const double ground = World::groundElevation(radians(kLatitude), radians(kLongitude));
    CameraSpotFlyBy camera(&settings);
    camera.distance = 300;
    camera.heading = static_cast<float>(radians(20)); // to the right of the way ahead
    // On the ground, heading north, rolling east: ahead along the heading.
    place(user(), kLatitude, kLongitude, ground + user().type().referenceAboveGround * 0.3048, 0);
    setVelocity(user(), 30, 0, 0);
    sim().frame();
    ASSERT_TRUE(FSinterface::getOnGround());
    Geometry::Vec3 eye = eyeFrom(userPose(), processed(camera));
    EXPECT_NEAR(300 * std::sin(radians(20)), eye.x, 0.5);
    EXPECT_NEAR(300 * std::cos(radians(20)), eye.z, 0.5);

    // In the air, heading north but drifting east: ahead along the path (east), and it stays put
    // while the aircraft is within the distance.
    place(user(), kLatitude, kLongitude, 1500, 0);
    setVelocity(user(), 100, 0, 0);
    camera.distance = 301; // placed anew: the old eye is further than that
    camera.rotateRate(0, 0, 0);
    const CameraView first = processed(camera);
    eye = eyeFrom(userPose(), first);
    EXPECT_NEAR(301 * std::sin(radians(110)), eye.x, 0.5);
    EXPECT_NEAR(301 * std::cos(radians(110)), eye.z, 0.5);
    place(user(), kLatitude, kLongitude + 0.001, 1500, 0);
    EXPECT_DOUBLE_EQ(first.longitude, processed(camera).longitude);
    EXPECT_GE(first.altitude, ground + 1);
}

// Flying straight past a fly-by camera: the aircraft comes nearer, passes and goes away, and once
// further than the distance the camera waits ahead again.
TEST_F(CameraSpotTest, AFlyByCameraSeesTheAircraftComePassAndGo) {
    CameraSpotFlyBy camera(&settings);
    camera.distance = 400;
    camera.heading = static_cast<float>(radians(10));
    std::vector<double> distances;
    double latitude = kLatitude;
    Geometry::WorldPosition firstEye{};
    int placements = 0;
    for (int n = 0; n < 60; ++n, latitude += 25 / Geometry::kMeridianRadius * 180 / Earth::kPi) {
        place(user(), latitude, kLongitude, 1500, 0);
        setVelocity(user(), 0, 0, 82); // 25 m/s north
        const CameraView view = processed(camera);
        const Geometry::WorldPosition eye{view.latitude, view.longitude, view.altitude};
        if (n == 0 || Geometry::localOffset(eye, firstEye) > 1) {
            firstEye = eye;
            ++placements;
        }
        distances.push_back(Geometry::localOffset(eye, userPose().position));
    }
    // Nearer and nearer, then further, then placed anew ahead (the distance drops again).
    const auto nearest = std::min_element(distances.begin(), distances.end() - 30);
    EXPECT_LT(*nearest, 100);
    EXPECT_GT(distances.front(), *nearest + 200);
    EXPECT_GT(placements, 1);
    EXPECT_LE(*std::max_element(distances.begin(), distances.end()), 401);
}

TEST_F(CameraSpotTest, AFreeCameraKeepsWithinItsMaximumDistanceAndRestartsBehindTheAircraft) {
    place(user(), kLatitude, kLongitude, 1500, 0);
    CameraSpotSlew camera(&settings);
    camera.target = FSinterface::getUserAcftID();
    // 12 km south of the aircraft, maximum 10 km: pulled to exactly 10 km, the distance stored.
    camera.eye = {radians(kLatitude) - 12000 / Geometry::kMeridianRadius, radians(kLongitude), 1500};
    camera.maxDistance = 10000;
    const CameraView view = processed(camera);
    EXPECT_NEAR(10000, Geometry::localOffset(userPose().position, {view.latitude, view.longitude, view.altitude}), 0.5);
    EXPECT_NEAR(10000, Geometry::localOffset(userPose().position, camera.eye), 0.5);
    EXPECT_NEAR(0, view.heading, 1e-4) << "looking north at the aircraft";

    // Restarted 50 m behind, flying along at the aircraft's speed (100 ft/s north: 30.48 m/s ahead).
    setVelocity(user(), 0, 0, 100);
    camera.moveEye(0, 0, 0);
    EXPECT_NEAR(30.48f, camera.velocity[2], 1e-4);
    EXPECT_NEAR(0, camera.velocity[0], 1e-4);
    Geometry::Vec3 offset{};
    Geometry::localOffset(userPose().position, camera.eye, nullptr, &offset);
    EXPECT_NEAR(-50, offset.z, 0.05);
    // Keys: a pan lets the target go; the coarse slew speeds it up sideways and ahead only.
    camera.rotateRate(1, 0, 0);
    EXPECT_EQ(0u, camera.target);
    camera.lookAt(1, 1, 1);
    EXPECT_NEAR(2.5f, camera.velocity[0], 1e-5);
    EXPECT_NEAR(30.48f + 2.5f, camera.velocity[2], 1e-4);
    camera.command();
    EXPECT_EQ(FSinterface::getUserAcftID(), camera.target);
}

TEST_F(CameraSpotTest, ModesComeFromTheFileAndTheDialogWithinTheirLimits) {
    const std::string file = iniFile("spot.ini");
    std::ofstream(file) << "[Camera.000]\nType=3\nSpotMode=4\nHeading=95\nPitch=10\nZ=250\nAutoZoom=0.01\n"
                           "[Camera.001]\nType=3\nSpotMode=7\n[Camera.002]\nType=3\nSpotMode=2\nHeading=45\n"
                           "Pitch=20\nZ=80\nSmoothPosition=1.5\nManualPan=1\n";
    const auto flyBy = CameraSpot::loadFrom("Camera.000", file, &settings);
    auto* f = dynamic_cast<CameraSpotFlyBy*>(flyBy.get());
    ASSERT_NE(nullptr, f);
    EXPECT_NEAR(radians(80), f->heading, 1e-6) << "within ±80°";
    EXPECT_NEAR(radians(-10), f->pitch, 1e-6) << "stored negated";
    EXPECT_EQ(FSinterface::getUserAcftID(), f->target);
    EXPECT_EQ(nullptr, CameraSpot::loadFrom("Camera.001", file, &settings)) << "a mode that is none: loading ends";
    const auto follow = CameraSpot::loadFrom("Camera.002", file, &settings);
    auto* g = dynamic_cast<CameraSpotFollow*>(follow.get());
    ASSERT_NE(nullptr, g);
    EXPECT_TRUE(g->fixedHeading);
    EXPECT_TRUE(g->manualPan);
    g->save("Camera.003", file);
    for (const auto& [key, text] : std::vector<std::pair<const char*, const char*>>{
             {"SpotMode", "2"}, {"Heading", "45.0"}, {"Pitch", "20.0"}, {"Z", "80.000"}, {"SmoothPosition", "1.50"}})
        EXPECT_EQ(text, profile::readString(file, "Camera.003", key, "")) << key;

    // The dialog's values within their limits; a mode the class does not serve is refused.
    SpotParams params;
    g->getDlgParams(params);
    EXPECT_EQ(2, params.spotMode);
    EXPECT_FLOAT_EQ(20, params.pitch);
    params.pitch = 120;
    params.z = 0.2f;
    params.smoothPosition = 0.01;
    params.maxZoom = 500;
    params.minZoom = 0.1f;
    params.zoom = 300;
    g->setDlgParams(params);
    EXPECT_NEAR(radians(-90), g->elevation, 1e-6);
    EXPECT_EQ(1.0f, g->distance);
    EXPECT_EQ(0.1, g->positionFilter->timeConstant());
    EXPECT_EQ(256.0f, g->maxZoom);
    EXPECT_EQ(0.2f, g->minZoom);
    EXPECT_EQ(256.0f, g->zoom);
    params.spotMode = 3;
    try {
        g->setDlgParams(params);
        FAIL() << "a follow camera took the free camera's values";
    } catch (const ZephrelException& e) {
        EXPECT_EQ("CameraSpotFollow::setDlgParams", e.function);
        EXPECT_NE(std::string::npos, e.logText.find("Invalid spot mode"));
    }
    EXPECT_STREQ("Fly By", CameraSpot::modeName(4));
    EXPECT_STREQ("Free", CameraSpot::modeName(3));
}

} // namespace
