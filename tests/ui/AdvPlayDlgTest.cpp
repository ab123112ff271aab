#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ModuleDialogTest.h"
#include "TemplateLayout.h"
#include "settings/Settings.h"
#include "support/ShownMessageBoxes.h"
#include "support/TempDir.h"
#include "support/ZflTestFiles.h"
#include "ui/AdvPlayDlg.h"
#include "ui/AdvPlayTexts.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;
using When = win::DialogEntry::What;
using Dlg = AdvPlayDlg;

constexpr uint32_t kContFlags = ContGroup::FlightControls | ContGroup::Throttles | ContGroup::ExtendedControls;
constexpr uint32_t kDiscFlags = DiscGroup::Flaps;

const std::vector<AircraftChoice> kAircraft = {
    {"Cessna", "172", "Skyhawk", "Cessna Skyhawk 172SP"},
    {"Beechcraft", "Baron", "58", "Beech Baron 58"},
    {"Cessna", "208", "Caravan", "Cessna Caravan"},
};

class AdvPlayDlgTest : public ModuleDialogTest {
protected:
    void SetUp() override {
        ModuleDialogTest::SetUp();
        // Two tracks of 20 records (1.0 to 2.9 s), the second verified; a chapter and a text marker.
        zfltest::writeRecording(
            first,
            {zfltest::makeTrack(zfltest::trackInfo("Alpha", 1, kContFlags, kDiscFlags, 0, 0, 0, "N1"), 20, 3, 1),
             zfltest::makeTrack(zfltest::trackInfo("Bravo", 1, kContFlags, kDiscFlags, 0, 0, 1, "N2"), 20, 3, 2)},
            {zfltest::marker(12000, Marker::None, Marker::kChapter, ""),
             zfltest::marker(25000, Marker::DisplayText, 0x40 | 7, "Hello")});
        zfltest::writeRecording(
            second, {zfltest::makeTrack(zfltest::trackInfo("Charlie", 1, kContFlags, kDiscFlags), 20, 3, 3)});
    }

    bool edit(PlayList& list, std::vector<Step> steps) {
        scriptDialog(ModuleResources::kAdvancedPlaybackDialog, std::move(steps));
        return Dlg::edit(list, settings, kAircraft);
    }

    // The control as the dialog showed it at the start or at the end.
    static win::ControlSnapshot control(When when, int id) {
        for (const win::DialogEntry& entry : transcript().all<win::DialogEntry>())
            if (entry.what == when)
                for (const win::ControlSnapshot& shown : entry.controls)
                    if (shown.id == id)
                        return shown;
        ADD_FAILURE() << "no control " << id;
        return {};
    }

    PlayList firstFileList() const {
        PlayList list;
        list.files.push_back({first, 0, {}, {}});
        return list;
    }

    TempDir dir;
    std::string first = dir.file("first.zfl");
    std::string second = dir.file("second.zfl");
    std::string settings = dir.file("Zephrel.ini");
};

const std::vector<std::string> kAlpha = {"first.zfl", "Track 1: Alpha"};
const std::vector<std::string> kBravo = {"first.zfl", "Track 2: Bravo"};

TEST_F(AdvPlayDlgTest, TemplateFitsTogether) { EXPECT_EQ(std::vector<std::string>{}, layoutProblems(Dlg::dialogTemplate())); }

TEST_F(AdvPlayDlgTest, ARunningPlaybackShowsAsItIsAndCancelKeepsIt) {
    PlayList list = firstFileList();
    PlayTrack bravo;
    bravo.index = 1;
    bravo.offsetZ = 3;
    list.files[0].tracks = {bravo, bravo};
    list.files[0].markers = {1};
    list.userFile = 0;
    list.userTrack = 1;
    EXPECT_FALSE(edit(list, {SelectTreeItem{Dlg::kTreeId, kAlpha}, Press{Dlg::kInsertCopyId},
                             SetTreeCheck{Dlg::kTreeId, kBravo, false}, Press{win::IDCANCEL}}));
    EXPECT_EQ(R"t("first.zfl" [ ] ("Track 1: Alpha" [ ], "Track 2: Bravo" [x], "(Copy) Track 2: Bravo" [x] bold, )t"
              R"t("(Chapter)" [ ], "Hello" [x]))t",
              control(When::Initialised, Dlg::kTreeId).state);
    ASSERT_EQ(2u, list.files[0].tracks.size());
    EXPECT_EQ(1, list.userTrack);
    EXPECT_EQ(std::vector<uint32_t>{1}, list.files[0].markers);
    EXPECT_FALSE(control(When::Initialised, Dlg::kEastWestId).enabled) << "no track selected";
    EXPECT_FALSE(control(When::Initialised, Dlg::kRemoveFileId).enabled);
}

