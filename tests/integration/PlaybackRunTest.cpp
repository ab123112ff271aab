// The player inside the simulator: a circuit among live traffic is recorded once with the recorder
// add-on (data/scenarios/record-circuit.scn), then played back with the player add-on through
// data/scenarios/play-circuit.scn. The add-on reports every frame's clock and the positions the
// simulator holds for the user aircraft and the player's AI aircraft; they are compared with the
// recording, read and interpolated here on its own.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iomanip>
#include <map>
#include <memory>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "SimRun.h"
#include "common/DataBuffer.h"
#include "common/ZflFile.h"
#include "settings/Settings.h"
#include "support/Packed.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

constexpr double kTwo32 = 4294967296.0;
constexpr double kTwo64 = kTwo32 * kTwo32;
// The simulator's earth is a sphere whose quarter meridian is 10001750 m.
constexpr double kEarthRadius = 10001750.0 * 2 / std::numbers::pi;
constexpr double kMetresPerFoot = 0.3048;
// What the player's interpolation may differ from this test's by: it interpolates with a float
// fraction, exact to a few parts in 10^8 of the distance between two samples.
constexpr double kInterpolationTolerance = 0.001; // metres
constexpr uint32_t kNoAircraft = 0;
constexpr uint32_t kCreationFailed = 0xFFFFFFFFu;

struct Position {
    int64_t latitude = 0;
    int64_t longitude = 0;
    int64_t altitude = 0;
};

// b - a in metres: north, east, up.
struct Offset {
    double north, east, up;
    double length() const { return std::sqrt(north * north + east * east + up * up); }
};

Offset difference(const Position& a, const Position& b) {
    const double latitude = static_cast<double>(a.latitude) / kTwo32 / kEarthRadius;
    return {static_cast<double>(b.latitude - a.latitude) / kTwo32,
            static_cast<double>(b.longitude - a.longitude) * 2 * std::numbers::pi / kTwo64 * kEarthRadius *
                std::cos(latitude),
            static_cast<double>(b.altitude - a.altitude) / kTwo32};
}

double distance(const Position& a, const Position& b) {
    return difference(a, b).length();
}

std::string metres(double value) {
    std::ostringstream text;
    text << std::setprecision(9) << value;
    return text.str();
}

// A recorded track: its continuous samples' times and positions.
struct TrackPath {
    std::string title;
    float staticCG = 0;
    std::vector<uint32_t> times;
    std::vector<Position> positions;

    uint32_t first() const { return times.front(); }
    uint32_t last() const { return times.back(); }

    // Straight between the two samples around t; the first or last sample outside the track.
    Position at(uint32_t t) const {
        if (t <= first())
            return positions.front();
        if (t >= last())
            return positions.back();
        const auto i =
            static_cast<std::size_t>(std::upper_bound(times.begin(), times.end(), t) - times.begin()) - 1;
        const double f = static_cast<double>(t - times[i]) / static_cast<double>(times[i + 1] - times[i]);
        auto step = [f](int64_t a, int64_t b) {
            return a + static_cast<int64_t>(static_cast<double>(b - a) * f);
        };
        const Position& a = positions[i];
        const Position& b = positions[i + 1];
        return {step(a.latitude, b.latitude), step(a.longitude, b.longitude), step(a.altitude, b.altitude)};
    }
};

std::vector<TrackPath> readPaths(const std::string& path) {
    ZflFile zfl;
    zfl.open(path, ZflFile::Read);
    std::vector<TrackPath> tracks;
    for (uint32_t t = 0; t < zfl.getNTracks(); ++t) {
        const TrackInfo& info = zfl.getTrackInfo(t);
        const DataFormat format = info.format;
        const uint32_t count = info.nCont;
        std::vector<unsigned char> cont(std::size_t{count} * format.contRecordSize);
        EXPECT_EQ(count, zfl.readContData(t, 0, count, cont.data()));
        const DataBuffer records(cont.data(), nullptr, format);
        TrackPath track{info.title, info.staticCGtoGround, {}, {}};
        for (uint32_t i = 0; i < count; ++i) {
            ContData record{};
            records.getContData(i, record);
            track.times.push_back(copyOf(record.timestamp));
            track.positions.push_back({record.latitude, record.longitude, record.altitude});
        }
        tracks.push_back(std::move(track));
    }
    return tracks;
}

