// The module's menu in the stand-in simulator's menu bar: built there, chosen there, and built
// again when the simulator rebuilds its menus.

#include <gtest/gtest.h>

#include <vector>

#include "harness/ModuleInSimulator.h"
#include "host/FSinterface.h"
#include "run/MenuChoice.h"
#include "services/HostMenus.h"

namespace {

class MenuCommands : public IFScallback {
public:
    int callback(int event, intptr_t a, intptr_t, intptr_t) override {
        if (event == MenuCommand)
            ids.push_back(static_cast<int>(a));
        return 0;
    }
    std::vector<int> ids;
};

TEST(HostMenuInSimulatorTest, TheModuleMenuIsChosenAndSurvivesARebuildOfTheSimulatorsMenus) {
    MenuCommands commands; // outlives the module, which tells its listeners when it stops
    SimulatorSetup setup;
    setup.userTitle = "Trainer 152 Aerobat";
    ModuleInSimulator module(setup);
    Simulator& sim = module.sim();
    FSinterface::addCallback(&commands);

    FSinterface::addMenuItem(0, true, "Zephrel", 1, true);
    FSinterface::addMenuItem(1, false, "Record...", 2, true);
    FSinterface::addMenuItem(1, false, "", 0, true);
    FSinterface::addMenuItem(1, false, "Play...", 3, false);
    FSinterface::initMenu();

    const HostMenus::Item* top = sim.menus().find("Zephrel");
    ASSERT_NE(nullptr, top);
    EXPECT_TRUE(top->barStyle);
    ASSERT_NE(nullptr, sim.menus().find("Zephrel/Play..."));
    EXPECT_FALSE(sim.menus().find("Zephrel/Play...")->enabled);
    EXPECT_NE(nullptr, sim.menus().find("Flights/Load Flight...")) << "the simulator's own menus stay";

    EXPECT_EQ(std::nullopt, chooseMenuItem(sim, "Zephrel/Record..."));
    EXPECT_EQ("menu item \"Zephrel/Play...\" is disabled", chooseMenuItem(sim, "Zephrel/Play...").value_or(""));
    EXPECT_EQ(std::vector<int>{2}, commands.ids);

    FSinterface::checkMenuItem(2, true);
    FSinterface::enableMenuItem(3, true);
    sim.rebuildMenus();
    ASSERT_NE(nullptr, sim.menus().find("Zephrel/Record...")) << "built again on the simulator's menu event";
    EXPECT_TRUE(sim.menus().find("Zephrel/Record...")->checked);
    EXPECT_EQ(std::nullopt, chooseMenuItem(sim, "Zephrel/Play..."));
    EXPECT_EQ((std::vector<int>{2, 3}), commands.ids);
    const uintptr_t submenu = sim.menus().find("Zephrel")->submenu;
    sim.frame();
    sim.frame();
    EXPECT_EQ(submenu, sim.menus().find("Zephrel")->submenu) << "a frame rebuilds only a lost menu";
}

} // namespace
