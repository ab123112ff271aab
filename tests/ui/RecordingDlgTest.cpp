// "Recording Settings" and "Replay Settings": the block shown and written back, the interval lists'
// values, the automatic stop, the enable rules, the replay form's disabled controls, and the data
// group trees against the flag words.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModuleDialogTest.h"
#include "ShownControls.h"
#include "TemplateLayout.h"
#include "ui/RecordingDlg.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;
using D = RecordingDlg;
using When = win::DialogEntry::What;

class RecordingDlgTest : public ModuleDialogTest {
protected:
    bool run(std::vector<Step> steps, RecordingBlock block = RecordingBlock::Recording) {
        forgetHistory();
        scriptDialog(ModuleResources::kRecordingDialog, std::move(steps));
        return D::show(nullptr, settings, block);
    }
    static win::ControlSnapshot shown(When when, int id) {
        return shownControl(ModuleResources::kRecordingDialog, when, id);
    }

    RecordingSettings settings;
};

TEST_F(RecordingDlgTest, TemplateControlsStayInsideTheDialogAndApart) {
    EXPECT_EQ(std::vector<std::string>{}, layoutProblems(D::dialogTemplate()));
}

TEST_F(RecordingDlgTest, ShowsTheBlockAndOkWithoutChangesKeepsIt) {
    settings.recordAI = true;
    settings.autoStopMode = RecordingSettings::AutoStopAfterShutdown;
    settings.autoStopTime = 25;
    const RecordingSettings before = settings;
    EXPECT_TRUE(run({Press{win::IDOK}}));
    EXPECT_EQ(before, settings);

    EXPECT_EQ("Recording Settings", shownTitle(ModuleResources::kRecordingDialog));
    EXPECT_EQ("\"Flight Controls\" [x], \"Flaps\" [x], \"Spoilers\" [x], \"Gear\" [x], \"Throttles\" [x], "
              "\"Propellers\" [ ], \"Mixtures\" [ ], \"Engines On/Off\" [x], \"Lights\" [x], "
              "\"Parking Brake\" [x], \"Smoke System\" [ ], \"NAV Radios\" [ ], \"COM Radios\" [ ], "
              "\"Airspeeds\" [ ], \"Autopilot On/Off\" [ ], \"Concorde Nose Visor\" [ ], \"Main Exit\" [ ], "
              "\"Tailhook\" [ ], \"Wing Fold\" [ ], \"Ambient Wind\" [ ], \"Date & Time\" [ ], "
              "\"Extended Data\" [ ]",
              shown(When::Initialised, D::kUserGroupsId).state);
    EXPECT_NE(std::string::npos,
              shown(When::Initialised, D::kAIGroupsId).state.find("\"Parking Brake\" [ ]"));
    EXPECT_NE(std::string::npos, shown(When::Initialised, D::kIntervalId).state.find("selected 3"));
    EXPECT_NE(std::string::npos, shown(When::Initialised, D::kIntervalAIId).state.find("selected 3"));
    EXPECT_EQ("25", shown(When::Initialised, D::kAutoStopTimeId).text);
    EXPECT_EQ("items [\"after Start\", \"after Touchdown\", \"after Shutdown\"] selected 2",
              shown(When::Initialised, D::kAutoStopModeId).state);
}

TEST_F(RecordingDlgTest, EveryIntervalEntryStoresItsTicks) {
    struct Entry {
        const char* text;
        int32_t ticks;
    };
    const std::vector<Entry> user = {{"1 sec", 10000},  {"1/2 sec", 5000}, {"1/3 sec", 3333},
                                     {"1/4 sec", 2500}, {"1/6 sec", 1666}, {"1/8 sec", 1250},
                                     {"1/12 sec", 833}, {"1/16 sec", 625}, {"1/24 sec", 416},
                                     {"1/32 sec", 312}, {"1 frame", 0}};
    const std::vector<Entry> ai = {{"16 sec", 160000}, {"8 sec", 80000}, {"4 sec", 40000},
                                   {"2 sec", 20000},   {"1 sec", 10000}, {"1/2 sec", 5000},
                                   {"1/4 sec", 2500},  {"1/8 sec", 1250}};
    settings.recordAI = true;
    for (const Entry& entry : user) {
        EXPECT_TRUE(run({SelectText{D::kIntervalId, entry.text}, Press{win::IDOK}}));
        EXPECT_EQ(entry.ticks, settings.interval) << entry.text;
    }
    for (const Entry& entry : ai) {
        EXPECT_TRUE(run({SelectText{D::kIntervalAIId, entry.text}, Press{win::IDOK}}));
        EXPECT_EQ(entry.ticks, settings.intervalAI) << entry.text;
    }
    EXPECT_EQ(user.size(), D::userIntervals().size());
    EXPECT_EQ(ai.size(), D::aiIntervals().size());
}

