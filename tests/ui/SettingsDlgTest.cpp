// "Zephrel Settings": the settings shown and written back within their ranges, the speeds check,
// the Step/Search fields, the enable rules, the file-name choice, the temporary folder, the camera
// message, and the dialogs opened from it, which write their own sections at once.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "ModuleDialogTest.h"
#include "ShownControls.h"
#include "TemplateLayout.h"
#include "support/ShownMessageBoxes.h"
#include "support/TempDir.h"
#include "ui/PlaybackDlg.h"
#include "ui/RecordingDlg.h"
#include "ui/SettingsDlg.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;
using D = SettingsDlg;
using When = win::DialogEntry::What;

constexpr const char* kInvalidSpeeds =
    "The speeds string you entered is not valid. You have to enter a sequence of values between 0.03 and 100 "
    "in "
    "ascending order separated by semicolons, where one value has to be 1.";
constexpr const char* kCameraRestart =
    "Enabling/disabling camera features requires a restart of FS to take effect.";

class SettingsDlgTest : public ModuleDialogTest {
protected:
    bool run(std::vector<Step> steps, D::AutoplayDialog autoplay = {}) {
        forgetHistory();
        scriptDialog(ModuleResources::kSettingsDialog, std::move(steps));
        return D::show(nullptr, general, recording, playback, replay, ini, std::move(autoplay));
    }
    static win::ControlSnapshot shown(When when, int id) {
        return shownControl(ModuleResources::kSettingsDialog, when, id);
    }
    void writeFile(const std::string& text) { std::ofstream(ini, std::ios::binary) << text; }
    std::string fileText() {
        const auto bytes = readBytes(ini);
        return {bytes.begin(), bytes.end()};
    }

    GeneralSettings general;
    RecordingSettings recording;
    PlaybackSettings playback;
    RecordingSettings replay;
    TempDir dir;
    std::string ini = dir.file(kSettingsFileName);
};

TEST_F(SettingsDlgTest, TemplateControlsStayInsideTheDialogAndApart) {
    EXPECT_EQ(std::vector<std::string>{}, layoutProblems(D::dialogTemplate()));
}

TEST_F(SettingsDlgTest, ShowsTheSettingsAndOkWithoutChangesKeepsThem) {
    general.tempDirectory = "/var/tmp/zephrel";
    const GeneralSettings before = general;
    EXPECT_TRUE(run({Press{win::IDOK}}));
    EXPECT_EQ(before, general);
    EXPECT_TRUE(shownMessageBoxes().empty());
    EXPECT_FALSE(std::filesystem::exists(ini)) << "the caller writes the settings";

    EXPECT_EQ("Zephrel Settings", shownTitle(ModuleResources::kSettingsDialog));
    const std::string opened = transcriptText();
    for (const char* line :
         {"1001 Button \"Enable Replay\" checked", "1003 Button \"Step\" checked", "1005 Edit \"15\"",
          "1008 Edit \"60\"", "1011 Edit \"300\"", "1014 Edit \"200\"",
          "1024 Edit \"0.1;0.2;0.3;0.5;1;2;3;5;10\"", "1034 Button \"after Recording\" checked",
          "1035 Button \"Automatic Filename (no Dialog)\" unchecked", "1036 Edit \"/var/tmp/zephrel\"",
          "1038 Edit \"10\"", "1041 Button \"Disable Camera Features\" unchecked"})
        EXPECT_NE(std::string::npos, opened.find(line)) << line << " in\n" << opened;
}

