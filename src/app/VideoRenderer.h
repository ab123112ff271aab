#pragma once

#include <memory>
#include <string>

#include "app/ControllerSeams.h"
#include "video/Video.h"

// The video renderer as the controller reaches it: the "Video Rendering" dialog over the codecs
// the writer offers, the video file's save dialog, the rendering itself and "Video Information".
class VideoRenderer : public VideoRendering {
public:
    // The settings file keeps the video dialog's last folder.
    explicit VideoRenderer(std::string settingsFile);
    ~VideoRenderer() override;

    bool editSettings(VideoSettings& video) override;
    bool start(const VideoSettings& video) override;
    void stop(bool aborted) override;
    void togglePause() override;
    bool isPaused() const override;
    void holdFrames(int frames) override;
    void frame() override;
    void showInfo() override;

    // The rendering, while one runs and after it stopped (until the next starts); nullptr before the first.
    const Video* video() const { return video_.get(); }

private:
    std::string settingsFile_;
    std::unique_ptr<Video> video_;
};