// One line of the add-on's report.
struct TrackState {
    uint32_t id = 0;
    bool inSet = false; // among the player's AI aircraft
    bool live = false;  // the simulator has the aircraft
    Position position;
};

struct FrameReport {
    uint32_t frame = 0, now = 0, begin = 0, end = 0;
    bool finished = false;
    float simRate = 0;
    uint32_t user = 0;
    Position userPosition;
    std::size_t aiCount = 0;
    std::vector<TrackState> tracks;
};

FrameReport parseFrame(const std::string& line) {
    std::istringstream words(line);
    std::string keyword;
    FrameReport f;
    int64_t pitch = 0, bank = 0, heading = 0;
    std::size_t tracks = 0;
    words >> keyword >> f.frame >> f.now >> f.begin >> f.end >> f.finished >> f.simRate >> f.user >>
        f.userPosition.latitude >> f.userPosition.longitude >> f.userPosition.altitude >> pitch >> bank >>
        heading >> f.aiCount >> tracks;
    for (std::size_t t = 0; t < tracks; ++t) {
        TrackState s;
        char colon = 0;
        int inSet = 0;
        words >> s.id >> colon >> inSet >> colon >> s.position.latitude >> colon >> s.position.longitude >>
            colon >> s.position.altitude;
        s.inSet = inSet != 0;
        s.live = s.position.latitude != 0 || s.position.longitude != 0 || s.position.altitude != 0;
        f.tracks.push_back(s);
    }
    EXPECT_FALSE(words.fail()) << line;
    return f;
}

struct Playback {
    std::unique_ptr<SimRun> run;
    std::string userTitle;   // the user aircraft once playback started
    double userStaticCG = 0; // feet
    std::vector<FrameReport> frames;
    std::optional<std::size_t> stillThere; // the player's AI aircraft left after it stopped

    // The frames with the player's step applied, until it finished.
    std::vector<const FrameReport*> played() const {
        std::vector<const FrameReport*> found;
        for (const FrameReport& f : frames)
            if (!f.finished)
                found.push_back(&f);
        return found;
    }
};

// Collects the mismatches of a long run, so that a fault shows once with a few examples.
class Mismatches {
public:
    void add(const std::string& what) {
        if (count_++ < 5)
            examples_ += "\n  " + what;
    }
    std::size_t count() const { return count_; }
    const std::string& examples() const { return examples_; }

private:
    std::size_t count_ = 0;
    std::string examples_;
};

class PlaybackRunTest : public ::testing::Test {
protected:
    // One recording for all cases: the user's trainer every quarter second, the traffic every second.
    static void SetUpTestSuite() {
        folder = std::make_unique<TempDir>();
        fs::create_directories(folder->path() / "temp");
        const std::string settingsFile = folder->file("recorder.ini");
        GeneralSettings general;
        general.maxAircraft = 100;
        general.tempDirectory = folder->file("temp");
        writeGeneralSettings(settingsFile, general);
        RecordingSettings recording;
        recording.interval = 2500;
        recording.intervalAI = 10000;
        recording.recordAI = true;
        writeRecordingSettings(settingsFile, RecordingBlock::Recording, recording);

        SimRun::Options options;
        options.addon = ZEPHREL_RECORDER_ADDON;
        options.scenarioActions = readText(ZEPHREL_RECORD_SCENARIO);
        options.environment = {{"ZEPHREL_RECORDER_INI", settingsFile},
                               {"ZEPHREL_RECORDER_OUT", recordingFile()}};
        recorderOutput = SimRun(options).output();
        if (fs::exists(recordingFile()))
            paths = readPaths(recordingFile());
    }
    static void TearDownTestSuite() {
        circuit.reset();
        folder.reset();
    }
    void SetUp() override { ASSERT_GT(paths.size(), 2u) << recorderOutput; }

