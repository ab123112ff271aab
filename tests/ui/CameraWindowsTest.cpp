// The camera files' dialogs: each kind's title, filter and extension, the folder kept under
// "CamPath", and a cancelled dialog.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ModuleDialogTest.h"
#include "settings/Settings.h"
#include "support/TempDir.h"
#include "ui/CameraWindows.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;

class CameraWindowsTest : public ModuleDialogTest {
protected:
    TempDir dir;
    std::string settingsFile = dir.file("Zephrel.ini");
};

TEST_F(CameraWindowsTest, EachKindHasItsFileDialogAndTheFolderIsKept) {
    CameraWindows windows(settingsFile);
    struct Case {
        int kind;
        bool save;
        const char* title;
        const char* filter;
        const char* pattern;
    };
    const Case cases[] = {
        {1, false, "Load VC Cameras", "VC Camera Files", "*.camvc"},
        {2, true, "Save Tower Cameras", "Tower Camera Files", "*.camtwr"},
        {3, false, "Load Spot Cameras", "Spot Camera Files", "*.camspot"},
    };
    for (const Case& c : cases) {
        std::filesystem::create_directories(dir.file("sets"));
        const std::string chosen = dir.file(std::string("sets/cameras") + (c.pattern + 1));
        if (!c.save)
            std::ofstream(chosen) << "[Camera.000]\n"; // one to load
        answerFileDialog({chosen}, c.title);
        EXPECT_EQ(chosen, windows.cameraFile(c.kind, c.save)) << c.title;
        const win::FileDialogEntry shown = transcript().all<win::FileDialogEntry>().back();
        EXPECT_EQ(c.title, shown.title);
        ASSERT_EQ(1u, shown.filters.size());
        EXPECT_EQ(c.filter, shown.filters[0].name);
        EXPECT_EQ(c.pattern, shown.filters[0].pattern);
        EXPECT_EQ(dir.file("sets"), readDialogFolder(settingsFile, DialogFolder::kCameras));
    }
    cancelFileDialog("Save VC Cameras");
    EXPECT_EQ("", windows.cameraFile(1, true));
    EXPECT_EQ("", windows.cameraFile(4, true)) << "no camera files of another kind";
}

} // namespace
