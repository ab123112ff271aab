// Key presses in the stand-in simulator's main window, taken by the module's commands or passed on
// to the simulator.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/UI.h"
#include "app/Zephrel.h"
#include "host/FSinterface.h"
#include "support/PlayerFixture.h"
#include "ui/ModuleResources.h"
#include "winsys/Messages.h"

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
