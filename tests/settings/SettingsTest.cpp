#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "profile/ProfileValues.h"
#include "settings/KeyCommands.h"
#include "settings/Settings.h"
#include "support/TempDir.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void writeText(const std::string& text) { std::ofstream(ini, std::ios::binary) << text; }
    std::string text() {
        auto bytes = readBytes(ini);
        return {bytes.begin(), bytes.end()};
    }

    TempDir dir;
    std::string ini = dir.file(kSettingsFileName);
};

TEST_F(SettingsTest, MissingFileGivesEveryBuiltInDefault) {
    GeneralSettings general;
    general.enableReplay = false; // a reader replaces what the record held
    readGeneralSettings(ini, general);
    EXPECT_EQ(general, GeneralSettings{});
    EXPECT_EQ(general.speeds, (std::vector<double>{0.1015625, 0.19921875, 0.30078125, 0.5, 1, 2, 3, 5, 10}));

    RecordingSettings recording;
    recording.interval = 1;
    readRecordingSettings(ini, RecordingBlock::Recording, recording);
    EXPECT_EQ(recording, RecordingSettings{});
    // The data groups by number, as Zephrel.ini stores them.
    EXPECT_EQ(recording.contFlags, 0x13u);
    EXPECT_EQ(recording.contFlagsAI, 0x13u);
    EXPECT_EQ(recording.discFlags, 0x1fu);
    EXPECT_EQ(recording.discFlagsAI, 0x17u);
    EXPECT_EQ(recording.autoStopMode, 0);
    PlaybackSettings playback;
    readPlaybackSettings(ini, playback);
    EXPECT_EQ(playback.contFlags, 0x1ffu);
    EXPECT_EQ(playback.discFlags, 0x3ffu);

    VideoSettings video;
    readVideoSettings(ini, video);
    EXPECT_EQ(video, VideoSettings{});
    EXPECT_DOUBLE_EQ(video.fps, 25.0);
    EXPECT_TRUE(readAutoplayList(ini).empty());
    EXPECT_EQ(readKeyConfig(ini), defaultKeyTable());
    EXPECT_FALSE(std::filesystem::exists(ini)) << "reading must not create the file";
}

TEST_F(SettingsTest, EverySectionReadsBackWhatWasWritten) {
    GeneralSettings general;
    general.enableReplay = false;
    general.maxReplaySize = 0;
    general.search2 = true;
    general.jumpSize3 = 600;
    general.searchSpeed1 = 7;
    general.maxAircraft = 0;
    general.tempDirectory = "/var/tmp/zephrel";
    general.speeds = {0.25, 0.5, 1, 4, 16};
    general.disableCameras = true;
    general.enableAutoplay = false;
    ASSERT_TRUE(writeGeneralSettings(ini, general));
    GeneralSettings general2;
    readGeneralSettings(ini, general2);
    EXPECT_EQ(general2, general);

    RecordingSettings recording;
    recording.interval = 1000;
    recording.intervalAI = 50000;
    recording.recordAI = recording.recordPlayingTraffic = recording.saveFlight = true;
    recording.contFlags = 0x7fff;
    recording.discFlags = 0x7ff;
    recording.autoStopMode = 2;
    recording.autoStopTime = 30;
    ASSERT_TRUE(writeRecordingSettings(ini, RecordingBlock::Recording, recording));
    RecordingSettings recording2;
    readRecordingSettings(ini, RecordingBlock::Recording, recording2);
    EXPECT_EQ(recording2, recording);

    PlaybackSettings playback{true, false, 0x7, 0x3};
    ASSERT_TRUE(writePlaybackSettings(ini, playback));
    PlaybackSettings playback2;
    readPlaybackSettings(ini, playback2);
    EXPECT_EQ(playback2, playback);

    VideoSettings video;
    video.width = 1920;
    video.height = 1080;
    video.fps = 29.97;
    video.codec = 3;
    video.vbr = false;
    video.loadScenery = 4;
    video.skipFrames = 15;
    ASSERT_TRUE(writeVideoSettings(ini, video));
    VideoSettings video2;
    readVideoSettings(ini, video2);
    EXPECT_EQ(video2, video);

    CameraSettings cameras;
    cameras.posIncrementVC = 0.25;
    cameras.slewIncrementSpot3 = 7.5;
    cameras.pan360 = true;
    cameras.smoothTypeZoom = 0;
    ASSERT_TRUE(writeCameraSettings(ini, cameras));
    CameraSettings cameras2;
    readCameraSettings(ini, cameras2);
    EXPECT_EQ(cameras2, cameras);

    LogSettings log{0xffffffffu, true};
    ASSERT_TRUE(writeLogSettings(ini, log));
    LogSettings log2;
    readLogSettings(ini, log2);
    EXPECT_EQ(log2, log);

    ASSERT_TRUE(writeControlWindowPosition(ini, -5, 300));
    ASSERT_TRUE(writeDataWindowPosition(ini, 1200, 40));
    WindowPositions windows;
    readWindowPositions(ini, windows);
    EXPECT_EQ(windows, (WindowPositions{-5, 300, 1200, 40}));

    ASSERT_TRUE(writeDialogFolder(ini, "ZflPath", "/home/pilot/Flights"));
    EXPECT_EQ(readDialogFolder(ini, "ZflPath"), "/home/pilot/Flights");
    EXPECT_EQ(readDialogFolder(ini, "WavPath"), "");
}

