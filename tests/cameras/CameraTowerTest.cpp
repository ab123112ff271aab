// The tower camera inside frames of the stand-in simulator: on the ground or above it, following
// an aircraft from as far as it may, its focus bounded, its keys in their units.

#include <cmath>
#include <fstream>

#include "CameraFixture.h"
#include "cameras/AircraftPose.h"
#include "cameras/CameraTower.h"
#include "host/FSinterface.h"
#include "profile/ProfileValues.h"

namespace {

class CameraTowerTest : public CameraFixture {
protected:
    static CameraView processed(Camera& camera) {
        CameraView view;
        camera.process(&view);
        return view;
    }
    // Metres between two positions in radians and metres, along the ground and up.
    static double metresBetween(double lat1, double lon1, double alt1, double lat2, double lon2, double alt2) {
        const double along = Earth::distance(degrees(lat1), degrees(lon1), degrees(lat2), degrees(lon2));
        return std::hypot(along, alt2 - alt1);
    }
};

TEST_F(CameraTowerTest, BelowTheGroundTheTowerRisesToAMetreAboveIt) {
    CameraTower camera(&settings);
    camera.position = {radians(kLatitude), radians(kLongitude), -50};
    const double ground = World::groundElevation(radians(kLatitude), radians(kLongitude));
    EXPECT_NEAR(ground + 1, processed(camera).altitude, 1e-9);
    EXPECT_NEAR(ground + 1, camera.position.altitude, 1e-9) << "and stays there";
    camera.position.altitude = ground + 300;
    EXPECT_NEAR(ground + 300, processed(camera).altitude, 1e-9);
}

TEST_F(CameraTowerTest, AutoPanFollowsTheAircraftFromNoFurtherThanItsMaximumDistance) {
    place(user(), kLatitude, kLongitude, 1500, 0);
    CameraTower camera(&settings);
    camera.target = FSinterface::getUserAcftID();
    // The tower 3 km south of the aircraft, 1000 m lower: it looks north and up.
    const double south = radians(kLatitude) - 3000 / Geometry::kMeridianRadius;
    camera.position = {south, radians(kLongitude), 500};
    CameraView view = processed(camera);
    EXPECT_NEAR(0, view.heading, 1e-4);
    EXPECT_NEAR(-std::atan2(1000, 3000), view.pitch, 1e-3) << "a negative pitch looks up";
    EXPECT_DOUBLE_EQ(south, view.latitude);

    // Beyond the maximum distance the view comes from that distance, on the line to the tower;
    // the tower itself stays where it is. Auto-zoom grows with the distance.
    camera.maxDistance = 1000;
    camera.autoZoom = 0.002f;
    view = processed(camera);
    const AircraftPose aircraft = AircraftPose::of(camera.target);
    EXPECT_NEAR(1000, metresBetween(view.latitude, view.longitude, view.altitude, aircraft.position.latitude,
                                    aircraft.position.longitude, aircraft.position.altitude),
                1.0);
    EXPECT_DOUBLE_EQ(south, camera.position.latitude);
    EXPECT_NEAR(2.0, camera.zoom, 1e-3);
    // The toggle: off, then on again at the zoom shown over the distance to the aircraft.
    camera.zoomBy(-1);
    EXPECT_EQ(0.0f, camera.autoZoom);
    camera.zoomBy(-1);
    EXPECT_NEAR(camera.zoom / std::hypot(3000.0, 1000.0), camera.autoZoom, 1e-6);
    // The target gone: the user aircraft again.
    camera.target = addAircraft(kLatitude + 0.01, kLongitude, 1000, 0);
    sim().world().remove(camera.target);
    processed(camera);
    EXPECT_EQ(FSinterface::getUserAcftID(), camera.target);
}

TEST_F(CameraTowerTest, TheFocusNeverLeavesFiftyMetresWhateverTheInput) {
    place(user(), kLatitude, kLongitude, 1000, 45);
    settings.moveTower1Target = true;
    settings.panFocus = true;
    CameraTower camera(&settings);
    camera.target = FSinterface::getUserAcftID();
    camera.position = {radians(kLatitude) - 0.001, radians(kLongitude), 600};
    processed(camera);
    for (const float d : {1e3f, -1e6f, 3.0f}) {
        camera.moveEye(d, -d, d);
        camera.rotateRate(d, 0, -d);
        float a = 0, b = 0;
        camera.mousePan(true, &a, &b);
        camera.pan(d, d);
        for (const float axis : camera.focus)
            EXPECT_LE(std::abs(axis), 50.0f) << d;
    }
    camera.moveEye(0, 0, 0);
    EXPECT_EQ(0.0f, std::abs(camera.focus[0]) + std::abs(camera.focus[1]) + std::abs(camera.focus[2]));
}

TEST_F(CameraTowerTest, TheSimulatorsTowerTheAircraftAndTheSteps) {
    place(user(), 47.45, 8.55, 600, 0); // at the sample airport
    CameraTower camera(&settings);
    camera.moveEye(0, 0, 0);
    EXPECT_NEAR(47.458200, degrees(camera.position.latitude), 1e-5);
    EXPECT_NEAR(8.564816, degrees(camera.position.longitude), 1e-5);
    EXPECT_NEAR(432 + 41, camera.position.altitude, 1e-9);
    EXPECT_EQ(FSinterface::getUserAcftID(), camera.target);
    camera.command();
    EXPECT_EQ(0u, camera.target) << "auto-pan toggled off";

    // Steps along the heading: small with the eye keys, medium and large with the look keys.
    camera.heading = static_cast<float>(Earth::kPi / 2); // east
    const Geometry::WorldPosition start = camera.position;
    camera.moveEye(0, 0, 1);
    Geometry::Vec3 moved{};
    Geometry::localOffset(start, camera.position, nullptr, &moved);
    EXPECT_NEAR(1.0, moved.x, 1e-3);
    EXPECT_NEAR(0.0, moved.z, 1e-3);
    camera.lookAt(0, 1, 0);
    EXPECT_NEAR(5.0, camera.position.altitude - start.altitude, 1e-9);
    camera.lookAt(1, 1, 1); // horizontally only, large
    Geometry::localOffset(start, camera.position, nullptr, &moved);
    EXPECT_NEAR(26.0, moved.x, 1e-2);
    EXPECT_NEAR(-25.0, moved.z, 1e-2);
    EXPECT_NEAR(5.0, moved.y, 1e-6);

    camera.zoom = 4;
    camera.toAircraft();
    EXPECT_NEAR(600, camera.position.altitude, 1e-6);
    EXPECT_EQ(1.0f, camera.zoom);
}

TEST_F(CameraTowerTest, KeysInTheirUnits) {
    const std::string file = iniFile("tower.ini");
    std::ofstream(file) << "[Camera.000]\nType=2\nLatitude=47.5\nLongitude=-8.25\nAltitude=1000\nPitch=10\n"
                           "Heading=270\nFocusX=80\nAutoPan=0\nMaxDistance=500\n";
    CameraTower camera(&settings);
    camera.load("Camera.000", file);
    EXPECT_NEAR(304.8, camera.position.altitude, 1e-9);
    EXPECT_NEAR(radians(-10), camera.pitch, 1e-6) << "stored negated";
    EXPECT_EQ(50.0f, camera.focus[0]) << "within the focus limit";
    EXPECT_EQ(0u, camera.target);
    camera.save("Camera.001", file);
    EXPECT_EQ("1000.000", profile::readString(file, "Camera.001", "Altitude", ""));
    EXPECT_EQ("47.50000000", profile::readString(file, "Camera.001", "Latitude", ""));
    EXPECT_EQ("-8.25000000", profile::readString(file, "Camera.001", "Longitude", ""));
    EXPECT_EQ("10.0", profile::readString(file, "Camera.001", "Pitch", ""));
    EXPECT_EQ("500.0", profile::readString(file, "Camera.001", "MaxDistance", ""));
    EXPECT_EQ("0", profile::readString(file, "Camera.001", "AutoPan", ""));
}

} // namespace
