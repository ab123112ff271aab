#include <gtest/gtest.h>

#include "support/TempDir.h"

#include <cstdint>
#include <initializer_list>
#include <string>

#include "profile/Profile.h"

// A settings file as people wrote them for the original: CR LF, comments, blank lines, odd
// spacing, quotes, a repeated section and text ahead of the first section. Each write must change
// its own line and nothing else.

namespace {

using namespace std::string_literals;

std::string crlf(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines)
        text.append(line).append("\r\n");
    return text;
}

const std::string original = crlf({
    "; Zephrel settings",
    "junk=before any section",
    "",
    "[SETTINGS]",
    "EnableReplay=1",
    "  MaxReplaySize = 20   ",
    "; the search steps",
    "Search1=1",
    "JumpSize1=\"30\"",
    "Speeds='0.1|0.5|1|2'",
    "TempDirectory = \" /tmp/zephrel \"",
    "EnableReplay=0",
    "",
    "[replay]   ; instant replay",
    "Interval=5000",
    "RecordAI",
    "#ContFlags=7",
    "",
    "[ VIDEO ]",
    "FPS=29.97",
    "\tCodec\t=\t-1",
    "",
    "[SETTINGS]",
    "MaxAircraft=5",
});

class ProfileOriginalFile : public ::testing::Test {
protected:
    void SetUp() override { writeBytes(path, {original.begin(), original.end()}); }

    std::string get(const char* section, const char* key, uint32_t size = 260) const {
        std::string buffer(size, '\0');
        const uint32_t n =
            win::GetPrivateProfileStringA(section, key, "<default>", buffer.data(), size, path.c_str());
        // Lists keep their NULs; a value is as long as the return value says.
        return buffer.substr(0, section == nullptr || key == nullptr ? n + 1 : n);
    }
    bool write(const char* section, const char* key, const char* value) const {
        return win::WritePrivateProfileStringA(section, key, value, path.c_str());
    }
    std::string text() const {
        const auto bytes = readBytes(path);
        return {bytes.begin(), bytes.end()};
    }

    TempDir dir;
    std::string path = dir.file("Zephrel.ini");
};

struct Expected {
    const char* section;
    const char* key;
    const char* value;
};

TEST_F(ProfileOriginalFile, ReadsEveryValueAsTheOriginalDid) {
    const Expected expected[] = {
        {"SETTINGS", "EnableReplay", "1"},      // the first of two
        {"settings", "maxreplaysize", "20"},    // spacing and case
        {"SETTINGS", "JumpSize1", "30"},        // double quotes
        {"SETTINGS", "Speeds", "0.1|0.5|1|2"},  // single quotes
        {"SETTINGS", "TempDirectory", " /tmp/zephrel "},
        {"SETTINGS", "MaxAircraft", "<default>"}, // only in the repeated section
        {"SETTINGS", "Search2", "<default>"},
        {"REPLAY", "Interval", "5000"},          // text after the header
        {"REPLAY", "RecordAI", "<default>"},     // no '='
        {"REPLAY", "#ContFlags", "7"},           // '#' is no comment
        {"REPLAY", "ContFlags", "<default>"},
        {"VIDEO", "FPS", "29.97"},               // blanks inside the brackets
        {"VIDEO", "Codec", "-1"},                // tabs around key and value
        {"", "junk", "<default>"},               // ahead of the first section
        {"Zephrel settings", "junk", "<default>"},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(std::string(e.section) + "/" + e.key);
        EXPECT_EQ(get(e.section, e.key), e.value);
    }
    EXPECT_EQ(win::GetPrivateProfileIntA("SETTINGS", "JumpSize1", 15, path.c_str()), 30u);
    EXPECT_EQ(static_cast<int32_t>(win::GetPrivateProfileIntA("VIDEO", "Codec", 0, path.c_str())), -1);
}