TEST_F(SettingsTest, ReplayBlockSharesTheRecorderKeysButNotTheRecordingOnlyOnes) {
    writeText("[REPLAY]\r\nInterval=5000\r\nRecordAI=1\r\nSaveFlight=1\r\nAutoStopMode=3\r\n"
              "[RECORDING]\r\nInterval=1234\r\n");
    RecordingSettings replay;
    readRecordingSettings(ini, RecordingBlock::Replay, replay);
    EXPECT_EQ(replay.interval, 5000);
    EXPECT_TRUE(replay.recordAI);
    EXPECT_FALSE(replay.saveFlight);
    EXPECT_EQ(replay.autoStopMode, 0);

    replay.autoStopTime = 99;
    ASSERT_TRUE(writeRecordingSettings(ini, RecordingBlock::Replay, replay));
    EXPECT_EQ(profile::readInt(ini, "REPLAY", "AutoStopTime", -1), -1);
    EXPECT_EQ(profile::readInt(ini, "RECORDING", "Interval", -1), 1234);
}

TEST_F(SettingsTest, ValuesAreReadTheWayTheIniFunctionsReadThem) {
    writeText("[SETTINGS]\r\nEnableReplay=-1\r\nMaxAircraft=50 aircraft\r\nLoadAircraft=yes\r\n"
              "[VIDEO]\r\nLoadScenery=9\r\nSkipFrames=16\r\nWidth=800\r\n");
    GeneralSettings general;
    readGeneralSettings(ini, general);
    EXPECT_FALSE(general.enableReplay) << "-1 is not above 0";
    EXPECT_EQ(general.maxAircraft, 50);
    EXPECT_FALSE(general.loadAircraft) << "text without digits reads as 0";

    VideoSettings video;
    readVideoSettings(ini, video);
    EXPECT_EQ(video.loadScenery, 5);
    EXPECT_EQ(video.skipFrames, 15);
    EXPECT_EQ(video.width, 800);
    EXPECT_NE(text().find("LoadScenery=9\r\n"), std::string::npos) << "the clamp does not rewrite the file";
}

TEST_F(SettingsTest, TempDirectoryKeepsTheRecordsValueWhenTheKeyIsMissing) {
    GeneralSettings general;
    general.tempDirectory = "/tmp/earlier";
    readGeneralSettings(ini, general);
    EXPECT_EQ(general.tempDirectory, "/tmp/earlier");
}

TEST_F(SettingsTest, LevelD767PatchIsReadButNeverWritten) {
    writeText("[SETTINGS]\r\nLevelD767SpoilersPatch=1\r\n");
    GeneralSettings general;
    readGeneralSettings(ini, general);
    EXPECT_TRUE(general.levelD767SpoilersPatch);
    general.levelD767SpoilersPatch = false;
    ASSERT_TRUE(writeGeneralSettings(ini, general));
    EXPECT_NE(text().find("LevelD767SpoilersPatch=1\r\n"), std::string::npos);
}

TEST_F(SettingsTest, WritersReportAFailedWriteAndLeaveNothingBehind) {
    const std::string unwritable = dir.file("missing-folder/" + std::string(kSettingsFileName));
    EXPECT_FALSE(writeGeneralSettings(unwritable, GeneralSettings{}));
    EXPECT_FALSE(writeKeyConfig(unwritable, defaultKeyTable()));
    EXPECT_FALSE(std::filesystem::exists(unwritable));
}

struct SpeedCase {
    const char* text;
    bool valid;
};

class SpeedListParseTest : public ::testing::TestWithParam<SpeedCase> {};

TEST_P(SpeedListParseTest, AcceptsOnlyAscendingListsWithinRangeThatHoldNormalSpeed) {
    EXPECT_EQ(SpeedList::parse(GetParam().text, ';').has_value(), GetParam().valid) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Lists, SpeedListParseTest,
                         ::testing::Values(SpeedCase{"0.1;0.2;0.3;0.5;1;2;3;5;10", true}, SpeedCase{"1", true},
                                           SpeedCase{"0.03;1;100", true}, SpeedCase{"0.5;2", false},
                                           SpeedCase{"2;1", false}, SpeedCase{"1;1;2", false},
                                           SpeedCase{"0.02;1", false}, SpeedCase{"1;101", false},
                                           SpeedCase{"-1;1", false}, SpeedCase{"", false},
                                           SpeedCase{"0.5;;1", false}, SpeedCase{"0.5;x;1", false},
                                           // 1.001 rounds to 1 on the 1/256 grid
                                           SpeedCase{"0.5;1.001", true}));

