// The controller's file commands: recording with the save dialog before or after and the flight
// saved with it, the play commands with their dialogs and track choice, and the settings dialog,
// driven from frames of the stand-in simulator in this process with scripted answers.

#include "app/Zephrel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <cstring>
#include <fstream>
#include <functional>

#include "app/MenuIds.h"
#include "app/RecordingName.h"
#include "host/FSinterface.h"
#include "host/HostState.h"
#include "profile/ProfileValues.h"
#include "recording/InterruptedRecording.h"
#include "support/FileSizeLimit.h"
#include "support/OldFormatFiles.h"
#include "support/Packed.h"
#include "support/PlayerFixture.h"
#include "support/RecordedFile.h"
#include "support/ShownMessageBoxes.h"
#include "ui/MarkerDlg.h"
#include "ui/ModuleResources.h"
#include "winsys/HeadlessScript.h"
#include "winsys/WindowApi.h"

namespace fs = std::filesystem;
namespace script = win::headless;

namespace {

// Each dialog answers `confirmed`; a confirmed one leaves a mark in the blocks it edits.
class FakeDialogs : public SettingsDialogs {
public:
    bool recordingSettings(RecordingSettings& recording) override {
        recording.interval = 5000;
        return answer();
    }
    bool playbackSettings(PlaybackSettings& playback) override {
        playback.loadMarkers = false;
        return answer();
    }
    bool settings(GeneralSettings& general, RecordingSettings&, PlaybackSettings&,
                  RecordingSettings& replay) override {
        general.enableReplay = enableReplay;
        replay.interval = 5000;
        return answer();
    }
    bool answer() {
        ++asked;
        return confirmed;
    }
    bool confirmed = true;
    bool enableReplay = false;
    int asked = 0;
};

class FakeEditor : public PlayListEditor {
public:
    bool edit(PlayList& list) override {
        ++asked;
        list = next;
        return true;
    }
    PlayList next;
    int asked = 0;
};

class ZephrelFilesTest : public PlayerFixture {
protected:
    void SetUp() override {
        PlayerFixture::SetUp();
        player.reset();
        script::setUnscriptedPolicy(script::Unscripted::Fail);
        recording =
            writeFile("Flights/two.zfl", {WrittenTrack(kJet, 0, 300000), WrittenTrack(kBeaver, 0, 300000)},
                      {marker(10000, 0, 0, "a"), marker(20000, 0, 0, "b")});
        // The entries the controller keeps current.
        FSinterface::addMenuItem(0, true, "Zephrel", kMenuZephrel, true);
        for (uint32_t id = kMenuRecord; id <= kMenuSettings; ++id)
            FSinterface::addMenuItem(kMenuZephrel, false, "entry", id, true);
        FSinterface::initMenu();
        zephrel = std::make_unique<Zephrel>(
            dir.path().string(), ControllerSeams{&dialogs, &editor, nullptr, nullptr, nullptr, nullptr, {}});
        FSinterface::addCallback(zephrel.get());
    }
    void TearDown() override {
        EXPECT_TRUE(script::failures().empty()) << ::testing::PrintToString(script::failures());
        EXPECT_EQ(0u, script::unusedAnswers());
        module.reset(); // the stop reaches the controller, which outlives the host interface
        zephrel.reset();
        PlayerFixture::TearDown();
    }

    // The settings file read as at the module's start; `settings` are keys of [SETTINGS].
    void startWith(const std::string& settings, const std::string& sections = "") {
        // The first of a repeated key counts: the test's keys come before the defaults here.
        std::ofstream(settingsFile) << "[SETTINGS]\n"
                                    << settings << "TempDirectory=" << dir.path().string()
                                    << "\nEnableReplay=0\n"
                                    << sections;
        zephrel->callback(Start, 0, 0, 0);
    }
    void tick(int n) {
        for (int i = 0; i < n; ++i)
            sim().frame();
    }
    // A name the save dialog takes but no file can have: an existing folder.
    std::string aFolderChosenAsTheFile() {
        const std::string folder = dir.file("Flights/a folder.zfl");
        fs::create_directories(folder);
        return folder;
    }
    void chooseToSave(const std::string& path) {
        script::answerFileDialog({path}, "Save Recorded Flight");
        script::answerMessageBox(AnswerYes, {"Save Recorded Flight", "already exists"});
    }
    // Runs a command as the menu object does: a failure is shown and acted on by the controller.
    void asTheMenuDoes(const std::function<void()>& command) {
        try {
            command();
        } catch (const ZephrelException& e) {
            zephrel->afterError(e, false);
        }
    }
    // The module unloaded and loaded again, with the settings file as it is.
    void restartController() {
        hostState().listeners.clear();
        zephrel = std::make_unique<Zephrel>(
            dir.path().string(), ControllerSeams{&dialogs, &editor, nullptr, nullptr, nullptr, nullptr, {}});
        FSinterface::addCallback(zephrel.get());
        zephrel->callback(Start, 0, 0, 0);
    }
    std::vector<win::FileDialogEntry> fileDialogs() {
        return script::transcript().all<win::FileDialogEntry>();
    }
    std::string tempFlight() { return dir.file("ZephrelTempRecord.flt"); }
    std::string titleOf(const std::string& flight) {
        return profile::readString(flight, "Main", "Title", "");
    }
    PlayList userList() {
        PlayList list = traffic(recording, {0});
        list.userFile = 0;
        list.userTrack = 0;
        return list;
    }

