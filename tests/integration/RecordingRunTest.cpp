// The recorder inside the simulator: the recorder add-on flies data/scenarios/record-circuit.scn (a
// circuit among live traffic, with a pause and a stretch at double rate) and the recording it
// writes at the end of the run is read back.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <sstream>
#include <tuple>

#include "SimRun.h"
#include "common/Ticks.h"
#include "common/ZflFile.h"
#include "settings/Settings.h"
#include "support/Packed.h"
#include "support/RecordedFile.h"
#include "support/TempDir.h"

namespace {

// The scenario keeps the default frame step of 1/30 s; the recorder truncates it to whole ticks.
constexpr double kFramesPerSecond = 30;
constexpr auto kFrameTicks = static_cast<uint32_t>(kTicksPerSecond / kFramesPerSecond);

struct ScenarioClock {
    double ticks = 0; // the recorder's clock at the end of the run
    double highestRate = 1;
};

// The scenario's duration, pauses and rates turned into the recorder's clock: each frame that is
// not paused adds its frame time in whole ticks, times the rate, truncated again.
ScenarioClock scenarioClock(const std::string& scenario) {
    std::istringstream lines(scenario);
    double duration = 0;
    std::vector<std::tuple<double, std::string, std::string>> changes;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string keyword, action, value;
        double time = 0;
        words >> keyword;
        if (keyword == "duration")
            words >> duration;
        else if (keyword == "at" && words >> time >> action >> value &&
                 (action == "pause" || action == "rate"))
            changes.emplace_back(time, action, value);
    }
    changes.emplace_back(duration, "end", "");
    std::stable_sort(changes.begin(), changes.end(),
                     [](const auto& a, const auto& b) { return std::get<0>(a) < std::get<0>(b); });
    ScenarioClock clock;
    double from = 0, rate = 1;
    bool paused = false;
    for (const auto& [time, action, value] : changes) {
        if (!paused)
            clock.ticks += (time - from) * kFramesPerSecond * std::trunc(kFrameTicks * rate);
        from = time;
        if (action == "pause")
            paused = value == "on";
        else if (action == "rate")
            rate = std::stod(value);
        clock.highestRate = std::max(clock.highestRate, rate);
    }
    return clock;
}

// Groups the trainer lacks (spoilers, retractable gear) and groups it has, for the user; for the
// traffic only groups that every aircraft has.
RecordingSettings recordingSettings() {
    RecordingSettings settings;
    settings.interval = 2500;
    settings.intervalAI = 10000;
    settings.recordAI = true;
    settings.contFlags = ContGroup::FlightControls | ContGroup::Throttles | ContGroup::Propellers |
                         ContGroup::Mixtures | ContGroup::Spoilers | ContGroup::Airspeeds;
    settings.discFlags =
        DiscGroup::Flaps | DiscGroup::Gear | DiscGroup::Lights | DiscGroup::ParkingBrake | DiscGroup::Engines;
    settings.contFlagsAI = ContGroup::FlightControls | ContGroup::Throttles | ContGroup::Airspeeds;
    settings.discFlagsAI = DiscGroup::Lights | DiscGroup::ParkingBrake | DiscGroup::Engines;
    return settings;
}

std::vector<RecordedTrack> readTracks(const std::string& path) {
    return readRecordedFile(path).tracks;
}

class RecordingRunTest : public ::testing::Test {
protected:
    // One run for all cases: a few minutes of simulated time among twenty aircraft.
    static void SetUpTestSuite() {
        folder = std::make_unique<TempDir>();
        const std::string settingsFile = folder->file("recorder.ini");
        GeneralSettings general;
        general.maxAircraft = 1000;
        general.tempDirectory = temporaryFolder().string();
        std::filesystem::create_directories(temporaryFolder());
        writeGeneralSettings(settingsFile, general);
        writeRecordingSettings(settingsFile, RecordingBlock::Recording, recording);

        SimRun::Options options;
        options.addon = ZEPHREL_RECORDER_ADDON;
        options.scenarioActions = scenario;
        options.environment = {{"ZEPHREL_RECORDER_INI", settingsFile},
                               {"ZEPHREL_RECORDER_OUT", recordingFile()}};
        run = std::make_unique<SimRun>(options);
        if (std::filesystem::exists(recordingFile()))
            tracks = readTracks(recordingFile());
    }
    static void TearDownTestSuite() {
        run.reset();
        folder.reset();
    }
    void SetUp() override { ASSERT_GE(tracks.size(), 1u) << run->output(); }

    static std::filesystem::path temporaryFolder() { return folder->path() / "temp"; }
    static std::string recordingFile() { return folder->file("circuit.zfl"); }
    static const RecordedTrack& user() { return tracks.front(); }

    static inline const RecordingSettings recording = recordingSettings();
    static inline const std::string scenario = readText(ZEPHREL_RECORD_SCENARIO);
    static inline std::unique_ptr<TempDir> folder;
    static inline std::unique_ptr<SimRun> run;
    static inline std::vector<RecordedTrack> tracks;
};

