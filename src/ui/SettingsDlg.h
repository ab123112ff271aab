#pragma once

#include <array>
#include <functional>
#include <string>

#include "settings/Settings.h"
#include "ui/Dialog.h"

// "Zephrel Settings": the SETTINGS section. OK refuses an invalid speeds list and writes the edit
// back into the general settings; the caller writes them to the file. The dialogs opened from it
// ("Replay Settings", "Recording Settings", "Playback Settings", "Automatic Playback") edit their
// own blocks and write them to the settings file as soon as they are confirmed, whether this dialog
// is then confirmed or cancelled.
class SettingsDlg : public Dialog {
public:
    static constexpr int kEnableReplayId = 1001;
    static constexpr int kReplaySettingsId = 1002;
    // Per back/forward step: the "Step" and "Search" buttons and the field that shows the jump size
    // in seconds for "Step" and the search speed for "Search".
    static constexpr std::array<int, 3> kStepIds = {1003, 1006, 1009};
    static constexpr std::array<int, 3> kSearchIds = {1004, 1007, 1010};
    static constexpr std::array<int, 3> kStepValueIds = {1005, 1008, 1011};
    static constexpr int kPlayRecAIId = 1012;
    static constexpr int kDisableLiveAIId = 1013;
    static constexpr int kMaxAircraftId = 1014;
    static constexpr int kUnpauseStartPlayId = 1015;
    static constexpr int kPauseEndPlayId = 1016;
    static constexpr int kRestoreAfterPlayId = 1017;
    static constexpr int kSetSimRateId = 1018;
    static constexpr int kSetSimRateSearchId = 1019;
    static constexpr int kLimitSimRateId = 1020;
    static constexpr int kEnableControlsId = 1021;
    static constexpr int kEnableControlsAIId = 1022;
    static constexpr int kLoadAircraftId = 1023;
    static constexpr int kSpeedsId = 1024;
    static constexpr int kDisplayRecordingId = 1025;
    static constexpr int kDisplayPlaybackId = 1026;
    static constexpr int kShowWindowId = 1027;
    static constexpr int kShowDataWindowId = 1028;
    static constexpr int kShowRecDialogId = 1029;
    static constexpr int kSetRecordingId = 1030;
    static constexpr int kShowPlayDialogId = 1031;
    static constexpr int kSetPlaybackId = 1032;
    static constexpr int kFileDialogBeforeId = 1033;
    static constexpr int kFileDialogAfterId = 1034;
    static constexpr int kAutomaticFilenameId = 1035;
    static constexpr int kTempDirectoryId = 1036;
    static constexpr int kBrowseTempId = 1037;
    static constexpr int kMaxTempSizeId = 1038; // the instant replay's bound, MaxReplaySize
    static constexpr int kEnableAutoplayId = 1039;
    static constexpr int kAutoplaySettingsId = 1040;
    static constexpr int kDisableCamerasId = 1041;

    // The ranges OK keeps the numbers in.
    static constexpr int kMinJumpSize = 1, kMaxJumpSize = 86400;     // seconds
    static constexpr int kMinSearchSpeed = 1, kMaxSearchSpeed = 256; // the highest simulation rate
    static constexpr int kMaxAircraft = 9999;                        // 0 = no limit
    static constexpr int kMaxTempSize = 4095; // MiB; the temporary file's size is a 32-bit number

    // Opens "Automatic Playback" over the given window; it writes the autoplay list itself.
    using AutoplayDialog = std::function<void(win::HWND owner)>;

    // What the dialog edits: the general settings, and the blocks its sub-dialogs edit and write to
    // `settingsFile`.
    struct Blocks {
        GeneralSettings& general;
        RecordingSettings& recording;
        PlaybackSettings& playback;
        RecordingSettings& replay;
    };

    SettingsDlg(Blocks blocks, std::string settingsFile, AutoplayDialog autoplay);

    static win::DialogTemplate dialogTemplate();

    // Shows the dialog over `owner` (none: the usual parent); true when the user confirmed, and
    // `general` then holds the edit. Without `autoplay` its "Settings..." button is disabled.
    static bool show(win::HWND owner, GeneralSettings& general, RecordingSettings& recording,
                     PlaybackSettings& playback, RecordingSettings& replay, const std::string& settingsFile,
                     AutoplayDialog autoplay);

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int notifyCode, win::LPARAM lParam) override;
    bool onOk() override;

private:
    // The step's field back into the value it shows, then the value of the kind now chosen.
    void switchStepField(int step);
    void enableDependents();
    void browseTempDirectory();
    void openRecordingSettings(RecordingSettings& block, RecordingBlock which);
    void openPlaybackSettings();
    // False, with the message shown, when the speeds list is invalid.
    bool store();

    Blocks blocks_;
    std::string settingsFile_;
    AutoplayDialog autoplay_;
    // Per step the jump size and the search speed while the field shows the other one.
    std::array<int, 3> jumpSize_{};
    std::array<int, 3> searchSpeed_{};
    std::array<bool, 3> fieldShowsSearch_{};
};
