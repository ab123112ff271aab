// The player's tracks in the stand-in simulator: AI aircraft over their spans, the user aircraft
// taken over and given back, several files and offsets, and what starting and stopping do.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <filesystem>
#include <set>

#include "services/SimOptions.h"
#include "support/Errors.h"
#include "support/OldFormatFiles.h"
#include "support/PlayerFixture.h"
#include "support/ZflTestFiles.h"
#include "winsys/WinSys.h"

namespace {

constexpr double kTwoTo32 = 4294967296.0;

// A refusal of a misused call: code 16 with its detail in the log.
void expectRefused(const std::optional<ZephrelException>& e, uint32_t severity, const std::string& function,
                   const std::string& detail) {
    ASSERT_TRUE(e.has_value()) << "no exception";
    EXPECT_EQ(ErrorCode::Unexpected, e->code);
    EXPECT_EQ(severity, e->severity);
    EXPECT_EQ(function, e->function);
    EXPECT_NE(std::string::npos, e->logText.find(detail)) << e->logText;
}

class PlayerTrackTest : public PlayerFixture {
protected:
    std::set<uint32_t> trackIds() {
        std::set<uint32_t> ids;
        for (std::size_t t = 0; t < player->trackCount(); ++t)
            if (flying(t) != nullptr && player->trackAircraft(t) != user().id())
                ids.insert(player->trackAircraft(t));
        return ids;
    }
    std::set<uint32_t> playerSet() { return {player->aircraft().begin(), player->aircraft().end()}; }
};

TEST_F(PlayerTrackTest, AiAircraftLiveInsideTheirSpansUnlessHeld) {
    WrittenTrack whole{kJet, 0, 300000};
    WrittenTrack middle{kBeaver, 100000, 200000, "C-ZZZZ"};
    middle.latitudePerTick = 1000;
    PlayList list = traffic(writeFile("spans.zfl", {whole, middle, middle}), {0, 1, 2});
    list.files[0].tracks[2].hold = 1;
    player->start(list, true, 0);
    frame();
    ASSERT_NE(nullptr, flying(0));
    EXPECT_EQ(Player::kNoAircraft, player->trackAircraft(1)) << "before its span";
    ASSERT_NE(nullptr, flying(2)) << "held";
    frame();
    EXPECT_EQ(middle.latitudeAt(100000), latitudeOf(2)) << "its first state";

    player->setTime(98125);
    frames(2);
    EXPECT_EQ(99375u, player->now());
    EXPECT_EQ(Player::kNoAircraft, player->trackAircraft(1));
    frame();
    ASSERT_EQ(100000u, player->now());
    Aircraft* entered = flying(1);
    ASSERT_NE(nullptr, entered) << "created in the frame the span begins";
    EXPECT_EQ("C-ZZZZ", entered->tailNumber());
    EXPECT_NE(middle.latitudeAt(100000), entered->position().latitude) << "nothing applied when created";
    frame();
    EXPECT_EQ(middle.latitudeAt(100625), entered->position().latitude);
    EXPECT_EQ(trackIds(), playerSet());
    EXPECT_EQ(3u, player->aircraft().size());

    player->setTime(199375);
    frame();
    ASSERT_EQ(200000u, player->now());
    const uint32_t id = player->trackAircraft(1);
    ASSERT_NE(nullptr, world().find(id)) << "still inside at its last time";
    frame();
    EXPECT_EQ(Player::kNoAircraft, player->trackAircraft(1));
    EXPECT_EQ(nullptr, world().find(id)) << "removed after its span";
    EXPECT_EQ(middle.latitudeAt(200000), latitudeOf(2)) << "held at its last state";
    EXPECT_EQ(trackIds(), playerSet());
    EXPECT_EQ(2u, player->aircraft().size());
    EXPECT_TRUE(sim().crashDetection()) << "traffic alone leaves the simulator's option";
}

TEST_F(PlayerTrackTest, AircraftLimitFailedCreationAndVanishedAircraft) {
    general.maxAircraft = 2;
    PlayList list = traffic(writeFile("four.zfl", {{kJet}, {kJet}, {kBeaver}, {kJet}}), {0, 1, 2, 3});
    list.files[0].tracks[0].title = "No Such Aircraft";
    player->start(list, true, 0);
    frames(3);
    EXPECT_EQ(Player::kCreationFailed, player->trackAircraft(0));
    ASSERT_NE(nullptr, flying(1));
    ASSERT_NE(nullptr, flying(2));
    EXPECT_EQ(Player::kNoAircraft, player->trackAircraft(3)) << "over the limit";
    EXPECT_EQ(trackIds(), playerSet());

    const uint32_t vanished = player->trackAircraft(1);
    world().remove(vanished);
    frame();
    ASSERT_NE(nullptr, flying(1)) << "created again";
    EXPECT_NE(vanished, player->trackAircraft(1));
    EXPECT_EQ(Player::kNoAircraft, player->trackAircraft(3));
    EXPECT_EQ(trackIds(), playerSet());

    general.maxAircraft = 0;
    player->setTime(400000); // a jump does not retry a failed track
    frame();
    EXPECT_NE(nullptr, flying(3));
    EXPECT_EQ(Player::kCreationFailed, player->trackAircraft(0));
    EXPECT_EQ(3u, player->aircraft().size());
}

TEST_F(PlayerTrackTest, UserTrackFliesTheUserAircraftAndItIsGivenBack) {
    sim().setTrafficPercent(30);
    WrittenTrack jet{kJet, 100000, 200000, "HB-JZZ", 8.6f - 1.0f};
    const std::string path = writeFile("user.zfl", {jet, {kBeaver, 0, 400000}});
    PlayList list = traffic(path, {0, 1});
    list.userFile = 0;
    list.userTrack = 0;
    const uint32_t trainer = user().id();
    seen.dataShown = true;
    player->start(list, true, 0);
    EXPECT_TRUE(player->isUserPlayed());
    EXPECT_EQ(0, player->userTrack());
    EXPECT_EQ(kJet, user().type().title);
    EXPECT_NE(trainer, user().id());
    EXPECT_EQ("HB-JZZ", user().tailNumber());
    EXPECT_EQ(user().id(), player->trackAircraft(0));
    EXPECT_EQ(100000u, player->begin()) << "the range follows the user track";
    EXPECT_EQ(200000u, player->end());
    EXPECT_FALSE(sim().crashDetection());
    EXPECT_EQ(0u, sim().options().airlinePercent());

    // 1 ft less than the jet's static CG height: 0.3048 m higher.
    const int64_t raised = static_cast<int64_t>(0.3048 * kTwoTo32);
    EXPECT_EQ(raised, player->trackAltCorrection(0));
    frame();
    EXPECT_EQ(WrittenTrack::kAltitude + raised, user().position().altitude);
    EXPECT_EQ(0, user().position().pitch);
    EXPECT_FALSE(player->aircraft().count(user().id()));
    ASSERT_EQ(1u, seen.data.size()) << "the data window shows the user track";
    EXPECT_EQ(WrittenTrack::kAltitude + raised, copyOf(seen.data[0].altitude));

    expectRefused(thrown([&] { player->start(list, true, 0); }), 0, "Player::start", "Invalid call");

    frame();
    const uint32_t beaver = player->trackAircraft(1);
    ASSERT_NE(nullptr, world().find(beaver));
    player->stop(true);
    EXPECT_EQ(nullptr, world().find(beaver));
    EXPECT_TRUE(sim().crashDetection());
    EXPECT_EQ(30u, sim().options().airlinePercent());
    EXPECT_FALSE(player->isStarted());
    EXPECT_FALSE(player->isUserPlayed());
}

// A first-generation recording plays only when the user lets it be converted; declined, it is
// left out as it is.
TEST_F(PlayerTrackTest, AFirstGenerationRecordingPlaysOnceItIsConverted) {
    const std::string old = dir.file("old.zfl");
    writeBytes(old, oldformat::singleTrackFile(oldformat::kVersion5, 0, 0, 0, oldformat::samples(3)));
    for (const bool convert : {false, true}) {
        SCOPED_TRACE(convert ? "converted" : "declined");
        seen.convertOld = convert;
        seen.oldRecordings.clear();
        newPlayer();
        player->start(traffic(old, {0}), true, 0);
        EXPECT_EQ(std::vector<std::string>{old}, seen.oldRecordings);
        EXPECT_EQ(convert ? 1u : 0u, player->trackCount());
        EXPECT_EQ(convert, std::filesystem::exists(dir.file("old.v1.zfl"))) << "the old file kept beside it";
        if (player->isStarted())
            player->stop(true);
    }
}

// "DisableLiveAI" takes the simulator's own traffic away while recorded aircraft play, with or
// without a track on the user aircraft, and stopping brings it back.
TEST_F(PlayerTrackTest, LiveTrafficMakesWayForEveryPlaybackTheSettingCovers) {
    const std::string path = writeFile("two.zfl", {{kJet}, {kBeaver}});
    const struct {
        const char* name;
        bool userTrack;
        bool disableLiveAI;
    } cases[] = {{"traffic only", false, true}, {"on the user aircraft", true, true},
                 {"traffic only, kept", false, false}, {"on the user aircraft, kept", true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim().setTrafficPercent(30);
        general.disableLiveAI = c.disableLiveAI;
        newPlayer();
        PlayList list = traffic(path, {0, 1});
        if (c.userTrack)
            list.userFile = list.userTrack = 0;
        player->start(list, true, 0);
        frame();
        EXPECT_EQ(c.disableLiveAI ? 0u : 30u, sim().options().airlinePercent());
        player->stop(true);
        EXPECT_EQ(30u, sim().options().airlinePercent());
    }
}

// The user aircraft before and after playback, and the flight saved to put it back.
TEST_F(PlayerTrackTest, UserAircraftLoadedAndRestored) {
    struct Case {
        const char* name;
        std::string title, titleOverride, tailOverride;
        bool loadAircraft, hold, restore, noRestoreAtStart, noRestoreAtStop;
        std::string flown, tailNumber, afterwards;
    };
    const Case cases[] = {
        {"titles differ in case only", "trainer 152 AEROBAT", "", "", true, false, false, false, false,
         kTrainer, "N1", kTrainer},
        {"not loaded", kJet, "", "", false, false, false, false, false, kTrainer, "N1", kTrainer},
        {"overrides", kJet, kBeaver, "C-OVR", true, false, false, false, false, kBeaver, "C-OVR", kBeaver},
        {"held", kJet, "", "", true, true, false, false, false, kJet, "N1", kJet},
        {"restored", kJet, "", "", true, false, true, false, false, kJet, "N1", kTrainer},
        {"not saved", kJet, "", "", true, false, true, true, false, kJet, "N1", kJet},
        {"not restored", kJet, "", "", true, false, true, false, true, kJet, "N1", kJet},
    };
    const std::string saved = (dir.path() / "ZephrelTempRestore.flt").string();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(sim().changeUserAircraft(kTrainer));
        sim().frame();
        std::filesystem::remove(saved);
        const uint32_t before = user().id();
        general.loadAircraft = c.loadAircraft;
        general.restoreAfterPlay = c.restore;
        PlayList list =
            traffic(writeFile("user.zfl", {{c.title, 100000, 200000, "N1"}, {kJet, 50000, 400000}}), {0, 1});
        list.files[0].tracks[0].title = c.titleOverride;
        list.files[0].tracks[0].tailNumber = c.tailOverride;
        list.files[0].tracks[0].hold = c.hold ? 1 : 0;
        list.userFile = 0;
        list.userTrack = 0;
        newPlayer();
        player->start(list, c.noRestoreAtStart, 0);
        EXPECT_EQ(c.flown, user().type().title);
        EXPECT_EQ(c.flown == kTrainer, user().id() == before) << "loaded only when the title differs";
        EXPECT_EQ(c.tailNumber, user().tailNumber());
        EXPECT_EQ(user().id(), player->trackAircraft(0));
        EXPECT_EQ(c.hold ? 50000u : 100000u, player->begin());
        EXPECT_EQ(c.hold ? 400000u : 200000u, player->end());
        const bool savesFlight = c.restore && !c.noRestoreAtStart;
        EXPECT_EQ(savesFlight, std::filesystem::exists(saved));
        if (savesFlight) {
            EXPECT_NE(std::string::npos, readText(saved).find(kTrainer));
        }
        frames(2);
        player->stop(c.noRestoreAtStop);
        EXPECT_EQ(c.afterwards, user().type().title);
    }
}

TEST_F(PlayerTrackTest, TwoFilesPlayInStepWithTheirOffsets) {
    WrittenTrack a{kJet, 0, 300000};
    a.latitudePerTick = 1000;
    WrittenTrack b{kBeaver, 0, 300000};
    b.latitudePerTick = -700;
    PlayList first = traffic(writeFile("a.zfl", {a}, {marker(100000, Marker::DisplayText, 5, "a")}), {0});
    first.files[0].markers = {0};
    PlayList second = traffic(writeFile("b.zfl", {b}, {marker(100000, Marker::DisplayText, 5, "b")}), {0});
    second.files[0].timeOffset = 50000;
    second.files[0].tracks[0].timeOffset = 12500;
    second.files[0].markers = {0};
    player->start(first, true, 0);
    frames(2);
    player->start(second, true, 0); // added to the running playback
    EXPECT_EQ(1250u, player->now());
    EXPECT_EQ(0u, player->begin());
    EXPECT_EQ(362500u, player->end());
    ASSERT_EQ(2u, player->markers().size());
    EXPECT_EQ(100000u, player->markers()[0].time);
    EXPECT_EQ(150000u, player->markers()[1].time) << "shifted by its file's offset";

    frame();
    EXPECT_EQ(Player::kNoAircraft, player->trackAircraft(1)) << "its span begins at 62500";
    player->setTime(200000);
    frames(2);
    ASSERT_EQ(201250u, player->now());
    EXPECT_EQ(a.latitudeAt(201250), latitudeOf(0));
    EXPECT_EQ(b.latitudeAt(201250 - 62500), latitudeOf(1));
}

TEST_F(PlayerTrackTest, PositionOffsetsMoveTheAircraft) {
    struct Case {
        const char* name;
        float x, y, z;
        bool rotateHeading;
        double east, up, north; // metres
        double tolerance;       // metres: the rotation is single precision
    };
    const Case cases[] = {
        {"none", 0, 0, 0, false, 0, 0, 0, 0},
        {"unrotated", 30, 5, -20, false, 30, 5, -20, 0},
        // Heading east: forward is east, right is south.
        {"turned with the heading", 30, 5, -20, true, -20, 5, -30, 1e-4},
    };
    WrittenTrack east{kJet};
    east.heading = 0x40000000u;
    east.cg = 8.6f; // the jet's own: no altitude correction
    PlayList list = traffic(writeFile("offsets.zfl", {east}), {});
    for (const Case& c : cases) {
        PlayTrack track = playTrack(0);
        track.offsetX = c.x, track.offsetY = c.y, track.offsetZ = c.z;
        track.rotateHeading = c.rotateHeading ? 1 : 0;
        list.files[0].tracks.push_back(track);
    }
    player->start(list, true, 0);
    frames(2);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        ASSERT_NE(nullptr, flying(i));
        const ZHostPosition at = flying(i)->position();
        const int64_t latitude = WrittenTrack::kLatitude + static_cast<int64_t>(c.north * kTwoTo32);
        const double perEastMetre =
            460305528975.90894 / std::cos(static_cast<double>(latitude) * 3.6566552834932875e-17);
        const int64_t longitude = WrittenTrack::kLongitude + static_cast<int64_t>(c.east * perEastMetre);
        const double metres = c.tolerance * kTwoTo32 + 2;
        EXPECT_NEAR(static_cast<double>(latitude), static_cast<double>(at.latitude), metres);
        EXPECT_NEAR(static_cast<double>(longitude), static_cast<double>(at.longitude),
                    c.tolerance * perEastMetre + 2);
        EXPECT_NEAR(static_cast<double>(WrittenTrack::kAltitude + static_cast<int64_t>(c.up * kTwoTo32)),
                    static_cast<double>(at.altitude), metres);
        EXPECT_EQ(0x40000000u, at.heading);
    }
}

