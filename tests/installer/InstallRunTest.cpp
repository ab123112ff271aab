// zephrel-install as a user runs it, and zephrel-sim loading the module it registered: the module
// is registered in a fresh application data folder, the simulator loads it from there, and after
// the entry is removed it no longer does.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

struct Ran {
    int exitCode = -1;
    std::string output;
};

class InstallRunTest : public ::testing::Test {
protected:
    TempDir run;

    void SetUp() override {
        fs::create_directories(run.path() / "module");
        fs::create_directories(run.path() / "appdata");
        fs::create_directories(run.path() / "temp");
        fs::copy_file(ZEPHREL_MODULE, run.path() / "module" / "Zephrel_FSX.so");
        std::ofstream(run.file("module/Zephrel.ini"))
            << "[SETTINGS]\nTempDirectory=" << run.file("temp") << "\n";
        std::ofstream(run.file("run.scn"))
            << "root \"" << ZEPHREL_SIM_ROOT << "\"\nappdata \"" << run.file("appdata") << "\"\nflights \""
            << run.file("flights") << "\"\nduration 2\n";
    }

    Ran command(const std::string& line) {
        const std::string output = run.file("output.txt");
        const int status = std::system((line + " >'" + output + "' 2>&1").c_str());
        return Ran{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readText(output)};
    }
    Ran install(const std::string& action) {
        return command("'" ZEPHREL_INSTALL "' " + action + " --appdata '" + run.file("appdata") +
                       "' --installdir '" + run.file("module") + "'");
    }
    Ran simulate() { return command("'" ZEPHREL_SIM "' --scenario '" + run.file("run.scn") + "'"); }
};

TEST_F(InstallRunTest, TheSimulatorLoadsTheRegisteredModuleUntilItIsRemoved) {
    const Ran added = install("add");
    ASSERT_EQ(added.exitCode, 0) << added.output;
    EXPECT_NE(added.output.find("FSXADDLAUNCHRESULT=1"), std::string::npos) << added.output;

    const Ran withModule = simulate();
    EXPECT_EQ(withModule.exitCode, 0) << withModule.output;
    EXPECT_NE(withModule.output.find("add-ons loaded: 1\n"), std::string::npos) << withModule.output;
    EXPECT_NE(readText(run.file("module/Zephrel.log")), "");

    const Ran removed = install("remove");
    ASSERT_EQ(removed.exitCode, 0) << removed.output;
    EXPECT_NE(removed.output.find("FSXREMOVELAUNCHRESULT=1"), std::string::npos) << removed.output;

    const Ran without = simulate();
    EXPECT_EQ(without.exitCode, 0) << without.output;
    EXPECT_NE(without.output.find("add-ons loaded: 0\n"), std::string::npos) << without.output;
}

TEST_F(InstallRunTest, RemovingTwiceFailsWithTheWarning) {
    ASSERT_EQ(install("add").exitCode, 0);
    ASSERT_EQ(install("remove").exitCode, 0);
    const Ran again = install("remove");
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.output.find("Zephrel: Launch addon entry could not be removed from dll.xml file!"),
              std::string::npos)
        << again.output;
    EXPECT_NE(again.output.find("FSXREMOVELAUNCHRESULT=0"), std::string::npos) << again.output;
}

} // namespace
