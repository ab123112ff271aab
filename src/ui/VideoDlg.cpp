#include "ui/VideoDlg.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>
#include <string>

#include "ui/ModuleResources.h"

namespace {

constexpr int kLabelId = -1;
constexpr int kMinSize = 32;
constexpr int kMaxSize = 4096;
constexpr double kMinFPS = 1.0;
constexpr double kMaxFPS = 200.0;
constexpr int kFPSDecimals = 2;
constexpr int kMaxQuality = 100; // percent; the writer takes no more
constexpr int kBitsPerKilobit = 1000;
constexpr int kMaxKbps = std::numeric_limits<int32_t>::max() / kBitsPerKilobit;

// The codec a first rendering uses: a Windows Media codec, as videos are saved as ".wmv" files by
// default, of the newest generation the writer has. A writer on the Windows Media runtime offers
// version 9; FFmpeg's encoders stop at version 8. Without any of them, the first codec.
constexpr const char* kPreferredCodecs[] = {
    "Windows Media Video 9 Advanced Profile",
    "Windows Media Video 9",
    "Windows Media Video 8",
};

constexpr const char* kNotRealTime =
    "During video rendering FS is not running in real time! Before using this feature you should carefully "
    "read the description in the manual to understand how it works.";

// Scenery loading factors, by the setting's index.
constexpr const char* kSceneryLoading[] = {"Minimum", "Low", "Medium", "High", "Very High", "Ultra High"};
constexpr int kSceneryLevels = static_cast<int>(std::size(kSceneryLoading));

struct SkipChoice {
    const char* text;
    int frames;
};
constexpr SkipChoice kSkipChoices[] = {{"off", 0}, {"1", 1}, {"2", 2}, {"3", 3}, {"5", 5}, {"7", 7}};

struct CheckField {
    int id;
    bool VideoSettings::*value;
};
constexpr CheckField kChecks[] = {
    {VideoDlg::kShowInfoId, &VideoSettings::showInfo},
    {VideoDlg::kHideDisplayId, &VideoSettings::hideDisplay},
    {VideoDlg::kHideInfoWndId, &VideoSettings::hideInfoWnd},
    {VideoDlg::kStabilizeSimRateId, &VideoSettings::stabilizeSimRate},
};

// A stored number of frames the list does not offer shows as "off".
int skipChoiceOf(int frames) {
    for (int at = 0; at < static_cast<int>(std::size(kSkipChoices)); ++at)
        if (kSkipChoices[at].frames == frames)
            return at;
    return 0;
}

// The codec a rendering uses when none was chosen yet; -1 for an empty list.
int defaultCodec(const std::vector<VideoCodecChoice>& codecs) {
    for (const char* preferred : kPreferredCodecs)
        for (std::size_t at = 0; at < codecs.size(); ++at)
            if (codecs[at].name == preferred)
                return static_cast<int>(at);
    return codecs.empty() ? -1 : 0;
}

} // namespace

VideoDlg::VideoDlg(VideoSettings& settings, const std::vector<VideoCodecChoice>& codecs)
    : Dialog(ModuleResources::kVideoDialog, ModuleResources::instance()), settings_(settings),
      codecs_(codecs) {}

