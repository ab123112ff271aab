// The simulator's dll.xml and the add-on modules it names, loaded the way the simulator loads them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "addons/TestAddonEvents.h"
#include "run/AddonList.h"
#include "run/AddonLoader.h"
#include "support/TempDir.h"

TestAddonEvents& testAddonEvents() {
    static TestAddonEvents events;
    return events;
}

// The test add-on reports here (found with dlsym in this program).
extern "C" __attribute__((visibility("default"))) void zephrelTestAddonEvent(const char* event,
                                                                             const void* panels) {
    testAddonEvents().emplace_back(event, panels);
}

namespace {

const std::string kAddonRoot = ZEPHREL_TEST_ADDON_ROOT;

std::string entry(const std::string& name, const std::string& path, const std::string& more = "") {
    return "<Launch.Addon><Name>" + name + "</Name>" + more + "<Path>" + path + "</Path></Launch.Addon>\n";
}

std::string document(const std::string& entries) {
    return "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n<SimBase.Document Type=\"Launch\" "
           "version=\"1,0\">\n"
           "<Descr>Launch</Descr><Filename>dll.xml</Filename>\n" +
           entries + "</SimBase.Document>\n";
}

class DllXmlTest : public ::testing::Test {
protected:
    TempDir appdata;
    std::string path = AddonList::dllXmlPath(appdata.path().string());

    void write(const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    std::vector<std::string> listedNames(const std::string& text) {
        write(text);
        const AddonList list = AddonList::read(path, "/sim");
        EXPECT_TRUE(list.errors.empty()) << list.errors.front();
        std::vector<std::string> names;
        for (const AddonList::Entry& e : list.entries)
            names.push_back(e.name);
        return names;
    }
};

TEST_F(DllXmlTest, ListsTheEntriesNeitherDisabledNorLoadedByHand) {
    const std::string entries =
        entry("plain", "a.so") +
        entry("enabled", "b.so", "<Disabled>False</Disabled><ManualLoad>False</ManualLoad>") +
        entry("disabled", "c.so", "<Disabled>True</Disabled>") +
        entry("lower", "d.so", "<Disabled>true</Disabled>") +
        entry("padded", "e.so", "<Disabled> TRUE </Disabled>") +
        entry("manual", "f.so", "<ManualLoad>True</ManualLoad>") +
        entry("odd", "g.so", "<Disabled>yes</Disabled><ManualLoad>1</ManualLoad>");
    EXPECT_EQ((std::vector<std::string>{"plain", "enabled", "odd"}), listedNames(document(entries)));
}

TEST_F(DllXmlTest, TakesRelativePathsInTheRootWithEitherSeparator) {
    write(document(entry("a", "Modules\\Zephrel\\Zephrel_FSX.so") + entry("b", " /opt/addons/b.so ") +
                   entry("c", "C:\\Addons\\c.dll") + entry("d", "d.so")));
    const AddonList list = AddonList::read(path, "/sim");
    ASSERT_EQ(4u, list.entries.size());
    EXPECT_EQ("/sim/Modules/Zephrel/Zephrel_FSX.so", list.entries[0].path);
    EXPECT_EQ("/opt/addons/b.so", list.entries[1].path);
    EXPECT_EQ("/sim/C:/Addons/c.dll", list.entries[2].path);
    EXPECT_EQ("/sim/d.so", list.entries[3].path);
    // Without a root the current folder is meant, never dlopen's library search.
    EXPECT_EQ("./d.so", AddonList::read(path, "").entries[3].path);
}

TEST_F(DllXmlTest, AMissingFileMeansNoAddOns) {
    const AddonList list = AddonList::read(path, "/sim");
    EXPECT_TRUE(list.entries.empty());
    EXPECT_TRUE(list.errors.empty());
}

// Files as people have them (shortened), and broken ones: each gives its entries, or one error
// naming the file and nothing else.
TEST_F(DllXmlTest, ReadsRealFilesAndReportsBrokenOnes) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> paths;
        const char* error;
    };
    const Case cases[] = {
        {"one line, no entries",
         "<?xml version=\"1.0\" encoding=\"Windows-1252\" ?> <SimBase.Document Type=\"Launch\" "
         "version=\"1,0\"> "
         "<Descr>Launch</Descr> <Filename>dll.xml</Filename> <Disabled>False</Disabled> "
         "<Launch.ManualLoad>False</Launch.ManualLoad> </SimBase.Document>",
         {},
         nullptr},
        {"an entry with more elements than the simulator reads",
         document("<Launch.Addon>\n\t<Name>X52 Plugin</Name>\n\t<Disabled>False</Disabled>\n"
                  "\t<Path>C:\\Users\\jwali\\saitek_plugin.exe</Path>\n\t<CommandLine></CommandLine>\n"
                  "</Launch.Addon>\n"),
         {"/sim/C:/Users/jwali/saitek_plugin.exe"},
         nullptr},
        {"an entry without its root",
         entry("PMDG HUD Interface", "PMDG\\DLLs\\PMDG_HUD_interface.dll"),
         {},
         "no SimBase.Document element"},
        {"a placeholder taken for an element",
         document(entry("Android FSX", "C:\\Users\\<USERNAME>\\AndroFSXServer\\AndroFSXServer.dll")),
         {},
         "mismatch"},
        {"an entry left open",
         document("<Launch.Addon><Name>FenixA320</Name><Path>C:\\Fenix.exe</Path>\n" +
                  entry("AFCBridge", "b.exe")),
         {},
         "mismatch"},
        {"backslashes in closing tags",
         document("<Launch.Addon><Name>AI Ground</Name><Path>C:\\AIGround.exe<\\Path>"),
         {},
         ""},
        {"an entry without a path",
         document("<Launch.Addon><Name>Empty</Name><Path> </Path></Launch.Addon>"),
         {},
         "\"Empty\""},
        {"not XML at all", std::string("\x00\xff garbage <<<", 14), {}, ""},
    };
    for (const Case& c : cases) {
        write(c.text);
        const AddonList list = AddonList::read(path, "/sim");
        std::vector<std::string> paths;
        for (const AddonList::Entry& e : list.entries)
            paths.push_back(e.path);
        EXPECT_EQ(c.paths, paths) << c.what;
        if (c.error == nullptr) {
            EXPECT_TRUE(list.errors.empty()) << c.what << ": " << list.errors.front();
        } else {
            ASSERT_EQ(1u, list.errors.size()) << c.what;
            EXPECT_NE(std::string::npos, list.errors[0].find(c.error)) << c.what << ": " << list.errors[0];
            EXPECT_NE(std::string::npos, list.errors[0].find(path)) << c.what << ": " << list.errors[0];
        }
    }
}

