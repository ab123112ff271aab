// Where a recording's files go: the automatic name, and the flight saved before the name was known.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/RecordingName.h"
#include "app/TempRecordFiles.h"
#include "support/TempDir.h"
#include "support/TempLog.h"

namespace fs = std::filesystem;

namespace {

TEST(RecordingNameTest, TheAutomaticNameIsTheLocalTimeToTheMillisecondInTheFlightsFolder) {
    struct Case {
        win::SYSTEMTIME time;
        const char* name;
    };
    const Case cases[] = {
        {{2011, 8, 1, 15, 14, 5, 9, 123}, "Zephrel_2011-08-15_14-05-09_0123.zfl"},
        {{2001, 1, 2, 2, 3, 4, 5, 6}, "Zephrel_2001-01-02_03-04-05_0006.zfl"},
    };
    for (const Case& c : cases)
        EXPECT_EQ((fs::path("/sim/Flights") / c.name).string(), automaticRecordingName("/sim/Flights", c.time));
}

class TempRecordFilesTest : public TempLogTest {
protected:
    void SetUp() override {
        TempLogTest::SetUp();
        fs::create_directories(dir.path() / "temp");
        fs::create_directories(dir.path() / "flights");
        for (const char* name : {"ZephrelTempRecord.flt", "ZephrelTempRecord.wx", "ZephrelTempRecordX.flt", "other.flt"})
            std::ofstream(dir.path() / "temp" / name) << name;
    }
    std::vector<std::string> filesIn(const std::string& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path() / folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir;
    std::string base = dir.file("temp/ZephrelTempRecord");
};

TEST_F(TempRecordFilesTest, EachFileMovesNextToTheRecordingWithItsOwnExtensionReplacingAnOldOne) {
    const std::string recording = dir.file("flights/circuit.zfl");
    std::ofstream(recording + ".flt") << "old";
    std::vector<std::string> moved = moveTempRecordFiles(base, recording);
    std::sort(moved.begin(), moved.end());
    EXPECT_EQ((std::vector<std::string>{recording + ".flt", recording + ".wx"}), moved);
    EXPECT_EQ("ZephrelTempRecord.flt", readText(recording + ".flt"));
    EXPECT_EQ("ZephrelTempRecord.wx", readText(recording + ".wx"));
    EXPECT_EQ((std::vector<std::string>{"ZephrelTempRecordX.flt", "other.flt"}), filesIn("temp"));
    EXPECT_EQ("", logText());
}

TEST_F(TempRecordFilesTest, AFileThatCannotBeMovedStaysWithAWarningInTheLog) {
    const std::string recording = dir.file("missing/circuit.zfl");
    EXPECT_TRUE(moveTempRecordFiles(base, recording).empty());
    EXPECT_EQ(4u, filesIn("temp").size());
    const std::string log = logText();
    for (const char* extension : {".flt", ".wx"})
        EXPECT_NE(std::string::npos, log.find("Warning: Failed to move file '" + base + extension + "' to '" +
                                              recording + extension + "'"))
            << log;
}

} // namespace
