#pragma once

#include "settings/Settings.h"
#include "ui/Dialog.h"

// "Playback Settings" on the PLAYBACK block: whether the saved flight and the markers are loaded,
// and the data groups played. OK writes the edit back into the block.
class PlaybackDlg : public Dialog {
public:
    static constexpr int kLoadFlightId = 1001;
    static constexpr int kLoadMarkersId = 1002;
    static constexpr int kGroupsId = 1003;

    explicit PlaybackDlg(PlaybackSettings& settings);

    static win::DialogTemplate dialogTemplate();

    // Shows the dialog over `owner` (none: the usual parent); true when the user confirmed, and the
    // block then holds the edit.
    static bool show(win::HWND owner, PlaybackSettings& settings);

protected:
    bool onInitDialog() override;
    bool onOk() override;

private:
    PlaybackSettings& settings_;
};
