#pragma once

#include <cstdint>
#include <span>

#include "settings/Settings.h"
#include "ui/Dialog.h"

// "Recording Settings" on the RECORDING block, or the same dialog titled "Replay Settings" on the
// REPLAY block, where what the instant replay never does (recording played traffic, saving the
// flight, stopping by itself) is shown disabled. The data groups of the user aircraft and of the
// AI traffic, their recording intervals, and the options. OK writes the edit back into the block.
class RecordingDlg : public Dialog {
public:
    static constexpr int kUserGroupsId = 1001;
    static constexpr int kAIGroupsId = 1002;
    static constexpr int kIntervalId = 1003;
    static constexpr int kIntervalAIId = 1004;
    static constexpr int kRecordAIId = 1005;
    static constexpr int kRecordPlayingTrafficId = 1006;
    static constexpr int kSaveFlightId = 1007;
    static constexpr int kAutoStopId = 1008;
    static constexpr int kAutoStopTimeId = 1009;
    static constexpr int kAutoStopModeId = 1010;

    static constexpr int kMinAutoStopTime = 1;
    static constexpr int kMaxAutoStopTime = 99999; // seconds

    // An entry of an interval list and its value in the recorder's ticks of 1/10000 s.
    struct IntervalChoice {
        const char* text;
        int32_t ticks;
    };
    static std::span<const IntervalChoice> userIntervals();
    static std::span<const IntervalChoice> aiIntervals();

    RecordingDlg(RecordingSettings& settings, RecordingBlock block);

    static win::DialogTemplate dialogTemplate();

    // Shows the dialog over `owner` (none: the usual parent); true when the user confirmed, and the
    // block then holds the edit.
    static bool show(win::HWND owner, RecordingSettings& settings, RecordingBlock block);

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int notifyCode, win::LPARAM lParam) override;
    bool onOk() override;

private:
    void showIntervals(int id, std::span<const IntervalChoice> choices, int32_t ticks);
    // The AI controls follow "Record AI Traffic", the auto-stop time and kind follow "Auto Stop".
    void enableDependents();
    void store();

    RecordingSettings& settings_;
    RecordingBlock block_;
};
