// "Edit VC Camera": the eye in metres or feet, the smoothing boxes, and what OK writes back.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ModuleDialogTest.h"
#include "ui/CameraVCDlg.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;
using D = CameraVCDlg;

class CameraVCDlgTest : public ModuleDialogTest {
protected:
    // Runs the dialog with the steps; the controls' texts when it ended.
    std::map<int, std::string> run(VCParams& params, std::vector<Step> steps, bool& ok) {
        scriptDialog(ModuleResources::kCameraVCDialog, std::move(steps));
        ok = D(params).doModal() == win::IDOK;
        std::map<int, std::string> texts;
        const auto dialogs = transcript().all<win::DialogEntry>();
        for (const win::ControlSnapshot& c : dialogs.back().controls)
            texts[c.id] = c.text + (c.state == "checked" ? " [x]" : "");
        return texts;
    }
    static VCParams sample() {
        VCParams p;
        p.title = "Pilot";
        p.flightSet = 1;
        p.x = -0.4f;
        p.y = 1.0f;
        p.z = 2.5f;
        p.pitch = 10;
        p.smoothZoom = 0;
        p.smoothPanning = 0.5;
        return p;
    }
};

TEST_F(CameraVCDlgTest, TheEyeShowsInMetresAndTheUnitButtonGoesRoundToThem) {
    VCParams params = sample();
    bool ok = false;
    std::map<int, std::string> shown = run(params, {Press{win::IDCANCEL}}, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ("-0.400", shown[D::kLeftRightId]);
    EXPECT_EQ("m", shown[D::kUnitId]);
    EXPECT_EQ("1.00", shown[D::kSmoothZoomSecondsId]) << "no smoothing shows 1.0, unchecked";
    EXPECT_EQ("0.50", shown[D::kSmoothPanSecondsId]);
    EXPECT_EQ("10.0", shown[D::kPitchId]);
    shown = run(params, {Press{D::kUnitId}, Press{win::IDCANCEL}}, ok);
    EXPECT_EQ("ft", shown[D::kUnitId]);
    EXPECT_EQ("3.281", shown[D::kUpDownId]);
    shown = run(params, {Press{D::kUnitId}, Press{D::kUnitId}, Press{win::IDCANCEL}}, ok);
    EXPECT_EQ("m", shown[D::kUnitId]);
    EXPECT_EQ("1.000", shown[D::kUpDownId]);
    EXPECT_EQ("2.500", shown[D::kFrontBackId]);
    EXPECT_EQ("Pilot", params.title) << "Cancel leaves the record alone";
}

TEST_F(CameraVCDlgTest, OkWritesTheFieldsBackAndAnUncheckedBoxIsNoSmoothing) {
    VCParams params = sample();
    bool ok = false;
    run(params,
        {Press{D::kUnitId}, SetText{D::kUpDownId, "10"}, SetText{D::kTitleId, "Copilot"},
         SetCheck{D::kSmoothPanId, false}, SetCheck{D::kSmoothZoomId, true}, SetText{D::kSmoothZoomSecondsId, "2.5"},
         SelectIndex{D::kScopeId, 2}, SetCheck{D::kFixedDirId, true}, Press{win::IDOK}},
        ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ("Copilot", params.title);
    EXPECT_FLOAT_EQ(3.048f, params.y) << "10 ft";
    EXPECT_EQ(0.0, params.smoothPanning);
    EXPECT_EQ(2.5, params.smoothZoom);
    EXPECT_EQ(2, params.flightSet);
    EXPECT_TRUE(params.fixedDir);
    EXPECT_FLOAT_EQ(10.0f, params.pitch);
}

} // namespace