    static std::string recordingFile() { return folder->file("circuit.zfl"); }
    static const TrackPath& user() { return paths.front(); }

    // Plays a list (the add-on's format) with optional timed operations, in another simulator root
    // when given.
    static Playback play(const std::string& list, const std::string& actions = {},
                         const std::string& root = {}) {
        const std::string name = "play" + std::to_string(++runs);
        const std::string settingsFile = folder->file(name + ".ini");
        GeneralSettings general;
        general.maxAircraft = 100;
        general.tempDirectory = folder->file("temp");
        writeGeneralSettings(settingsFile, general);
        writeText(folder->file(name + ".list"), list);
        writeText(folder->file(name + ".actions"), actions);

        SimRun::Options options;
        options.addon = ZEPHREL_PLAYER_ADDON;
        options.scenarioActions = readText(ZEPHREL_PLAY_SCENARIO);
        options.simRoot = root;
        options.environment = {{"ZEPHREL_PLAYER_INI", settingsFile},
                               {"ZEPHREL_PLAYER_LIST", folder->file(name + ".list")},
                               {"ZEPHREL_PLAYER_ACTIONS", folder->file(name + ".actions")},
                               {"ZEPHREL_PLAYER_REPORT", folder->file(name + ".report")}};
        Playback playback;
        playback.run = std::make_unique<SimRun>(options);
        std::istringstream report(readText(folder->file(name + ".report")));
        for (std::string line; std::getline(report, line);) {
            std::istringstream words(line);
            std::string keyword;
            words >> keyword;
            if (keyword == "frame") {
                playback.frames.push_back(parseFrame(line));
            } else if (keyword == "start") {
                words >> playback.userStaticCG >> std::ws;
                std::getline(words, playback.userTitle);
            } else if (keyword == "stopped") {
                std::size_t frame = 0, left = 0;
                words >> frame >> left;
                playback.stillThere = left;
            }
        }
        return playback;
    }

    static void expectCleanRun(const Playback& playback) {
        const std::string& output = playback.run->output();
        EXPECT_EQ(playback.run->exitCode(), 0) << output;
        EXPECT_EQ(output.find("player add-on:"), std::string::npos) << output;
        EXPECT_NE(output.find("errors shown: 0\n"), std::string::npos) << output;
        EXPECT_FALSE(playback.played().empty()) << output;
    }

    // The user track and every traffic track; one traffic track that starts late and ends early
    // is held outside its span.
    static const Playback& circuitRun() {
        if (circuit == nullptr) {
            std::string list = "file \"" + recordingFile() + "\"\ntrack 0\n";
            for (std::size_t t = 1; t < paths.size(); ++t)
                list += "track " + std::to_string(t) + (t == heldTrack() ? " hold\n" : "\n");
            circuit = std::make_unique<Playback>(play(list + "user 0 0\n"));
        }
        return *circuit;
    }
    static std::size_t heldTrack() {
        for (std::size_t t = 1; t < paths.size(); ++t)
            if (paths[t].first() > user().first() + 100000 && paths[t].last() + 100000 < user().last())
                return t;
        return 0;
    }

    static void writeText(const std::string& path, const std::string& text) {
        writeBytes(path, Bytes(text.begin(), text.end()));
    }

    static inline std::unique_ptr<TempDir> folder;
    static inline std::string recorderOutput;
    static inline std::vector<TrackPath> paths;
    static inline std::unique_ptr<Playback> circuit;
    static inline int runs = 0;
};

