// Key presses in the stand-in simulator's main window, taken by the module's commands or passed on
// to the simulator.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/UI.h"
#include "app/Zephrel.h"
#include "cameras/CameraSpotFollow.h"
#include "cameras/Cameras.h"
#include "host/HostState.h"
#include "host/FSinterface.h"
#include "support/PlayerFixture.h"
#include "ui/ModuleResources.h"
#include "winsys/HeadlessScript.h"
#include "winsys/Messages.h"
#include "winsys/WindowApi.h"

namespace {

constexpr int kEscape = win::VK_ESCAPE;

// The controller and the menu object as the module registers them, with a 300-second recording of
// the user aircraft to play.
class KeyDispatchTest : public PlayerFixture {
protected:
    // Starts with the lines added to [SETTINGS] and the sections after it.
    void start(const std::string& settings = "", const std::string& sections = "") {
        std::ofstream(settingsFile)
            << "[SETTINGS]\nShowRecDialog=0\nFileDialog=0\nEnableReplay=0\nTempDirectory="
            << dir.path().string() << "\n"
            << settings << sections;
        ModuleResources::registerDialogs();
        FSinterface::addCallback(&zephrel);
        FSinterface::addCallback(&ui);
        FSinterface::callback(Start);
        recording = writeFile("flight.zfl", {WrittenTrack(kTrainer, 0, 3000000)});
    }

    // A key pressed and let go in the main window, the down message given `downs` times (the
    // repeats of a held key).
    void press(int virtualKey, int downs = 1) {
        for (int i = 0; i < downs; ++i)
            sim().pressKey(virtualKey, true);
        sim().pressKey(virtualKey, false);
    }
    bool reachedSimulator(int virtualKey) {
        char down[32];
        std::snprintf(down, sizeof down, "down 0x%X", static_cast<unsigned>(virtualKey));
        const auto& keys = sim().keysReached();
        return std::find(keys.begin(), keys.end(), down) != keys.end();
    }
    uint32_t now() const { return zephrel.player()->now(); }

    std::string recording;
    // Outlive the module, which tells its listeners when it stops.
    Zephrel zephrel{dir.path().string()};
    UI ui{&zephrel, dir.path().string()};
};

TEST_F(KeyDispatchTest, KeysOfNoAvailableCommandGoOnToTheSimulator) {
    start();
    press(kEscape);
    EXPECT_TRUE(reachedSimulator(kEscape)) << "Esc with nothing running";
    press('V');
    EXPECT_TRUE(reachedSimulator('V')) << "a camera key without cameras";
    EXPECT_EQ(0, ui.onKey(0, true, false)) << "commands without a key (Record) are never pressed";
    EXPECT_EQ(0, ui.onKey(0, false, true));
}

TEST_F(KeyDispatchTest, ACodeBoundTwiceGoesToTheEarlierCommandOfTheDispatch) {
    start("", "[KEYCONFIG]\nRecord=27\n"); // Esc for both Record and Stop
    press(kEscape);
    ASSERT_TRUE(zephrel.isRecording());
    press(kEscape);
    EXPECT_TRUE(zephrel.isRecording()) << "Record comes before Stop, and refuses while recording";
    EXPECT_FALSE(reachedSimulator(kEscape));
}

TEST_F(KeyDispatchTest, HeldStepKeysStepOncePerPressAndTheirReleaseEndsTheSearch) {
    start("Search2=1\n"); // Down searches, Right and Left jump 15 s
    zephrel.playFile(recording, false);
    ASSERT_TRUE(zephrel.isUserPlayback());
    const uint32_t begin = now();

    press(win::VK_RIGHT, 4);
    EXPECT_EQ(begin + 150000, now());
    press(win::VK_RIGHT);
    press(win::VK_LEFT, 3);
    EXPECT_EQ(begin + 150000, now());

    sim().pressKey(win::VK_DOWN, true);
    sim().pressKey(win::VK_DOWN, true);
    EXPECT_EQ(15, zephrel.player()->searchSpeed());
    sim().pressKey(win::VK_DOWN, false);
    EXPECT_EQ(0, zephrel.player()->searchSpeed());
    for (int key : {win::VK_RIGHT, win::VK_LEFT, win::VK_DOWN})
        EXPECT_FALSE(reachedSimulator(key)) << key;
}

TEST_F(KeyDispatchTest, ShiftEscStopsAtOnceOnlyAUserPlaybackWhileEscLetsItRunOut) {
    start();
    const auto shiftEscape = [&] {
        sim().pressKey(win::VK_SHIFT, true);
        press(kEscape);
        sim().pressKey(win::VK_SHIFT, false);
    };
    zephrel.playFile(recording, true);
    ASSERT_TRUE(zephrel.isPlaying());
    shiftEscape();
    EXPECT_TRUE(zephrel.isPlaying()) << "traffic playback";
    EXPECT_TRUE(reachedSimulator(kEscape));
    press(kEscape);
    EXPECT_FALSE(zephrel.isPlaying()) << "Esc stops traffic at once";

    zephrel.playFile(recording, false);
    ASSERT_TRUE(zephrel.isUserPlayback());
    press(kEscape);
    ASSERT_TRUE(zephrel.isPlaying());
    EXPECT_EQ(zephrel.player()->end() - 10000, now()) << "runs out by itself";
    shiftEscape();
    EXPECT_FALSE(zephrel.isPlaying());
}

} // namespace

