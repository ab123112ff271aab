#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "Log.h"
#include "TempDir.h"

namespace {

constexpr const char* kTitle = "Zephrel for FSX Version 2.17 alpha (Built Aug 15 2011)";

// The log is process-wide: each test gets its own folder and leaves the log closed, with the
// default mask and the folder it found.
class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedFolder_ = std::filesystem::path(Log::filePath()).parent_path().string();
        Log::closeLog();
        Log::setLogFlags(1);
        Log::setFolder(dir_.path().string());
    }
    void TearDown() override {
        Log::closeLog();
        Log::setFolder(savedFolder_);
        Log::setLogFlags(1);
    }

    std::string path() const { return dir_.file("Zephrel.log"); }

    std::string contents() const {
        std::vector<unsigned char> bytes = readBytes(path());
        return {bytes.begin(), bytes.end()};
    }

    static std::vector<std::string> lines(const std::string& text) {
        std::vector<std::string> result;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            result.push_back(line);
        return result;
    }

    // The fixed title, a time stamp line and an empty line.
    static void expectHeaderAt(const std::vector<std::string>& l, std::size_t at) {
        ASSERT_GT(l.size(), at + 2);
        EXPECT_EQ(l[at], kTitle);
        EXPECT_TRUE(std::regex_match(l[at + 1], std::regex(R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d)"))) << l[at + 1];
        EXPECT_EQ(l[at + 2], "");
    }

    static std::size_t count(const std::vector<std::string>& l, const std::string& line) {
        return static_cast<std::size_t>(std::count(l.begin(), l.end(), line));
    }

    TempDir dir_;
    std::string savedFolder_;
};

TEST_F(LogTest, FirstLineWritesHeaderThenMessage) {
    Log::log("Module Entry Point", Log::kAllCategories, false);
    Log::closeLog();
    std::vector<std::string> l = lines(contents());
    ASSERT_EQ(l.size(), 4u) << contents();
    expectHeaderAt(l, 0);
    EXPECT_EQ(l[3], "Module Entry Point");
    EXPECT_EQ(contents().back(), '\n');
}

TEST_F(LogTest, HeaderTimeIsTheLocalTimeOfOpening) {
    std::time_t before = std::time(nullptr);
    Log::log("x", 1, false);
    std::time_t after = std::time(nullptr);
    Log::closeLog();
    std::vector<std::string> l = lines(contents());
    ASSERT_GE(l.size(), 2u);
    std::tm stamp{};
    ASSERT_EQ(std::sscanf(l[1].c_str(), "%d.%d.%d %d:%d:%d", &stamp.tm_mday, &stamp.tm_mon, &stamp.tm_year,
                          &stamp.tm_hour, &stamp.tm_min, &stamp.tm_sec),
              6)
        << l[1];
    // Day first, month counted from 1, four-digit year.
    stamp.tm_mon -= 1;
    stamp.tm_year -= 1900;
    stamp.tm_isdst = -1;
    std::time_t logged = std::mktime(&stamp);
    EXPECT_GE(logged, before - 1);
    EXPECT_LE(logged, after + 1);
}

TEST_F(LogTest, LinesAreOnDiskBeforeTheLogIsClosed) {
    Log::log("first", 1, false);
    Log::log("second", 1, false);
    std::vector<std::string> l = lines(contents());
    ASSERT_EQ(l.size(), 5u);
    EXPECT_EQ(l[3], "first");
    EXPECT_EQ(l[4], "second");
}

TEST_F(LogTest, MessageIsWrittenVerbatim) {
    Log::log("100%s done %d%%", 1, false);
    Log::log("", 1, false);
    Log::log("Exit\n\n", 1, false);
    Log::closeLog();
    std::string text = contents();
    std::string afterHeader = text.substr(text.find("\n\n") + 2);
    EXPECT_EQ(afterHeader, "100%s done %d%%\n\nExit\n\n\n");
}

TEST_F(LogTest, OpeningWithoutAppendReplacesAnEarlierLog) {
    writeBytes(path(), {'o', 'l', 'd', '\n'});
    Log::log("new", 1, false);
    Log::closeLog();
    std::vector<std::string> l = lines(contents());
    ASSERT_EQ(l.size(), 4u) << contents();
    expectHeaderAt(l, 0);
    EXPECT_EQ(l[3], "new");
}

TEST_F(LogTest, OpeningWithAppendContinuesAnEarlierLogWithAFreshHeader) {
    Log::log("Module Entry Point", Log::kAllCategories, false);
    Log::log("Exit", Log::kAllCategories, false);
    Log::closeLog();
    Log::log("Module Entry Point", Log::kAllCategories, true);
    Log::closeLog();
    std::vector<std::string> l = lines(contents());
    ASSERT_EQ(l.size(), 9u) << contents();
    expectHeaderAt(l, 0);
    EXPECT_EQ(l[3], "Module Entry Point");
    EXPECT_EQ(l[4], "Exit");
    expectHeaderAt(l, 5);
    EXPECT_EQ(l[8], "Module Entry Point");
}

TEST_F(LogTest, OnlyTheOpeningCallDecidesAboutAppending) {
    writeBytes(path(), {'o', 'l', 'd', '\n'});
    Log::log("opened appending", 1, true);
    Log::log("later, not appending", 1, false);
    Log::closeLog();
    std::vector<std::string> l = lines(contents());
    ASSERT_EQ(l.size(), 6u) << contents();
    EXPECT_EQ(l[0], "old");
    expectHeaderAt(l, 1);
    EXPECT_EQ(l[4], "opened appending");
    EXPECT_EQ(l[5], "later, not appending");
    EXPECT_EQ(count(l, kTitle), 1u);
}

TEST_F(LogTest, OpenLogIgnoresAppendFalseOfLaterCalls) {
    Log::log("a", 1, false);
    Log::log("b", 1, false);
    Log::closeLog();
    std::vector<std::string> l = lines(contents());
    EXPECT_EQ(count(l, kTitle), 1u);
    EXPECT_EQ(count(l, "a"), 1u);
    EXPECT_EQ(count(l, "b"), 1u);
}

TEST_F(LogTest, ClosedLogIsReopenedByTheNextLine) {
    Log::log("before close", 1, false);
    Log::closeLog();
    Log::log("after close", 1, false);
    Log::closeLog();
    std::vector<std::string> l = lines(contents());
    ASSERT_EQ(l.size(), 4u) << contents();
    EXPECT_EQ(l[3], "after close");
}

TEST_F(LogTest, ClosingAClosedLogIsHarmless) {
    Log::closeLog();
    Log::closeLog();
    Log::log("still works", 1, false);
    EXPECT_EQ(lines(contents()).back(), "still works");
}

TEST_F(LogTest, ZeroFlagsCreateNoFile) {
    Log::setLogFlags(0);
    EXPECT_EQ(Log::logFlags(), 0u);
    Log::log("Module Entry Point", Log::kAllCategories, false);
    Log::log("x", 1, true);
    Log::closeLog();
    EXPECT_FALSE(std::filesystem::exists(path()));
}

TEST_F(LogTest, LineIsWrittenOnlyIfFlagsAndCategoryShareABit) {
    struct Case {
        uint32_t flags;
        uint32_t category;
        bool written;
    };
    const Case cases[] = {
        {1, 1, true},          {1, 2, false},         {1, Log::kAllCategories, true}, {1, 3, true},
        {6, 4, true},          {6, 1, false},         {6, 9, false},                  {6, 0, false},
        {0x80000000u, 0x80000000u, true}, {0x80000000u, 0x7fffffffu, false}, {0xffffffffu, 0x10u, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("flags " + std::to_string(c.flags) + ", category " + std::to_string(c.category));
        Log::setLogFlags(c.flags);
        Log::log("probe", c.category, false);
        Log::closeLog();
        EXPECT_EQ(std::filesystem::exists(path()), c.written);
        std::filesystem::remove(path());
    }
}

TEST_F(LogTest, FilteredLinesDoNotOpenTheLogAndSoDoNotDecideAppending) {
    writeBytes(path(), {'o', 'l', 'd', '\n'});
    Log::log("filtered out", 2, false); // must not truncate
    Log::log("kept", 1, true);
    Log::closeLog();
    std::vector<std::string> l = lines(contents());
    ASSERT_FALSE(l.empty());
    EXPECT_EQ(l.front(), "old");
    EXPECT_EQ(count(l, "filtered out"), 0u);
    EXPECT_EQ(l.back(), "kept");
}

TEST_F(LogTest, FileLivesInTheConfiguredFolder) {
    EXPECT_EQ(std::filesystem::path(Log::filePath()), dir_.path() / "Zephrel.log");
    Log::log("here", 1, false);
    EXPECT_TRUE(std::filesystem::exists(dir_.path() / "Zephrel.log"));
}

} // namespace