    std::string recording;
    FakeDialogs dialogs;
    FakeEditor editor;
    std::unique_ptr<Zephrel> zephrel;
};

TEST_F(ZephrelFilesTest, ACancelledSaveAsksToGoOnAndNoDiscardsTheRecordingWithItsFlight) {
    startWith("ShowRecDialog=0\n", "[RECORDING]\nSaveFlight=1\n");
    zephrel->record();
    ASSERT_TRUE(zephrel->isRecording());
    EXPECT_EQ("Zephrel automatically saved flight", titleOf(tempFlight()));
    tick(16);
    script::cancelFileDialog("Save Recorded Flight");
    script::answerMessageBox(AnswerYes, {"Zephrel", "Do you want to continue recording?"});
    zephrel->stopRecording(true);
    EXPECT_TRUE(zephrel->isRecording());
    script::cancelFileDialog("Save Recorded Flight");
    script::answerMessageBox(AnswerNo, {"Zephrel", "Do you want to continue recording?"});
    zephrel->stopRecording(true);
    EXPECT_FALSE(zephrel->isRecording());
    EXPECT_FALSE(fs::exists(tempFlight()));
    EXPECT_EQ(1, std::distance(fs::directory_iterator(dir.file("Flights")), fs::directory_iterator{}))
        << "only the recording to play";

    zephrel->record();
    script::cancelFileDialog("Save Recorded Flight");
    zephrel->stopRecording(false); // nobody to ask: discarded
    EXPECT_FALSE(zephrel->isRecording());
    EXPECT_EQ(2u, shownMessageBoxes().size());
}

// After a save that failed the dialog comes again, and cancelling it asks whether to go on, as any
// cancelled save does: Yes goes on with everything recorded so far, No lets the recording go.
TEST_F(ZephrelFilesTest, AfterAFailedSaveACancelAsksWhetherToGoOn) {
    const std::string unwritable = aFolderChosenAsTheFile();
    const std::string saved = dir.file("Flights/saved.zfl");
    for (const bool goOn : {true, false}) {
        SCOPED_TRACE(goOn ? "going on" : "letting go");
        startWith("ShowRecDialog=0\n");
        zephrel->record();
        tick(16);
        chooseToSave(unwritable);
        script::answerMessageBox(AnswerOk, {"Zephrel Error", unwritable});
        script::cancelFileDialog("Save Recorded Flight");
        script::answerMessageBox(goOn ? AnswerYes : AnswerNo, {"Zephrel", "Do you want to continue recording?"});
        asTheMenuDoes([&] { zephrel->stopRecording(true); });
        EXPECT_EQ(goOn, zephrel->isRecording());
        EXPECT_TRUE(InterruptedRecording::findAll(dir.path().string()).empty()) << "nothing kept for later";
        if (!goOn)
            continue;
        tick(16);
        script::answerFileDialog({saved}, "Save Recorded Flight");
        zephrel->stopRecording(true);
        EXPECT_EQ(kFrameTicks, readRecordedFile(saved).tracks.at(0).contTimes.front());
        EXPECT_GT(readRecordedFile(saved).tracks.at(0).contTimes.back(), 15000u) << "both seconds recorded";
    }
}

// A recording whose save fails twice is not lost: its data is kept aside with its markers, the
// user is told where, and the next start offers to save it.
TEST_F(ZephrelFilesTest, ARecordingThatCannotBeSavedIsKeptAndOfferedAtTheNextStart) {
    const std::string unwritable = aFolderChosenAsTheFile();
    startWith("ShowRecDialog=0\n");
    zephrel->record();
    tick(32);
    ModuleResources::registerDialogs();
    script::scriptDialog("Add Marker", {script::SetText{MarkerDlg::kTextId, "kept"}, script::Press{win::IDOK}});
    zephrel->setMarker();
    chooseToSave(unwritable);
    script::answerMessageBox(AnswerOk, {"Zephrel Error", unwritable});
    chooseToSave(unwritable); // the dialog again; what this second failure means the next box says
    const std::string kept = dir.file("ZephrelInterrupted-1");
    script::answerMessageBox(AnswerOk, {"Zephrel", "The recording could not be saved. Its data is kept in the files '" +
                                                       kept + ".tmp0' to '.tmp2'"});
    asTheMenuDoes([&] { zephrel->stopRecording(true); });
    EXPECT_FALSE(zephrel->isRecording());
    EXPECT_EQ(std::vector<std::string>{kept}, InterruptedRecording::findAll(dir.path().string()));

    // The next session: asked in its first frame, and saved where the user says.
    restartController();
    const std::string saved = dir.file("Flights/recovered.zfl");
    script::answerMessageBox(AnswerYes, {"Zephrel", "An interrupted recording was found (1 aircraft, 1 minute, from "});
    script::answerFileDialog({saved}, "Save Recorded Flight");
    tick(1);
    const RecordedFile recovered = readRecordedFile(saved);
    ASSERT_EQ(1u, recovered.tracks.size());
    EXPECT_GT(recovered.tracks[0].contTimes.back(), 17500u) << "up to the last sample";
    ASSERT_EQ(1u, recovered.markers.size());
    EXPECT_EQ("kept", recovered.markers[0].text);
    EXPECT_TRUE(InterruptedRecording::findAll(dir.path().string()).empty());
    tick(1);
    EXPECT_EQ(0u, script::unusedAnswers()) << "asked once";
}

// A full temporary folder fails the recording in a frame and then its save: the data on disk is
// kept, and once there is room again it is saved from there.
TEST_F(ZephrelFilesTest, AFullTemporaryFolderLosesNoRecordedData) {
    startWith("ShowRecDialog=0\nFileDialog=0\n");
    zephrel->record();
    tick(16 * 20);
    const uint64_t written = fs::file_size(dir.file("Zephrel.tmp2"));
    ASSERT_GT(written, 0u) << "the journal's bound has written blocks";
    {
        const FileSizeLimit full(written + 10);
        script::answerMessageBox(AnswerOk, {"Zephrel Error", "Writing to temp file failed!"});
        script::answerMessageBox(AnswerOk, {"Zephrel", "The recording could not be saved."});
        tick(16 * 20);
    }
    EXPECT_FALSE(zephrel->isRecording());
    const std::vector<std::string> kept = InterruptedRecording::findAll(dir.path().string());
    ASSERT_EQ(1u, kept.size());
    InterruptedRecording::save(kept.front(), dir.file("Flights/recovered.zfl"));
    const RecordedFile recovered = readRecordedFile(dir.file("Flights/recovered.zfl"));
    ASSERT_EQ(1u, recovered.tracks.size());
    EXPECT_GT(recovered.tracks[0].contTimes.back(), 10u * 10000) << "what reached the disk before it was full";
}

TEST_F(ZephrelFilesTest, TheFlightSavedBeforeTheNameWasKnownMovesNextToTheRecordingUnderItsTitle) {
    struct Case {
        const char* settings;
        std::string name;
    };
    const Case cases[] = {{"FileDialog=0\n", dir.file("Flights/Zephrel_2011-08-15_14-05-09_0123.zfl")},
                          {"", dir.file("Flights/circuit.zfl")}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        startWith(std::string("ShowRecDialog=0\n") + c.settings, "[RECORDING]\nSaveFlight=1\n");
        script::setLocalTime(win::SYSTEMTIME{2011, 8, 1, 15, 14, 5, 9, 123});
        zephrel->record();
        tick(16);
        if (c.settings[0] == '\0')
            script::answerFileDialog({c.name}, "Save Recorded Flight");
        zephrel->stopRecording(true);
        EXPECT_EQ(c.name, zephrel->recordingName());
        EXPECT_EQ(1u, readRecordedFile(c.name).tracks.size());
        EXPECT_EQ(recordingTitle(c.name), titleOf(c.name + ".flt"));
        EXPECT_FALSE(fs::exists(tempFlight()));
    }
    EXPECT_EQ(dir.file("Flights"), readDialogFolder(settingsFile, "ZflPath"));
}

TEST_F(ZephrelFilesTest, WithTheSaveDialogBeforeTheFlightIsSavedUnderTheChosenName) {
    const std::string name = dir.file("Flights/circuit.zfl");
    startWith("ShowRecDialog=0\nFileDialogBefore=1\n",
              "[RECORDING]\nSaveFlight=1\n[Dialogs]\nZflPath=" + dir.file("Flights") + "\n");
    script::cancelFileDialog("Save Recorded Flight");
    zephrel->record();
    EXPECT_FALSE(zephrel->isRecording());

    script::answerFileDialog({name}, "Save Recorded Flight");
    zephrel->record();
    ASSERT_TRUE(zephrel->isRecording());
    EXPECT_EQ("circuit", titleOf(name + ".flt"));
    EXPECT_FALSE(fs::exists(tempFlight()));
    tick(16);
    zephrel->stopRecording(true);
    EXPECT_EQ(1u, readRecordedFile(name).tracks.size());

    const std::vector<win::FileDialogEntry> shown = fileDialogs();
    ASSERT_EQ(2u, shown.size()) << "none after the recording";
    EXPECT_EQ(win::FileDialogKind::Save, shown[0].kind);
    EXPECT_EQ(dir.file("Flights"), shown[0].initialDir);
    EXPECT_NE(0u, shown[0].flags & win::OFN_OVERWRITEPROMPT);
}

TEST_F(ZephrelFilesTest, TheRecordingDialogComesFirstAndItsCancelLeavesTheSettingsAsTheyWere) {
    startWith("FileDialog=0\n");
    dialogs.confirmed = false;
    zephrel->record();
    EXPECT_FALSE(zephrel->isRecording());
    dialogs.confirmed = true;
    zephrel->record();
    EXPECT_TRUE(zephrel->isRecording());
    RecordingSettings written;
    readRecordingSettings(settingsFile, RecordingBlock::Recording, written);
    EXPECT_EQ(5000, written.interval);
    zephrel->stopRecording(true);
}

TEST_F(ZephrelFilesTest, PlayTakesTheTracksAndMarkersTheSettingsAskForAndLoadsTheRecordingsFlight) {
    struct Case {
        const char* settings;
        const char* sections;
        std::size_t tracks, markers;
    };
    const Case cases[] = {{"", "[PLAYBACK]\nLoadFlight=1\n", 2, 2},
                          {"PlayRecAI=0\n", "[PLAYBACK]\nLoadMarkers=0\n", 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        startWith(c.settings, c.sections);
        const std::size_t errors = sim().errors().size();
        script::answerFileDialog({recording}, "Open Recorded Flight");
        zephrel->play();
        ASSERT_TRUE(zephrel->isUserPlayback());
        EXPECT_EQ(c.tracks, zephrel->player()->trackCount());
        EXPECT_EQ(0, zephrel->player()->userTrack());
        EXPECT_EQ(c.markers, zephrel->player()->markers().size());
        // No flight was saved with this recording: the simulator names the one it was asked for.
        const bool loadFlight = c.markers != 0;
        ASSERT_EQ(errors + (loadFlight ? 1 : 0), sim().errors().size());
        if (loadFlight) {
            EXPECT_NE(std::string::npos, sim().errors().back().find(recording + ".flt"))
                << sim().errors().back();
        }
        zephrel->stopPlay(true);
    }
    EXPECT_NE(0u, fileDialogs().back().flags & win::OFN_FILEMUSTEXIST);
}

TEST_F(ZephrelFilesTest, AFileThatCannotBePlayedIsReportedOrDeclinedAndNothingStarts) {
    startWith("");
    const std::string damaged = dir.file("damaged.zfl");
    std::ofstream(damaged) << "not a recording at all, but long enough to be read";
    script::answerMessageBox(AnswerOk, {"Zephrel Error", damaged});
    zephrel->playFile(damaged, false);
    EXPECT_FALSE(zephrel->isPlaying());
    std::vector<MessageBoxRequest> shown = shownMessageBoxes();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Zephrel Error", shown[0].caption);
    EXPECT_NE(std::string::npos, shown[0].text.find(damaged)) << shown[0].text;
    EXPECT_EQ(std::string::npos, shown[0].text.find("will be stopped")) << "nothing runs that could stop";

    const std::string old = dir.file("old.zfl");
    writeBytes(old, oldformat::singleTrackFile(oldformat::kVersion5, 0, 0, 0, oldformat::samples(3)));
    script::answerMessageBox(AnswerNo, {"Zephrel", "older version"});
    zephrel->playFile(old, true);
    EXPECT_FALSE(zephrel->isPlaying());
    EXPECT_FALSE(fs::exists(dir.file("old.v1.zfl"))) << "not converted";
}

// A file to play as traffic beside a recording is read through before it is taken: one that
// cannot be played is refused with a box that names it and says why, and the recording goes on.
TEST_F(ZephrelFilesTest, AnUnplayableTrafficFileIsRefusedWhenChosenAndTheRecordingGoesOn) {
    const std::string cutMarkers = writeFile("cut.zfl", {{kJet}}, {marker(10000, 2, 5, "a"), marker(20000, 2, 5, "b")});
    fs::resize_file(cutMarkers, fs::file_size(cutMarkers) - 2);
    const std::string hugeCount = writeFile("huge.zfl", {{kJet}}, {marker(10000, 2, 5, "a")});
    Bytes bytes = readBytes(hugeCount);
    for (std::size_t i = 0; i < 4; ++i)
        bytes[22 + i] = 0xff; // the file header's marker count
    writeBytes(hugeCount, bytes);
    const std::string noDiscrete = dir.file("nodisc.zfl");
    {
        ZflFile file;
        file.open(noDiscrete, ZflFile::Write);
        TrackInfo info{};
        std::strcpy(info.title, kJet);
        info.format = {1, 0, 0, 0, 0};
        file.addTrack(info);
        ContData record{};
        file.writeContData(1, packing::pack(record, 0, 1).data());
        file.close();
    }
    const struct {
        std::string path;
        const char* caption;
        const char* says;
    } cases[] = {
        {cutMarkers, "Zephrel Error", "Reading from file"},
        {hugeCount, "Zephrel Error", "is damaged or uses an unsupported format!"},
        {noDiscrete, "Zephrel Error", "(track 1 holds no discrete records)"},
    };
    startWith("ShowRecDialog=0\nShowPlayDialog=0\n");
    zephrel->record();
    tick(8);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        script::answerFileDialog({c.path}, "Open Recorded Flights");
        script::answerMessageBox(AnswerOk, {c.caption, c.path});
        zephrel->playAsTraffic();
        EXPECT_FALSE(zephrel->isPlaying());
        const std::vector<MessageBoxRequest> shown = shownMessageBoxes();
        ASSERT_FALSE(shown.empty());
        EXPECT_NE(std::string::npos, shown.back().text.find(c.says)) << shown.back().text;
        EXPECT_EQ(std::string::npos, shown.back().text.find("will be stopped")) << shown.back().text;
        tick(8);
        EXPECT_TRUE(zephrel->isRecording());
    }
    script::answerFileDialog({dir.file("Flights/kept.zfl")}, "Save Recorded Flight");
    zephrel->stopRecording(true);
    EXPECT_EQ(1u, readRecordedFile(dir.file("Flights/kept.zfl")).tracks.size());
}

// Markers alone play beside their recording; on their own they are no flight, and the user is
// told so rather than left wondering.
TEST_F(ZephrelFilesTest, AFileWithoutTracksAloneIsNoFlightToPlay) {
    const std::string markers = writeFile("alone.markers.zfl", {}, {marker(10000, 2, 5, "a")});
    startWith("ShowPlayDialog=0\n");
    script::answerMessageBox(AnswerOk, {"Zephrel", "The file '" + markers + "' holds no flight to play!"});
    zephrel->playFile(markers, false);
    EXPECT_FALSE(zephrel->isPlaying());
    script::answerFileDialog({markers}, "Open Recorded Flights");
    script::answerMessageBox(AnswerOk, {"Zephrel", "The file '" + markers + "' holds no flight to play!"});
    zephrel->playAsTraffic();
    EXPECT_FALSE(zephrel->isPlaying());
    script::answerFileDialog({markers, recording}, "Open Recorded Flights");
    zephrel->playAsTraffic();
    EXPECT_TRUE(zephrel->isPlaying()) << "with a recording beside them";
    EXPECT_EQ(3u, zephrel->player()->markers().size());
}

TEST_F(ZephrelFilesTest, PlayAsTrafficPlaysEveryChosenFileWithoutAUserTrackAfterThePlaybackDialog) {
    const std::string second = writeFile("Flights/one.zfl", {WrittenTrack(kBeaver, 0, 300000)});
    startWith("ShowPlayDialog=1\n");
    dialogs.confirmed = false;
    zephrel->playAsTraffic();
    EXPECT_TRUE(fileDialogs().empty());

    dialogs.confirmed = true;
    script::answerFileDialog({recording, second}, "Open Recorded Flights");
    zephrel->playAsTraffic();
    ASSERT_TRUE(zephrel->isPlaying());
    EXPECT_FALSE(zephrel->isUserPlayback());
    EXPECT_EQ(3u, zephrel->player()->trackCount());
    EXPECT_EQ(0u, zephrel->player()->markers().size()) << "the dialog's LoadMarkers=0 holds";
    PlaybackSettings written;
    readPlaybackSettings(settingsFile, written);
    EXPECT_FALSE(written.loadMarkers);
    EXPECT_NE(0u, fileDialogs().back().flags & win::OFN_ALLOWMULTISELECT);
}

TEST_F(ZephrelFilesTest, DuringAMultiplayerSessionThePlayAndReplayCommandsRefuse) {
    startWith("");
    ASSERT_TRUE(win::RegisterClass(win::WNDCLASS{0, win::DefWindowProc, nullptr, nullptr, "FS98FLOAT"}));
    ASSERT_NE(nullptr, win::CreateWindowEx(0, "FS98FLOAT", "Contacts", 0, 0, 0, 100, 100, nullptr, 0, nullptr,
                                           nullptr));
    for (int i = 0; i < 4; ++i)
        script::answerMessageBox(AnswerOk, {"Zephrel", "multiplayer"});
    zephrel->play();
    zephrel->playAsTraffic();
    zephrel->advancedPlay();
    zephrel->startReplayRec();
    zephrel->instantReplay();
    const std::vector<MessageBoxRequest> shown = shownMessageBoxes();
    ASSERT_EQ(4u, shown.size());
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ("Playback is not available while a multiplayer session is running!", shown[i].text);
    EXPECT_EQ("Replay is not available while a multiplayer session is running!", shown[3].text);
    for (const MessageBoxRequest& box : shown)
        EXPECT_EQ("Zephrel", box.caption);
    zephrel->playFile(recording, false); // the automatic playback stays silent
    EXPECT_EQ(4u, shownMessageBoxes().size());
    EXPECT_FALSE(zephrel->isPlaying());
    EXPECT_TRUE(fileDialogs().empty());
    EXPECT_EQ(0, editor.asked);
}

TEST_F(ZephrelFilesTest, AdvancedPlayStartsTheEditedListOrReplacesTheRunningOneAtItsClock) {
    startWith("");
    editor.next = userList();
    zephrel->advancedPlay();
    ASSERT_TRUE(zephrel->isUserPlayback());
    tick(80);
    const uint32_t clock = zephrel->player()->now();
    ASSERT_GT(clock, 0u);
    editor.next = traffic(recording, {0, 1});
    zephrel->advancedPlay();
    ASSERT_TRUE(zephrel->isPlaying());
    EXPECT_FALSE(zephrel->isUserPlayback());
    EXPECT_EQ(2u, zephrel->player()->trackCount());
    EXPECT_EQ(clock, zephrel->player()->now());
}

TEST_F(ZephrelFilesTest, TheSettingsDialogWritesItsBlocksAndRestartsTheInstantReplay) {
    startWith("EnableReplay=1\n");
    zephrel->startReplayRec();
    tick(16);
    dialogs.confirmed = false;
    zephrel->settingsDialog();
    EXPECT_TRUE(zephrel->isReplayRecording());
    EXPECT_EQ("", profile::readString(settingsFile, "REPLAY", "Interval", ""));

    dialogs.confirmed = true;
    dialogs.enableReplay = true;
    zephrel->settingsDialog();
    ASSERT_TRUE(zephrel->isReplayRecording());
    EXPECT_EQ(0u, zephrel->recorder()->now()) << "a new replay recording";
    RecordingSettings replay;
    readRecordingSettings(settingsFile, RecordingBlock::Replay, replay);
    EXPECT_EQ(5000, replay.interval);

    dialogs.enableReplay = false;
    zephrel->settingsDialog();
    EXPECT_FALSE(zephrel->isReplayRecording());
    GeneralSettings written;
    readGeneralSettings(settingsFile, written);
    EXPECT_FALSE(written.enableReplay);

    zephrel->startRec();
    zephrel->settingsDialog();
    EXPECT_EQ(3, dialogs.asked) << "not while recording";
    zephrel->stopRec("");
}

} // namespace
