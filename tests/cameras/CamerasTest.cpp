// The camera manager listening to the module's host interface inside the stand-in simulator: its
// lists and the views' cameras, its menu entries, the commands, and its cameras in files.

#include <fstream>
#include <map>

#include "CameraFixture.h"
#include "cameras/CameraDialogs.h"
#include "cameras/CameraSpotFlyBy.h"
#include "cameras/CameraVC.h"
#include "cameras/CameraTower.h"
#include "cameras/Cameras.h"
#include "common/ZephrelException.h"
#include "harness/CameraMenus.h"
#include "host/FSinterface.h"
#include "profile/ProfileValues.h"
#include "services/HostMenus.h"

namespace {

// Dialogs that answer as the test says.
class ScriptedDialogs : public CameraDialogs {
public:
    bool editVC(VCParams&) override { return false; }
    bool editTower(TowerParams& params) override {
        params.title = towerTitle;
        return !towerTitle.empty();
    }
    bool editSpot(SpotParams& params) override {
        params.spotMode = spotMode;
        params.title = "Pass";
        params.flightSet = spotScope;
        return true;
    }
    bool editSettings(CameraSettings& settings) override {
        settings.smoothTypePan = 3;
        return true;
    }
    std::string cameraFile(int kind, bool save) override {
        asked.push_back((save ? "save " : "load ") + std::to_string(kind));
        return file;
    }
    std::string towerTitle;
    int spotMode = 4;
    int spotScope = 0;
    std::string file;
    std::vector<std::string> asked;
};

class CamerasTest : public CameraFixture {
protected:
    CamerasTest() : CameraFixture(false), cameras(adopt(std::make_unique<Cameras>(iniFile(""), &dialogs))) {
        buildCameraMenus();
        sim().createViews();
        FSinterface::addCallback(&cameras);
        cameras.callback(Start, 0, 0, 0);
        settle(); // the views become known
    }
    const HostMenus::Item* item(const std::string& path) { return sim().menus().find("Zephrel/" + path); }
    // The active view shows the module's camera of that kind.
    void showModule(const char* title) {
        ASSERT_TRUE(sim().selectCamera(title));
        sim().frame();
    }

    Cameras& adopt(std::unique_ptr<Cameras> made) {
        Cameras& kept = *made;
        listener_ = std::move(made);
        return kept;
    }

