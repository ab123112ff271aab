// The player's clock over frames of the stand-in simulator: speed, search, jumps, pause, loop,
// the simulation rate it sets, the jump flag of the applied states, and the markers it fires.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>

#include "host/FSinterface.h"
#include "support/PlayerFixture.h"
#include "winsys/HeadlessScript.h"

namespace {

class PlayerClockTest : public PlayerFixture {
protected:
    // One jet from 0 to 60 s, with the first `selected` markers selected (all by default).
    void startLong(const std::vector<Marker>& markers = {}, const WrittenTrack& written = {kJet},
                   std::size_t selected = SIZE_MAX) {
        PlayList list = traffic(writeFile("long.zfl", {written}, markers), {0});
        for (uint32_t i = 0; i < std::min(selected, markers.size()); ++i)
            list.files[0].markers.push_back(i);
        player->start(list, true, 0);
    }
    void reset() {
        player->setSpeed(1);
        player->setSearchSpeed(0);
    }
};

TEST_F(PlayerClockTest, AdvancesByFrameTimeTimesSpeedOrSearchSpeed) {
    struct Case {
        const char* name;
        double frameSeconds;
        float speed;
        int32_t search;
        uint32_t from, expected;
    };
    const Case cases[] = {
        {"normal", kFrameSeconds, 1, 0, 300000, 300625},
        {"half speed truncates", kFrameSeconds, 0.5f, 0, 300000, 300312},
        {"three quarters", kFrameSeconds, 0.75f, 0, 300000, 300468},
        {"one second counts", 1.0, 1, 0, 300000, 310000},
        {"longer frames are ignored", 1.5, 1, 0, 300000, 300000},
        {"backwards", kFrameSeconds, -2, 0, 300000, 298750},
        {"search ignores speed", kFrameSeconds, 0.5f, 5, 300000, 303125},
        {"search backwards", kFrameSeconds, 1, -5, 300000, 296875},
        {"search backwards stops at 0", kFrameSeconds, 1, -5, 1000, 0},
        {"long frame while searching", 1.5, 1, 5, 300000, 300000},
    };
    startLong();
    frame();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The frame's length is reported in the frame after it.
        sim().setFrameStep(c.frameSeconds);
        sim().frame();
        sim().setFrameStep(kFrameSeconds);
        player->setSpeed(c.speed);
        player->setSearchSpeed(c.search);
        player->setTime(c.from);
        frame();
        EXPECT_EQ(c.expected, player->now());
        EXPECT_FALSE(player->isFinished());
        reset();
    }
}

TEST_F(PlayerClockTest, JumpsStayInTheRangeAndPlayingOnFinishes) {
    player->start(traffic(writeFile("short.zfl", {{kJet, 100000, 300000}}), {0}), true, 0);
    EXPECT_EQ(100000u, player->begin());
    EXPECT_EQ(300000u, player->end());
    EXPECT_EQ(100000u, player->now());
    struct Case {
        const char* name;
        std::optional<uint32_t> setTime;
        int32_t jump;
        uint32_t expected;
    };
    const Case cases[] = {
        {"before the beginning", 5, 0, 100000},      {"past the end", 1000000000, 0, 290000},
        {"jump back", 200000, -5000, 195000},        {"jump forward", 200000, 20000, 220000},
        {"jump below 0", 200000, INT32_MIN, 100000}, {"jump past the end", 200000, 95000, 290000},
        {"jump near the end", 280000, 5000, 285000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.setTime)
            player->setTime(*c.setTime);
        if (c.jump != 0)
            player->jump(c.jump);
        EXPECT_EQ(c.expected, player->now());
    }
    player->setTime(101000);
    player->setSearchSpeed(-5);
    frame();
    EXPECT_EQ(100000u, player->now()) << "held at the beginning";
    reset();

    player->setTime(290000);
    for (int i = 1; i <= 17; ++i) {
        frame();
        EXPECT_EQ(i == 17, player->isFinished()) << "frame " << i << " at " << player->now();
    }
}