TEST_F(SettingsDlgTest, EveryCheckBoxStoresItsOwnSetting) {
    struct Check {
        int id;
        bool GeneralSettings::*value;
    };
    const std::vector<Check> checks = {
        {D::kEnableReplayId, &GeneralSettings::enableReplay},
        {D::kPlayRecAIId, &GeneralSettings::playRecAI},
        {D::kDisableLiveAIId, &GeneralSettings::disableLiveAI},
        {D::kUnpauseStartPlayId, &GeneralSettings::unpauseStartPlay},
        {D::kPauseEndPlayId, &GeneralSettings::pauseEndPlay},
        {D::kRestoreAfterPlayId, &GeneralSettings::restoreAfterPlay},
        {D::kSetSimRateId, &GeneralSettings::setSimRate},
        {D::kSetSimRateSearchId, &GeneralSettings::setSimRateSearch},
        {D::kLimitSimRateId, &GeneralSettings::limitSimRate},
        {D::kEnableControlsId, &GeneralSettings::enableControls},
        {D::kEnableControlsAIId, &GeneralSettings::enableControlsAI},
        {D::kLoadAircraftId, &GeneralSettings::loadAircraft},
        {D::kDisplayRecordingId, &GeneralSettings::displayRecording},
        {D::kDisplayPlaybackId, &GeneralSettings::displayPlayback},
        {D::kShowWindowId, &GeneralSettings::showWindow},
        {D::kShowDataWindowId, &GeneralSettings::showDataWindow},
        {D::kShowRecDialogId, &GeneralSettings::showRecDialog},
        {D::kShowPlayDialogId, &GeneralSettings::showPlayDialog},
        {D::kEnableAutoplayId, &GeneralSettings::enableAutoplay},
    };
    for (const Check& check : checks) {
        general = GeneralSettings{};
        GeneralSettings expected = general;
        expected.*check.value = !(general.*check.value);
        EXPECT_TRUE(run({SetCheck{check.id, !(general.*check.value)}, Press{win::IDOK}})) << check.id;
        EXPECT_EQ(expected, general) << check.id;
    }
}

TEST_F(SettingsDlgTest, OkKeepsTheNumbersInTheirRanges) {
    struct Case {
        int id;
        const char* text;
        int32_t GeneralSettings::*value;
        int32_t stored;
    };
    const std::vector<Case> cases = {
        {D::kMaxAircraftId, "0", &GeneralSettings::maxAircraft, 0},
        {D::kMaxAircraftId, "-5", &GeneralSettings::maxAircraft, 0},
        {D::kMaxAircraftId, "100000", &GeneralSettings::maxAircraft, D::kMaxAircraft},
        {D::kMaxTempSizeId, "0", &GeneralSettings::maxReplaySize, 0},
        {D::kMaxTempSizeId, "250", &GeneralSettings::maxReplaySize, 250},
        {D::kMaxTempSizeId, "5000", &GeneralSettings::maxReplaySize, D::kMaxTempSize},
        {D::kStepValueIds[0], "0", &GeneralSettings::jumpSize1, D::kMinJumpSize},
        {D::kStepValueIds[1], "100000", &GeneralSettings::jumpSize2, D::kMaxJumpSize},
        {D::kStepValueIds[2], "45", &GeneralSettings::jumpSize3, 45},
    };
    for (const Case& c : cases) {
        general = GeneralSettings{};
        EXPECT_TRUE(run({SetText{c.id, c.text}, Press{win::IDOK}})) << c.text;
        EXPECT_EQ(c.stored, general.*c.value) << c.id << " " << c.text;
    }

    general = GeneralSettings{};
    general.search1 = general.search2 = true;
    EXPECT_TRUE(
        run({SetText{D::kStepValueIds[0], "0"}, SetText{D::kStepValueIds[1], "1000"}, Press{win::IDOK}}));
    EXPECT_EQ(D::kMinSearchSpeed, general.searchSpeed1);
    EXPECT_EQ(D::kMaxSearchSpeed, general.searchSpeed2);
}

