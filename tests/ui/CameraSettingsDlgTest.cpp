// "Zephrel Camera Settings": every setting shown and written back on OK, the filter lists.

#include <gtest/gtest.h>

#include "ModuleDialogTest.h"
#include "ui/CameraSettingsDlg.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;
using D = CameraSettingsDlg;

class CameraSettingsDlgTest : public ModuleDialogTest {
protected:
    bool run(CameraSettings& settings, std::vector<Step> steps) {
        scriptDialog(ModuleResources::kCameraSettingsDialog, std::move(steps));
        return D(settings).doModal() == win::IDOK;
    }
};

TEST_F(CameraSettingsDlgTest, ShowsTheSettingsAndOkWritesTheChangesBack) {
    CameraSettings settings;
    settings.moveTower1Target = true;
    settings.smoothTypeZoom = 4;
    EXPECT_TRUE(run(settings, {Press{win::IDOK}}));
    EXPECT_EQ(CameraSettings{[] {
                  CameraSettings s;
                  s.moveTower1Target = true;
                  s.smoothTypeZoom = 4;
                  return s;
              }()},
              settings)
        << "OK without changes keeps every setting";
    const std::string shown = transcriptText();
    for (const char* line : {"1001 Edit \"0.100\"", "1006 Edit \"25.000\"",
                             "items [\"First Order Filter\", \"Second Order Filter\", \"Third Order Filter\"] selected 1",
                             "\"Constant Rate\", \"Constant Rate + Filter\"] selected 3"})
        EXPECT_NE(std::string::npos, shown.find(line)) << line << " in\n" << shown;

    EXPECT_TRUE(run(settings, {SetText{D::kPosTower2Id, "7.5"}, SetCheck{D::kMoveCameraId, true},
                               SetCheck{D::kPan360Id, true}, SetCheck{D::kDisplayId, false},
                               SelectIndex{D::kSmoothPosId, 2}, SelectIndex{D::kSmoothPanId, 4}, Press{win::IDOK}}));
    EXPECT_EQ(7.5, settings.posIncrementTower2);
    EXPECT_FALSE(settings.moveTower1Target);
    EXPECT_TRUE(settings.pan360);
    EXPECT_FALSE(settings.display);
    EXPECT_EQ(3, settings.smoothTypePos);
    EXPECT_EQ(5, settings.smoothTypePan);

    // A stored kind outside the list shows as its role's default: "Constant Rate + Filter" for zoom.
    settings.smoothTypeZoom = 9;
    EXPECT_TRUE(run(settings, {Press{win::IDOK}}));
    EXPECT_EQ(5, settings.smoothTypeZoom);

    const CameraSettings before = settings;
    EXPECT_FALSE(run(settings, {SetText{D::kPosVCId, "9"}, Press{win::IDCANCEL}}));
    EXPECT_EQ(before, settings);
}

} // namespace