win::DialogTemplate VideoDlg::dialogTemplate() {
    using enum win::ControlKind;
    win::DialogTemplate video;
    video.id = ModuleResources::kVideoDialog;
    video.title = "Video Rendering";
    video.width = 300;
    video.height = 267;
    video.controls = {
        {kLabelId, Text, kNotRealTime, {7, 7, 286, 26}, 0},
        {kLabelId, Text, "Video Size:", {7, 42, 62, 8}, 0},
        {kWidthId, Edit, "", {72, 40, 36, 12}, 0},
        {kLabelId, Text, "x", {112, 42, 8, 8}, 0},
        {kHeightId, Edit, "", {122, 40, 36, 12}, 0},
        {kFSWndSizeId, AutoCheckBox, "FS Window Size", {170, 41, 123, 10}, 0},
        {kResizeId, AutoCheckBox, "Resize FS Window to Video Size", {72, 57, 160, 10}, 0},
        {kLabelId, Text, "Frame Rate:", {7, 74, 62, 8}, 0},
        {kFPSId, Edit, "", {72, 72, 36, 12}, 0},
        {kLabelId, Text, "fps", {112, 74, 20, 8}, 0},
        {kLabelId, Text, "Codec:", {7, 94, 62, 8}, 0},
        {kCodecId, ComboBox, "", {72, 92, 160, 80}, 0},
        {kVBRId, AutoCheckBox, "Constant Quality Variable Bitrate", {72, 109, 160, 10}, 0},
        {kRateLabelId, Text, "Quality:", {7, 126, 62, 8}, 0},
        {kRateId, Edit, "", {72, 124, 36, 12}, 0},
        {kRateUnitId, Text, "%", {112, 126, 24, 8}, 0},
        {kLabelId, Text, "Complexity:", {7, 142, 62, 8}, 0},
        {kComplexityId, ComboBox, "", {72, 140, 48, 80}, 0},
        {kLabelId, Text, "Time spent on Scenery Loading:", {7, 162, 150, 8}, 0},
        {kLoadSceneryId, ComboBox, "", {160, 160, 80, 80}, 0},
        {kLabelId, Text, "Render intermediate (discarded) Frames:", {7, 178, 150, 8}, 0},
        {kSkipFramesId, ComboBox, "", {160, 176, 80, 80}, 0},
        {kShowInfoId, AutoCheckBox, "Show Info after Rendering", {7, 197, 140, 10}, 0},
        {kHideDisplayId, AutoCheckBox, "Hide Playback Display", {153, 197, 140, 10}, 0},
        {kHideInfoWndId, AutoCheckBox, "Hide FS Info Text and Menu Bar", {7, 211, 140, 10}, 0},
        {kStabilizeSimRateId, AutoCheckBox, "Stabilize Simulation Rate (slow)", {153, 211, 140, 10}, 0},
        {kCamSwitchId, AutoCheckBox, "On Camera Switch pause for", {7, 227, 110, 10}, 0},
        {kCamSwitchPauseId, Edit, "", {120, 226, 30, 12}, 0},
        {kLabelId, Text, "Frames", {154, 228, 30, 8}, 0},
        {win::IDOK, DefPushButton, "OK", {187, 246, 50, 14}, 0},
        {win::IDCANCEL, PushButton, "Cancel", {243, 246, 50, 14}, 0},
    };
    return video;
}

bool VideoDlg::show(win::HWND owner, VideoSettings& settings, const std::vector<VideoCodecChoice>& codecs) {
    VideoDlg dialog(settings, codecs);
    return dialog.doModal(owner) == win::IDOK;
}

bool VideoDlg::onInitDialog() {
    setInt(kWidthId, settings_.width);
    setInt(kHeightId, settings_.height);
    setCheck(kFSWndSizeId, settings_.fsWndSize);
    resize_ = settings_.resize;
    showWindowSize();
    setFloat(kFPSId, settings_.fps, kFPSDecimals);

    for (const VideoCodecChoice& codec : codecs_)
        addItem(kCodecId, codec.name);
    int codec = settings_.codec;
    int complexity = settings_.complexity;
    // No codec chosen yet, or one this writer does not have: the default, at its live complexity.
    if (codec < 0 || codec >= static_cast<int>(codecs_.size())) {
        codec = defaultCodec(codecs_);
        if (codec >= 0)
            complexity = codecs_[static_cast<std::size_t>(codec)].liveComplexity;
    }
    setSelection(kCodecId, codec);
    quality_ = settings_.quality;
    bitrateKbps_ = settings_.bitrate / kBitsPerKilobit;
    setCheck(kVBRId, settings_.vbr);
    showCodec(complexity);

    for (const char* level : kSceneryLoading)
        addItem(kLoadSceneryId, level);
    setSelection(kLoadSceneryId, std::clamp(settings_.loadScenery, 0, kSceneryLevels - 1));
    for (const SkipChoice& choice : kSkipChoices)
        addItem(kSkipFramesId, choice.text);
    setSelection(kSkipFramesId, skipChoiceOf(settings_.skipFrames));

    for (const CheckField& check : kChecks)
        setCheck(check.id, settings_.*check.value);
    setCheck(kCamSwitchId, settings_.camSwitchPause != 0);
    setInt(kCamSwitchPauseId, settings_.camSwitchPause);
    return true;
}