TEST_F(AdvPlayDlgTest, AddedFilesAndTheirChecksBecomeThePlayList) {
    answerFileDialog({first, second}, "Open Recorded Flights");
    PlayList list;
    ASSERT_TRUE(edit(list, {Press{Dlg::kAddFileId}, SetTreeCheck{Dlg::kTreeId, kAlpha, false},
                            SetTreeCheck{Dlg::kTreeId, {"first.zfl", "(Chapter)"}, false}, Press{win::IDOK}}));
    ASSERT_EQ(2u, list.files.size());
    EXPECT_EQ(first, list.files[0].fileName);
    ASSERT_EQ(1u, list.files[0].tracks.size());
    EXPECT_EQ(1u, list.files[0].tracks[0].index);
    EXPECT_EQ(std::vector<uint32_t>{1}, list.files[0].markers);
    ASSERT_EQ(1u, list.files[1].tracks.size());
    EXPECT_FALSE(list.namesUserTrack());
    EXPECT_EQ(dir.path().string(), readDialogFolder(settings, DialogFolder::kRecordings));
}

TEST_F(AdvPlayDlgTest, TheTreesPopUpMenuChecksAndClearsTracksOrMarkersOfAllFiles) {
    struct Case {
        std::string item;
        std::size_t tracks, markers;
    };
    const Case cases[] = {{"Uncheck all Tracks", 0, 1}, {"Uncheck all Markers", 1, 0},
                          {"Check all Tracks", 2, 1}, {"Check all Markers", 0, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        PlayList list = firstFileList();
        list.files[0].markers = {0};
        if (c.item == "Check all Markers")
            list.files[0].tracks.clear();
        else
            list.files[0].tracks = {PlayTrack{}};
        ASSERT_TRUE(edit(list, {ContextMenu{Dlg::kTreeId, c.item}, Press{win::IDOK}}));
        EXPECT_EQ(c.tracks, list.files[0].tracks.size());
        EXPECT_EQ(c.markers, list.files[0].markers.size());
    }
    const auto menus = transcript().all<win::PopupMenuEntry>();
    ASSERT_EQ(4u, menus.size());
    EXPECT_NE(std::string::npos, win::describe(menus[0]).find(R"( ["Check all Tracks", "Uncheck all Tracks", )"
                                                              R"("Check all Markers", "Uncheck all Markers"])"));
}

TEST_F(AdvPlayDlgTest, InsertCopyAndSetUserAcftToggle) {
    PlayList list = firstFileList();
    list.files[0].tracks = {PlayTrack{}};
    const std::vector<std::string> copy = {"first.zfl", "(Copy) Track 1: Alpha"};
    ASSERT_TRUE(edit(list, {SelectTreeItem{Dlg::kTreeId, kAlpha}, SetText{Dlg::kDelayId, "2.5"},
                            Press{Dlg::kInsertCopyId}, SetText{Dlg::kDelayId, "4"}, Press{Dlg::kSetUserId},
                            SelectTreeItem{Dlg::kTreeId, kAlpha}, Press{Dlg::kSetUserId}, Press{Dlg::kSetUserId},
                            SelectTreeItem{Dlg::kTreeId, copy}, Press{Dlg::kSetUserId}, Press{win::IDOK}}));
    EXPECT_NE(std::string::npos, control(When::Ended, Dlg::kTreeId).state.find(R"t("(Copy) Track 1: Alpha" [x] bold)t"));
    ASSERT_EQ(2u, list.files[0].tracks.size());
    EXPECT_EQ(25000u, list.files[0].tracks[0].timeOffset);
    EXPECT_EQ(40000u, list.files[0].tracks[1].timeOffset) << "the copy keeps its own settings";
    EXPECT_EQ(0u, list.files[0].tracks[1].index);
    EXPECT_EQ(0, list.userFile);
    EXPECT_EQ(1, list.userTrack);

    ASSERT_TRUE(edit(list, {SelectTreeItem{Dlg::kTreeId, copy}, Press{Dlg::kSetUserId}, Press{win::IDOK}}));
    EXPECT_FALSE(list.namesUserTrack()) << "chosen again: none";
}

TEST_F(AdvPlayDlgTest, OffsetsSwitchUnitsAndLabelsAndAreKeptInMetres) {
    PlayList list = firstFileList();
    list.files[0].tracks = {PlayTrack{}};
    ASSERT_TRUE(edit(list, {SelectTreeItem{Dlg::kTreeId, kAlpha}, SetText{Dlg::kEastWestId, "10"},
                            SetText{Dlg::kNorthSouthId, "-3.048"}, Press{Dlg::kUnitId},
                            SetCheck{Dlg::kHeadingId, true}, SelectText{Dlg::kManufacturerId, "Cessna"},
                            SelectText{Dlg::kTitleId, "Cessna Caravan"}, SetText{Dlg::kTailNumberId, "D-ABCDEFGHIJ"},
                            SetTreeCheck{Dlg::kDataTreeId, {"Flight Controls"}, false}, Press{win::IDOK}}));
    EXPECT_EQ("32.81", control(When::Ended, Dlg::kEastWestId).text);
    EXPECT_EQ("-10.00", control(When::Ended, Dlg::kNorthSouthId).text);
    EXPECT_EQ("ft", control(When::Ended, Dlg::kUnitId).text);
    EXPECT_EQ("Left/Right:", control(When::Ended, Dlg::kEastWestLabelId).text);
    EXPECT_EQ("Front/Back:", control(When::Ended, Dlg::kNorthSouthLabelId).text);
    EXPECT_EQ(R"t(items ["", "Cessna Caravan", "Cessna Skyhawk 172SP"] selected 1)t",
              control(When::Ended, Dlg::kTitleId).state);
    EXPECT_EQ(R"t("Flight Controls" [ ], "Flaps" [x], "Throttles" [x], "Extended Data" [ ])t",
              control(When::Ended, Dlg::kDataTreeId).state);
    const PlayTrack& track = list.files[0].tracks.at(0);
    EXPECT_NEAR(10.0, track.offsetX, 0.001);
    EXPECT_NEAR(-3.048, track.offsetZ, 0.001);
    EXPECT_EQ(1, track.rotateHeading);
    EXPECT_EQ("Cessna Caravan", track.title);
    EXPECT_EQ("D-ABCDEFGHI", track.tailNumber);
    EXPECT_EQ(0u, track.contFlags & (ContGroup::FlightControls | ContGroup::ExtendedControls));
    EXPECT_NE(0u, track.contFlags & ContGroup::Throttles);
}

TEST_F(AdvPlayDlgTest, InformationTextFollowsTheSelectedItem) {
    struct Case {
        std::vector<std::string> item;
        std::string text;
    };
    const Case cases[] = {
        {{"first.zfl"}, "File: " + first + "\nTracks: 2\n"},
        {kBravo, "File: " + first + "\nTrack: 2  (Original User Recording)\nAircraft: Bravo\nTail Number: N2\n"
                                    "Time: 1.0 - 2.9 sec\n"},
        {{"first.zfl", "Hello"}, "File: " + first + "\nMarker Type: Display Text (scroll)\nText: Hello\n"
                                                    "Display Time: 7 sec\nMarker Time: 2.5 sec\n"},
        {{"first.zfl", "(Chapter)"}, "File: " + first + "\nMarker Type: Chapter\nComment: \nMarker Time: 1.2 sec\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item.back());
        PlayList list = firstFileList();
        EXPECT_FALSE(edit(list, {SelectTreeItem{Dlg::kTreeId, c.item}, Press{win::IDCANCEL}}));
        EXPECT_EQ(c.text, control(When::Ended, Dlg::kInfoId).text);
        const bool track = c.item.size() > 1 && c.item[1].starts_with("Track");
        EXPECT_EQ(track, control(When::Ended, Dlg::kInsertCopyId).enabled);
        EXPECT_TRUE(control(When::Ended, Dlg::kRemoveFileId).enabled);
        forgetHistory();
    }
}

TEST_F(AdvPlayDlgTest, SaveAsRefusesAnInputFileAndWritesTheSelectionOtherwise) {
    const std::string target = dir.file("saved.zfl");
    const Bytes before = readBytes(first);
    answerFileDialog({first}, "Save Flights");
    answerMessageBox(win::IDYES, {"Save Flights", "already exists"}); // replacing is asked first
    answerMessageBox(win::IDOK, {"Zephrel", "You cannot select one of the input files as target file! Please choose "
                                            "a different target file name."});
    answerFileDialog({target}, "Save Flights");
    PlayList list = firstFileList();
    list.files[0].tracks = {PlayTrack{}};
    list.files[0].tracks[0].index = 1;
    EXPECT_FALSE(edit(list, {Press{Dlg::kSaveAsId}, Press{Dlg::kSaveAsId}, Press{win::IDCANCEL}}));
    EXPECT_EQ(before, readBytes(first));
    ASSERT_EQ(2u, shownMessageBoxes().size());
    EXPECT_EQ(MessageIcon::Warning, shownMessageBoxes().back().icon);
    zfltest::Opened saved(target);
    ASSERT_EQ(1u, saved.getNTracks());
    EXPECT_STREQ("Bravo", saved.getTrackInfo(0).title);
    EXPECT_EQ(0, saved.getTrackInfo(0).originalRecording);
}

TEST_F(AdvPlayDlgTest, RemoveFileDropsItAndItsUserTrack) {
    answerFileDialog({second}, "Open Recorded Flights");
    PlayList list = firstFileList();
    list.files[0].tracks = {PlayTrack{}};
    list.userFile = 0;
    list.userTrack = 0;
    ASSERT_TRUE(edit(list, {Press{Dlg::kAddFileId}, SelectTreeItem{Dlg::kTreeId, kAlpha}, Press{Dlg::kRemoveFileId},
                            Press{win::IDOK}}));
    ASSERT_EQ(1u, list.files.size());
    EXPECT_EQ(second, list.files[0].fileName);
    EXPECT_FALSE(list.namesUserTrack());
}

TEST(AdvPlayTextsTest, MarkersAreLabelledAndDescribedByType) {
    struct Case {
        Marker marker;
        std::string label;
        int icon;
        std::string type; // the information text after "Marker Type: " up to "Marker Time"
    };
    const Case cases[] = {
        {{0, Marker::None, 0, ""}, "(Chapter)", 0, "None\nComment: \n"},
        {{0, Marker::PlaySound, 3, "a.wav"}, "a.wav", 1, "Play Sound (always)\nWave File: a.wav\n"},
        {{0, Marker::PlaySound, 1, "a.wav"}, "a.wav", 1, "Play Sound (inside views only)\nWave File: a.wav\n"},
        {{0, Marker::PlaySound, 2, "a.wav"}, "a.wav", 1, "Play Sound (outside views only)\nWave File: a.wav\n"},
        {{0, Marker::PlaySound, 0, "a.wav"}, "a.wav", 1, "Play Sound (never)\nWave File: a.wav\n"},
        {{0, Marker::DisplayText, 12, ""}, "(Clear)", 2, "Display Text (static)\nText: \nDisplay Time: 12 sec\n"},
        {{0, Marker::Pause, 0, "wait"}, "wait", 3, "Pause\nComment: wait\n"},
        {{0, Marker::SwitchCamera, 0, ""}, "(Camera)", 4, "Switch Camera\nComment: \n"},
        {{0, 9, 0, "odd"}, "odd", 5, "Unknown\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(c.label, AdvPlayTexts::markerLabel(c.marker));
        EXPECT_EQ(c.icon, AdvPlayTexts::markerIcon(c.marker));
        EXPECT_EQ("File: f\nMarker Type: " + c.type + "Marker Time: 0.0 sec\n", AdvPlayTexts::markerInfo("f", c.marker));
    }
}

} // namespace