// From the first sample to the last, the trainer is where the recording says, and playback ends
// there.
TEST_F(PlaybackRunTest, TheUserAircraftFliesTheRecordedPathToTheEnd) {
    const Playback& playback = circuitRun();
    expectCleanRun(playback);
    const auto played = playback.played();
    ASSERT_FALSE(played.empty());
    EXPECT_EQ(played.front()->now, user().first());
    EXPECT_EQ(played.front()->begin, user().first());
    EXPECT_EQ(played.front()->end, user().last());
    EXPECT_GT(played.back()->now + 1000, user().last());
    EXPECT_TRUE(playback.frames.back().finished);
    EXPECT_EQ(playback.userTitle, user().title);

    Mismatches mismatches;
    double largest = 0;
    for (const FrameReport* f : played) {
        const double error = distance(user().at(f->now), f->userPosition);
        largest = std::max(largest, error);
        if (error > kInterpolationTolerance || f->tracks[0].id != f->user)
            mismatches.add("frame " + std::to_string(f->frame) + " at " + std::to_string(f->now) + ": " +
                           std::to_string(error) + " m, track id " + std::to_string(f->tracks[0].id));
    }
    EXPECT_EQ(mismatches.count(), 0u) << mismatches.examples();
    RecordProperty("largest_user_error_m", metres(largest));
}

// A traffic track has an AI aircraft only while its span is played, made in the frame the span is
// entered and flying the recorded path from the next; the held one has its aircraft all along, at
// its first or last sample outside the span. Stopping removes them all and closes the recording.
TEST_F(PlaybackRunTest, TrafficHasAircraftOnlyInsideItsSpanUnlessHeld) {
    const std::size_t held = heldTrack();
    ASSERT_NE(held, 0u) << "no traffic track starts late and ends early";
    const Playback& playback = circuitRun();
    expectCleanRun(playback);
    const auto played = playback.played();

    Mismatches mismatches;
    std::size_t absent = 0, flown = 0, heldOutside = 0, heldOutsideFrames = 0;
    double largest = 0;
    for (std::size_t i = 0; i < played.size(); ++i) {
        const FrameReport& f = *played[i];
        ASSERT_EQ(f.tracks.size(), paths.size());
        std::size_t withAircraft = 0;
        const bool heldInSpan = paths[held].first() <= f.now && f.now <= paths[held].last();
        heldOutsideFrames += i > 0 && !heldInSpan ? 1 : 0;
        for (std::size_t t = 1; t < paths.size(); ++t) {
            const TrackState& s = f.tracks[t];
            const bool inSpan = paths[t].first() <= f.now && f.now <= paths[t].last();
            const std::string where = "frame " + std::to_string(f.frame) + " at " + std::to_string(f.now) +
                                      ", track " + std::to_string(t) + ": ";
            withAircraft += s.id != kNoAircraft ? 1 : 0;
            if (!inSpan && t != held) {
                ++absent;
                if (s.id != kNoAircraft || s.inSet)
                    mismatches.add(where + "aircraft " + std::to_string(s.id) + " outside the span");
                continue;
            }
            if (s.id == kNoAircraft || s.id == kCreationFailed || !s.inSet || !s.live || s.id == f.user) {
                mismatches.add(where + "no AI aircraft of its own (" + std::to_string(s.id) + ")");
                continue;
            }
            // Made in an earlier frame: this frame's step has placed it.
            if (i > 0 && played[i - 1]->tracks[t].id == s.id) {
                const double error = distance(paths[t].at(f.now), s.position);
                largest = std::max(largest, error);
                ++flown;
                heldOutside += inSpan ? 0 : 1;
                if (error > kInterpolationTolerance)
                    mismatches.add(where + std::to_string(error) + " m off the recorded path");
            }
        }
        if (f.aiCount != withAircraft)
            mismatches.add("frame " + std::to_string(f.frame) + ": " + std::to_string(f.aiCount) +
                           " AI aircraft in the player's set, " + std::to_string(withAircraft) +
                           " on tracks");
    }
    EXPECT_EQ(mismatches.count(), 0u) << mismatches.examples();
    EXPECT_GT(absent, 0u);
    EXPECT_GT(flown, 1000u);
    EXPECT_GT(heldOutsideFrames, 100u);
    EXPECT_EQ(heldOutside, heldOutsideFrames);
    EXPECT_EQ(playback.stillThere, std::optional<std::size_t>(0));
    EXPECT_EQ(playback.run->log().find("Warning"), std::string::npos) << playback.run->log();
    RecordProperty("largest_traffic_error_m", metres(largest));
}

