#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/Settings.h"
#include "ui/Dialog.h"

// One codec of the video writer as the dialog offers it; the caller fills the list from the writer,
// in the writer's order, so that a list position is the writer's codec index.
struct VideoCodecChoice {
    std::string name;
    bool vbrSupported = false;
    uint16_t maxComplexity = 0;
    uint16_t liveComplexity = 0;
};

// "Video Rendering": the video's size, frame rate, codec and encoding, and how the simulator runs
// while it renders. OK writes the edit back into the settings.
class VideoDlg : public Dialog {
public:
    static constexpr int kWidthId = 1001;
    static constexpr int kHeightId = 1002;
    static constexpr int kFSWndSizeId = 1003;
    static constexpr int kResizeId = 1004;
    static constexpr int kFPSId = 1005;
    static constexpr int kCodecId = 1006;
    static constexpr int kVBRId = 1007;
    static constexpr int kRateLabelId = 1008; // "Quality:" or "Bitrate:"
    static constexpr int kRateId = 1009;      // the quality in percent or the bitrate in kbps
    static constexpr int kRateUnitId = 1010;  // "%" or "kbps"
    static constexpr int kComplexityId = 1011;
    static constexpr int kLoadSceneryId = 1012;
    static constexpr int kSkipFramesId = 1013;
    static constexpr int kShowInfoId = 1014;
    static constexpr int kHideDisplayId = 1015;
    static constexpr int kHideInfoWndId = 1016;
    static constexpr int kStabilizeSimRateId = 1017;
    static constexpr int kCamSwitchId = 1018; // "On Camera Switch pause for"
    static constexpr int kCamSwitchPauseId = 1019;

    VideoDlg(VideoSettings& settings, const std::vector<VideoCodecChoice>& codecs);

    static win::DialogTemplate dialogTemplate();

    // Shows the dialog over `owner` (none: the usual parent); true when the user confirmed, and the
    // settings then hold the edit.
    static bool show(win::HWND owner, VideoSettings& settings, const std::vector<VideoCodecChoice>& codecs);

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int notifyCode, win::LPARAM lParam) override;
    bool onOk() override;

private:
    // The VBR box, the complexity list (selecting `complexity`) for the selected codec.
    void showCodec(int complexity);
    // The field and its labels for the VBR box's state.
    void showRate();
    // The field back into the value it shows, the quality or the bitrate.
    void keepRate();
    // The video size and the Resize box for the "FS Window Size" box's state.
    void showWindowSize();
    void store();

    VideoSettings& settings_;
    const std::vector<VideoCodecChoice>& codecs_;
    // The values behind the shared field and the Resize box while they show something else.
    int quality_ = 0;
    int bitrateKbps_ = 0;
    bool rateShowsQuality_ = false;
    bool resize_ = false;
};
