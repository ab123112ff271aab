#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "support/TempLog.h"

namespace {

using LogTest = TempLogTest;

// The log with each header (the fixed title, a time stamp line and an empty line) as "<header>".
std::string marked(const std::string& log) {
    static const std::regex header(R"(Zephrel for FSX Version 2\.17 alpha \(Built Aug 15 2011\)\n)"
                                   R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d\n\n)");
    return std::regex_replace(log, header, "<header>\n");
}

TEST_F(LogTest, LinesFollowTheHeaderVerbatimAndAreOnDiskAtOnce) {
    EXPECT_EQ(std::filesystem::path(Log::filePath()), logDir.path() / "Zephrel.log");
    Log::log("Module Entry Point", Log::kAllCategories, false);
    Log::log("100%s done %d%%", 1, false);
    Log::log("", 1, false);
    Log::log("Exit\n", 1, false);
    EXPECT_EQ("<header>\nModule Entry Point\n100%s done %d%%\n\nExit\n\n", marked(logText()));
}

TEST_F(LogTest, HeaderTimeIsTheLocalTimeOfOpening) {
    std::time_t before = std::time(nullptr);
    Log::log("x", 1, false);
    std::time_t after = std::time(nullptr);
    const std::string text = logText();
    std::tm stamp{};
    ASSERT_EQ(6, std::sscanf(text.c_str() + text.find('\n') + 1, "%d.%d.%d %d:%d:%d", &stamp.tm_mday,
                             &stamp.tm_mon, &stamp.tm_year, &stamp.tm_hour, &stamp.tm_min, &stamp.tm_sec))
        << text;
    // Day first, month counted from 1, four-digit year.
    stamp.tm_mon -= 1;
    stamp.tm_year -= 1900;
    stamp.tm_isdst = -1;
    std::time_t logged = std::mktime(&stamp);
    EXPECT_GE(logged, before - 1);
    EXPECT_LE(logged, after + 1);
}

// Only the line that opens the log decides whether an earlier log is continued or replaced; lines
// the mask filters out do not open it.
TEST_F(LogTest, OpeningLineAloneDecidesBetweenContinuingAndReplacing) {
    struct Line {
        const char* text; // nullptr: close the log
        uint32_t category;
        bool append;
    };
    const Line close{nullptr, 0, false};
    const struct {
        const char* what;
        std::vector<Line> calls;
        const char* expected; // after an earlier log "old"
    } cases[] = {
        {"without append", {{"new", 1, false}}, "<header>\nnew\n"},
        {"with append", {{"new", 1, true}}, "old\n<header>\nnew\n"},
        {"later calls", {{"first", 1, true}, {"later", 1, false}}, "old\n<header>\nfirst\nlater\n"},
        {"after close", {{"a", 1, false}, close, {"b", 1, true}, close, close, {"c", 1, true}},
         "<header>\na\n<header>\nb\n<header>\nc\n"},
        {"after close, replacing", {{"a", 1, true}, close, {"b", 1, false}}, "<header>\nb\n"},
        {"filtered line first", {{"filtered out", 2, false}, {"kept", 1, true}}, "old\n<header>\nkept\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Log::closeLog();
        writeBytes(logPath(), {'o', 'l', 'd', '\n'});
        for (const Line& line : c.calls)
            line.text ? Log::log(line.text, line.category, line.append) : Log::closeLog();
        EXPECT_EQ(c.expected, marked(logText()));
    }
}

TEST_F(LogTest, LineIsWrittenOnlyIfFlagsAndCategoryShareABit) {
    const struct {
        uint32_t flags;
        uint32_t category;
        bool written;
    } cases[] = {
        {1, 1, true},          {1, 2, false},         {1, Log::kAllCategories, true}, {1, 3, true},
        {6, 4, true},          {6, 1, false},         {6, 9, false},                  {6, 0, false},
        {0x80000000u, 0x80000000u, true}, {0x80000000u, 0x7fffffffu, false}, {0xffffffffu, 0x10u, true},
        {0, Log::kAllCategories, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("flags " + std::to_string(c.flags) + ", category " + std::to_string(c.category));
        Log::setLogFlags(c.flags);
        EXPECT_EQ(c.flags, Log::logFlags());
        Log::log("probe", c.category, false);
        Log::log("probe", c.category, true);
        Log::closeLog();
        EXPECT_EQ(c.written, std::filesystem::exists(logPath()));
        std::filesystem::remove(logPath());
    }
}

} // namespace
