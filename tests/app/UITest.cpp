// The module's menu in the stand-in simulator's menu bar, its commands, and the keyboard dialog
// it opens.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/UI.h"
#include "app/Zephrel.h"
#include "harness/ModuleInSimulator.h"
#include "host/FSinterface.h"
#include "run/MenuChoice.h"
#include "services/HostMenus.h"
#include "support/TempLog.h"
#include "ui/KeyboardDlg.h"
#include "ui/ModuleResources.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;

constexpr uint32_t kFirstCommand = 53566;

// The controller and the menu object as the module registers them, in a simulator with the
// Trainer as the user aircraft and the module folder a fresh one.
class UITest : public TempLogTest {
protected:
    void SetUp() override {
        TempLogTest::SetUp();
        SimulatorSetup setup;
        setup.userTitle = "Trainer 152 Aerobat";
        setup.flightsFolder = dir.file("Flights");
        module = std::make_unique<ModuleInSimulator>(setup);
        ModuleResources::registerDialogs();
        setUnscriptedPolicy(Unscripted::Fail);
    }
    void TearDown() override {
        module.reset();
        EXPECT_TRUE(failures().empty()) << failures().front();
        TempLogTest::TearDown();
    }

    // "Zephrel.ini" as given, then the module's Start. The temporary files are the test's own
    // unless the test names a folder (the first of a repeated key counts).
    void start(const std::string& ini = "") {
        std::ofstream(settingsFile) << ini << "\n[SETTINGS]\nTempDirectory=" << dir.path().string() << "\n";
        FSinterface::addCallback(&zephrel);
        FSinterface::addCallback(&ui);
        FSinterface::callback(Start);
    }

    Simulator& sim() { return module->sim(); }

    // Each item of the "Zephrel" menu: "command text on|off", "-" for a separator.
    std::vector<std::string> menuRows() {
        std::vector<std::string> rows;
        const HostMenus::Item* top = sim().menus().find("Zephrel");
        if (top == nullptr)
            return rows;
        for (const HostMenus::Item& item : sim().menus().menu(top->submenu)->items)
            rows.push_back(item.separator ? "-"
                                          : std::to_string(item.command - kFirstCommand) + " " + item.text +
                                                (item.enabled ? " on" : " off"));
        return rows;
    }

    TempDir dir;
    std::string settingsFile = dir.file("Zephrel.ini");
    // Outlive the module, which tells its listeners when it stops.
    Zephrel zephrel{dir.path().string()};
    UI ui{&zephrel, dir.path().string()};
    std::unique_ptr<ModuleInSimulator> module;
};

TEST_F(UITest, StartBuildsTheMenuInTheMenuBarWithoutCameraEntries) {
    start();
    const HostMenus::Item* top = sim().menus().find("Zephrel");
    ASSERT_NE(nullptr, top);
    EXPECT_TRUE(top->barStyle);
    EXPECT_EQ(kFirstCommand + 1, top->command);
    const std::vector<std::string> expected = {
        "2 Record... on",
        "3 Play... on",
        "4 Play as Traffic... on",
        "5 Advanced Play... on",
        "6 Instant Replay... off",
        "7 Stop Playback off",
        "8 Set Marker... off",
        "-",
        "9 Control Window off",
        "10 Data Window off",
        "-",
        "15 Render Video... on",
        "16 Pause Rendering off",
        "-",
        "17 Settings... on",
        "18 Keyboard Controls... on",
        "-",
        "19 About Zephrel... on",
    };
    EXPECT_EQ(expected, menuRows());
    for (intptr_t cameraId : {11, 14, 100, 105, 335})
        EXPECT_EQ(0, ui.callback(MenuCommand, cameraId, 0, 0)) << cameraId;
}

TEST_F(UITest, RecordStartsARecordingAndChosenAgainStopsAndSavesIt) {
    start("[SETTINGS]\nShowRecDialog=0\nFileDialog=0\nEnableReplay=0\nTempDirectory=" + dir.path().string() +
          "\n");
    sim().frame(); // the simulator reports its flight and user aircraft, which would end a recording
    ASSERT_EQ(std::nullopt, chooseMenuItem(sim(), "Zephrel/Record..."));
    ASSERT_TRUE(zephrel.isRecording());
    for (int i = 0; i < 10; ++i)
        sim().frame();

    EXPECT_EQ(std::nullopt, chooseMenuItem(sim(), "Zephrel/Stop Recording..."));
    EXPECT_FALSE(zephrel.isRecording());
    ASSERT_NE(nullptr, sim().menus().find("Zephrel/Record..."));
    std::vector<std::string> saved;
    for (const auto& entry : std::filesystem::directory_iterator(dir.file("Flights")))
        if (entry.path().extension() == ".zfl")
            saved.push_back(entry.path().filename().string());
    EXPECT_EQ(1u, saved.size());
}

TEST_F(UITest, TheKeyboardDialogsOkWritesTheKeysAtOnceAndCancelWritesNothing) {
    start("[KEYCONFIG]\nPlay=80\n");
    EXPECT_EQ(80, ui.keys()[static_cast<std::size_t>(KeyCommand::Play)]) << "read at Start";
    const std::string before = readText(settingsFile);

    scriptDialog(ModuleResources::kKeyboardDialog,
                 {SelectIndex{KeyboardDlg::kListId, 14},
                  SetHotKey{KeyboardDlg::kKeyId, 'R', win::HOTKEYF_CONTROL}, Press{win::IDCANCEL}});
    ASSERT_EQ(std::nullopt, chooseMenuItem(sim(), "Zephrel/Keyboard Controls..."));
    EXPECT_EQ(before, readText(settingsFile));
    EXPECT_EQ(0, ui.keys()[static_cast<std::size_t>(KeyCommand::Record)]);

    scriptDialog(ModuleResources::kKeyboardDialog,
                 {SelectIndex{KeyboardDlg::kListId, 14},
                  SetHotKey{KeyboardDlg::kKeyId, 'R', win::HOTKEYF_CONTROL}, Press{win::IDOK}});
    ASSERT_EQ(std::nullopt, chooseMenuItem(sim(), "Zephrel/Keyboard Controls..."));
    EXPECT_EQ(0x2052, ui.keys()[static_cast<std::size_t>(KeyCommand::Record)]);
    EXPECT_EQ(ui.keys(), readKeyConfig(settingsFile)) << "the whole table is in the file";
    EXPECT_NE(std::string::npos, readText(settingsFile).find("Record=8274"));
}

} // namespace
