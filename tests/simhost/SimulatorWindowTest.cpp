// The main window as add-ons hook it, the simulator's keys, and the panel table.
#include "SimulatorFixture.h"
#include "winsys/WindowApi.h"

namespace {

using HostNumbers::Quantity;

win::WNDPROC simulatorProcedure = nullptr;
std::vector<std::string> addOnSaw;

// An add-on's hook of the main window: it keeps 'B' from the simulator.
win::LRESULT addOnHook(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    if (message == win::WM_KEYDOWN && wParam == 'B')
        return 0;
    if (message == win::WM_PARENTNOTIFY && win::LOWORD(wParam) == win::WM_CREATE)
        addOnSaw.push_back(win::GetClassName(reinterpret_cast<win::HWND>(lParam)));
    return win::CallWindowProc(simulatorProcedure, hwnd, message, wParam, lParam);
}

TEST(SimulatorWindowTest, KeysReachTheSimulatorThroughTheHooksOfItsMainWindow) {
    SimulatorFixture f(3);
    win::HWND main = win::FindWindow("FS98MAIN", nullptr);
    ASSERT_EQ(f.sim->mainWindow(), main);
    simulatorProcedure = reinterpret_cast<win::WNDPROC>(
        win::SetWindowLongPtr(main, win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(&addOnHook)));
    addOnSaw.clear();

    f.sim->pressKey('A', true);
    f.sim->pressKey('A', false);
    f.sim->pressKey('B', true);
    f.sim->pressKey('B', false);
    EXPECT_EQ((std::vector<std::string>{"down 0x41", "up 0x41", "up 0x42"}), f.sim->keysReached());

    f.sim->createViews();
    EXPECT_EQ((std::vector<std::string>{"FS98CHILD"}), addOnSaw);
    EXPECT_EQ(main, win::GetParent(f.sim->viewWindow()));

    EXPECT_FALSE(f.sim->closing());
    f.sim->close();
    EXPECT_TRUE(f.sim->closing());
}

TEST(SimulatorWindowTest, PTogglesThePause) {
    SimulatorFixture f(0);
    f.sim->pressKey('P', true);
    f.sim->pressKey('P', false);
    EXPECT_TRUE(f.sim->paused());
    EXPECT_EQ(1, f.simState()->pauseRequest);
    f.sim->frame();
    EXPECT_EQ(0, f.sim->simulatedSeconds());
    f.sim->pressKey('P', true);
    EXPECT_FALSE(f.sim->paused());
}

// The Level-D light switches, by name, and their bits of the light mask.
constexpr std::pair<const char*, int> kSwitches[] = {
    {"LVLDLightNavSwitch", 0},     {"LVLDLightBeaconSwitch", 1}, {"LVLDLightLLNoseSwitch", 2},
    {"LVLDLightTaxiSwitch", 3},    {"LVLDLightStrobeSwitch", 4}, {"LVLDLightPanelSwitch", 5},
    {"LVLDLightWingSwitch", 7},    {"LVLDLightRecogSwitch", 8},  {"LVLDLightOvrdSwitch", 10},
    {"LVLDLightTurnLSwitch", 11},  {"LVLDLightTurnRSwitch", 12}, {"LVLDLightLLLeftSwitch", 13},
    {"LVLDLightLLRightSwitch", 14}};

TEST(SimulatorPanelsTest, TheLevelDSwitchesAndTheLightMaskAgree) {
    SimulatorFixture f(2, SimulatorFixture::kLevelD);
    const ZHostPanels* panels = f.sim->panels();
    Aircraft* user = f.sim->world().user();
    uint32_t all = 0;
    for (const auto& [name, bit] : kSwitches) {
        const int32_t id = panels->lookupVariable(name);
        ASSERT_GE(id, 0) << name;
        panels->writeVariable(id, 1);
        EXPECT_EQ(1u << bit, static_cast<uint32_t>(user->quantity(Quantity::LightStates))) << name;
        EXPECT_EQ(1, panels->readVariable(id));
        panels->writeVariable(id, 0);
        all |= 1u << bit;
    }
    EXPECT_EQ(0, user->quantity(Quantity::LightStates));
    user->setQuantity(Quantity::LightStates, 0, all);
    for (const auto& [name, bit] : kSwitches)
        EXPECT_EQ(1, panels->readVariable(panels->lookupVariable(name))) << name;
    EXPECT_EQ(-1, panels->lookupVariable("LVLDLightLandingSwitch"));
    EXPECT_EQ(0u, f.wrongForms());
}

TEST(SimulatorPanelsTest, OtherAircraftHaveNoSwitchesButTakeKeyEvents) {
    SimulatorFixture f(2);
    const ZHostPanels* panels = f.sim->panels();
    EXPECT_EQ(-1, panels->lookupVariable("LVLDLightNavSwitch"));
    panels->readVariable(1);
    EXPECT_EQ(1u, f.wrongForms());
    Aircraft* user = f.sim->world().user();
    const double brake = user->quantity(Quantity::ParkingBrakePosition);
    panels->triggerKeyEvent(0x100D8, 0); // parking brake toggle
    EXPECT_NE(brake, user->quantity(Quantity::ParkingBrakePosition));
}

} // namespace
