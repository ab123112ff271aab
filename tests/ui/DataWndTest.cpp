// "Zephrel Data": every field's format, "-" for groups a track lacks and engines it does not have,
// the layout of labels and fields, the position kept in the settings file, show, hide and toggle.

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ModuleDialogTest.h"
#include "TemplateLayout.h"
#include "alerts/HostWindow.h"
#include "settings/Settings.h"
#include "support/TempDir.h"
#include "ui/DataWnd.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;
namespace F = DataWndFields;

// One frame as the player hands it over, with what the simulator answers besides.
struct Frame {
    ContData cont{};
    DiscData disc{};
    DataFormat format{4, ContGroup::All, DiscGroup::All, 0, 0};
    float height = 100;
    double magVar = 0;
};

int32_t pitchOrBank(double degrees) {
    return static_cast<int32_t>(angleFromDegrees(degrees));
}

class DataWndTest : public ModuleDialogTest {
protected:
    void SetUp() override {
        ModuleDialogTest::SetUp();
        win::WNDCLASS simulatorClass;
        simulatorClass.lpfnWndProc = win::DefWindowProc;
        simulatorClass.lpszClassName = "FS98MAIN";
        win::RegisterClass(simulatorClass);
        mainWindow = win::CreateWindowEx(0, "FS98MAIN", "Simulator", win::WS_OVERLAPPED | win::WS_VISIBLE, 0,
                                         0, 800, 600, nullptr, 0, nullptr, nullptr);
        HostWindow::setMainWindow(mainWindow);
    }
    void TearDown() override {
        HostWindow::setMainWindow(nullptr);
        ModuleDialogTest::TearDown();
    }

    DataWnd makeWindow() {
        return DataWnd(settingsFile, {[this] { return frame.height; }, [this] { return frame.magVar; }},
                       [this](bool shown) { shownCalls.push_back(shown); });
    }
    std::string shown(const DataWnd& window, int id) const { return win::GetDlgItemText(window.hwnd(), id); }
    // The value fields that show "-".
    std::set<int> absent(const DataWnd& window) const {
        std::set<int> ids;
        for (const win::ControlTemplate& control : DataWnd::dialogTemplate().controls)
            if (control.id > 0 && shown(window, control.id) == "-")
                ids.insert(control.id);
        return ids;
    }
    static std::pair<int, int> corner(const DataWnd& window) {
        win::RECT rect;
        win::GetWindowRect(window.hwnd(), &rect);
        return {rect.left, rect.top};
    }

    TempDir dir;
    std::string settingsFile = dir.file("Zephrel.ini");
    win::HWND mainWindow = nullptr;
    Frame frame;
    std::vector<bool> shownCalls;
};

TEST_F(DataWndTest, IsAHiddenModelessDialogOfItsOwnClassOwnedByTheSimulator) {
    const DataWnd window = makeWindow();
    EXPECT_EQ("Zephrel Data", win::GetWindowText(window.hwnd()));
    EXPECT_EQ("ZEPHREL_DATAWND", win::GetClassName(window.hwnd()));
    EXPECT_EQ(mainWindow, win::GetParent(window.hwnd()));
    EXPECT_FALSE(win::IsWindowVisible(window.hwnd()));
    win::RECT client, units{0, 0, 219, 378};
    win::GetClientRect(window.hwnd(), &client);
    win::MapDialogRect(window.hwnd(), &units);
    EXPECT_EQ(units.right, client.right);
    EXPECT_EQ(units.bottom, client.bottom);
}

TEST_F(DataWndTest, EachLabelHasItsFieldBesideItInsideItsGroup) {
    struct Row {
        const char* group;
        const char* label;
        int id;
    };
    const Row rows[] = {
        {"Position", "Latitude:", 1001},
        {"Position", "AGL:", 1175},
        {"Attitude", "Heading (true):", 1167},
        {"Attitude", "Heading (mag):", 1022},
        {"Speeds", "GS:", 1027},
        {"Speeds", "V/S:", 1130},
        {"Flight Controls", "Rudder:", 1044},
        {"Flight Controls", "Flaps:", 1110},
        {"Throttles", "1:", 1049},
        {"Propellers", "4:", 1084},
        {"Mixtures", "3:", 1098},
        {"Miscellaneous", "Timecode:", 1124},
        {"Miscellaneous", "Time:", 1125},
    };
    const win::DialogTemplate data = DataWnd::dialogTemplate();
    EXPECT_EQ(std::vector<std::string>{}, layoutProblems(data));
    const auto find = [&data](auto matches) -> win::DialogRect {
        for (const win::ControlTemplate& control : data.controls)
            if (matches(control))
                return control.rect;
        return {-1, -1, 0, 0};
    };
    for (const Row& row : rows) {
        const win::DialogRect field = find([&](const win::ControlTemplate& c) { return c.id == row.id; });
        const win::DialogRect box = find([&](const win::ControlTemplate& c) {
            return c.kind == win::ControlKind::GroupBox && c.text == row.group;
        });
        const win::DialogRect label = find([&](const win::ControlTemplate& c) {
            return c.text == row.label && c.rect.x > box.x && c.rect.x < box.x + box.width &&
                   c.rect.y == field.y;
        });
        EXPECT_TRUE(label.x > box.x && label.x < field.x) << row.label << " not beside " << row.id;
        EXPECT_TRUE(field.y > box.y && field.x + field.width <= box.x + box.width &&
                    field.y + field.height <= box.y + box.height)
            << row.label << " outside \"" << row.group << "\"";
    }
}