class AddonLoaderTest : public DllXmlTest {
protected:
    const ZHostPanels panels{};
    void SetUp() override { testAddonEvents().clear(); }
};

TEST_F(AddonLoaderTest, StoresThePanelTableBeforeTheStartAndStopsBeforeUnloading) {
    write(document(entry("Test", "Modules\\TestAddon.so")));
    AddonLoader loader;
    loader.start(path, kAddonRoot, &panels);
    EXPECT_EQ(std::vector<std::string>{"Test"}, loader.loaded());
    EXPECT_TRUE(loader.errors().empty());
    EXPECT_EQ((TestAddonEvents{{"start", &panels}}), testAddonEvents());
    loader.stop();
    EXPECT_EQ((TestAddonEvents{{"start", &panels}, {"stop", &panels}, {"unloaded", nullptr}}),
              testAddonEvents());
    EXPECT_TRUE(loader.loaded().empty());
}

TEST_F(AddonLoaderTest, ReportsAndSkipsModulesItCannotStart) {
    write(document(entry("Missing", "Modules\\Missing.so") +
                   entry("Not an add-on", "Modules/NoStartAddon.so") +
                   entry("Test", kAddonRoot + "/Modules/TestAddon.so")));
    {
        AddonLoader loader;
        loader.start(path, kAddonRoot, &panels);
        EXPECT_EQ(std::vector<std::string>{"Test"}, loader.loaded());
        ASSERT_EQ(2u, loader.errors().size());
        EXPECT_NE(std::string::npos, loader.errors()[0].find("\"Missing\"")) << loader.errors()[0];
        EXPECT_NE(std::string::npos, loader.errors()[1].find("no DLLStart")) << loader.errors()[1];
    }
    // The loader's end stops what it started.
    ASSERT_EQ(3u, testAddonEvents().size());
    EXPECT_EQ("stop", testAddonEvents()[1].first);
}

TEST_F(AddonLoaderTest, ABrokenListLoadsNothing) {
    write("<SimBase.Document>" + entry("Test", "Modules/TestAddon.so").substr(0, 40));
    AddonLoader loader;
    loader.start(path, kAddonRoot, &panels);
    EXPECT_TRUE(loader.loaded().empty());
    EXPECT_EQ(1u, loader.errors().size());
    EXPECT_TRUE(testAddonEvents().empty());
}

} // namespace