TEST(SpeedListTest, RoundsToStepsOf1Over256AndFormatsWithTwoSignificantDigits) {
    auto speeds = SpeedList::parse("0.1;0.3;1;2.5", ';');
    ASSERT_TRUE(speeds);
    EXPECT_EQ(*speeds, (std::vector<double>{26 / 256.0, 77 / 256.0, 1, 2.5}));
    EXPECT_EQ(SpeedList::format(*speeds, '|'), "0.1|0.3|1|2.5");
    EXPECT_EQ(SpeedList::format(SpeedList::defaults(), ';'), "0.1;0.2;0.3;0.5;1;2;3;5;10");
}

TEST_F(SettingsTest, AnInvalidSpeedListInTheFileFallsBackToTheDefaultList) {
    for (const char* stored : {"0.5|2", "2|1", "abc"}) {
        writeText(std::string("[SETTINGS]\r\nSpeeds=") + stored + "\r\n");
        GeneralSettings general;
        general.speeds = {1};
        readGeneralSettings(ini, general);
        EXPECT_EQ(general.speeds, SpeedList::defaults()) << stored;
    }
    writeText("[SETTINGS]\r\nSpeeds=0.5|1|4\r\n");
    GeneralSettings general;
    readGeneralSettings(ini, general);
    EXPECT_EQ(general.speeds, (std::vector<double>{0.5, 1, 4}));
}

TEST_F(SettingsTest, AutoplayListSkipsIncompleteSectionsAndAllowsGaps) {
    writeText("[AUTOPLAY.003]\r\nFLT=a.flt\r\n"
              "[AUTOPLAY.007]\r\nFLT=Seattle.flt\r\nZFL=Seattle.zfl\r\nPlayAsTraffic=0\r\n"
              "[AUTOPLAY.255]\r\nFLT=last.flt\r\nZFL=last.zfl\r\n");
    auto entries = readAutoplayList(ini);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (AutoplayEntry{"Seattle.flt", "Seattle.zfl", false}));
    EXPECT_EQ(entries[1], (AutoplayEntry{"last.flt", "last.zfl", true}));
}

TEST_F(SettingsTest, WritingTheAutoplayListReplacesEveryOldSection) {
    writeText("[AUTOPLAY.200]\r\nFLT=old.flt\r\nZFL=old.zfl\r\n[SETTINGS]\r\nMaxAircraft=5\r\n");
    std::vector<AutoplayEntry> entries = {{"a.flt", "a.zfl", true}, {"b.flt", "b.zfl", false}};
    ASSERT_TRUE(writeAutoplayList(ini, entries));
    EXPECT_EQ(readAutoplayList(ini), entries);
    EXPECT_EQ(text().find("old.flt"), std::string::npos);
    EXPECT_EQ(profile::readInt(ini, "SETTINGS", "MaxAircraft", 0), 5);
    EXPECT_EQ(profile::readString(ini, "AUTOPLAY.001", "ZFL", ""), "b.zfl");
}

TEST_F(SettingsTest, KeyConfigUsesTheCommandNamesAndKeepsSixteenBits) {
    KeyTable keys = defaultKeyTable();
    EXPECT_EQ(keys[static_cast<std::size_t>(KeyCommand::SetMarker)], 0x204d);
    EXPECT_EQ(keys[static_cast<std::size_t>(KeyCommand::StopHere)], 0x101b);
    EXPECT_EQ(keys[static_cast<std::size_t>(KeyCommand::MouseView)], 0x20);
    keys[static_cast<std::size_t>(KeyCommand::LoadTower)] = kCtrlKey | 'T';
    ASSERT_TRUE(writeKeyConfig(ini, keys));
    EXPECT_EQ(profile::readInt(ini, "KEYCONFIG", "LoadTower", 0), 0x2054);
    EXPECT_EQ(readKeyConfig(ini), keys);

    writeText("[KEYCONFIG]\r\nRecord=74565\r\n"); // 0x12345
    EXPECT_EQ(readKeyConfig(ini)[static_cast<std::size_t>(KeyCommand::Record)], 0x2345);
}

TEST(KeyCommandsTest, EveryCommandHasItsOwnSettingsKeyAndADescription) {
    std::set<std::string> names;
    for (std::size_t i = 0; i < kKeyCommandCount; ++i) {
        const KeyCommandInfo& info = keyCommandInfo(static_cast<KeyCommand>(i));
        EXPECT_TRUE(names.insert(info.settingsKey).second) << info.settingsKey;
        EXPECT_STRNE(info.description, "");
    }
    EXPECT_STREQ(keyCommandInfo(KeyCommand::PauseRender).settingsKey, "PauseRender");
    EXPECT_STREQ(keyCommandInfo(KeyCommand::TowerToAircraft).description, "Set Tower Camera to Aircraft Pos");
}

} // namespace
