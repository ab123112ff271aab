// "Edit Spot Camera": the fields named and enabled by the mode, the list's order of the modes,
// the distance units, and what OK writes back.

#include <gtest/gtest.h>

#include <map>

#include "ModuleDialogTest.h"
#include "ui/CameraSpotDlg.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;
using D = CameraSpotDlg;

class CameraSpotDlgTest : public ModuleDialogTest {
protected:
    std::map<int, win::ControlSnapshot> run(SpotParams& params, std::vector<Step> steps, bool& ok) {
        scriptDialog(ModuleResources::kCameraSpotDialog, std::move(steps));
        ok = D(params).doModal() == win::IDOK;
        std::map<int, win::ControlSnapshot> controls;
        const auto dialogs = transcript().all<win::DialogEntry>();
        for (const win::ControlSnapshot& c : dialogs.back().controls)
            controls[c.id] = c;
        return controls;
    }
    static SpotParams follow() {
        SpotParams p;
        p.spotMode = 2;
        p.heading = 45;
        p.pitch = 20;
        p.z = 80;
        p.x = 3;
        p.manualPan = true;
        return p;
    }
};

TEST_F(CameraSpotDlgTest, TheModeNamesAndEnablesTheFields) {
    SpotParams params = follow();
    bool ok = false;
    auto shown = run(params, {Press{win::IDCANCEL}}, ok);
    EXPECT_EQ("Direction:", shown[D::kFirstLabelId].text);
    EXPECT_EQ("45.0", shown[D::kFirstId].text);
    EXPECT_EQ("80.000", shown[D::kSecondId].text);
    EXPECT_EQ("checked", shown[D::kManualPanId].state);
    EXPECT_FALSE(shown[D::kMaxDistanceId].enabled);
    EXPECT_TRUE(shown[D::kFocusXId].enabled);
    EXPECT_NE(std::string::npos, shown[D::kModeId].state.find("\"Fly By\", \"Free\"] selected 2"))
        << shown[D::kModeId].state;

    // Fixed to the aircraft: the offset in metres; a unit press shows all three in kilometres.
    shown = run(params, {SelectIndex{D::kModeId, 0}, Press{D::kPositionUnitId}, Press{win::IDCANCEL}}, ok);
    EXPECT_EQ("Left/Right:", shown[D::kFirstLabelId].text);
    EXPECT_EQ("0.003", shown[D::kFirstId].text);
    EXPECT_EQ("km", shown[D::kPositionUnitId].text);
    EXPECT_FALSE(shown[D::kManualPanId].enabled);
    EXPECT_FALSE(shown[D::kFocusXId].enabled);
    EXPECT_EQ(2, params.spotMode) << "Cancel leaves the record alone";
}

// Round all five distance units, a field left alone keeps its metres exactly; "nan" is no number.
TEST_F(CameraSpotDlgTest, TheUnitsGoRoundWithoutChangingTheDistance) {
    SpotParams params = follow();
    params.z = 12.345f;
    bool ok = false;
    auto shown = run(params,
                     {Press{D::kPositionUnitId}, Press{D::kPositionUnitId}, Press{D::kPositionUnitId},
                      Press{D::kPositionUnitId}, Press{D::kPositionUnitId}, SetText{D::kFocusXId, "nan"},
                      Press{win::IDOK}},
                     ok);
    EXPECT_EQ("m", shown[D::kPositionUnitId].text);
    EXPECT_EQ("12.345", shown[D::kSecondId].text);
    EXPECT_EQ(12.345f, params.z);
    EXPECT_EQ(0.0f, params.focus[0]);
}

TEST_F(CameraSpotDlgTest, OkWritesTheModeAndItsValues) {
    SpotParams params = follow();
    bool ok = false;
    // The list's fourth row is the fly-by camera, its fifth the free one.
    run(params, {SelectIndex{D::kModeId, 3}, SetText{D::kFirstId, "-30"}, Press{win::IDOK}}, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(4, params.spotMode);
    EXPECT_FLOAT_EQ(-30, params.heading);
    params = follow();
    run(params,
        {SelectIndex{D::kModeId, 4}, Press{D::kMaxDistanceUnitId}, SetText{D::kMaxDistanceId, "5"},
         SetCheck{D::kManualPanId, true}, SetCheck{D::kSmoothPositionId, false}, Press{win::IDOK}},
        ok);
    EXPECT_EQ(3, params.spotMode);
    EXPECT_FLOAT_EQ(5000, params.maxDistance) << "5 km";
    EXPECT_FALSE(params.autoPan);
    EXPECT_EQ(0.0, params.smoothPosition);
}

} // namespace