TEST_F(ProfileOriginalFile, ListsSectionsAndKeysInFileOrder) {
    EXPECT_EQ(get(nullptr, nullptr), "SETTINGS\0replay\0VIDEO\0SETTINGS\0\0"s);
    EXPECT_EQ(get("Settings", nullptr),
              "EnableReplay\0MaxReplaySize\0Search1\0JumpSize1\0Speeds\0TempDirectory\0EnableReplay\0\0"s);
    EXPECT_EQ(get("replay", nullptr), "Interval\0#ContFlags\0\0"s);
}

TEST_F(ProfileOriginalFile, WritesTouchOnlyTheirOwnLines) {
    // Change a value: the key's spacing stays, its trailing blanks go with the old value.
    ASSERT_TRUE(write("settings", "maxreplaysize", "50"));
    std::string expected = crlf({
        "; Zephrel settings", "junk=before any section", "",
        "[SETTINGS]", "EnableReplay=1", "  MaxReplaySize = 50", "; the search steps", "Search1=1",
        "JumpSize1=\"30\"", "Speeds='0.1|0.5|1|2'", "TempDirectory = \" /tmp/zephrel \"",
        "EnableReplay=0", "",
        "[replay]   ; instant replay", "Interval=5000", "RecordAI", "#ContFlags=7", "",
        "[ VIDEO ]", "FPS=29.97", "\tCodec\t=\t-1", "",
        "[SETTINGS]", "MaxAircraft=5",
    });
    ASSERT_EQ(text(), expected);

    // Add a key: after the section's last key line, ahead of the blank line.
    ASSERT_TRUE(write("REPLAY", "IntervalAI", "20000"));
    expected = crlf({
        "; Zephrel settings", "junk=before any section", "",
        "[SETTINGS]", "EnableReplay=1", "  MaxReplaySize = 50", "; the search steps", "Search1=1",
        "JumpSize1=\"30\"", "Speeds='0.1|0.5|1|2'", "TempDirectory = \" /tmp/zephrel \"",
        "EnableReplay=0", "",
        "[replay]   ; instant replay", "Interval=5000", "RecordAI", "#ContFlags=7", "IntervalAI=20000", "",
        "[ VIDEO ]", "FPS=29.97", "\tCodec\t=\t-1", "",
        "[SETTINGS]", "MaxAircraft=5",
    });
    ASSERT_EQ(text(), expected);

    // Add a section: at the end, no blank line before it.
    ASSERT_TRUE(write("CAMERAS", "Display", "1"));
    expected += crlf({"[CAMERAS]", "Display=1"});
    ASSERT_EQ(text(), expected);

    // Delete a key.
    ASSERT_TRUE(write("video", "CODEC", nullptr));
    expected = crlf({
        "; Zephrel settings", "junk=before any section", "",
        "[SETTINGS]", "EnableReplay=1", "  MaxReplaySize = 50", "; the search steps", "Search1=1",
        "JumpSize1=\"30\"", "Speeds='0.1|0.5|1|2'", "TempDirectory = \" /tmp/zephrel \"",
        "EnableReplay=0", "",
        "[replay]   ; instant replay", "Interval=5000", "RecordAI", "#ContFlags=7", "IntervalAI=20000", "",
        "[ VIDEO ]", "FPS=29.97", "",
        "[SETTINGS]", "MaxAircraft=5",
        "[CAMERAS]", "Display=1",
    });
    ASSERT_EQ(text(), expected);

    // Delete a section: both copies go, the comment inside stays.
    ASSERT_TRUE(write("Settings", nullptr, nullptr));
    expected = crlf({
        "; Zephrel settings", "junk=before any section", "",
        "; the search steps",
        "[replay]   ; instant replay", "Interval=5000", "RecordAI", "#ContFlags=7", "IntervalAI=20000", "",
        "[ VIDEO ]", "FPS=29.97", "",
        "[CAMERAS]", "Display=1",
    });
    ASSERT_EQ(text(), expected);
    EXPECT_EQ(get("SETTINGS", "EnableReplay"), "<default>");
}

} // namespace
