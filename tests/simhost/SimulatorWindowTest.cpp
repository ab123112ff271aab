// The main window as add-ons hook it, the simulator's keys, and the panel table.
#include "SimulatorFixture.h"
#include "run/MenuChoice.h"
#include "services/SimulatorMenus.h"
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

// A key pressed and let go on the main window.
void tap(Simulator& sim, int virtualKey) {
    sim.pressKey(virtualKey, true);
    sim.pressKey(virtualKey, false);
}

TEST(SimulatorWindowTest, KeysFlyTheUserAircraftByHand) {
    SimulatorFixture f(3);
    Aircraft& user = *f.sim->world().user();
    constexpr int kCtrl = 0x11, kShift = 0x10, kUp = 0x26, kRight = 0x27, kDown = 0x28, kNumpad5 = 0x65,
                  kPeriod = 0xBE, kF1 = 0x70, kF2 = 0x71, kF3 = 0x72, kF4 = 0x73;

    f.sim->pressKey(kCtrl, true);
    tap(*f.sim, 'E');
    f.sim->pressKey(kCtrl, false);
    EXPECT_EQ(ManoeuvreOrder::StartEngines, user.manoeuvre());

    const struct {
        int key;
        double elevator, aileron, throttle;
    } steps[] = {
        {kF4, 0, 0, 1},      {kF2, 0, 0, 0.9},     {kF1, 0, 0, 0},      {kF3, 0, 0, 0.1},
        {kDown, 0.1, 0, 0.1}, {kUp, 0, 0, 0.1},    {kUp, -0.1, 0, 0.1}, {kRight, -0.1, 0.1, 0.1},
        {kNumpad5, 0, 0, 0.1}, {0x64, 0, -0.1, 0.1}, {0x68, -0.1, -0.1, 0.1}, {0x62, 0, -0.1, 0.1},
    };
    for (const auto& step : steps) {
        tap(*f.sim, step.key);
        const HandControls hands = user.handControls();
        EXPECT_NEAR(step.elevator, hands.elevator, 1e-9) << "key 0x" << std::hex << step.key;
        EXPECT_NEAR(step.aileron, hands.aileron, 1e-9) << "key 0x" << std::hex << step.key;
        EXPECT_NEAR(step.throttle, hands.throttle, 1e-9) << "key 0x" << std::hex << step.key;
    }
    for (int i = 0; i < 15; ++i)
        tap(*f.sim, kDown);
    EXPECT_EQ(1, user.handControls().elevator) << "the stick stops at its end";

    f.sim->pressKey(kPeriod, true);
    EXPECT_TRUE(user.handControls().brakes);
    f.sim->pressKey(kPeriod, false);
    EXPECT_FALSE(user.handControls().brakes);

    // With Shift the arrows are the view's.
    f.sim->pressKey(kShift, true);
    tap(*f.sim, kUp);
    f.sim->pressKey(kShift, false);
    EXPECT_EQ(1, user.handControls().elevator);
}

TEST(SimulatorWindowTest, TheAutopilotMenuOrdersTheUserAircraftsManoeuvres) {
    SimulatorFixture f(3);
    Aircraft& user = *f.sim->world().user();
    HandControls hands;
    hands.throttle = 1;
    user.flyByHand(hands);
    const std::pair<const char*, ManoeuvreOrder::Kind> items[] = {
        {"Autopilot/Start Engines", ManoeuvreOrder::StartEngines}, {"Autopilot/Take Off", ManoeuvreOrder::TakeOff},
        {"Autopilot/Fly a Circuit", ManoeuvreOrder::Circuit},      {"Autopilot/Land", ManoeuvreOrder::Land},
        {"Autopilot/Park", ManoeuvreOrder::Park},                  {"Autopilot/Shut Down", ManoeuvreOrder::ShutDown},
    };
    for (const auto& [path, manoeuvre] : items) {
        EXPECT_EQ(std::nullopt, chooseMenuItem(*f.sim, path)) << path;
        EXPECT_EQ(manoeuvre, user.manoeuvre()) << path;
    }
    EXPECT_FALSE(applySimulatorCommand(*f.sim, 40301)) << "a command the simulator has no use for";
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
