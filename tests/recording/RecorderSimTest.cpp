// The recorder over frames of the stand-in simulator: which aircraft it records and with which
// groups, and what stopping, saving and aborting leave on disk.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>

#include "RecorderFixture.h"
#include "common/ZephrelException.h"
#include "recording/RecordingJournal.h"
#include "support/Packed.h"

namespace {

constexpr const char* kJet = "Twin Jet 737-800 House";

class RecorderSimTest : public RecorderFixture {
protected:
    std::set<uint32_t> otherTracks(const Recorder& recorder) const {
        std::set<uint32_t> ids;
        for (std::size_t track = 1; track < recorder.trackCount(); ++track)
            ids.insert(recorder.trackId(track));
        return ids;
    }
};

TEST_F(RecorderSimTest, UserTrackComesFirstWithTheUserGroupsAndADigest) {
    recording.recordAI = true;
    recording.contFlags = ContGroup::FlightControls | ContGroup::Throttles | ContGroup::Airspeeds;
    recording.discFlags = DiscGroup::Flaps | DiscGroup::Lights | DiscGroup::Engines;
    recording.contFlagsAI = ContGroup::FlightControls | ContGroup::Spoilers;
    recording.discFlagsAI = DiscGroup::Gear | DiscGroup::ParkingBrake;
    world().createAi(kJet, "HB-ZTX");
    Recorder recorder(&general, &recording);
    recorder.start(0, 0);
    run(recorder, 12);
    recorder.stop(dir.file("out.zfl"));

    struct Expected {
        const char* title;
        const char* tailNumber;
        uint8_t original, engines;
        uint32_t contFlags, discFlags, samples;
    };
    // Samples: Interval 2500 in frames 1, 5 and 9; IntervalAI 20000 in frame 1.
    const Expected expected[] = {
        {"Trainer 152 Aerobat", "N152ZT", 1, 1, recording.contFlags, recording.discFlags, 3},
        {kJet, "HB-ZTX", 0, 2, recording.contFlagsAI, recording.discFlagsAI, 1},
    };
    const Recording read = readRecording(dir.file("out.zfl"));
    ASSERT_EQ(2u, read.tracks.size());
    EXPECT_FLOAT_EQ(3.9f, read.tracks[0].info.staticCGtoGround);
    for (std::size_t track = 0; track < 2; ++track) {
        const TrackInfo info = read.tracks[track].info;
        const Expected& e = expected[track];
        SCOPED_TRACE(e.title);
        EXPECT_STREQ(e.title, info.title);
        EXPECT_STREQ(e.tailNumber, info.tailNumber);
        EXPECT_EQ(e.original, info.originalRecording); // read back as 1 only with a valid digest
        EXPECT_EQ(e.engines, copyOf(info.format.nEngines));
        EXPECT_EQ(e.contFlags, copyOf(info.format.ContFlags));
        EXPECT_EQ(e.discFlags, copyOf(info.format.DiscFlags));
        EXPECT_EQ(e.samples, info.nCont);
    }
}

// Every group asked for, less those the aircraft has nothing for.
TEST_F(RecorderSimTest, GroupsAreReducedByWhatTheAircraftHas) {
    using namespace ContGroup;
    using namespace DiscGroup;
    struct Case {
        const char* title;
        uint8_t engines;
        uint32_t contCleared, discCleared;
    };
    const Case cases[] = {
        {"Trainer 152 Club", 1, ContGroup::Spoilers, Gear},
        {kJet, 2, Propellers | Mixtures, 0},
        {"Helicopter 206B JetRanger", 1, Propellers | Mixtures | ContGroup::Spoilers, Flaps | Gear},
        {kGlider, 0, Throttles | Propellers | Mixtures, Engines | Gear},
    };
    recording.recordAI = true;
    recording.contFlagsAI = ContGroup::All;
    recording.discFlagsAI = DiscGroup::All;
    for (const Case& c : cases)
        world().createAi(c.title, "");
    Recorder recorder(&general, &recording);
    recorder.start(0, 0);
    step(recorder);
    ASSERT_EQ(1 + std::size(cases), recorder.trackCount());
    for (std::size_t track = 1; track < recorder.trackCount(); ++track) {
        const TrackInfo info = recorder.trackBuffer(track).trackInfo();
        const auto c = std::find_if(std::begin(cases), std::end(cases), [&](const Case& known) {
            return std::string(known.title) == info.title;
        });
        ASSERT_NE(std::end(cases), c) << info.title;
        SCOPED_TRACE(c->title);
        EXPECT_EQ(c->engines, copyOf(info.format.nEngines));
        EXPECT_EQ(ContGroup::All & ~c->contCleared, copyOf(info.format.ContFlags));
        EXPECT_EQ(DiscGroup::All & ~c->discCleared, copyOf(info.format.DiscFlags));
    }
}

// An ordinary AI aircraft and one the player created for traffic playback.
TEST_F(RecorderSimTest, RecordsTheAircraftTheSettingsAskFor) {
    struct Case {
        bool recordAI, recordPlaying;
        int32_t maxAircraft;
        bool ai, playing;
    };
    const Case cases[] = {
        {true, false, 0, true, false}, {false, false, 0, false, false}, {false, true, 0, false, true},
        {true, true, 0, true, true},   {true, true, 1, false, false},
    };
    const uint32_t ai = world().createAi(kJet, "HB-ZTA");
    const uint32_t playing = world().createAi("Amphibian Beaver Floats", "C-FZTB");
    const Recorder::AircraftSet playback{playing};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.recordAI << c.recordPlaying << c.maxAircraft);
        recording.recordAI = c.recordAI;
        recording.recordPlayingTraffic = c.recordPlaying;
        general.maxAircraft = c.maxAircraft;
        Recorder recorder(&general, &recording);
        recorder.start(0, 0);
        run(recorder, 2, &playback);
        ASSERT_LE(1u, recorder.trackCount());
        EXPECT_EQ(userId(), recorder.trackId(0));
        std::set<uint32_t> expected;
        if (c.ai)
            expected.insert(ai);
        if (c.playing)
            expected.insert(playing);
        EXPECT_EQ(expected, otherTracks(recorder));
    }
}

