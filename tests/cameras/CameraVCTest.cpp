// The camera base and the virtual-cockpit camera inside frames of the stand-in simulator: the
// zoom and its filter, the file keys, the look held in the world or locked on an aircraft.

#include <cmath>
#include <fstream>
#include <sstream>

#include "CameraFixture.h"
#include "cameras/CameraVC.h"
#include "common/ZephrelException.h"
#include "host/FSinterface.h"
#include "profile/ProfileValues.h"

namespace {

class CameraVCTest : public CameraFixture {
protected:
    static CameraView processed(Camera& camera) {
        CameraView view;
        camera.process(&view);
        return view;
    }
    // A VC camera loaded from a section with these lines after "Type=1".
    std::unique_ptr<CameraVC> loaded(const std::string& lines) {
        const std::string file = iniFile("cameras.ini");
        std::ofstream(file) << "[Camera.000]\nType=1\n" << lines;
        auto camera = std::make_unique<CameraVC>(&settings);
        camera->load("Camera.000", file);
        return camera;
    }
};

TEST_F(CameraVCTest, TheZoomIsClampedBeforeItIsSmoothedAndHeldInAPause) {
    auto camera = loaded("MinZoom=0.5\nMaxZoom=4\n");
    struct Case {
        float zoom;
        float shown;
    };
    for (const Case c : {Case{1.5f, 1.5f}, Case{9, 4}, Case{0.1f, 0.5f}}) {
        camera->zoom = c.zoom;
        EXPECT_EQ(c.shown, processed(*camera).zoom) << c.zoom;
        EXPECT_EQ(c.shown, camera->zoom) << "the camera keeps the clamped zoom";
    }

    // Smoothed on log2 of the zoom by a first-order filter of time constant 1 s: a doubling is
    // 1 − e⁻¹ done after one second of frames; held while paused with PauseSmoothing.
    settings.smoothTypeZoom = 1;
    settings.pauseSmoothing = true;
    camera = loaded("Zoom=1\nSmoothZoom=1\n");
    camera->zoom = 2;
    CameraView view;
    for (int n = 0; n < 30; ++n)
        camera->process(&view);
    EXPECT_NEAR(std::exp2(1 - std::exp(-1.0)), view.zoom, 1e-4);
    const float before = view.zoom;
    sim().setPaused(true);
    sim().frame();
    camera->process(&view);
    EXPECT_EQ(before, view.zoom);

    // The wheel in and out again lands on the start only up to float rounding; 0 resets.
    camera->zoom = 3;
    camera->zoomStep(0);
    EXPECT_FLOAT_EQ(2.7f, camera->zoom);
    camera->zoomStep(1);
    EXPECT_NEAR(3.0f, camera->zoom, 1e-5f);
    camera->zoomBy(-2);
    EXPECT_NEAR(3.0f, camera->zoom, 1e-5f) << "a negative factor is the kind's to use";
    camera->zoomBy(0);
    EXPECT_EQ(1.0f, camera->zoom);
}

TEST_F(CameraVCTest, KeysReadAndWrittenInTheirUnitsAndAWrongTypeRefused) {
    auto camera = loaded("GUID={e6a39dec-944b-464b-8904-877f049ef90a}\nTitle=Pilot\nX=-0.4\nY=1.1\nZ=2\n"
                         "Pitch=10\nBank=5\nHeading=-90\nPanRate=2.5\nFixedDir=1\nSmoothPanning=0.5\n");
    EXPECT_EQ("e6a39dec-944b-464b-8904-877f049ef90a", camera->guid.toString());
    EXPECT_EQ("Pilot", camera->title);
    EXPECT_FLOAT_EQ(-0.4f, camera->eyeOffset[0]);
    EXPECT_NEAR(radians(10), camera->pitch, 1e-6);
    EXPECT_NEAR(radians(-5), camera->bank, 1e-6) << "stored negated";
    EXPECT_NEAR(radians(-90), camera->heading, 1e-6);
    EXPECT_TRUE(camera->fixedDir);
    EXPECT_EQ(0.5, camera->panFilter->timeConstant());
    EXPECT_EQ(0u, camera->target);

    const std::string out = iniFile("saved.ini");
    camera->save("Camera.007", out);
    struct Key {
        const char* key;
        const char* text;
    };
    for (const Key k : {Key{"Type", "1"}, Key{"X", "-0.400"}, Key{"Pitch", "10.0"}, Key{"Bank", "5.0"},
                        Key{"Heading", "-90.0"}, Key{"PanRate", "2.500"}, Key{"FixedDir", "1"},
                        Key{"SmoothPanning", "0.50"}, Key{"GUID", "e6a39dec-944b-464b-8904-877f049ef90a"}})
        EXPECT_EQ(k.text, profile::readString(out, "Camera.007", k.key, "")) << k.key;

    const std::string file = iniFile("tower.ini");
    std::ofstream(file) << "[Camera.000]\nType=2\n";
    CameraVC other(&settings);
    try {
        other.load("Camera.000", file);
        FAIL() << "a tower camera's section loaded as a VC camera";
    } catch (const ZephrelException& e) {
        EXPECT_EQ("CameraVC::load", e.function);
        EXPECT_NE(std::string::npos, e.logText.find("Invalid camera type"));
    }
}

TEST_F(CameraVCTest, AFixedDirectionTurnsAgainstTheAircraftAndALockFollowsTheTarget) {
    place(user(), kLatitude, kLongitude, 1000, 0);
    CameraVC camera(&settings);
    camera.fixedDir = true;
    EXPECT_NEAR(0, processed(camera).heading, 1e-5);
    // The aircraft turns right by 90°: the view, held to the north, turns left by 90° from its nose.
    place(user(), kLatitude, kLongitude, 1000, 90);
    CameraView view = processed(camera);
    EXPECT_NEAR(-Earth::kPi / 2, view.heading, 1e-4);
    EXPECT_EQ(0.0f, camera.heading) << "the stored direction stays";

    // Locked on an aircraft 2 km east at the same height: straight out of the right window (the
    // aircraft heading north again), a shade down from the eye above the reference point.
    place(user(), kLatitude, kLongitude, 1000, 0);
    camera.fixedDir = false;
    camera.target = addAircraft(kLatitude, kLongitude + degrees(2000 / (6371000 * std::cos(radians(kLatitude)))),
                                1000, 0);
    camera.eyeOffset[1] = 1;
    view = processed(camera);
    EXPECT_NEAR(Earth::kPi / 2, view.heading, 2e-3);
    EXPECT_NEAR(std::atan2(1, 2000), view.pitch, 2e-3);
    EXPECT_EQ(0.0f, view.bank);
    EXPECT_EQ(1.0f, view.y);
    // A pan key lets the target go; cycling targets never takes the user aircraft.
    camera.rotateRate(1, 0, 0);
    EXPECT_EQ(0u, camera.target);
    const uint32_t other = addAircraft(kLatitude + 0.01, kLongitude, 1000, 0);
    for (int n = 0; n < 6; ++n) {
        camera.nextTarget(n % 2 == 1);
        EXPECT_NE(FSinterface::getUserAcftID(), camera.target);
        EXPECT_NE(0u, camera.target);
    }
    (void)other;
    // The target gone, the camera looks where it was told again.
    sim().world().remove(camera.target);
    processed(camera);
    EXPECT_EQ(0u, camera.target);
}

TEST_F(CameraVCTest, TheEyeGoesBackToTheCockpitAndTheAnglesFollowTheCommands) {
    CameraVC camera(&settings);
    camera.moveEye(1, -1, 2);
    EXPECT_FLOAT_EQ(0.1f, camera.eyeOffset[0]);
    EXPECT_FLOAT_EQ(-0.1f, camera.eyeOffset[1]);
    EXPECT_FLOAT_EQ(0.2f, camera.eyeOffset[2]);
    camera.moveEye(0, 0, 0);
    double right = 0, up = 0, forward = 0;
    user().type().eyeMetres(right, up, forward);
    EXPECT_FLOAT_EQ(static_cast<float>(up), camera.eyeOffset[1]);
    EXPECT_FLOAT_EQ(static_cast<float>(forward), camera.eyeOffset[2]);

    // Looks: straight right, and down ahead; rates over a frame at pan rate 1 and zoom 1.
    camera.lookAt(1, 0, 0);
    EXPECT_NEAR(Earth::kPi / 2, camera.heading, 1e-6);
    camera.lookAt(0, -1, 1);
    EXPECT_NEAR(Earth::kPi / 4, camera.pitch, 1e-6) << "positive pitch looks down";
    camera.rotateRate(0, 0, 30);
    EXPECT_NEAR(radians(30) / 30, camera.heading, 1e-5);
    camera.rotateRate(1e6f, 0, 0);
    EXPECT_FLOAT_EQ(1.5707964f, camera.pitch) << "pitch stops at the vertical";
    camera.rotateRate(0, 0, 0);
    EXPECT_EQ(0.0f, camera.pitch + camera.bank + camera.heading);
    // The mouse: a pan to the right edge turns the view round to the tail (as −π, the wrapped
    // heading), the top looks up; beyond the window the pitch stops at the vertical.
    camera.pan(1, 1);
    EXPECT_NEAR(-Earth::kPi, camera.heading, 1e-6);
    EXPECT_NEAR(-Earth::kPi / 2, camera.pitch, 1e-6);
    float a = 0, b = 0;
    camera.mousePan(true, &a, &b);
    EXPECT_NEAR(-1, a, 1e-6);
    EXPECT_NEAR(1, b, 1e-6);
    camera.pan(0.5f, 1.5f);
    EXPECT_FLOAT_EQ(-1.5707964f, camera.pitch);
}

} // namespace
