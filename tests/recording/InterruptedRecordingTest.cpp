// The recordings an earlier session did not end: found by their journal, moved out of the next
// recording's way, summed up for the question at start, saved or let go.

#include "recording/InterruptedRecording.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "RecorderFixture.h"
#include "common/ZephrelException.h"
#include "support/Errors.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kJet = "Twin Jet 737-800 House";
const RecordingDate kBegan{2011, 8, 15, 14, 5, 9};

class InterruptedRecordingTest : public RecorderFixture {
protected:
    // A recording of the user aircraft and two jets over `frames` frames with one marker, kept as a
    // recording that could not be saved is kept. Returns its base name.
    std::string keptRecording(int frames) {
        recording.recordAI = true;
        world().createAi(kJet, "HB-JAA");
        world().createAi(kJet, "HB-JAB");
        Recorder recorder(&general, &recording);
        recorder.start(0, 0, kBegan);
        run(recorder, frames);
        Marker marker{20000, Marker::DisplayText, 5, "kept"};
        marker.include = 1;
        recorder.addMarker(marker);
        return recorder.keepForLater().value();
    }
    static void writeText(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
};

TEST_F(InterruptedRecordingTest, OnlyARecordingWithItsJournalIsSetAsideEachUnderANameOfItsOwn) {
    const std::string base = dir.file("Zephrel");
    writeText(base + ".tmp1", "directory");
    writeText(base + ".tmp2", "data");
    EXPECT_EQ(std::nullopt, InterruptedRecording::setAside(base)) << "a recording that ended";
    EXPECT_TRUE(fs::exists(base + ".tmp1"));

    writeText(base + ".tmp0", "journal");
    EXPECT_EQ(dir.file("ZephrelInterrupted-1"), InterruptedRecording::setAside(base));
    for (const char* extension : {".tmp0", ".tmp1", ".tmp2"}) {
        EXPECT_FALSE(fs::exists(base + extension)) << extension;
        EXPECT_TRUE(fs::exists(dir.file("ZephrelInterrupted-1") + extension)) << extension;
    }
    writeText(base + ".tmp0", "journal");
    EXPECT_EQ(dir.file("ZephrelInterrupted-2"), InterruptedRecording::setAside(base)) << "the first one stays";

    for (const char* other : {"ZephrelInterrupted-x.tmp0", "ZephrelInterrupted-.tmp0", "ZephrelInterrupted-3.tmp1",
                              "ZephrelInterrupted-10.txt", "Zephrel.tmp0"})
        writeText(dir.file(other), "not a kept recording");
    writeText(dir.file("ZephrelInterrupted-10.tmp0"), "journal");
    EXPECT_EQ((std::vector<std::string>{dir.file("ZephrelInterrupted-1"), dir.file("ZephrelInterrupted-2"),
                                        dir.file("ZephrelInterrupted-10")}),
              InterruptedRecording::findAll(dir.path().string()));
}

TEST_F(InterruptedRecordingTest, TheQuestionSaysHowManyAircraftHowLongAndFromWhen) {
    const std::string kept = keptRecording(16 * 95); // 95 s
    const InterruptedRecording::Summary summary = InterruptedRecording::summarize(kept);
    EXPECT_EQ(3u, summary.aircraft);
    EXPECT_EQ(2u, summary.minutes) << "rounded";
    EXPECT_EQ("An interrupted recording was found (3 aircraft, 2 minutes, from 2011-08-15 14:05). Save it?",
              summary.question());

    writeText(kept + ".tmp0", "damaged");
    EXPECT_EQ("An interrupted recording was found (3 aircraft, 2 minutes, from an unknown date). Save it?",
              InterruptedRecording::summarize(kept).question());
    fs::remove(kept + ".tmp2");
    const std::optional<ZephrelException> missing = thrown([&] { InterruptedRecording::summarize(kept); });
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(ErrorCode::TempFileNotOpened, missing->code);
    EXPECT_NE(std::string::npos, missing->logText.find(kept + ".tmp2")) << missing->logText;
}

TEST_F(InterruptedRecordingTest, SavingWritesEverythingWithTheJournalsMarkersOrKeepsTheFiles) {
    const std::string kept = keptRecording(16 * 3);
    EXPECT_THROW(InterruptedRecording::save(kept, dir.file("missing/out.zfl")), ZephrelException);
    EXPECT_FALSE(fs::exists(dir.file("missing/out.zfl")));
    ASSERT_TRUE(fs::exists(kept + ".tmp0")) << "kept for another try";

    InterruptedRecording::save(kept, dir.file("out.zfl"));
    const Recording saved = readRecording(dir.file("out.zfl"));
    ASSERT_EQ(3u, saved.tracks.size());
    EXPECT_EQ(1u, saved.tracks[0].info.originalRecording);
    EXPECT_GT(saved.tracks[0].contTimes.back(), clocksAt({3 * 16}).front() - static_cast<uint32_t>(recording.interval))
        << "up to the last sample";
    ASSERT_EQ(1u, saved.markers.size());
    EXPECT_EQ("kept", saved.markers[0].text);
    EXPECT_TRUE(InterruptedRecording::findAll(dir.path().string()).empty()) << "the files are gone";
    for (const char* extension : {".tmp0", ".tmp1", ".tmp2"})
        EXPECT_FALSE(fs::exists(kept + extension)) << extension;
}

// A crash can cut the last directory entry, the last block or the last marker short: what is
// whole is saved.
TEST_F(InterruptedRecordingTest, WhatACrashCutShortIsLeftOutAndTheRestSaved) {
    const std::string cut = keptRecording(16 * 3);
    const std::string whole = dir.file("ZephrelInterrupted-9");
    for (const char* extension : {".tmp0", ".tmp1", ".tmp2"})
        fs::copy_file(cut + extension, whole + extension);
    std::ofstream(cut + ".tmp1", std::ios::binary | std::ios::app) << "half an entry";
    std::ofstream(cut + ".tmp2", std::ios::binary | std::ios::app) << std::string(30, '\x01');
    fs::resize_file(cut + ".tmp0", fs::file_size(cut + ".tmp0") - 3);
    InterruptedRecording::save(whole, dir.file("whole.zfl"));
    InterruptedRecording::save(cut, dir.file("cut.zfl"));
    const Recording expected = readRecording(dir.file("whole.zfl"));
    const Recording saved = readRecording(dir.file("cut.zfl"));
    ASSERT_EQ(3u, saved.tracks.size());
    ASSERT_EQ(expected.tracks.size(), saved.tracks.size());
    for (std::size_t t = 0; t < saved.tracks.size(); ++t)
        EXPECT_EQ(expected.tracks[t].contTimes, saved.tracks[t].contTimes) << t;
    EXPECT_EQ(1u, expected.markers.size());
    EXPECT_TRUE(saved.markers.empty()) << "the only marker was cut short";
}

TEST_F(InterruptedRecordingTest, LettingGoDeletesTheFiles) {
    const std::string kept = keptRecording(16);
    InterruptedRecording::discard(kept);
    EXPECT_TRUE(InterruptedRecording::findAll(dir.path().string()).empty());
    for (const char* extension : {".tmp0", ".tmp1", ".tmp2"})
        EXPECT_FALSE(fs::exists(kept + extension)) << extension;
}

} // namespace