// Interval 0 everywhere: a sample in every frame. The first AI aircraft is gone after frame 5,
// the second one appears after frame 8.
TEST_F(RecorderSimTest, VanishedAircraftKeepsItsDataAndANewOneStartsThen) {
    recording.recordAI = true;
    recording.interval = recording.intervalAI = 0;
    const uint32_t first = world().createAi(kJet, "HB-ZTA");
    Recorder recorder(&general, &recording);
    recorder.start(0, 0);
    run(recorder, 5);
    world().remove(first);
    EXPECT_EQ(0u, recorder.tempFile()->writePos()); // nothing flushed yet
    step(recorder);
    EXPECT_EQ(1u, recorder.trackCount());
    EXPECT_LT(0u, recorder.tempFile()->writePos()) << "flushed in the frame it was found missing";
    run(recorder, 2);
    world().createAi(kGlider, "D-ZASK");
    run(recorder, 4);
    recorder.stop(dir.file("out.zfl"));

    const Recording read = readRecording(dir.file("out.zfl"));
    ASSERT_EQ(3u, read.tracks.size());
    EXPECT_EQ(clocksAt({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), read.tracks[0].contTimes);
    EXPECT_EQ(clocksAt({1, 2, 3, 4, 5}), read.tracks[1].contTimes);
    EXPECT_STREQ(kGlider, read.tracks[2].info.title);
    EXPECT_EQ(clocksAt({9, 10, 11, 12}), read.tracks[2].contTimes);
}

TEST_F(RecorderSimTest, StopWritesOrDiscardsAndAbortDeletesTheTemporaryFiles) {
    const std::function<void(std::unique_ptr<Recorder>&)> ends[] = {
        [](std::unique_ptr<Recorder>& recorder) { recorder->stop(""); },
        [](std::unique_ptr<Recorder>& recorder) { recorder->abort(); },
        [](std::unique_ptr<Recorder>& recorder) { recorder.reset(); },
    };
    for (const auto& end : ends) {
        auto recorder = std::make_unique<Recorder>(&general, &recording);
        recorder->start(0, 0);
        run(*recorder, 5);
        ASSERT_EQ(2, tempFilesOnDisk());
        end(recorder);
        EXPECT_TRUE(recorder == nullptr || !recorder->isRunning());
        EXPECT_EQ(0, tempFilesOnDisk());
    }
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_TRUE(entry.is_directory()) << entry.path() << " written";
}

TEST_F(RecorderSimTest, SaveWritesWithoutStoppingAndStopHasEverything) {
    recording.interval = 0;
    Recorder recorder(&general, &recording);
    recorder.start(0, 0);
    run(recorder, 8);
    recorder.save(dir.file("all.zfl"), 0);
    recorder.save(dir.file("late.zfl"), 2500);
    EXPECT_TRUE(recorder.isRunning());
    run(recorder, 4);
    recorder.stop(dir.file("out.zfl"));
    EXPECT_EQ(0, tempFilesOnDisk());
    EXPECT_EQ(clocksAt({1, 2, 3, 4, 5, 6, 7, 8}), readRecording(dir.file("all.zfl")).tracks.at(0).contTimes);
    EXPECT_EQ(clocksAt({4, 5, 6, 7, 8}), readRecording(dir.file("late.zfl")).tracks.at(0).contTimes);
    EXPECT_EQ(clocksAt({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
              readRecording(dir.file("out.zfl")).tracks.at(0).contTimes);
}

TEST_F(RecorderSimTest, IncludedMarkersAddedAreWritten) {
    Recorder recorder(&general, &recording);
    recorder.start(0, 0);
    recorder.addMarker({1250, Marker::DisplayText, 0, "gear down", {}, 1});
    run(recorder, 4);
    recorder.addMarker({1875, Marker::DisplayText, 0, "left out", {}, 0});
    recorder.stop(dir.file("out.zfl"));
    const Recording read = readRecording(dir.file("out.zfl"));
    ASSERT_EQ(1u, read.markers.size());
    EXPECT_EQ(1250u, read.markers[0].time);
    EXPECT_EQ("gear down", read.markers[0].text);
}

// Interval 0, only the user aircraft: blocks of 100 samples. A ring of two and a half blocks holds
// blocks 2 and 3 once the third is written over the first.
TEST_F(RecorderSimTest, StartTimeOfARingIsItsOldestUserSample) {
    recording.interval = 0;
    DataFormat format{};
    {
        Recorder probe(&general, &recording);
        probe.start(0, 0);
        step(probe);
        format = probe.trackBuffer(0).trackInfo().format;
    }
    const uint32_t block = 12 + 100 * format.contRecordSize + format.discRecordSize; // one discrete record
    {
        Recorder recorder(&general, &recording);
        recorder.start(7000, block * 5 / 2);
        EXPECT_EQ(7000u, recorder.getStartTime()) << "no track yet";
        run(recorder, 300);
        EXPECT_EQ(7000u + 101 * kFrameTicks, recorder.getStartTime());
    }
    Recorder tooSmall(&general, &recording);
    tooSmall.start(0, format.contRecordSize);
    run(tooSmall, 5);
    EXPECT_EQ(tooSmall.now(), tooSmall.getStartTime()) << "every block dropped";
}

TEST_F(RecorderSimTest, CallsInTheWrongStateAreInvalid) {
    enum State { NeverStarted, Running, Stopped };
    struct Case {
        const char* function;
        std::vector<State> states;
        std::function<void(Recorder&)> call;
    };
    const std::vector<State> idle{NeverStarted, Stopped};
    const Case cases[] = {
        {"Recorder::start", {Running}, [](Recorder& r) { r.start(0, 0); }},
        {"Recorder::stop", idle, [&](Recorder& r) { r.stop(dir.file("x.zfl")); }},
        {"Recorder::save", idle, [&](Recorder& r) { r.save(dir.file("x.zfl"), 0); }},
        {"Recorder::frame", idle, [](Recorder& r) { r.frame(nullptr); }},
        {"Recorder::getStartTime", idle, [](Recorder& r) { r.getStartTime(); }},
    };
    for (const Case& c : cases)
        for (const State state : c.states) {
            SCOPED_TRACE(testing::Message() << c.function << " in state " << state);
            Recorder recorder(&general, &recording);
            if (state != NeverStarted)
                recorder.start(0, 0);
            if (state == Stopped)
                recorder.stop("");
            try {
                c.call(recorder);
                ADD_FAILURE() << "no exception";
            } catch (const ZephrelException& e) {
                EXPECT_EQ(ErrorCode::Unexpected, e.code);
                EXPECT_EQ(ZephrelException::Warning, e.severity);
                EXPECT_EQ(c.function, e.function);
                EXPECT_NE(std::string::npos, e.logText.find("Invalid call"));
            }
        }
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.zfl")));
}

// A recording that could not be written has not ended: it goes on, and a later stop writes all of it.
TEST_F(RecorderSimTest, AFailedSaveLeavesTheRecordingGoingOn) {
    recording.interval = 0;
    Recorder recorder(&general, &recording);
    recorder.start(0, 0);
    run(recorder, 6);
    EXPECT_THROW(recorder.stop(dir.file("missing/out.zfl")), ZephrelException);
    EXPECT_TRUE(recorder.isRunning());
    EXPECT_EQ(2, tempFilesOnDisk());
    run(recorder, 2);
    recorder.stop(dir.file("out.zfl"));
    EXPECT_EQ(0, tempFilesOnDisk());
    EXPECT_EQ(clocksAt({1, 2, 3, 4, 5, 6, 7, 8}), readRecording(dir.file("out.zfl")).tracks.at(0).contTimes);
}

// With a journal, markers reach the disk as they are set, and a recording that ends takes its
// journal with it; kept for later, its files move out of the next recording's way.
TEST_F(RecorderSimTest, AJournalHoldsTheMarkersUntilTheRecordingEndsOrIsKept) {
    const RecordingDate began{2011, 8, 15, 14, 5, 9};
    const std::string base = dir.file("Zephrel");
    for (const bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "kept" : "saved");
        Recorder recorder(&general, &recording);
        recorder.start(0, 0, began);
        run(recorder, 4);
        Marker marker{1250, Marker::DisplayText, 5, "set"};
        marker.include = 1;
        recorder.addMarker(marker);
        const std::optional<RecordingJournal::Contents> journal = RecordingJournal::read(base);
        ASSERT_TRUE(journal.has_value());
        EXPECT_EQ(began, journal->began);
        ASSERT_EQ(1u, journal->markers.size());
        EXPECT_EQ("set", journal->markers[0].text);
        if (!keep) {
            recorder.stop(dir.file("out.zfl"));
            EXPECT_FALSE(std::filesystem::exists(base + ".tmp0"));
            continue;
        }
        const std::optional<std::string> kept = recorder.keepForLater();
        EXPECT_FALSE(recorder.isRunning());
        ASSERT_EQ(dir.file("ZephrelInterrupted-1"), kept);
        EXPECT_EQ(0, tempFilesOnDisk());
        EXPECT_FALSE(std::filesystem::exists(base + ".tmp0"));
        for (const char* extension : {".tmp0", ".tmp1", ".tmp2"})
            EXPECT_TRUE(std::filesystem::exists(*kept + extension)) << extension;
    }
}

// A recording that keeps a journal writes each track's records within the bound, one buffer a
// frame as long as none comes close to it; one without writes a buffer only when it is full.
TEST_F(RecorderSimTest, AJournaledRecordingWritesEveryTrackWithinTheBoundOneBufferAFrame) {
    recording.recordAI = true;
    recording.intervalAI = 2500;
    for (int i = 0; i < 6; ++i)
        world().createAi(kJet, "HB-JA" + std::to_string(i));
    for (const bool journaled : {true, false}) {
        SCOPED_TRACE(journaled ? "journaled" : "not journaled");
        Recorder recorder(&general, &recording);
        if (journaled)
            recorder.start(0, 0, RecordingDate{2011, 8, 15, 14, 5, 9});
        else
            recorder.start(0, 0);
        uint32_t oldestHeld = 0;
        int mostWritten = 0;
        for (int frame = 0; frame < 16 * 60; ++frame) {
            std::vector<uint32_t> before;
            for (std::size_t t = 0; t < recorder.trackCount(); ++t)
                before.push_back(recorder.trackBuffer(t).blocksWritten());
            step(recorder);
            int written = 0;
            for (std::size_t t = 0; t < before.size(); ++t) {
                const RecBuffer& buffer = recorder.trackBuffer(t);
                written += static_cast<int>(buffer.blocksWritten() - before[t]);
                if (buffer.holdsRecords())
                    oldestHeld = std::max(oldestHeld, recorder.now() - buffer.heldSince());
            }
            mostWritten = std::max(mostWritten, written);
        }
        ASSERT_EQ(7u, recorder.trackCount());
        if (journaled) {
            EXPECT_LT(oldestHeld, Recorder::kMaxHeld);
            EXPECT_EQ(1, mostWritten) << "the writes spread over frames";
        } else {
            EXPECT_GT(oldestHeld, Recorder::kMaxHeld) << "full buffers only";
        }
        recorder.abort();
    }
}

} // namespace
