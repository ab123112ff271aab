// "Playback Settings": the two options and the played data groups, OK against Cancel.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModuleDialogTest.h"
#include "ShownControls.h"
#include "TemplateLayout.h"
#include "ui/PlaybackDlg.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;
using D = PlaybackDlg;

class PlaybackDlgTest : public ModuleDialogTest {
protected:
    bool run(std::vector<Step> steps) {
        forgetHistory();
        scriptDialog(ModuleResources::kPlaybackDialog, std::move(steps));
        return D::show(nullptr, settings);
    }

    PlaybackSettings settings;
};

TEST_F(PlaybackDlgTest, TemplateControlsStayInsideTheDialogAndApart) {
    EXPECT_EQ(std::vector<std::string>{}, layoutProblems(D::dialogTemplate()));
}

TEST_F(PlaybackDlgTest, ShowsTheBlockAndOkWithoutChangesKeepsIt) {
    EXPECT_TRUE(run({Press{win::IDOK}}));
    EXPECT_EQ(PlaybackSettings{}, settings);
    EXPECT_EQ("Playback Settings", shownTitle(ModuleResources::kPlaybackDialog));
    const std::string opened = transcriptText();
    for (const char* line : {"1001 Button \"Load saved Flight (if available)\" unchecked",
                             "1002 Button \"Load Markers\" checked"})
        EXPECT_NE(std::string::npos, opened.find(line)) << line << " in\n" << opened;
    // Everything but the wind, the Mach number, the time of day, the date and the extended groups.
    const std::string tree =
        shownControl(ModuleResources::kPlaybackDialog, win::DialogEntry::Initialised, D::kGroupsId).state;
    for (const char* group :
         {"\"Flight Controls\" [x]", "\"Concorde Nose Visor\" [x]", "\"Wing Fold\" [x]", "\"Airspeeds\" [x]",
          "\"Ambient Wind\" [ ]", "\"Date & Time\" [ ]", "\"Extended Data\" [ ]"})
        EXPECT_NE(std::string::npos, tree.find(group)) << group << " in " << tree;
}

TEST_F(PlaybackDlgTest, OkStoresTheEditAndCancelLeavesTheBlock) {
    const std::vector<Step> edit = {SetCheck{D::kLoadFlightId, true}, SetCheck{D::kLoadMarkersId, false},
                                    SetTreeCheck{D::kGroupsId, {"Ambient Wind"}, true},
                                    SetTreeCheck{D::kGroupsId, {"Smoke System"}, false}};

    std::vector<Step> cancelled = edit;
    cancelled.push_back(Press{win::IDCANCEL});
    EXPECT_FALSE(run(cancelled));
    EXPECT_EQ(PlaybackSettings{}, settings);

    std::vector<Step> confirmed = edit;
    confirmed.push_back(Press{win::IDOK});
    EXPECT_TRUE(run(confirmed));
    EXPECT_TRUE(settings.loadFlight);
    EXPECT_FALSE(settings.loadMarkers);
    EXPECT_EQ(0x1ffu | 0x200u, settings.contFlags) << "the airspeeds, stored as one bit, are left alone";
    EXPECT_EQ(0x3ffu & ~0x080u, settings.discFlags);
}

} // namespace