// The recording twice: the user aircraft from the first file one second late, an AI aircraft from
// the second (with a track offset of its own) 60 frames later again. The AI aircraft is where the
// user aircraft was 60 frames before.
TEST_F(PlaybackRunTest, TwoFilesWithDifferentOffsetsPlayInStep) {
    constexpr uint32_t kUserOffset = 10000;
    constexpr uint32_t kShift = 19980; // 60 frames of 333 ticks
    const Playback playback =
        play("file \"" + recordingFile() + "\" " + std::to_string(kUserOffset) + "\ntrack 0\nfile \"" +
             recordingFile() + "\" " + std::to_string(kUserOffset + kShift - 9990) +
             "\ntrack 0 offset 9990\nuser 0 0\n");
    expectCleanRun(playback);
    const auto played = playback.played();
    ASSERT_FALSE(played.empty());
    EXPECT_EQ(played.front()->begin, user().first() + kUserOffset);
    EXPECT_EQ(played.front()->end, user().last() + kUserOffset);

    std::map<uint32_t, Position> userAt;
    Mismatches mismatches;
    std::size_t inStep = 0;
    for (std::size_t i = 0; i < played.size(); ++i) {
        const FrameReport& f = *played[i];
        ASSERT_EQ(f.tracks.size(), 2u);
        userAt[f.now] = f.userPosition;
        const std::string where = "frame " + std::to_string(f.frame) + " at " + std::to_string(f.now) + ": ";
        if (distance(user().at(f.now - kUserOffset), f.userPosition) > kInterpolationTolerance)
            mismatches.add(where + "the user aircraft is off the first file's path");
        const TrackState& ai = f.tracks[1];
        const bool inSpan =
            f.now >= user().first() + kUserOffset + kShift && f.now <= user().last() + kUserOffset + kShift;
        if (inSpan != (ai.id != kNoAircraft)) {
            mismatches.add(where + "AI aircraft " + std::to_string(ai.id) +
                           (inSpan ? " inside" : " outside") + " the second file's span");
            continue;
        }
        if (!inSpan || i == 0 || played[i - 1]->tracks[1].id != ai.id)
            continue;
        if (distance(user().at(f.now - kUserOffset - kShift), ai.position) > kInterpolationTolerance)
            mismatches.add(where + "the AI aircraft is off the second file's path");
        const auto earlier = userAt.find(f.now - kShift);
        if (earlier != userAt.end()) {
            ++inStep;
            if (distance(earlier->second, ai.position) > 1e-6)
                mismatches.add(where + "the AI aircraft is not where the user aircraft was");
        }
    }
    EXPECT_EQ(mismatches.count(), 0u) << mismatches.examples();
    EXPECT_GT(inStep, 1000u);
}