TEST_F(RecordingDlgTest, AStoredIntervalOffTheListShowsAsTheNearestEntry) {
    struct Case {
        int32_t stored;
        int32_t storedAI;
        int32_t interval;
        int32_t intervalAI;
    };
    for (const Case& c :
         std::vector<Case>{{3000, 30000, 3333, 40000}, {100, 1000000, 0, 160000}, {-7, 1, 0, 1250}}) {
        settings.interval = c.stored;
        settings.intervalAI = c.storedAI;
        EXPECT_TRUE(run({Press{win::IDOK}}));
        EXPECT_EQ(c.interval, settings.interval) << c.stored;
        EXPECT_EQ(c.intervalAI, settings.intervalAI) << c.storedAI;
    }
}

TEST_F(RecordingDlgTest, AutoStopGivesTheListsModeOrZeroWhenUnchecked) {
    struct Case {
        const char* what;
        int32_t mode;
        std::vector<Step> steps;
        int32_t storedMode;
        int32_t storedTime;
    };
    const std::vector<Case> cases = {
        {"checked after touchdown",
         0,
         {SetCheck{D::kAutoStopId, true}, SelectIndex{D::kAutoStopModeId, 1},
          SetText{D::kAutoStopTimeId, "30"}},
         2,
         30},
        {"after start", 3, {SelectText{D::kAutoStopModeId, "after Start"}}, 1, 10},
        {"after shutdown", 1, {SelectIndex{D::kAutoStopModeId, 2}}, 3, 10},
        {"unchecked keeps the time",
         3,
         {SetText{D::kAutoStopTimeId, "45"}, SetCheck{D::kAutoStopId, false}},
         0,
         45},
        {"a time of 0 is 1 second", 1, {SetText{D::kAutoStopTimeId, "0"}}, 1, 1},
        {"an overlong time is cut", 1, {SetText{D::kAutoStopTimeId, "1234567"}}, 1, D::kMaxAutoStopTime},
        {"a mode off the list shows unchecked", 9, {}, 0, 10},
    };
    for (const Case& c : cases) {
        settings = RecordingSettings{};
        settings.autoStopMode = c.mode;
        std::vector<Step> steps = c.steps;
        steps.push_back(Press{win::IDOK});
        EXPECT_TRUE(run(steps)) << c.what;
        EXPECT_EQ(c.storedMode, settings.autoStopMode) << c.what;
        EXPECT_EQ(c.storedTime, settings.autoStopTime) << c.what;
    }
}

TEST_F(RecordingDlgTest, DependentControlsFollowTheirCheckBoxes) {
    EXPECT_TRUE(run({Press{win::IDOK}}));
    for (int id : {D::kAIGroupsId, D::kIntervalAIId, D::kAutoStopTimeId, D::kAutoStopModeId})
        EXPECT_FALSE(shown(When::Initialised, id).enabled) << id;
    for (int id :
         {D::kUserGroupsId, D::kIntervalId, D::kRecordPlayingTrafficId, D::kSaveFlightId, D::kAutoStopId})
        EXPECT_TRUE(shown(When::Initialised, id).enabled) << id;

    EXPECT_TRUE(run({SetCheck{D::kRecordAIId, true}, SetCheck{D::kAutoStopId, true}, Press{win::IDOK}}));
    for (int id : {D::kAIGroupsId, D::kIntervalAIId, D::kAutoStopTimeId, D::kAutoStopModeId})
        EXPECT_TRUE(shown(When::Ended, id).enabled) << id;
    EXPECT_TRUE(settings.recordAI);
    EXPECT_EQ(RecordingSettings::AutoStopAfterStart, settings.autoStopMode);
}