TEST_F(SettingsDlgTest, EachStepFieldShowsTheJumpSizeOrTheSearchSpeed) {
    const auto step = [](int row) { return SetCheck{D::kStepIds[static_cast<std::size_t>(row)], true}; };
    const auto search = [](int row) { return SetCheck{D::kSearchIds[static_cast<std::size_t>(row)], true}; };
    const auto value = [](int row, const char* text) {
        return SetText{D::kStepValueIds[static_cast<std::size_t>(row)], text};
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
        const char* shownAtEnd; // row 1's field
        bool search1;
        int jumpSize1, searchSpeed1;
    };
    const std::vector<Case> cases = {
        {"search shows the speed", {search(0)}, "5", true, 15, 5},
        {"a speed typed, back to step", {search(0), value(0, "7"), step(0)}, "15", false, 15, 7},
        {"a jump typed, then search", {value(0, "20"), search(0)}, "5", true, 20, 5},
        {"both typed", {value(0, "20"), search(0), value(0, "9"), step(0), search(0)}, "9", true, 20, 9},
    };
    for (const Case& c : cases) {
        general = GeneralSettings{};
        std::vector<Step> steps = c.steps;
        steps.push_back(Press{win::IDOK});
        EXPECT_TRUE(run(steps)) << c.what;
        EXPECT_EQ(c.shownAtEnd, shown(When::Ended, D::kStepValueIds[0]).text) << c.what;
        EXPECT_EQ(c.search1, general.search1) << c.what;
        EXPECT_EQ(c.jumpSize1, general.jumpSize1) << c.what;
        EXPECT_EQ(c.searchSpeed1, general.searchSpeed1) << c.what;
        // The other rows are their own.
        EXPECT_FALSE(general.search2) << c.what;
        EXPECT_EQ(60, general.jumpSize2) << c.what;
        EXPECT_EQ(50, general.searchSpeed3) << c.what;
    }

    general = GeneralSettings{};
    general.search3 = true;
    EXPECT_TRUE(run({Press{win::IDOK}}));
    EXPECT_EQ("50", shown(When::Initialised, D::kStepValueIds[2]).text);
    EXPECT_EQ("checked", shown(When::Initialised, D::kSearchIds[2]).state);
    EXPECT_EQ("unchecked", shown(When::Initialised, D::kStepIds[2]).state);
}

TEST_F(SettingsDlgTest, TheSpeedsAreCheckedBeforeAnythingIsStored) {
    struct Case {
        const char* text;
        std::vector<double> speeds; // empty: invalid
    };
    const std::vector<Case> cases = {
        {"0.5;1;2", {0.5, 1, 2}},
        {"0.03;1;100", {0.03125, 1, 100}},
        {"1", {1}},
        {"0;1;2", {}},     // zero
        {"-0.5;1;2", {}},  // below zero
        {"0.02;1;2", {}},  // too slow
        {"0.5;1;101", {}}, // too fast
        {"0.5;2;1", {}},   // not ascending
        {"0.5;1;1;2", {}}, // not greater than the one before
        {"0.5;2", {}},     // no normal speed
        {"0.5|1|2", {}},   // the file's separator
        {"", {}},
    };
    for (const Case& c : cases) {
        general = GeneralSettings{};
        const bool valid = !c.speeds.empty();
        if (valid) {
            EXPECT_TRUE(
                run({SetText{D::kSpeedsId, c.text}, SetCheck{D::kShowWindowId, true}, Press{win::IDOK}}))
                << c.text;
            EXPECT_EQ(c.speeds, general.speeds) << c.text;
            EXPECT_TRUE(general.showWindow) << c.text;
            EXPECT_TRUE(shownMessageBoxes().empty()) << c.text;
            continue;
        }
        // The box comes, the dialog stays open, and Cancel then leaves everything as it was.
        answerMessageBox(win::IDOK, {"Invalid Speeds", kInvalidSpeeds});
        EXPECT_FALSE(run({SetText{D::kSpeedsId, c.text}, SetCheck{D::kShowWindowId, true}, Press{win::IDOK},
                          Press{win::IDCANCEL}}))
            << c.text;
        EXPECT_EQ(GeneralSettings{}, general) << c.text;
        const auto boxes = shownMessageBoxes();
        ASSERT_EQ(1u, boxes.size()) << c.text;
        EXPECT_EQ("Invalid Speeds", boxes[0].caption);
        EXPECT_EQ(kInvalidSpeeds, boxes[0].text);
    }
}