TEST_F(DataWndTest, EveryFieldShowsItsValueInItsFormat) {
    using Set = std::function<void(Frame&)>;
    struct Case {
        Set set;
        int id;
        const char* expected;
    };
    const Case cases[] = {
        {[](Frame& f) { f.cont.latitude = latitudeFromDegrees(-33.5); }, F::kLatitude, "S33° 30.00'"},
        {[](Frame& f) { f.cont.latitude = latitudeFromDegrees(51.25); }, F::kLatitude, "N51° 15.00'"},
        {[](Frame& f) { f.cont.latitude = 0; }, F::kLatitude, "N0° 00.00'"},
        {[](Frame& f) { f.cont.longitude = longitudeFromDegrees(151.2093); }, F::kLongitude, "E151° 12.56'"},
        {[](Frame& f) { f.cont.longitude = longitudeFromDegrees(-0.5); }, F::kLongitude, "W0° 30.00'"},
        {[](Frame& f) { f.cont.altitude = altitudeFromMetres(1000); }, F::kAltitude, "3280ft"},
        {[](Frame& f) { f.cont.altitude = altitudeFromMetres(-10.5); }, F::kAltitude, "-34ft"},
        {[](Frame& f) { f.height = 152.5f; }, F::kAGL, "500ft"},
        {[](Frame& f) { f.disc.onground = 1; }, F::kAGL, "GND"},
        {[](Frame& f) { f.cont.pitch = pitchOrBank(5); }, F::kPitch, "-5.0°"},
        {[](Frame& f) { f.cont.pitch = 0; }, F::kPitch, "0.0°"},
        {[](Frame& f) { f.cont.bank = pitchOrBank(-12.3); }, F::kBank, "12.3°"},
        {[](Frame& f) { f.cont.heading = angleFromDegrees(5); }, F::kHeadingTrue, "  5.0°"},
        {[](Frame& f) { f.cont.heading = angleFromDegrees(270.3); }, F::kHeadingTrue, "270.3°"},
        {[](Frame& f) { f.cont.heading = angleFromDegrees(5), f.magVar = 10; }, F::kHeadingMag, "355.0°"},
        {[](Frame& f) { f.cont.heading = angleFromDegrees(350), f.magVar = -15; }, F::kHeadingMag, "  5.0°"},
        {[](Frame& f) { f.cont.velocityZ = 100, f.cont.velocityY = 10; }, F::kFPA, "5.7°"},
        {[](Frame& f) { f.cont.velocityX = -100, f.cont.velocityY = -10; }, F::kFPA, "-5.7°"},
        {[](Frame& f) { f.cont.velocityZ = 100, f.cont.velocityY = 10, f.cont.pitch = pitchOrBank(-3); },
         F::kAoA, "-2.7°"},
        {[](Frame& f) { f.cont.velocityX = 30, f.cont.velocityZ = 40; }, F::kGS, "30kts"},
        {[](Frame& f) { f.cont.velocityY = -8.5; }, F::kVS, "-510fpm"},
        {[](Frame& f) { f.cont.IAS = 120.4f; }, F::kIAS, "120kts"},
        {[](Frame& f) { f.cont.TAS = 135.6f; }, F::kTAS, "136kts"},
        {[](Frame& f) { f.cont.mach = 0.7854f; }, F::kMach, "0.785"},
        {[](Frame& f) { f.cont.elevators = -1200; }, F::kElevators, "-1200"},
        {[](Frame& f) { f.cont.spoilers = 16383; }, F::kSpoilers, "16383"},
        {[](Frame& f) { f.disc.flaps = 3; }, F::kFlaps, "3"},
        {[](Frame& f) { f.cont.throttle[3] = -4096; }, F::kThrottles[3], "-4096"},
        {[](Frame& f) { f.cont.prop[1] = 16383; }, F::kPropellers[1], "16383"},
        {[](Frame& f) { f.cont.mix[2] = 8000; }, F::kMixtures[2], "8000"},
        {[](Frame& f) { f.disc.gear = 0; }, F::kLandingGear, "Up"},
        {[](Frame& f) { f.disc.gear = 16383; }, F::kLandingGear, "Down"},
        {[](Frame& f) { f.disc.autopilot = 1; }, F::kAutopilot, "On"},
        {[](Frame& f) { f.disc.autopilot = 0; }, F::kAutopilot, "Off"},
        {[](Frame& f) { f.cont.timestamp = 1234567; }, F::kTimecode, "123.5sec"},
        {[](Frame& f) { f.cont.windDir = 45, f.cont.windSpd = 12; }, F::kWind, "045°/12kts"},
        {[](Frame& f) { f.disc.day = 5, f.disc.month = 7, f.disc.year = 2009; }, F::kDate, "05.07.2009"},
        {[](Frame& f) { f.cont.hour = 9, f.cont.minute = 5, f.cont.second = 3; }, F::kTime, "09:05:03"},
    };
    DataWnd window = makeWindow();
    for (const Case& c : cases) {
        frame = Frame{};
        c.set(frame);
        window.setData(frame.cont, frame.disc, frame.format);
        EXPECT_EQ(c.expected, shown(window, c.id)) << "field " << c.id;
    }
}

