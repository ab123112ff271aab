#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "installer/AddonRegistrar.h"
#include "installer/InstallerSession.h"
#include "support/TempDir.h"
#include "winsys/HeadlessScript.h"

// A user's application data folder and an installation that runs AddonRegistrar's actions on
// its dll.xml: the module "Zephrel_FSX.so" in /opt/zephrel/, product "Zephrel Recorder".
class LaunchFixture : public ::testing::Test {
protected:
    TempDir appdata;
    InstallerSession session;
    std::string dllXml = (appdata.path() / "Microsoft" / "FSX" / "dll.xml").string();

    void SetUp() override {
        win::headless::reset();
        session.setProperty("FSXADDONNAME", "Zephrel");
        session.setProperty("FSXADDONFILE", "Zephrel_FSX.so");
        session.setProperty("INSTALLDIR", "/opt/zephrel/");
        session.setProperty("AppDataFolder", appdata.path().string() + "/");
        session.setProperty("ProductName", "Zephrel Recorder");
    }

    uint32_t add() { return AddLaunchAddon(session.handle()); }
    uint32_t remove() { return RemoveLaunchAddon(session.handle()); }

    void writeDllXml(const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(dllXml).parent_path());
        writeBytes(dllXml, Bytes(text.begin(), text.end()));
    }
    std::string dllXmlText() const { return readText(dllXml); }
    // What the folder of dll.xml holds besides it: nothing, once an action is done.
    std::size_t strayFiles() const {
        std::size_t count = 0;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::path(dllXml).parent_path()))
            count += entry.path().filename() != "dll.xml";
        return count;
    }
};
