// What a marker does when the playback reaches it, against the stand-in simulator.

#include "app/MarkerFiring.h"

#include <gtest/gtest.h>

#include "support/FakeCameras.h"
#include "support/PlayerFixture.h"
#include "winsys/HeadlessScript.h"

namespace {

class MarkerFiringTest : public PlayerFixture {
protected:
    // The file of the sound playing now; empty when none plays.
    static std::string soundPlaying() {
        const auto sounds = win::headless::transcript().all<win::SoundEntry>();
        return sounds.empty() || !sounds.back().played ? "" : sounds.back().file;
    }
    Marker marker(uint32_t type, uint32_t flags, std::string text = "") {
        Marker m;
        m.type = type;
        m.flags = flags;
        m.text = std::move(text);
        return m;
    }
    FakeCameras cameras;
};

TEST_F(MarkerFiringTest, ASoundPlaysOnlyInTheKindsOfViewItNames) {
    const std::string wave = dir.file("chime.wav");
    std::ofstream(wave) << "RIFF";
    struct Case {
        uint32_t flags;
        bool inside;
        bool plays;
    };
    const Case cases[] = {
        {Marker::kInsideViews, true, true},
        {Marker::kInsideViews, false, false},
        {Marker::kOutsideViews, true, false},
        {Marker::kOutsideViews, false, true},
        {3, true, true},
        {3, false, true},
        {Marker::kChapter, false, false}, // neither kind named
    };
    MarkerFiring firing(&cameras);
    for (const Case& c : cases) {
        win::sndPlaySound(nullptr, 0);
        cameras.inside = c.inside;
        firing.fire(marker(Marker::PlaySound, c.flags, wave));
        EXPECT_EQ(c.plays ? wave : "", soundPlaying()) << c.flags << (c.inside ? " inside" : " outside");
    }
    // Without a camera manager every view is an outside one.
    MarkerFiring alone(nullptr);
    alone.fire(marker(Marker::PlaySound, Marker::kInsideViews, wave));
    EXPECT_EQ("", soundPlaying());
    alone.fire(marker(Marker::PlaySound, Marker::kOutsideViews, wave));
    EXPECT_EQ(wave, soundPlaying());
}

TEST_F(MarkerFiringTest, TextPauseAndCameraMarkersActOnTheSimulator) {
    MarkerFiring firing(&cameras);
    firing.fire(marker(Marker::DisplayText, Marker::kChapter | Marker::kScrolling | 7, "Final approach"));
    EXPECT_EQ("Final approach", sim().texts().messageLine().text);
    EXPECT_EQ(7u * 18, sim().texts().messageLine().ticksLeft);
    EXPECT_EQ(3, sim().texts().messageLine().kind) << "scrolling";

    firing.fire(marker(Marker::None, Marker::kChapter));
    firing.fire(marker(Marker::Pause, 0));
    sim().frame(); // the simulator takes the pause in its next frame
    EXPECT_TRUE(sim().paused());

    Marker camera = marker(Marker::SwitchCamera, 0);
    const Guid guid = Guid::create();
    camera.cameraId = guid.toBytes();
    firing.fire(camera);
    EXPECT_EQ(guid, cameras.selected);
    MarkerFiring(nullptr).fire(camera); // nothing to switch with
}

} // namespace
