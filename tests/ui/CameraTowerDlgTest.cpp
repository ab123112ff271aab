// "Edit Tower Camera": the place in three angle formats, the height and distance units, the
// buttons that put it on the simulator's tower or at the aircraft, and a place that cannot be read.

#include <gtest/gtest.h>

#include <map>

#include "ModuleDialogTest.h"
#include "ui/AngleText.h"
#include "ui/CameraTowerDlg.h"
#include "ui/LengthUnits.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;
using D = CameraTowerDlg;
using AngleText::Format;

TEST(AngleTextTest, EachFormatReadsBackAndBadTextIsRefused) {
    struct Case {
        double degrees;
        Format format;
        const char* text;
    };
    const Case cases[] = {
        {47.4582, Format::Degrees, "47.458200°"},
        {47.4582, Format::Minutes, "47° 27.4920'"},
        {47.4582, Format::Seconds, "47° 27' 29.52\""},
        {-8.5648, Format::Seconds, "-8° 33' 53.28\""},
        {12.99999999, Format::Minutes, "13° 0.0000'"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text, AngleText::format(c.degrees, c.format));
        EXPECT_NEAR(c.degrees, *AngleText::parse(c.text), 1e-5) << c.text;
    }
    for (const char* bad : {"", "north", "47 61", "47 30 60"})
        EXPECT_FALSE(AngleText::parse(bad).has_value()) << bad;
    EXPECT_STREQ("°'\"", AngleText::symbol(AngleText::next(Format::Minutes)));
    EXPECT_EQ(1610.0, LengthUnits::distances()[LengthUnits::indexOf(LengthUnits::distances(), "sm")].metres);
}

class CameraTowerDlgTest : public ModuleDialogTest {
protected:
    std::map<int, std::string> run(TowerParams& params, std::vector<Step> steps, bool& ok) {
        scriptDialog(ModuleResources::kCameraTowerDialog, std::move(steps));
        ok = D(params).doModal() == win::IDOK;
        std::map<int, std::string> texts;
        const auto dialogs = transcript().all<win::DialogEntry>();
        for (const win::ControlSnapshot& c : dialogs.back().controls)
            texts[c.id] = c.text;
        return texts;
    }
    static TowerParams sample() {
        TowerParams p;
        p.latitude = 47.5;
        p.longitude = 8.25;
        p.altitude = 304.8;
        p.hasSimulatorTower = true;
        p.simulatorTower[0] = 47.4582;
        p.simulatorTower[1] = 8.564816;
        p.simulatorTower[2] = 473;
        p.aircraft[0] = 47.45;
        p.aircraft[1] = 8.55;
        p.aircraft[2] = 600;
        return p;
    }
};

TEST_F(CameraTowerDlgTest, ThePlaceInItsFormatsAndUnitsAndFromTheButtons) {
    TowerParams params = sample();
    bool ok = false;
    auto shown = run(params, {Press{D::kFormatId}, Press{D::kHeightUnitId}, Press{win::IDCANCEL}}, ok);
    EXPECT_EQ("47° 30.0000'", shown[D::kLatitudeId]);
    EXPECT_EQ("°'", shown[D::kFormatId]);
    EXPECT_EQ("1000.000", shown[D::kAltitudeId]) << "in feet";

    run(params, {Press{D::kSimulatorTowerId}, Press{win::IDOK}}, ok);
    EXPECT_TRUE(ok);
    EXPECT_NEAR(47.4582, params.latitude, 1e-6);
    EXPECT_NEAR(473, params.altitude, 1e-3);
    run(params, {Press{D::kAircraftId}, SetCheck{D::kManualPanId, true}, Press{win::IDOK}}, ok);
    EXPECT_NEAR(8.55, params.longitude, 1e-6);
    EXPECT_FALSE(params.autoPan);
}

TEST_F(CameraTowerDlgTest, APlaceThatCannotBeReadIsWarnedOfAndKeepsTheDialogOpen) {
    TowerParams params = sample();
    bool ok = false;
    answerMessageBox(win::IDOK);
    run(params, {SetText{D::kLatitudeId, "95"}, Press{win::IDOK}, SetText{D::kLatitudeId, "46 30"}, Press{win::IDOK}},
        ok);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(46.5, params.latitude);
    const auto boxes = transcript().all<win::MessageBoxEntry>();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Invalid latitude!", boxes[0].text);
}

} // namespace
