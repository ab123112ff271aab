// The settings writers change only the keys whose value the file does not hold already, so that a
// hand-edited "Zephrel.ini" keeps its comments, unknown keys, spelling and order byte for byte.

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "settings/KeyCommands.h"
#include "settings/Settings.h"
#include "support/TempDir.h"

namespace {

// Every record the writers take, as read from one file.
struct AllSettings {
    GeneralSettings general;
    RecordingSettings recording;
    RecordingSettings replay;
    PlaybackSettings playback;
    VideoSettings video;
    CameraSettings cameras;
    LogSettings log;
    WindowPositions windows;
    std::string zflFolder;
    KeyTable keys{};
    std::vector<AutoplayEntry> autoplay;
};

AllSettings readAll(const std::string& file) {
    AllSettings all;
    readGeneralSettings(file, all.general);
    readRecordingSettings(file, RecordingBlock::Recording, all.recording);
    readRecordingSettings(file, RecordingBlock::Replay, all.replay);
    readPlaybackSettings(file, all.playback);
    readVideoSettings(file, all.video);
    readCameraSettings(file, all.cameras);
    readLogSettings(file, all.log);
    readWindowPositions(file, all.windows);
    all.zflFolder = readDialogFolder(file, DialogFolder::kRecordings);
    all.keys = readKeyConfig(file);
    all.autoplay = readAutoplayList(file);
    return all;
}

bool writeAll(const std::string& file, const AllSettings& all) {
    bool written = writeGeneralSettings(file, all.general);
    written = writeRecordingSettings(file, RecordingBlock::Recording, all.recording) && written;
    written = writeRecordingSettings(file, RecordingBlock::Replay, all.replay) && written;
    written = writePlaybackSettings(file, all.playback) && written;
    written = writeVideoSettings(file, all.video) && written;
    written = writeCameraSettings(file, all.cameras) && written;
    written = writeLogSettings(file, all.log) && written;
    written =
        writeControlWindowPosition(file, all.windows.controlWndXPos, all.windows.controlWndYPos) && written;
    written = writeDataWindowPosition(file, all.windows.dataWndXPos, all.windows.dataWndYPos) && written;
    written = writeDialogFolder(file, DialogFolder::kRecordings, all.zflFolder) && written;
    written = writeKeyConfig(file, all.keys) && written;
    return writeAutoplayList(file, all.autoplay) && written;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

// The file as a person might have edited what the writers wrote: LF line ends, a comment before
// every section, spaces around "=", an unknown key after every key, and a few values spelt
// differently from how the writers spell them but read the same.
std::string handEdited(const std::string& written) {
    std::string text;
    int unknown = 0;
    for (std::string line : lines(written)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.starts_with('[')) {
            text += "; set by hand\n\n" + line + "\n";
            continue;
        }
        const std::size_t equals = line.find('=');
        text += "  " + line.substr(0, equals) + " = " + line.substr(equals + 1) + "\n";
        text += "Unknown" + std::to_string(++unknown) + "=kept\n";
    }
    const std::pair<std::string, std::string> respelt[] = {
        {"Speeds = 0.1|0.2|0.3|0.5|1|2|3|5|10", "Speeds = 0.10|0.2|0.3|0.5|1.0|2|3|5|10"},
        {"PosIncrementVC = 0.100000", "PosIncrementVC = 0.1"},
        {"DisplayRecording = 1", "DisplayRecording = 7"},
        {"TempDirectory = /tmp/flights", "TempDirectory = \"/tmp/flights\""},
        {"MaxAircraft = 200", "maxaircraft = 200"},
        {"ContFlags = 19", "ContFlags = 0019"},
    };
    for (const auto& [from, to] : respelt) {
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos)
            text.replace(at, from.size(), to);
    }
    return text;
}

class SettingsWriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        AllSettings all;
        all.general.tempDirectory = "/tmp/flights";
        all.zflFolder = "/home/pilot/Flights";
        all.keys = defaultKeyTable();
        all.autoplay = {{"a.flt", "a.zfl", true}, {"b.flt", "b.zfl", false}};
        ASSERT_TRUE(writeAll(ini, all));
        original = handEdited(text());
        writeText(original);
    }

    void writeText(const std::string& content) { std::ofstream(ini, std::ios::binary) << content; }
    std::string text() {
        const auto bytes = readBytes(ini);
        return {bytes.begin(), bytes.end()};
    }

    TempDir dir;
    std::string ini = dir.file(kSettingsFileName);
    std::string original;
};

TEST_F(SettingsWriteTest, WritingWhatTheFileHoldsLeavesItByteIdentical) {
    const AllSettings all = readAll(ini);
    EXPECT_EQ(all.general.tempDirectory, "/tmp/flights");
    ASSERT_TRUE(writeAll(ini, all));
    EXPECT_EQ(text(), original);
}

TEST_F(SettingsWriteTest, OneChangedSettingChangesOnlyItsOwnLine) {
    struct Case {
        const char* what;
        std::function<void(AllSettings&)> change;
        const char* line; // the changed line as it must read
    };
    const std::vector<Case> cases = {
        {"a bool", [](AllSettings& a) { a.general.displayRecording = false; }, "  DisplayRecording = 0"},
        {"a key spelt in other case", [](AllSettings& a) { a.general.maxAircraft = 50; },
         "  maxaircraft = 50"},
        {"the speeds",
         [](AllSettings& a) {
             a.general.speeds = {0.5, 1, 2};
         },
         "  Speeds = 0.5|1|2"},
        {"a quoted string", [](AllSettings& a) { a.general.tempDirectory = "/var/tmp"; },
         "  TempDirectory = /var/tmp"},
        {"a key of both recording blocks", [](AllSettings& a) { a.replay.interval = 5000; },
         "  Interval = 5000"},
        {"recording flags", [](AllSettings& a) { a.recording.contFlags = 0x1; }, "  ContFlags = 1"},
        {"a float", [](AllSettings& a) { a.cameras.posIncrementVC = 0.25; }, "  PosIncrementVC = 0.250000"},
        {"a window position", [](AllSettings& a) { a.windows.dataWndYPos = 77; }, "  DataWndYPos = 77"},
        {"a dialog folder", [](AllSettings& a) { a.zflFolder = "/data"; }, "  ZflPath = /data"},
        {"a key command", [](AllSettings& a) { a.keys[static_cast<std::size_t>(KeyCommand::Record)] = 0x52; },
         "  Record = 82"},
    };
    for (const Case& c : cases) {
        writeText(original);
        AllSettings all = readAll(ini);
        c.change(all);
        ASSERT_TRUE(writeAll(ini, all)) << c.what;

        const std::vector<std::string> before = lines(original);
        const std::vector<std::string> after = lines(text());
        ASSERT_EQ(after.size(), before.size()) << c.what;
        std::vector<std::string> changed;
        for (std::size_t i = 0; i < after.size(); ++i)
            if (after[i] != before[i])
                changed.push_back(after[i]);
        EXPECT_EQ(changed, std::vector<std::string>{c.line}) << c.what;
    }
}

TEST_F(SettingsWriteTest, AMissingKeyIsAddedAndTheRestOfTheSectionKept) {
    writeText("; mine\n[SETTINGS]\nSearch1 = 1 \n");
    GeneralSettings general;
    readGeneralSettings(ini, general);
    ASSERT_TRUE(writeGeneralSettings(ini, general));
    const std::string written = text();
    EXPECT_TRUE(written.starts_with("; mine\n[SETTINGS]\nSearch1 = 1 \nEnableReplay=1\n")) << written;
    GeneralSettings readBack;
    readGeneralSettings(ini, readBack);
    EXPECT_EQ(readBack, general);
}

TEST_F(SettingsWriteTest, AChangedAutoplayListStillReplacesEveryOldSection) {
    AllSettings all = readAll(ini);
    all.autoplay.pop_back();
    ASSERT_TRUE(writeAll(ini, all));
    EXPECT_EQ(readAutoplayList(ini), all.autoplay);
    EXPECT_EQ(text().find("b.zfl"), std::string::npos);
}

} // namespace
