#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/Settings.h"
#include "support/FileSizeLimit.h"
#include "support/RecordedFile.h"
#include "support/ShownMessageBoxes.h"
#include "support/TempDir.h"
#include "support/TempLog.h"
#include "support/ZflTestFiles.h"
#include "ui/NewMarkersSave.h"
#include "winsys/HeadlessScript.h"

namespace {

Marker marker(uint32_t time, uint32_t type, uint32_t flags, const std::string& text, uint8_t include) {
    Marker m{time, type, flags, text};
    m.include = include;
    return m;
}

using NewMarkersSaveTest = TempLogTest;

// At the end of a playback the user is offered the markers set during it (those with the include
// flag), as a recording of markers alone in a file of their choice; the dialog starts in and
// keeps the recordings' folder.
TEST_F(NewMarkersSaveTest, OnlyMarkersSetDuringThePlaybackAreOfferedAndSaved) {
    struct Case {
        const char* name;
        bool newMarkers;
        int answer;
        bool chooseFile;
    };
    const Case cases[] = {
        {"nothing new", false, 0, false},
        {"not wanted", true, win::IDNO, false},
        {"dialog cancelled", true, win::IDYES, false},
        {"saved", true, win::IDYES, true},
    };
    TempDir dir;
    const std::string settingsFile = dir.file("Zephrel.ini");
    const std::string startFolder = dir.file("Start"), outFolder = dir.file("Out");
    std::filesystem::create_directories(startFolder);
    std::filesystem::create_directories(outFolder);
    const std::string out = (std::filesystem::path(outFolder) / "new.markers.zfl").string();
    const std::vector<Marker> added = {marker(20000, Marker::DisplayText, 7, "first", 1),
                                       marker(30000, Marker::Pause, Marker::kChapter, "second", 1)};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        win::headless::reset();
        ASSERT_TRUE(writeDialogFolder(settingsFile, DialogFolder::kRecordings, startFolder));
        std::vector<Marker> markers = {marker(10000, Marker::DisplayText, 5, "file", 0),
                                       marker(40000, Marker::DisplayText, 5, "kept out", 0)};
        if (c.newMarkers)
            markers.insert(markers.begin() + 1, added.begin(), added.end());
        if (c.answer != 0)
            win::headless::answerMessageBox(c.answer, {"Zephrel", "new markers"});
        if (c.answer == win::IDYES) {
            if (c.chooseFile)
                win::headless::answerFileDialog({out}, "Save Markers");
            else
                win::headless::cancelFileDialog("Save Markers");
        }
        offerToSaveNewMarkers(markers, settingsFile);
        EXPECT_EQ(0u, win::headless::unusedAnswers());
        const std::vector<MessageBoxRequest> shown = shownMessageBoxes();
        ASSERT_EQ(c.newMarkers ? 1u : 0u, shown.size());
        if (c.newMarkers) {
            EXPECT_EQ("You have set new markers during playback, do you want to save them?", shown.back().text);
            EXPECT_EQ("Zephrel", shown.back().caption);
            EXPECT_EQ(MessageButtons::YesNo, shown.back().buttons);
        }
        const auto fileDialogs = win::headless::transcript().all<win::FileDialogEntry>();
        ASSERT_EQ(c.answer == win::IDYES ? 1u : 0u, fileDialogs.size());
        if (c.answer == win::IDYES) {
            const win::FileDialogEntry& dialog = fileDialogs.back();
            EXPECT_EQ(startFolder, dialog.initialDir);
            ASSERT_FALSE(dialog.filters.empty());
            EXPECT_EQ("Flight Recordings (Markers)", dialog.filters[0].name);
            EXPECT_EQ("*.markers.zfl", dialog.filters[0].pattern);
        }
        EXPECT_EQ(c.chooseFile, std::filesystem::exists(out));
        EXPECT_EQ(c.chooseFile ? outFolder : startFolder, readDialogFolder(settingsFile, DialogFolder::kRecordings));
        if (c.chooseFile) {
            const RecordedFile read = readRecordedFile(out);
            EXPECT_TRUE(read.tracks.empty());
            ASSERT_EQ(added.size(), read.markers.size());
            for (std::size_t i = 0; i < added.size(); ++i)
                zfltest::expectSameMarker(added[i], read.markers[i]);
        }
    }
    win::headless::reset();
}

// A save that fails (here: the disk fills) over a file the user chose to replace tells why and
// leaves that file as it was.
TEST_F(NewMarkersSaveTest, AFailedSaveLeavesTheFileItWasToReplaceAsItWas) {
    TempDir dir;
    const std::string settingsFile = dir.file("Zephrel.ini");
    const std::string out = dir.file("old.markers.zfl");
    const Bytes older(300, 0x5a);
    writeBytes(out, older);
    std::vector<Marker> markers = {marker(20000, Marker::DisplayText, 7, std::string(200, 'm'), 1)};
    win::headless::reset();
    win::headless::answerMessageBox(win::IDYES, {"Zephrel", "new markers"});
    win::headless::answerFileDialog({out}, "Save Markers");
    win::headless::answerMessageBox(win::IDYES, {"Save Markers", "already exists"});
    win::headless::answerMessageBox(win::IDOK, {"Zephrel Error", "Writing to file"});
    {
        const FileSizeLimit full(100);
        offerToSaveNewMarkers(markers, settingsFile);
    }
    EXPECT_EQ(0u, win::headless::unusedAnswers());
    EXPECT_EQ(older, readBytes(out));
    EXPECT_FALSE(std::filesystem::exists(out + ".part"));
    win::headless::reset();
}

} // namespace
