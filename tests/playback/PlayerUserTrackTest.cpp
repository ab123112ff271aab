// Changing the track that drives the user aircraft during playback, and its corrections.

#include <gtest/gtest.h>

#include <cmath>

#include "support/PlayerFixture.h"

namespace {

constexpr double kTwoTo32 = 4294967296.0;

class PlayerUserTrackTest : public PlayerFixture {
protected:
    // Three tracks, the first on the user aircraft: the jet beside it plays now, the beaver only
    // from 100 s on.
    void startThree(bool beaverHeld) {
        const std::string path = writeFile("three.zfl", {{kTrainer, 0, 60000, "", 3.9f},
                                                         {kJet, 0, 80000, "", 8.6f},
                                                         {kBeaver, 1000000, 1200000}});
        PlayList list = traffic(path, {0, 1, 2});
        list.files[0].tracks[2].hold = beaverHeld ? 1 : 0;
        list.userFile = 0;
        list.userTrack = 0;
        player->start(list, true, 0);
        frames(2);
    }
};

TEST_F(PlayerUserTrackTest, SwitchingGoesToTheNextTrackThatPlaysAndLeavesTheOldOneAsTraffic) {
    startThree(false);
    const uint32_t jetAi = player->trackAircraft(1);
    ASSERT_NE(nullptr, world().find(jetAi));
    EXPECT_EQ(nullptr, flying(2)) << "the beaver's span has not begun";

    player->switchUserTrack(false);
    EXPECT_EQ(1, player->userTrack());
    EXPECT_EQ(nullptr, world().find(jetAi)) << "the jet's AI aircraft makes way for the user aircraft";
    EXPECT_EQ(kJet, user().type().title);
    EXPECT_EQ(user().id(), player->trackAircraft(1));
    EXPECT_EQ(0, player->trackAltCorrection(1)) << "same CG height as recorded";
    EXPECT_EQ(0u, player->begin());
    EXPECT_EQ(80000u, player->end()) << "the range follows the new user track";
    EXPECT_EQ(Player::kNoAircraft, player->trackAircraft(0));
    frame();
    ASSERT_NE(nullptr, flying(0)) << "the former user track is flown as traffic";
    EXPECT_EQ(kTrainer, flying(0)->type().title);
    EXPECT_EQ(1u, player->aircraft().size());

    // The beaver does not play now: forwards wraps around to the trainer, and so does backwards.
    player->switchUserTrack(false);
    EXPECT_EQ(0, player->userTrack());
    player->switchUserTrack(true);
    EXPECT_EQ(1, player->userTrack());
}

TEST_F(PlayerUserTrackTest, AHeldTrackCanTakeOverAndTheRangeThenCoversAllTracks) {
    startThree(true);
    player->switchUserTrack(true); // backwards from the first: the held beaver
    EXPECT_EQ(2, player->userTrack());
    EXPECT_EQ(kBeaver, user().type().title);
    EXPECT_EQ(0u, player->begin());
    EXPECT_EQ(1200000u, player->end());
}

TEST_F(PlayerUserTrackTest, CorrectionsAddUpAndAReloadedAircraftKeepsTheTrack) {
    startThree(false);
    const int64_t altitudeBefore = user().position().altitude;
    player->adjustAltitude(0.01);
    player->adjustAltitude(0.01);
    player->adjustPitch(0.1);
    EXPECT_EQ(2 * static_cast<int64_t>(0.01 * kTwoTo32), player->trackAltCorrection(0));
    EXPECT_EQ(static_cast<int32_t>(-0.1 * kTwoTo32 / 360), player->trackPitchCorrection(0));
    player->setTime(player->now()); // the same state again, now with the corrections
    frame();
    EXPECT_EQ(altitudeBefore + 2 * static_cast<int64_t>(0.01 * kTwoTo32), user().position().altitude);

    // The user loads the jet: the user track flies it, no AI aircraft is made for it.
    ASSERT_TRUE(sim().changeUserAircraft(kJet));
    frame();
    EXPECT_EQ(user().id(), player->trackAircraft(0));
    EXPECT_EQ(1u, player->aircraft().size()) << "only the jet track's AI aircraft";
    player->updateCorrections();
    // The jet sits 4.7 ft higher on its CG than the trainer the track was recorded with.
    EXPECT_EQ(static_cast<int64_t>(std::trunc((8.6f - 3.9f) * 0.3048 * kTwoTo32)), player->trackAltCorrection(0));
    EXPECT_EQ(0, player->trackPitchCorrection(0));
}

} // namespace