// The same flight on a variant of the trainer whose centre of gravity rests a foot higher: the
// player loads it for the title override and raises the whole path by 0.3048 m.
TEST_F(PlaybackRunTest, AnAircraftWithItsCentreOfGravityAFootHigherFliesThatMuchHigher) {
    const fs::path root = folder->path() / "tall-root";
    fs::copy(ZEPHREL_SIM_ROOT, root, fs::copy_options::recursive);
    const std::string trainer = readText((root / "SimObjects/Airplanes/Trainer_152/aircraft.cfg").string());
    const std::string key = "static_cg_height=";
    const std::size_t at = trainer.find(key);
    const std::size_t general = trainer.find("[GENERAL]");
    ASSERT_NE(at, std::string::npos);
    ASSERT_NE(general, std::string::npos);
    const double height = std::stod(trainer.substr(at + key.size())) + 1;
    const std::size_t lineEnd = trainer.find('\n', at);
    fs::create_directories(root / "SimObjects/Airplanes/Trainer_152_Tall");
    writeText((root / "SimObjects/Airplanes/Trainer_152_Tall/aircraft.cfg").string(),
              "[fltsim.0]\ntitle=Trainer 152 Tall\natc_id=N152TL\n\n" +
                  trainer.substr(general, at + key.size() - general) + std::to_string(height) +
                  trainer.substr(lineEnd));

    const Playback playback =
        play("file \"" + recordingFile() + "\"\ntrack 0 title \"Trainer 152 Tall\"\nuser 0 0\n", {},
             root.string());
    expectCleanRun(playback);
    EXPECT_EQ(playback.userTitle, "Trainer 152 Tall");
    EXPECT_NEAR(playback.userStaticCG, height, 1e-4);
    ASSERT_NEAR(user().staticCG, height - 1, 1e-4);

    Mismatches mismatches;
    double lowest = 1e9, highest = -1e9;
    for (const FrameReport* f : playback.played()) {
        const Offset offset = difference(user().at(f->now), f->userPosition);
        lowest = std::min(lowest, offset.up);
        highest = std::max(highest, offset.up);
        if (std::hypot(offset.north, offset.east) > kInterpolationTolerance ||
            std::abs(offset.up - kMetresPerFoot) > 1e-6)
            mismatches.add("frame " + std::to_string(f->frame) + ": " + std::to_string(offset.north) +
                           " m north, " + std::to_string(offset.east) + " m east, " +
                           std::to_string(offset.up) + " m up");
    }
    EXPECT_EQ(mismatches.count(), 0u) << mismatches.examples();
    RecordProperty("raised_by_m", metres(lowest) + " to " + metres(highest));
}

// Half speed from frame 300: each frame advances the clock by half its step (truncated) and the
// simulation rate follows. From frame 400 a loop whose in and out points are both the clock's
// time holds it there, with the aircraft at that point of the path.
TEST_F(PlaybackRunTest, HalfSpeedHalvesTheClockAndALoopWithoutLengthHoldsIt) {
    const Playback playback =
        play("file \"" + recordingFile() + "\"\ntrack 0\nuser 0 0\n",
             "frame 300 speed 0.5\nframe 400 loop-in\nframe 400 loop-out\nframe 400 loop on\n");
    expectCleanRun(playback);
    const auto played = playback.played();
    ASSERT_GT(played.size(), 1000u);
    auto frame = [&](uint32_t n) -> const FrameReport& { return *played[n - 1]; };
    ASSERT_EQ(frame(400).frame, 400u);
    auto step = [&](uint32_t n) { return frame(n).now - frame(n - 1).now; };

    const uint32_t fullStep = step(299);
    ASSERT_GT(fullStep, 0u);
    for (uint32_t n = 10; n < 300; ++n) {
        ASSERT_EQ(step(n), fullStep) << "frame " << n;
        ASSERT_EQ(frame(n).simRate, 1.0f) << "frame " << n;
    }
    for (uint32_t n = 300; n < 400; ++n) {
        ASSERT_EQ(step(n), fullStep / 2) << "frame " << n;
        ASSERT_EQ(frame(n).simRate, 0.5f) << "frame " << n;
    }
    const uint32_t loopPoint = frame(399).now;
    const Position there = user().at(loopPoint);
    Mismatches mismatches;
    for (std::size_t i = 399; i < played.size(); ++i)
        if (played[i]->now != loopPoint || distance(there, played[i]->userPosition) > kInterpolationTolerance)
            mismatches.add("frame " + std::to_string(played[i]->frame) + " at " +
                           std::to_string(played[i]->now));
    EXPECT_EQ(mismatches.count(), 0u) << mismatches.examples();
}

} // namespace
