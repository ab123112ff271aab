// Sounds through SDL, here into its "dummy" device: a machine running tests has no sound card.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "desktop/WavPlayer.h"
#include "support/TempDir.h"

namespace {

TEST(DesktopWavPlayerTest, PlaysWaveFilesOneAtATimeAndRefusesWhatIsNone) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    desktop::WavPlayer player;
    const std::string chime = std::string(ZEPHREL_SOUNDS) + "/chime.wav";
    EXPECT_TRUE(player.play(chime));
    EXPECT_TRUE(player.play(chime)) << "a new sound takes the place of the one playing";
    player.stop();
    player.stop();

    TempDir dir;
    std::ofstream(dir.file("text.wav")) << "RIFF, but not really\n";
    EXPECT_FALSE(player.play(dir.file("text.wav")));
    EXPECT_FALSE(player.play(dir.file("missing.wav")));
    EXPECT_TRUE(player.play(chime)) << "a refused file leaves the player working";
}

} // namespace