TEST_F(SettingsDlgTest, DependentCheckBoxesFollowTheirs) {
    EXPECT_TRUE(
        run({SetCheck{D::kSetSimRateId, false}, SetCheck{D::kEnableControlsId, false}, Press{win::IDOK}}));
    for (int id : {D::kSetSimRateSearchId, D::kLimitSimRateId, D::kEnableControlsAIId}) {
        EXPECT_TRUE(shown(When::Initialised, id).enabled) << id;
        EXPECT_FALSE(shown(When::Ended, id).enabled) << id;
    }
    EXPECT_FALSE(shown(When::Initialised, D::kAutoplaySettingsId).enabled) << "no autoplay dialog given";

    general.setSimRate = false;
    general.enableControls = false;
    general.limitSimRate = true;
    EXPECT_TRUE(run(
        {SetCheck{D::kEnableControlsId, true}, SetCheck{D::kEnableControlsAIId, true}, Press{win::IDOK}}));
    EXPECT_FALSE(shown(When::Initialised, D::kLimitSimRateId).enabled);
    EXPECT_TRUE(general.limitSimRate) << "a disabled box keeps its setting";
    EXPECT_TRUE(general.enableControlsAI);
}

TEST_F(SettingsDlgTest, TheFileNameChoiceSetsBothFileDialogKeys) {
    struct Case {
        bool fileDialog, fileDialogBefore;
        int shownChoice;
        int chosen;
        bool storedFileDialog, storedBefore;
    };
    const std::vector<Case> cases = {
        {true, false, D::kFileDialogAfterId, D::kFileDialogBeforeId, true, true},
        {true, true, D::kFileDialogBeforeId, D::kFileDialogAfterId, true, false},
        {true, true, D::kFileDialogBeforeId, D::kAutomaticFilenameId, false, true},
        {false, false, D::kAutomaticFilenameId, D::kFileDialogAfterId, true, false},
        {false, true, D::kAutomaticFilenameId, D::kAutomaticFilenameId, false, true},
    };
    for (const Case& c : cases) {
        general.fileDialog = c.fileDialog;
        general.fileDialogBefore = c.fileDialogBefore;
        EXPECT_TRUE(run({SetCheck{c.chosen, true}, Press{win::IDOK}}));
        EXPECT_EQ("checked", shown(When::Initialised, c.shownChoice).state) << c.shownChoice;
        EXPECT_EQ(c.storedFileDialog, general.fileDialog) << c.chosen;
        EXPECT_EQ(c.storedBefore, general.fileDialogBefore) << c.chosen;
    }
}

TEST_F(SettingsDlgTest, TheFolderBrowserChoosesTheTempDirectory) {
    const std::string chosen = dir.file("temp");
    std::filesystem::create_directories(chosen);
    general.tempDirectory = "/var/tmp";

    cancelFolderBrowser("Select Temp Directory");
    EXPECT_TRUE(run({Press{D::kBrowseTempId}, Press{win::IDOK}}));
    EXPECT_EQ("/var/tmp", general.tempDirectory);
    const auto browsers = transcript().all<win::FolderBrowserEntry>();
    ASSERT_EQ(1u, browsers.size());
    EXPECT_EQ("/var/tmp", browsers[0].initialFolder);

    answerFolderBrowser(chosen + "/", "Select Temp Directory");
    EXPECT_TRUE(run({Press{D::kBrowseTempId}, Press{win::IDOK}}));
    EXPECT_EQ(chosen, general.tempDirectory) << "kept without a trailing separator";

    EXPECT_TRUE(run({SetText{D::kTempDirectoryId, "/srv/zephrel//"}, Press{win::IDOK}}));
    EXPECT_EQ("/srv/zephrel", general.tempDirectory);
}

TEST_F(SettingsDlgTest, ChangingTheCameraFeaturesAsksForARestart) {
    for (bool disabledBefore : {false, true}) {
        general.disableCameras = disabledBefore;
        EXPECT_TRUE(run({Press{win::IDOK}}));
        EXPECT_TRUE(shownMessageBoxes().empty());

        answerMessageBox(win::IDOK, {"Zephrel", kCameraRestart});
        EXPECT_TRUE(run({SetCheck{D::kDisableCamerasId, !disabledBefore}, Press{win::IDOK}}));
        EXPECT_EQ(!disabledBefore, general.disableCameras);
        const auto boxes = shownMessageBoxes();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ("Zephrel", boxes[0].caption);
        EXPECT_EQ(kCameraRestart, boxes[0].text);

        // Changed and changed back is no change.
        EXPECT_TRUE(run({SetCheck{D::kDisableCamerasId, disabledBefore},
                         SetCheck{D::kDisableCamerasId, !disabledBefore}, Press{win::IDOK}}));
        EXPECT_TRUE(shownMessageBoxes().empty());
    }
}

