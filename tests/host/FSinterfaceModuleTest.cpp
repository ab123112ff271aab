// The module file as the simulator's loader sees it: loaded from a folder of its own with its
// settings there, started, stopped and unloaded through its three exports.

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "FakeHost.h"
#include "support/ShownMessageBoxes.h"
#include "support/TempDir.h"
#include "winsys/HeadlessScript.h"
#include "winsys/WindowApi.h"

namespace {

using namespace win;

LRESULT simulatorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(hwnd, message, wParam, lParam);
}

class FSinterfaceModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless::reset();
        RegisterClass(WNDCLASS{0, simulatorProc, nullptr, nullptr, "FS98MAIN"});
        main = CreateWindowEx(0, "FS98MAIN", "FS", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, 0, nullptr, nullptr);
        std::filesystem::copy_file(ZEPHREL_MODULE_FILE, moduleFile);
        std::ofstream(folder.file("Zephrel.log")) << "the last run\n";
    }
    void TearDown() override { headless::reset(); }

    void writeSettings(const std::string& text) { std::ofstream(folder.file("Zephrel.ini")) << text; }
    void load() {
        module = dlopen(moduleFile.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(nullptr, module) << dlerror();
        start = reinterpret_cast<int (*)()>(dlsym(module, "DLLStart"));
        stop = reinterpret_cast<void (*)()>(dlsym(module, "DLLStop"));
        panels = static_cast<const ZHostPanels**>(dlsym(module, "Panels"));
        ASSERT_TRUE(start != nullptr && stop != nullptr && panels != nullptr);
    }
    std::string log() const { return readText(folder.file("Zephrel.log")); }
    LONG_PTR mainProcedure() const { return GetWindowLongPtr(main, GWLP_WNDPROC); }

    TempDir folder;
    const std::string moduleFile = folder.file("Zephrel_FSX.so");
    HWND main = nullptr;
    void* module = nullptr;
    int (*start)() = nullptr;
    void (*stop)() = nullptr;
    const ZHostPanels** panels = nullptr;
    const ZHostPanels table{};
};

TEST_F(FSinterfaceModuleTest, LoadsStartsStopsAndUnloadsThroughItsExportsAlone) {
    writeSettings("[LOG]\nAppend=1\n");
    FakeHost host(HostVersion::accepted(3));
    load();
    EXPECT_EQ(nullptr, dlsym(module, "_ZN11FSinterface4initEPK11ZHostPanels")) << "only the three exports are seen";
    EXPECT_EQ(nullptr, *panels);
    EXPECT_EQ(0u, log().find("the last run\n"));
    EXPECT_NE(std::string::npos, log().find("Module Entry Point\n"));
    EXPECT_NE(reinterpret_cast<LONG_PTR>(&simulatorProc), mainProcedure());

    *panels = &table;
    EXPECT_EQ(0, start());
    EXPECT_NE(std::string::npos, log().find("FSX Version: 10.0.61637.0\n"));
    EXPECT_NE(std::string::npos, log().find("Initialization finished\n"));
    EXPECT_EQ(10u, host.registered.size());
    stop();
    EXPECT_EQ(host.registered, host.unregistered);

    ASSERT_EQ(0, dlclose(module));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&simulatorProc), mainProcedure());
    const std::string text = log(), exit = "Exit\n\n\n"; // the line and its line break
    EXPECT_EQ(text.size() - exit.size(), text.rfind(exit)) << text;
    // This host has no menu bar for the module's menu to join at Start, the one thing it reports.
    const std::vector<MessageBoxRequest> shown = shownMessageBoxes();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(0u, shown[0].text.find("An unexpected error occured!"));
    EXPECT_NE(std::string::npos, text.find("Critical Error: Menu bar ID is 0"));
}

TEST_F(FSinterfaceModuleTest, AFailedStartIsShownOnceAndLeavesTheModuleLoadedButInert) {
    writeSettings("[LOG]\nFlags=1\n");
    FakeHost host(HostVersion::accepted(0));
    load();
    EXPECT_EQ(std::string::npos, log().find("the last run")); // a log of its own
    EXPECT_EQ(0, start());                                    // the host stored no panel table
    const auto boxes = shownMessageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Zephrel Critical Error", boxes[0].caption);
    EXPECT_EQ("An initializaion error occurred! Zephrel will be disabled now, please restart FS to use it again!",
              boxes[0].text);
    EXPECT_NE(std::string::npos, log().find("Panels pointer is NULL"));
    EXPECT_TRUE(host.registered.empty());
    stop();
    EXPECT_TRUE(host.unregistered.empty());
    EXPECT_EQ(0, dlclose(module));
}

} // namespace