    ScriptedDialogs dialogs;
    Cameras& cameras;
};

TEST_F(CamerasTest, NewCamerasTakeTheirEntriesUpToThirty) {
    showModule("Zephrel Spot");
    ASSERT_EQ(Camera::kSpot, cameras.activeKind());
    // The first frame of a module camera made one for it.
    const CameraList& spots = cameras.getCameraList(Camera::kSpot);
    ASSERT_EQ(1u, spots.cameras.size());
    EXPECT_EQ("Spot Camera 1", spots.cameras[0]->title);
    EXPECT_EQ(306u, spots.cameras[0]->menuId);
    cameras.newCamera(Cameras::kActiveKind);
    ASSERT_EQ(2u, spots.cameras.size());
    EXPECT_EQ("Spot Camera 2", spots.cameras[1]->title);
    EXPECT_NE(spots.cameras[0]->guid, spots.cameras[1]->guid) << "a copy is a camera of its own";
    ASSERT_NE(nullptr, item("Spot Cameras/Spot Camera 2"));
    EXPECT_TRUE(item("Spot Cameras/Spot Camera 2")->checked);
    EXPECT_FALSE(item("Spot Cameras/Spot Camera 1")->checked);
    EXPECT_EQ("Spot Camera 2", sim().messageLine().text) << "the title shown on the change";
    while (!spots.full())
        cameras.newCamera(Camera::kSpot);
    EXPECT_FALSE(item("Spot Cameras/New")->enabled);
    cameras.newCamera(Camera::kSpot);
    EXPECT_EQ(30u, spots.cameras.size());
    EXPECT_EQ(335u, spots.cameras.back()->menuId);
}

TEST_F(CamerasTest, DeletingACameraMovesTheViewsAfterItUp) {
    showModule("Zephrel Tower");
    for (int n = 0; n < 4; ++n)
        cameras.newCamera(Camera::kTower);
    const CameraList& towers = cameras.getCameraList(Camera::kTower);
    ASSERT_EQ(5u, towers.cameras.size());
    // A second view on camera 3, the main view on camera 2.
    ASSERT_TRUE(sim().openView());
    ASSERT_TRUE(sim().activateView(1));
    showModule("Zephrel Tower");
    cameras.selectCamera(Camera::kTower, towers.cameras[3]->menuId);
    ASSERT_TRUE(sim().activateView(0));
    sim().frame();
    cameras.selectCamera(Camera::kTower, towers.cameras[2]->menuId);
    const Guid third = towers.cameras[3]->guid;
    cameras.deleteCamera(Camera::kTower);
    ASSERT_EQ(4u, towers.cameras.size());
    EXPECT_EQ(0, towers.current[0]) << "the view on the deleted camera goes to the first";
    EXPECT_EQ(2, towers.current[1]);
    EXPECT_EQ(third, towers.cameras[2]->guid) << "and the other one stays on its camera";
    EXPECT_EQ(nullptr, item("Tower Cameras/Tower Camera 3"));
    // The last camera stays when the host offers no default view.
    while (towers.cameras.size() > 1)
        cameras.deleteCamera(Camera::kTower);
    cameras.deleteCamera(Camera::kTower);
    EXPECT_EQ(1u, towers.cameras.size());
    EXPECT_FALSE(item("Tower Cameras/Delete")->enabled);
}

// The simulator moves the active view up when a view before it closes, without a word: the
// manager follows it there.
TEST_F(CamerasTest, AViewClosingBeforeTheActiveOneLeavesTheManagerOnTheActiveView) {
    ASSERT_TRUE(sim().openView());
    ASSERT_TRUE(sim().openView());
    ASSERT_TRUE(sim().activateView(2));
    showModule("Zephrel Tower");
    cameras.newCamera(Camera::kTower);
    const CameraList& towers = cameras.getCameraList(Camera::kTower);
    ASSERT_EQ(1, towers.current[2]);
    ASSERT_TRUE(sim().closeView(1));
    sim().frame();
    ASSERT_EQ(2u, towers.current.size());
    EXPECT_TRUE(cameras.hasCurrentCamera());
    cameras.nextCamera();
    EXPECT_EQ(0, towers.current[1]) << "the active view, now second, goes round to the first camera";
    EXPECT_EQ(0, towers.current[0]);
}

TEST_F(CamerasTest, NextPreviousAndAGuidSwitchTheView) {
    showModule("Zephrel VC");
    cameras.newCamera(Camera::kVC);
    cameras.newCamera(Camera::kVC);
    const CameraList& vcs = cameras.getCameraList(Camera::kVC);
    EXPECT_EQ(2, vcs.current[0]);
    cameras.nextCamera();
    EXPECT_EQ(0, vcs.current[0]) << "round to the first";
    cameras.prevCamera();
    EXPECT_EQ(2, vcs.current[0]) << "round to the last";

    // A camera marker's GUID: the view switches to the module's camera of its kind.
    showModule("Zephrel Tower");
    const Guid wanted = vcs.cameras[1]->guid;
    EXPECT_TRUE(cameras.selectCameraByGuid(wanted));
    EXPECT_EQ("Zephrel VC", sim().cameraTitle());
    EXPECT_EQ(1, vcs.current[0]);
    EXPECT_EQ(wanted, cameras.getCamGuid(Cameras::kActiveKind, -1));
    EXPECT_EQ(wanted, cameras.activeCameraGuid());
    // None of the module's: the simulator's own camera of that GUID.
    Guid cockpit{};
    std::string title;
    ASSERT_TRUE(FSinterface::getCamera(0, title, cockpit));
    EXPECT_EQ("Cockpit", title);
    EXPECT_TRUE(cameras.selectCameraByGuid(cockpit));
    EXPECT_EQ("Cockpit", sim().cameraTitle());
    sim().frame();
    EXPECT_EQ(cockpit, cameras.activeCameraGuid()) << "the simulator's own camera";
    EXPECT_EQ(7u, cameras.getCamCount(0)) << "the simulator's four and the module's three";
    EXPECT_EQ("Cockpit", cameras.getCamTitle(0, 0));
    EXPECT_THROW(cameras.getCamTitle(Camera::kVC, 3), ZephrelException);
}

TEST_F(CamerasTest, TheViewCommandsReachTheActiveViewsCameraOnly) {
    float up[3] = {0, 1, 0};
    EXPECT_EQ(0, cameras.callback(EyeMove, reinterpret_cast<intptr_t>(up), 0, 0)) << "the simulator's own camera";
    showModule("Zephrel VC");
    auto* vc = dynamic_cast<CameraVC*>(cameras.getCameraList(Camera::kVC).cameras.at(0).get());
    ASSERT_NE(nullptr, vc);
    const float before = vc->eyeOffset[1];
    EXPECT_EQ(1, cameras.callback(EyeMove, reinterpret_cast<intptr_t>(up), 0, 0));
    EXPECT_FLOAT_EQ(before + 0.1f, vc->eyeOffset[1]);
    float factor = 2;
    EXPECT_EQ(1, cameras.callback(Zoom, reinterpret_cast<intptr_t>(&factor), 0, 0));
    EXPECT_EQ(2.0f, vc->zoom);
    float right[3] = {1, 0, 0};
    EXPECT_EQ(1, cameras.callback(PanDirection, reinterpret_cast<intptr_t>(right), 0, 0));
    EXPECT_GT(vc->heading, 0.0f) << "a pan to the right turns the heading right";
    float x = 0.5f, y = 0;
    EXPECT_EQ(1, cameras.callback(MouseMove, reinterpret_cast<intptr_t>(&x), reinterpret_cast<intptr_t>(&y), 0));
    EXPECT_NEAR(Earth::kPi / 2, vc->heading, 1e-6);
}

TEST_F(CamerasTest, EditingASpotCameraIntoAnotherModeKeepsItsPlace) {
    showModule("Zephrel Spot");
    CameraList const& spots = cameras.getCameraList(Camera::kSpot);
    const Guid guid = spots.cameras[0]->guid;
    const uint32_t entry = spots.cameras[0]->menuId;
    cameras.EditCamera(Cameras::kActiveKind);
    auto* flyBy = dynamic_cast<CameraSpotFlyBy*>(spots.cameras[0].get());
    ASSERT_NE(nullptr, flyBy);
    EXPECT_EQ(guid, flyBy->guid);
    EXPECT_EQ(entry, flyBy->menuId);
    EXPECT_EQ("Pass", flyBy->title);
    EXPECT_NE(nullptr, item("Spot Cameras/Pass"));
    dialogs.spotMode = 9;
    EXPECT_THROW(cameras.EditCamera(Camera::kSpot), ZephrelException);
    EXPECT_THROW(cameras.EditCamera(Camera::kTower), ZephrelException) << "no tower camera is current";

    cameras.editSettings();
    EXPECT_EQ(3, cameras.settings().smoothTypePan);
    EXPECT_EQ("3", profile::readString(iniFile("Zephrel.ini"), "CAMERAS", "SmoothTypePan", ""));
}

TEST_F(CamerasTest, CamerasInTheSettingsFileCameraFilesAndFlights) {
    showModule("Zephrel Tower");
    cameras.newCamera(Camera::kTower); // Tower Camera 2
    const CameraList& towers = cameras.getCameraList(Camera::kTower);
    // A flight's cameras come and go with it and never reach the settings file.
    const std::string flight = iniFile("flight.flt");
    std::ofstream(flight) << "[ZephrelCamera.000]\nType=2\nTitle=Flight Tower\n"
                             "[ZephrelCamera.001]\nType=3\nSpotMode=4\nTitle=Flight Pass\n";
    const std::string path = flight;
    cameras.callback(FlightLoaded, reinterpret_cast<intptr_t>(path.c_str()), 0, 0);
    ASSERT_EQ(3u, towers.cameras.size());
    EXPECT_EQ(1, towers.cameras[2]->flightSet);
    cameras.callback(Stop, 0, 0, 0);
    const std::string ini = iniFile("Zephrel.ini");
    EXPECT_EQ("Tower Camera 2", profile::readString(ini, "Camera.001", "Title", ""));
    EXPECT_EQ("", profile::readString(ini, "Camera.002", "Title", "")) << "no flight camera";
    const std::string saved = iniFile("saved.flt");
    cameras.callback(FlightSaved, reinterpret_cast<intptr_t>(saved.c_str()), 0, 0);
    EXPECT_EQ("Flight Tower", profile::readString(saved, "ZephrelCamera.000", "Title", ""));
    EXPECT_EQ("Flight Pass", profile::readString(saved, "ZephrelCamera.001", "Title", ""));

    // A camera file of the kind: written, then read back in place of the kind's global cameras.
    dialogs.file = iniFile("towers.camtwr");
    cameras.saveCameraFile(Camera::kTower);
    EXPECT_EQ("Tower Camera 2", profile::readString(dialogs.file, "Camera.001", "Title", ""));
    EXPECT_EQ("", profile::readString(dialogs.file, "Camera.002", "Title", ""));
    cameras.loadCameraFile(Camera::kTower);
    EXPECT_EQ((std::vector<std::string>{"save 2", "load 2"}), dialogs.asked);
    ASSERT_EQ(3u, towers.cameras.size());
    EXPECT_EQ("Flight Tower", towers.cameras[0]->title) << "the flight's camera stays";
    EXPECT_EQ("Tower Camera 2", towers.cameras[2]->title);

    // At the next start the settings file's cameras come back (here beside those still there).
    cameras.callback(Stop, 0, 0, 0);
    cameras.callback(Start, 0, 0, 0);
    ASSERT_EQ(5u, towers.cameras.size());
    EXPECT_EQ("Tower Camera 1", towers.cameras[3]->title);
    EXPECT_EQ("Tower Camera 2", towers.cameras[4]->title);
    EXPECT_EQ(0, towers.cameras[4]->flightSet);
}

TEST_F(CamerasTest, EachAircraftKeepsItsOwnSetOfCameras) {
    showModule("Zephrel Spot");
    const CameraList& spots = cameras.getCameraList(Camera::kSpot);
    // The trainer's set: a camera moved into it by the manager's aircraft event.
    cameras.callback(AircraftLoaded, reinterpret_cast<intptr_t>("Trainer"), reinterpret_cast<intptr_t>("Trainer_152"), 0);
    cameras.newCamera(Camera::kSpot);
    ASSERT_EQ(2u, spots.cameras.size());
    dialogs.spotMode = 1;
    dialogs.spotScope = 2; // "Type:" Aircraft
    cameras.EditCamera(Camera::kSpot);
    // Another aircraft: the trainer's set is written under its name and leaves the lists.
    cameras.callback(AircraftLoaded, reinterpret_cast<intptr_t>("Jet"), reinterpret_cast<intptr_t>("Jet_737"), 0);
    const std::string ini = iniFile("Zephrel.ini");
    EXPECT_EQ("Pass", profile::readString(ini, "Camera.Trainer_152.000", "Title", ""));
    EXPECT_EQ(1u, spots.cameras.size());
    // Back to the trainer: its set comes back; closing the simulator writes the set in use.
    cameras.callback(AircraftLoaded, reinterpret_cast<intptr_t>("Trainer"), reinterpret_cast<intptr_t>("Trainer_152"), 0);
    ASSERT_EQ(2u, spots.cameras.size());
    EXPECT_EQ(2, spots.cameras[1]->flightSet);
    profile::deleteSection(ini, "Camera.Trainer_152.000");
    cameras.callback(SimClosing, 0, 0, 0);
    EXPECT_EQ("Pass", profile::readString(ini, "Camera.Trainer_152.000", "Title", ""));
}

} // namespace