// What the user is asked at the end goes through the player's prompts: every marker the playback
// had, those of the files and those set during it; the AI aircraft are gone by then.
TEST_F(PlayerTrackTest, StopOffersTheMarkersOfThePlaybackAfterTheAircraftAreGone) {
    const std::string path =
        writeFile("traffic.zfl", {{kJet}}, {marker(10000, Marker::DisplayText, 5, "file")});
    PlayList list = traffic(path, {0});
    list.files[0].markers = {0};
    player->start(list, true, 0);
    frames(2);
    const uint32_t jet = player->trackAircraft(0);
    ASSERT_NE(nullptr, world().find(jet));
    player->addMarker(marker(20000, Marker::DisplayText, 7, "set", 1));
    EXPECT_TRUE(seen.offered.empty());
    bool jetGone = false;
    seen.onOffer = [&] { jetGone = world().find(jet) == nullptr; };
    player->stop(true);
    EXPECT_TRUE(jetGone) << "offered once the traffic is gone";
    ASSERT_EQ(1u, seen.offered.size());
    const std::vector<Marker>& offered = seen.offered[0];
    ASSERT_EQ(2u, offered.size());
    EXPECT_EQ("file", offered[0].text);
    EXPECT_EQ(10000u, offered[0].time);
    EXPECT_EQ(0, offered[0].include) << "from the file";
    EXPECT_EQ("set", offered[1].text);
    EXPECT_EQ(20000u, offered[1].time);
    EXPECT_EQ(1, offered[1].include) << "set during the playback";
    EXPECT_TRUE(player->markers().empty());
    EXPECT_FALSE(player->isStarted());
}