bool VideoDlg::onCommand(int id, int notifyCode, win::LPARAM) {
    switch (id) {
    case kFSWndSizeId:
        if (notifyCode != win::BN_CLICKED)
            return false;
        // The window's own size makes the Resize box meaningless; its choice is kept for later.
        if (getCheck(kFSWndSizeId))
            resize_ = getCheck(kResizeId);
        showWindowSize();
        return true;
    case kVBRId:
        if (notifyCode != win::BN_CLICKED)
            return false;
        keepRate();
        showRate();
        return true;
    case kCodecId: {
        if (notifyCode != win::CBN_SELCHANGE)
            return false;
        keepRate();
        // Complexity numbers mean something else for every codec: the new one starts at its own
        // live complexity.
        const int selected = getSelection(kCodecId);
        showCodec(selected >= 0 ? codecs_[static_cast<std::size_t>(selected)].liveComplexity : 0);
        return true;
    }
    default:
        return false;
    }
}

bool VideoDlg::onOk() {
    store();
    return true;
}

void VideoDlg::showCodec(int complexity) {
    const int selected = getSelection(kCodecId);
    const VideoCodecChoice* codec = selected >= 0 ? &codecs_[static_cast<std::size_t>(selected)] : nullptr;
    const bool vbrSupported = codec != nullptr && codec->vbrSupported;
    enable(kVBRId, vbrSupported);
    if (!vbrSupported)
        setCheck(kVBRId, false);
    win::SendDlgItemMessage(hwnd(), kComplexityId, win::CB_RESETCONTENT, 0, 0);
    if (codec != nullptr) {
        for (int level = 0; level <= codec->maxComplexity; ++level)
            addItem(kComplexityId, std::to_string(level));
        setSelection(kComplexityId, std::clamp(complexity, 0, static_cast<int>(codec->maxComplexity)));
    }
    showRate();
}

void VideoDlg::showRate() {
    rateShowsQuality_ = getCheck(kVBRId);
    setText(kRateLabelId, rateShowsQuality_ ? "Quality:" : "Bitrate:");
    setText(kRateUnitId, rateShowsQuality_ ? "%" : "kbps");
    setInt(kRateId, rateShowsQuality_ ? quality_ : bitrateKbps_);
}

void VideoDlg::keepRate() {
    (rateShowsQuality_ ? quality_ : bitrateKbps_) = getInt(kRateId);
}

void VideoDlg::showWindowSize() {
    const bool ownSize = !getCheck(kFSWndSizeId);
    enable(kWidthId, ownSize);
    enable(kHeightId, ownSize);
    enable(kResizeId, ownSize);
    setCheck(kResizeId, ownSize && resize_);
}

void VideoDlg::store() {
    settings_.width = std::clamp(getInt(kWidthId), kMinSize, kMaxSize);
    settings_.height = std::clamp(getInt(kHeightId), kMinSize, kMaxSize);
    settings_.fsWndSize = getCheck(kFSWndSizeId);
    settings_.resize = settings_.fsWndSize ? resize_ : getCheck(kResizeId);
    settings_.fps = std::clamp(getFloat(kFPSId), kMinFPS, kMaxFPS);
    settings_.codec = getSelection(kCodecId);
    keepRate();
    settings_.vbr = getCheck(kVBRId);
    settings_.quality = std::clamp(quality_, 0, kMaxQuality);
    settings_.bitrate = std::clamp(bitrateKbps_, 0, kMaxKbps) * kBitsPerKilobit;
    settings_.complexity = std::max(getSelection(kComplexityId), 0);
    settings_.loadScenery = getSelection(kLoadSceneryId);
    settings_.skipFrames = kSkipChoices[static_cast<std::size_t>(getSelection(kSkipFramesId))].frames;
    for (const CheckField& check : kChecks)
        settings_.*check.value = getCheck(check.id);
    settings_.camSwitchPause = getCheck(kCamSwitchId) ? std::max(getInt(kCamSwitchPauseId), 0) : 0;
}
