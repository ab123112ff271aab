#include "app/VideoRenderer.h"

#include <utility>
#include <vector>

#include "alerts/HostWindow.h"
#include "ui/RecordingFileDialog.h"
#include "ui/VideoDlg.h"
#include "ui/VideoInfoDlg.h"

namespace {

// The writer's codecs with what the dialog needs of each, in the writer's order.
std::vector<VideoCodecChoice> codecChoices() {
    WmvWriter writer;
    std::vector<VideoCodecChoice> choices;
    const std::vector<std::string> names = writer.getCodecNames();
    for (uint32_t i = 0; i < names.size(); ++i) {
        writer.setCodec(i);
        choices.push_back({names[i], writer.isVbrSupported(), writer.getMaxComplexity(), writer.getLiveComplexity()});
    }
    return choices;
}

} // namespace

VideoRenderer::VideoRenderer(std::string settingsFile) : settingsFile_(std::move(settingsFile)) {}

VideoRenderer::~VideoRenderer() = default;

bool VideoRenderer::editSettings(VideoSettings& video) {
    return VideoDlg::show(HostWindow::mainWindow(), video, codecChoices());
}

bool VideoRenderer::start(const VideoSettings& video) {
    const std::string file =
        RecordingFileDialog::askToSave(settingsFile_, "Render Video", RecordingFileDialog::Kind::Video);
    if (file.empty())
        return false;
    video_ = std::make_unique<Video>(&video);
    video_->start(file);
    return true;
}

void VideoRenderer::stop(bool aborted) {
    if (video_ != nullptr)
        video_->stop(aborted);
}

void VideoRenderer::togglePause() {
    if (video_ != nullptr)
        video_->togglePause();
}

bool VideoRenderer::isPaused() const {
    return video_ != nullptr && video_->isPaused();
}

void VideoRenderer::holdFrames(int frames) {
    if (video_ != nullptr)
        video_->setSkipCounter(frames);
}

void VideoRenderer::frame() {
    if (video_ != nullptr)
        video_->frame();
}

void VideoRenderer::showInfo() {
    if (video_ != nullptr)
        VideoInfoDlg::show(HostWindow::mainWindow(), video_->summary(), video_->fileName());
}