TEST_F(PlayerClockTest, PausedClockStandsStillButAJumpIsApplied) {
    WrittenTrack written{kJet};
    written.latitudePerTick = 1000;
    startLong({}, written);
    frames(2); // created, then played
    sim().setPaused(true);
    const uint32_t now = player->now();
    Aircraft& jet = *flying(0);
    ZHostPosition moved = jet.position();
    moved.latitude += 12345;
    jet.setPosition(moved);
    frames(3);
    EXPECT_EQ(now, player->now());
    EXPECT_EQ(moved.latitude, jet.position().latitude) << "nothing applied while paused";
    player->setTime(200000);
    frame();
    EXPECT_EQ(200000u, player->now());
    EXPECT_EQ(written.latitudeAt(200000), jet.position().latitude);
}

TEST_F(PlayerClockTest, LoopWithEqualEndsHoldsEveryFrame) {
    startLong();
    player->setTime(200000);
    frame();
    player->setLoopIn();
    player->setLoopOut();
    player->setLoop(true);
    ASSERT_EQ(200625u, player->loopIn());
    ASSERT_FALSE(seen.loops.empty());
    const double fraction = 200625.0 / 600000;
    EXPECT_DOUBLE_EQ(fraction, seen.loops.back().in);
    EXPECT_DOUBLE_EQ(fraction, seen.loops.back().out);
    EXPECT_TRUE(seen.loops.back().on);
    for (int i = 0; i < 4; ++i) {
        frame();
        EXPECT_EQ(200625u, player->now());
    }
    player->toggleLoop();
    EXPECT_FALSE(player->loop());
    frame();
    EXPECT_EQ(201250u, player->now());
}

// The simulation rate follows speed and search as the settings ask; a state is applied with the
// jump flag when the gear legs are set along with the handle.
TEST_F(PlayerClockTest, SimulationRateAndJumpFlagFollowSpeedAndSearch) {
    struct Case {
        const char* name;
        float speed;
        int32_t search;
        bool forced, setSimRate, setSimRateSearch, limit;
        double rate;
        bool jump;
    };
    const Case cases[] = {
        {"normal", 1, 0, false, true, false, false, 1, false},
        {"after a jump", 1, 0, true, true, false, false, 1, true},
        {"backwards", -3, 0, false, true, false, false, 3, true},
        {"searching backwards", 1, -3, false, true, true, false, 3, true},
        {"speed 10", 10, 0, false, true, false, false, 10, false},
        {"above speed 10", 10.5f, 0, false, true, false, false, 10.5, true},
        {"search 10 with rate", 1, 10, false, true, true, false, 10, false},
        {"search above 10", 1, 11, false, true, true, false, 11, true},
        {"speed 2 without rate", 2, 0, false, false, false, false, 1, false},
        {"above 2 without rate", 2.5f, 0, false, false, false, false, 1, true},
        {"search 2 without rate", 1, 2, false, true, false, false, 1, false},
        {"search above 2 without rate", 1, 3, false, true, false, false, 1, true},
        {"speed 8 limited", 8, 0, false, true, false, true, 4, false},
        {"above 8 limited", 8.5f, 0, false, true, false, true, 4, true},
        {"search above 8 limited", 1, 9, false, true, true, true, 4, true},
    };
    WrittenTrack written{kJet};
    written.discFlags = DiscGroup::Gear;
    written.gear = 8191;
    startLong({}, written);
    EXPECT_DOUBLE_EQ(1.0, sim().rate());
    frame();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        general.setSimRate = general.setSimRateSearch = true;
        general.limitSimRate = false;
        reset();
        ASSERT_DOUBLE_EQ(1.0, sim().rate());
        general.setSimRate = c.setSimRate;
        general.setSimRateSearch = c.setSimRateSearch;
        general.limitSimRate = c.limit;
        player->setTime(300000);
        frame();
        player->setSpeed(c.speed);
        player->setSearchSpeed(c.search);
        EXPECT_DOUBLE_EQ(c.rate, sim().rate());
        EXPECT_EQ(c.speed, seen.speeds.back()) << "shown in the control window";
        if (c.forced)
            player->setTime(300000);
        sim().frame();
        Aircraft* jet = flying(0);
        ASSERT_NE(nullptr, jet);
        jet->setQuantity(HostNumbers::Quantity::GearLegPosition, 1, 1.0);
        player->frame();
        EXPECT_NEAR(c.jump ? 8191.0 / 16383 : 1.0, jet->quantity(HostNumbers::Quantity::GearLegPosition, 1),
                    1e-6);
    }
}