TEST_F(SettingsDlgTest, CancelLeavesTheSettingsAndTheFileAsTheyWere) {
    const std::string text = "; mine\n[SETTINGS]\nMaxAircraft = 12\n";
    writeFile(text);
    general.maxAircraft = 12;
    const GeneralSettings before = general;
    EXPECT_FALSE(run({SetText{D::kMaxAircraftId, "3"}, SetCheck{D::kEnableReplayId, false},
                      SetText{D::kSpeedsId, "1;2"}, SetCheck{D::kSearchIds[1], true},
                      SetCheck{D::kAutomaticFilenameId, true}, Press{win::IDCANCEL}}));
    EXPECT_EQ(before, general);
    EXPECT_EQ(text, fileText());
}

TEST_F(SettingsDlgTest, SubDialogsWriteTheirSectionsAsSoonAsTheyAreConfirmed) {
    struct Case {
        const char* what;
        int button;
        uint16_t dialog;
        std::vector<Step> steps;
        const char* section;
        const char* line;
    };
    const std::vector<Case> cases = {
        {"replay",
         D::kReplaySettingsId,
         ModuleResources::kRecordingDialog,
         {SelectText{RecordingDlg::kIntervalId, "1 sec"}},
         "[REPLAY]",
         "Interval=10000"},
        {"recording",
         D::kSetRecordingId,
         ModuleResources::kRecordingDialog,
         {SetCheck{RecordingDlg::kSaveFlightId, true}},
         "[RECORDING]",
         "SaveFlight=1"},
        {"playback",
         D::kSetPlaybackId,
         ModuleResources::kPlaybackDialog,
         {SetCheck{PlaybackDlg::kLoadFlightId, true}},
         "[PLAYBACK]",
         "LoadFlight=1"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(ini);
        general = GeneralSettings{};
        recording = replay = RecordingSettings{};
        playback = PlaybackSettings{};

        // Cancelled, it writes nothing.
        scriptDialog(c.dialog, {Press{win::IDCANCEL}});
        EXPECT_TRUE(run({Press{c.button}, Press{win::IDOK}})) << c.what;
        EXPECT_FALSE(std::filesystem::exists(ini)) << c.what;

        // Confirmed, it writes at once, even when the settings dialog is then cancelled.
        std::vector<Step> steps = c.steps;
        steps.push_back(Press{win::IDOK});
        scriptDialog(c.dialog, steps);
        EXPECT_FALSE(run({Press{c.button}, Press{win::IDCANCEL}})) << c.what;
        const std::string written = fileText();
        EXPECT_NE(std::string::npos, written.find(std::string(c.section) + "\r\n")) << c.what << "\n"
                                                                                    << written;
        EXPECT_NE(std::string::npos, written.find(std::string(c.line) + "\r\n")) << c.what << "\n" << written;
        EXPECT_EQ(GeneralSettings{}, general) << c.what;
    }
    EXPECT_TRUE(playback.loadFlight) << "the block holds what the file holds";
}

TEST_F(SettingsDlgTest, AutoplaySettingsOpensTheGivenDialogOverThisOne) {
    std::vector<std::string> owners;
    EXPECT_TRUE(run({Press{D::kAutoplaySettingsId}, Press{D::kAutoplaySettingsId}, Press{win::IDOK}},
                    [&](win::HWND owner) { owners.push_back(win::GetWindowText(owner)); }));
    EXPECT_EQ((std::vector<std::string>{"Zephrel Settings", "Zephrel Settings"}), owners);
    EXPECT_TRUE(shown(When::Initialised, D::kAutoplaySettingsId).enabled);
}

} // namespace