TEST_F(RecordingDlgTest, TheReplayFormDisablesWhatTheInstantReplayNeverDoes) {
    settings.recordAI = true;
    settings.recordPlayingTraffic = true;
    settings.saveFlight = true;
    settings.autoStopMode = RecordingSettings::AutoStopAfterTouchdown;
    EXPECT_TRUE(run({SelectIndex{D::kIntervalId, 0}, SetCheck{D::kRecordAIId, false}, Press{win::IDOK}},
                    RecordingBlock::Replay));
    EXPECT_EQ("Replay Settings", shownTitle(ModuleResources::kRecordingDialog));
    for (int id : {D::kRecordPlayingTrafficId, D::kSaveFlightId, D::kAutoStopId, D::kAutoStopTimeId,
                   D::kAutoStopModeId})
        EXPECT_FALSE(shown(When::Ended, id).enabled) << id;
    EXPECT_TRUE(shown(When::Ended, D::kRecordAIId).enabled);
    EXPECT_EQ(10000, settings.interval);
    EXPECT_FALSE(settings.recordAI);
    // Fields the REPLAY section does not have are left as they were.
    EXPECT_TRUE(settings.recordPlayingTraffic);
    EXPECT_TRUE(settings.saveFlight);
    EXPECT_EQ(RecordingSettings::AutoStopAfterTouchdown, settings.autoStopMode);

    // Disabled means a user cannot use them.
    EXPECT_FALSE(run({SetCheck{D::kSaveFlightId, false}}, RecordingBlock::Replay));
    EXPECT_FALSE(failures().empty());
    reset();
}

TEST_F(RecordingDlgTest, CancelLeavesTheBlockAsItWas) {
    settings.recordAI = true;
    const RecordingSettings before = settings;
    EXPECT_FALSE(
        run({SetTreeCheck{D::kUserGroupsId, {"Flight Controls"}, false}, SelectIndex{D::kIntervalId, 0},
             SetCheck{D::kSaveFlightId, true}, SetCheck{D::kAutoStopId, true}, Press{win::IDCANCEL}}));
    EXPECT_EQ(before, settings);
}

TEST_F(RecordingDlgTest, TheTreesCheckedGroupsBecomeTheFlagWords) {
    struct Case {
        const char* what;
        uint32_t cont, disc; // the user aircraft's flags before
        std::vector<std::pair<std::string, bool>> clicks;
        uint32_t contAfter, discAfter;
    };
    const std::vector<Case> cases = {
        {"nothing clicked", 0x13, 0x1f, {}, 0x13, 0x1f},
        {"airspeeds are two bits", 0x13, 0x1f, {{"Airspeeds", true}}, 0x433, 0x1f},
        {"date and time spans both words", 0x0, 0x0, {{"Date & Time", true}}, 0x800, 0x400},
        {"flaps off", 0x13, 0x1f, {{"Flaps", false}}, 0x13, 0x1e},
        {"extended data needs its base groups", 0x0, 0x0, {{"Extended Data", true}}, 0x0, 0x0},
        {"extended data with flight controls and gear", 0x1, 0x2, {{"Extended Data", true}}, 0x5001, 0x2},
        {"a group left alone keeps the bits it had", 0x20, 0x0, {}, 0x20, 0x0},
        {"half a group unchecked clears it whole", 0x20, 0x0, {{"Airspeeds", false}}, 0x0, 0x0},
        {"bits of no group are kept", 0x8001, 0x800, {{"Gear", true}}, 0x8001, 0x802},
        {"extended data goes with its base group", 0x1001, 0x0, {{"Flight Controls", false}}, 0x0, 0x0},
        {"every group off",
         0x13,
         0x1f,
         {{"Flight Controls", false},
          {"Spoilers", false},
          {"Throttles", false},
          {"Flaps", false},
          {"Gear", false},
          {"Lights", false},
          {"Parking Brake", false},
          {"Engines On/Off", false}},
         0x0,
         0x0},
    };
    for (const Case& c : cases) {
        settings = RecordingSettings{};
        settings.contFlags = c.cont;
        settings.discFlags = c.disc;
        std::vector<Step> steps;
        for (const auto& [group, checked] : c.clicks)
            steps.push_back(SetTreeCheck{D::kUserGroupsId, {group}, checked});
        steps.push_back(Press{win::IDOK});
        EXPECT_TRUE(run(steps)) << c.what;
        EXPECT_EQ(c.contAfter, settings.contFlags) << c.what;
        EXPECT_EQ(c.discAfter, settings.discFlags) << c.what;
        // The AI tree is its own.
        EXPECT_EQ(0x13u, settings.contFlagsAI) << c.what;
        EXPECT_EQ(0x17u, settings.discFlagsAI) << c.what;
    }

    settings = RecordingSettings{};
    settings.recordAI = true;
    EXPECT_TRUE(run({SetTreeCheck{D::kAIGroupsId, {"Parking Brake"}, true},
                     SetTreeCheck{D::kAIGroupsId, {"Throttles"}, false}, Press{win::IDOK}}));
    EXPECT_EQ(0x11u, settings.contFlagsAI);
    EXPECT_EQ(0x1fu, settings.discFlagsAI);
    EXPECT_EQ(0x13u, settings.contFlags);
}

} // namespace