TEST_F(PlayerClockTest, MarkersFireInTheSecondAfterTheirTimeOnly) {
    constexpr uint32_t kAt = 100000;
    struct Case {
        const char* name;
        uint32_t from; // the clock after the first frame is 625 later
        float speed;
        int32_t search;
        int frames;
        std::optional<uint32_t> firedAt;
    };
    const Case cases[] = {
        {"played through", kAt - 3000, 1, 0, 6, kAt + 125},
        {"reached exactly", kAt - 3125, 1, 0, 6, kAt},
        {"crossed in the frame after a jump", kAt - 100, 1, 0, 6, {}},
        {"searching", kAt - 5000, 1, 3, 4, {}},
        {"9937 past in one frame", kAt - 1625, 17.5f, 0, 1, kAt + 9937},
        {"10000 past in one frame", kAt - 1625, 17.6f, 0, 1, {}},
    };
    startLong({marker(kAt, Marker::DisplayText, 5, "ten"), marker(kAt, Marker::None, 0, "comment"),
               marker(kAt, Marker::DisplayText, 5, "not selected")},
              {kJet}, 2);
    ASSERT_EQ(2u, player->markers().size());
    frame();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        seen.fired.clear();
        player->setTime(c.from);
        frame();
        EXPECT_TRUE(seen.fired.empty());
        player->setSpeed(c.speed);
        player->setSearchSpeed(c.search);
        std::optional<uint32_t> firedAt;
        for (int i = 0; i < c.frames; ++i) {
            const std::size_t before = seen.fired.size();
            frame();
            if (seen.fired.size() > before)
                firedAt = player->now();
        }
        EXPECT_EQ(c.firedAt, firedAt);
        ASSERT_EQ(c.firedAt ? 1u : 0u, seen.fired.size());
        if (c.firedAt) {
            EXPECT_EQ("ten", seen.fired[0].text);
        }
    }
}

TEST_F(PlayerClockTest, JumpToMarkerGoesFromChapterToChapter) {
    struct Case {
        uint32_t from;
        bool backwards;
        uint32_t target;
        bool fires;
    };
    const Case cases[] = {
        {120000, false, 200000, true}, {200000, false, 300000, true}, {300000, false, 590000, false},
        {590000, true, 300000, true},  {305000, true, 200000, true},  {110000, true, 0, false},
        {50000, true, 0, false},
    };
    startLong({marker(100000, Marker::DisplayText, Marker::kChapter, "one"),
               marker(200000, Marker::DisplayText, Marker::kChapter, "two"),
               marker(250000, Marker::DisplayText, 0, "no chapter"),
               marker(300000, Marker::DisplayText, Marker::kChapter, "three")});
    frame();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << (c.backwards ? " back" : " on"));
        player->setTime(c.from);
        frame();
        player->setTime(c.from);
        seen.fired.clear();
        player->jumpToMarker(c.backwards);
        EXPECT_EQ(c.target, player->now());
        ASSERT_EQ(c.fires ? 1u : 0u, seen.fired.size());
        if (c.fires) {
            EXPECT_EQ(c.target, seen.fired[0].time);
        }
        frame();
        EXPECT_EQ(c.fires ? 1u : 0u, seen.fired.size()) << "not again in the next frame";
        EXPECT_EQ(c.target == 590000, sim().paused()) << "paused at the end";
        sim().setPaused(false);
    }
}

} // namespace