TEST_F(RecordingRunTest, TheRunEndsWithTheRecordingWrittenAndTheTemporaryFilesGone) {
    EXPECT_EQ(run->exitCode(), 0) << run->output();
    EXPECT_EQ(run->output().find("recorder add-on:"), std::string::npos) << run->output();
    EXPECT_NE(run->output().find("errors shown: 0\n"), std::string::npos) << run->output();
    EXPECT_TRUE(std::filesystem::is_empty(temporaryFolder()));
}

TEST_F(RecordingRunTest, TheUserTrackComesFirstWithItsGroupsAndAloneCarriesTheDigest) {
    EXPECT_STREQ(user().info.title, "Trainer 152 Aerobat");
    EXPECT_EQ(copyOf(user().info.format.nEngines), 1);
    EXPECT_EQ(copyOf(user().info.format.ContFlags), recording.contFlags & ~ContGroup::Spoilers);
    EXPECT_EQ(copyOf(user().info.format.DiscFlags), recording.discFlags & ~DiscGroup::Gear);
    EXPECT_EQ(user().info.originalRecording, 1);
    for (std::size_t t = 1; t < tracks.size(); ++t) {
        EXPECT_EQ(copyOf(tracks[t].info.format.ContFlags), recording.contFlagsAI) << tracks[t].info.title;
        EXPECT_EQ(copyOf(tracks[t].info.format.DiscFlags), recording.discFlagsAI) << tracks[t].info.title;
        EXPECT_EQ(tracks[t].info.originalRecording, 0) << tracks[t].info.title;
    }
}

// A sample is taken in the first frame after each multiple of the interval on the recorder's
// clock, which stands still while paused: one sample per interval, no gap, no burst. The
// discrete records are stored with samples, in time order.
TEST_F(RecordingRunTest, EveryTrackIsSampledOncePerIntervalOfItsClass) {
    for (std::size_t t = 0; t < tracks.size(); ++t) {
        const RecordedTrack& track = tracks[t];
        const auto interval = static_cast<uint32_t>(t == 0 ? recording.interval : recording.intervalAI);
        SCOPED_TRACE(std::string("track ") + std::to_string(t + 1) + " " + track.info.title);
        ASSERT_FALSE(track.contTimes.empty());
        const uint32_t firstSlot = (track.contTimes.front() - 1) / interval;
        if (t == 0) {
            EXPECT_EQ(firstSlot, 0u);
        }
        for (std::size_t i = 0; i < track.contTimes.size(); ++i)
            ASSERT_EQ((track.contTimes[i] - 1) / interval, firstSlot + i) << "sample " << i;
        for (std::size_t i = 0; i < track.disc.size(); ++i) {
            const uint32_t time = track.disc[i].timestamp;
            EXPECT_TRUE(std::binary_search(track.contTimes.begin(), track.contTimes.end(), time)) << time;
            if (i > 0) {
                EXPECT_GT(time, copyOf(track.disc[i - 1].timestamp));
            }
        }
    }
}

// The clock measures simulated time: the pause left out, the stretch at double rate counted twice.
TEST_F(RecordingRunTest, TheUserTrackSpansTheSimulatedTimeOfTheRun) {
    const ScenarioClock clock = scenarioClock(scenario);
    // Actions are taken in the frame at or after their time, a few frames at the highest rate.
    const double frames = 10 * std::trunc(kFrameTicks * clock.highestRate);
    EXPECT_EQ(user().contTimes.front(), kFrameTicks);
    EXPECT_GT(user().contTimes.back(), clock.ticks - recording.interval - frames);
    EXPECT_LT(user().contTimes.back(), clock.ticks + frames);
}

TEST_F(RecordingRunTest, TrafficThatAppearsAndDisappearsHasTracksOfItsOwn) {
    ASSERT_GT(tracks.size(), 2u);
    const auto intervalAI = static_cast<uint32_t>(recording.intervalAI);
    const bool appeared = std::any_of(tracks.begin() + 1, tracks.end(),
                                      [&](const RecordedTrack& t) { return t.contTimes.front() > intervalAI; });
    const bool disappeared = std::any_of(tracks.begin() + 1, tracks.end(), [&](const RecordedTrack& t) {
        return t.contTimes.back() + intervalAI < user().contTimes.back();
    });
    EXPECT_TRUE(appeared);
    EXPECT_TRUE(disappeared);
}

// Parked, airborne once around the circuit, and on the ground again for the end of the run.
TEST_F(RecordingRunTest, TheTouchdownShowsInTheOnGroundField) {
    std::vector<std::pair<int, uint32_t>> changes; // on ground, since
    for (const DiscData& record : user().disc)
        if (changes.empty() || record.onground != changes.back().first)
            changes.emplace_back(copyOf(record.onground), copyOf(record.timestamp));
    ASSERT_EQ(changes.size(), 3u) << ::testing::PrintToString(changes);
    EXPECT_EQ(changes[0].first, 1);
    EXPECT_EQ(changes[2].first, 1);
    EXPECT_GT(changes[2].second, user().contTimes.back() / 2);
}

} // namespace