namespace {

// The camera keys and the middle button with the camera manager listening after the controller
// and the menu object, and the active view on the module's spot camera.
class CameraKeysTest : public PlayerFixture {
protected:
    void SetUp() override {
        PlayerFixture::SetUp();
        std::ofstream(settingsFile) << "[SETTINGS]\nEnableReplay=0\nTempDirectory=" << dir.path().string() << "\n";
        ModuleResources::registerDialogs();
        FSinterface::addCallback(&zephrel);
        FSinterface::addCallback(&ui);
        FSinterface::addCallback(&cameras);
        FSinterface::callback(Start);
        // The manager joins after the module has learnt the main view.
        cameras.callback(ViewAdded, 0, 0, 0);
        cameras.callback(ActiveViewChanged, 0, -1, 0);
        sim().createViews();
        sim().selectCamera("Zephrel Spot");
        sim().frame();
    }
    void press(int virtualKey, bool shift = false, bool ctrl = false) {
        win::setKeyDown(win::VK_SHIFT, shift);
        win::setKeyDown(win::VK_CONTROL, ctrl);
        sim().pressKey(virtualKey, true);
        sim().pressKey(virtualKey, false);
        win::setKeyDown(win::VK_SHIFT, false);
        win::setKeyDown(win::VK_CONTROL, false);
    }
    const CameraList& spots() const { return cameras.getCameraList(Camera::kSpot); }

    Zephrel zephrel{dir.path().string()};
    Cameras cameras{dir.path().string(), nullptr};
    UI ui{&zephrel, dir.path().string(), &cameras};
};

TEST_F(CameraKeysTest, NewNextAndPreviousCamerasByKey) {
    ASSERT_EQ(1u, spots().cameras.size()) << "made for the view's first frame";
    press('V', false, true); // New Camera
    ASSERT_EQ(2u, spots().cameras.size());
    EXPECT_EQ(1, spots().current[0]);
    press('V'); // Next Camera, round to the first
    EXPECT_EQ(0, spots().current[0]);
    press('V', true); // Previous Camera, round to the last
    EXPECT_EQ(1, spots().current[0]);
    EXPECT_TRUE(sim().keysReached().empty()) << "the module's keys stop at the module";
    // On the simulator's own camera the list keys are the simulator's.
    sim().selectCamera("Spot");
    sim().frame();
    press('V');
    EXPECT_EQ(1, spots().current[0]);
    EXPECT_FALSE(sim().keysReached().empty());
}

TEST_F(CameraKeysTest, TheMiddleButtonAndTheHeldKeyGiveTheMouseToTheCamera) {
    const win::HWND view = sim().viewWindow();
    win::pressMiddleButton(view, true);
    EXPECT_TRUE(hostState().mouseCapture);
    // The mouse at the right edge of the window turns the camera's view round to the back.
    win::RECT client{};
    win::GetClientRect(sim().mainWindow(), &client);
    win::moveMouse(view, {client.right - 1, client.bottom / 2});
    auto* follow = dynamic_cast<const CameraSpotFollow*>(spots().cameras[0].get());
    ASSERT_NE(nullptr, follow);
    EXPECT_NEAR(-3.14, follow->headingOffset, 0.02) << "the camera swings to the other side";
    win::pressMiddleButton(view, false);
    EXPECT_FALSE(hostState().mouseCapture);

    // Space held: the mouse is the camera's while the key is down.
    win::sendKey(sim().mainWindow(), win::VK_SPACE, true);
    EXPECT_TRUE(hostState().mouseCapture);
    win::sendKey(sim().mainWindow(), win::VK_SPACE, true); // a repeat
    EXPECT_TRUE(hostState().mouseCapture);
    win::sendKey(sim().mainWindow(), win::VK_SPACE, false);
    EXPECT_FALSE(hostState().mouseCapture);
}

} // namespace