TEST_F(PlayerTrackTest, RefusedStartsAndStops) {
    expectRefused(thrown([&] { player->stop(true); }), 0, "Player::stop", "Invalid call");

    const std::string path = writeFile("one.zfl", {{kJet}});
    const std::pair<int32_t, int32_t> badIndices[] = {{1, 0}, {0, 1}};
    for (const auto& [file, track] : badIndices) {
        SCOPED_TRACE(testing::Message() << file << " " << track);
        PlayList list = traffic(path, {0});
        list.userFile = file;
        list.userTrack = track;
        newPlayer();
        expectRefused(thrown([&] { player->start(list, true, 0); }), 2, "Player::start",
                      "Invalid user aircraft track or file index");
        EXPECT_EQ(kTrainer, user().type().title);
    }

    newPlayer();
    player->start(PlayList{{PlayFile{path, 0, {}, {}}}, -1, -1}, true, 0);
    EXPECT_FALSE(player->isStarted()) << "no track selected";

    ASSERT_TRUE(win::RegisterClass(win::WNDCLASS{0, win::DefWindowProc, nullptr, nullptr, "FS98FLOAT"}));
    ASSERT_NE(nullptr, win::CreateWindowEx(0, "FS98FLOAT", "Contacts", 0, 0, 0, 100, 100, nullptr, 0, nullptr,
                                           nullptr));
    player->start(traffic(path, {0}), true, 0);
    frame();
    EXPECT_FALSE(player->isStarted());
    EXPECT_EQ(0u, player->trackCount());
    EXPECT_EQ(1, seen.multiplayerRefusals);
}

// The recorded static CG height corrects the altitude by the difference to the aircraft that
// flies the track; a height no aircraft has (a damaged header) corrects nothing.
TEST_F(PlayerTrackTest, TheAltitudeIsCorrectedByTheDifferenceInStaticCgHeightWhenTheRecordedOneIsPlausible) {
    const struct {
        float recorded; // feet; the jet's own is 8.6
        double metres;
    } cases[] = {{8.6f - 1.0f, 0.3048},
                 {8.6f + 2.0f, -0.6096},
                 {std::numeric_limits<float>::quiet_NaN(), 0},
                 {std::numeric_limits<float>::infinity(), 0},
                 {-3e38f, 0},
                 {5000.0f, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.recorded);
        newPlayer();
        const std::string path = writeFile("cg.zfl", {{kJet, 0, 100000, "", c.recorded}});
        player->start(traffic(path, {0}), true, 0);
        frame();
        EXPECT_NEAR(c.metres * kTwoTo32, static_cast<double>(player->trackAltCorrection(0)), 2.0);
        player->stop(true);
    }
}

} // namespace