TEST_F(DataWndTest, WhatTheTrackLacksShowsADash) {
    using Set = std::function<void(Frame&)>;
    struct Case {
        const char* what;
        Set set;
        std::set<int> absent;
    };
    const Case cases[] = {
        {"everything", [](Frame&) {}, {}},
        {"one engine",
         [](Frame& f) { f.format.nEngines = 1; },
         {1053, 1058, 1062, 1072, 1078, 1084, 1093, 1098, 1102}},
        {"two engines, no propellers",
         [](Frame& f) { f.format.nEngines = 2, f.format.ContFlags &= ~ContGroup::Propellers; },
         {1058, 1062, 1066, 1072, 1078, 1084, 1098, 1102}},
        {"airspeeds", [](Frame& f) { f.format.ContFlags &= ~ContGroup::Airspeeds; }, {F::kIAS, F::kTAS}},
        {"Mach", [](Frame& f) { f.format.ContFlags &= ~ContGroup::Mach; }, {F::kMach}},
        {"flight controls",
         [](Frame& f) { f.format.ContFlags &= ~ContGroup::FlightControls; },
         {F::kElevators, F::kAilerons, F::kRudder}},
        {"spoilers", [](Frame& f) { f.format.ContFlags &= ~ContGroup::Spoilers; }, {F::kSpoilers}},
        {"throttles",
         [](Frame& f) { f.format.ContFlags &= ~ContGroup::Throttles; },
         {1049, 1053, 1058, 1062}},
        {"mixtures", [](Frame& f) { f.format.ContFlags &= ~ContGroup::Mixtures; }, {1088, 1093, 1098, 1102}},
        {"wind", [](Frame& f) { f.format.ContFlags &= ~ContGroup::AmbientWind; }, {F::kWind}},
        {"time of day", [](Frame& f) { f.format.ContFlags &= ~ContGroup::TimeOfDay; }, {F::kTime}},
        {"flaps", [](Frame& f) { f.format.DiscFlags &= ~DiscGroup::Flaps; }, {F::kFlaps}},
        {"gear", [](Frame& f) { f.format.DiscFlags &= ~DiscGroup::Gear; }, {F::kLandingGear}},
        {"autopilot", [](Frame& f) { f.format.DiscFlags &= ~DiscGroup::Autopilot; }, {F::kAutopilot}},
        {"date", [](Frame& f) { f.format.DiscFlags &= ~DiscGroup::Date; }, {F::kDate}},
        {"on the ground", [](Frame& f) { f.disc.onground = 1; }, {F::kFPA, F::kAoA}},
    };
    DataWnd window = makeWindow();
    for (const Case& c : cases) {
        frame = Frame{};
        c.set(frame);
        window.setData(frame.cont, frame.disc, frame.format);
        EXPECT_EQ(c.absent, absent(window)) << c.what;
    }
}

TEST_F(DataWndTest, OpensWhereTheUserLastMovedIt) {
    EXPECT_EQ(std::pair(10, 10), corner(makeWindow())) << "without settings";
    writeDataWindowPosition(settingsFile, 300, 120);
    {
        DataWnd window = makeWindow();
        EXPECT_EQ(std::pair(300, 120), corner(window));
        dragWindow(window.hwnd(), 640, 48);
    }
    WindowPositions positions;
    readWindowPositions(settingsFile, positions);
    EXPECT_EQ(640, positions.dataWndXPos);
    EXPECT_EQ(48, positions.dataWndYPos);
    EXPECT_EQ(std::pair(640, 48), corner(makeWindow()));
}

TEST_F(DataWndTest, ShowHideToggleAndCloseTellEachChangeOnce) {
    DataWnd window = makeWindow();
    const auto state = [&window] { return std::pair{window.isShown(), win::IsWindowVisible(window.hwnd())}; };
    window.show();
    window.show();
    EXPECT_EQ(std::pair(true, true), state());
    window.toggle();
    EXPECT_EQ(std::pair(false, false), state());
    window.toggle();
    EXPECT_EQ(std::pair(true, true), state());
    window.hide();
    window.hide();
    EXPECT_EQ(std::pair(false, false), state());
    window.show();
    EXPECT_TRUE(perform(window.hwnd(), Close{}));
    EXPECT_EQ(std::pair(false, false), state()) << "closed by the user";
    EXPECT_TRUE(win::IsWindow(window.hwnd())) << "closing keeps the window";
    EXPECT_EQ((std::vector<bool>{true, false, true, false, true, false}), shownCalls);
}

} // namespace
