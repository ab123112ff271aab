#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModuleDialogTest.h"
#include "ui/InstantReplayDlg.h"
#include "ui/ModuleResources.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;

constexpr int kTime = InstantReplayDlg::kTimeId;
constexpr int kSpin = InstantReplayDlg::kSpinId;
constexpr int kSave = InstantReplayDlg::kSaveId;
constexpr int kAvailable = 120;

class InstantReplayDlgTest : public ModuleDialogTest {
protected:
    static int choose(std::vector<Step> steps) {
        scriptDialog(ModuleResources::kInstantReplayDialog, std::move(steps));
        return InstantReplayDlg::choose(kAvailable);
    }
};

TEST_F(InstantReplayDlgTest, StartsWithAllTheSecondsAvailableInTheFieldAndItsSpin) {
    EXPECT_EQ(0, choose({Press{win::IDCANCEL}}));

    const std::string shown = transcriptText();
    for (const char* line : {"dialog 140 \"Instant Replay\" initialised", "1001 Edit \"120\"",
                             "1002 msctls_updown32 \"\" position 120 range 0..120"})
        EXPECT_NE(std::string::npos, shown.find(line)) << line << " in\n" << shown;
}

TEST_F(InstantReplayDlgTest, OkPlaysAndSaveSavesTheFieldsSecondsWithinThoseAvailable) {
    struct Case {
        const char* what;
        std::vector<Step> steps;
        int result;
    };
    const std::vector<Case> cases = {
        {"typed", {SetText{kTime, "45"}, Press{win::IDOK}}, 45},
        {"more than available", {SetText{kTime, "500"}, Press{win::IDOK}}, kAvailable},
        {"saved", {SetText{kTime, "45"}, Press{kSave}}, -45},
        {"saved, more than available", {SetText{kTime, "500"}, Press{kSave}}, -kAvailable},
        {"not a number", {SetText{kTime, "abc"}, Press{win::IDOK}}, 0},
        {"negative", {SetText{kTime, "-30"}, Press{win::IDOK}}, 0},
        {"by the spin", {SetPosition{kSpin, 30}, Press{win::IDOK}}, 30},
        {"untouched", {Press{kSave}}, -kAvailable},
        {"cancelled", {SetText{kTime, "45"}, Press{win::IDCANCEL}}, 0},
        {"closed", {SetText{kTime, "45"}, Close{}}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.result, choose(c.steps)) << c.what;
}

} // namespace
