#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/Settings.h"
#include "video/WmvWriter.h"
#include "winsys/Pixels.h"
#include "winsys/Types.h"

// Renders what the simulator shows into a video file, frame by frame: sizes the simulator's main
// window to the capture size, switches the simulator to a fixed time step of one video frame per
// simulator frame, hands the window's client pixels to the writer after every simulator frame,
// counts frames and scenes, and restores the window afterwards. Runs on the simulator's thread
// inside its frame events.
class Video {
public:
    static constexpr int kMinSize = 32;
    static constexpr int kMaxSize = 4096;

    // The settings are read at start and while rendering; they must outlive the rendering.
    explicit Video(const VideoSettings* settings);
    // A rendering still open is stopped as an abort.
    ~Video();
    Video(const Video&) = delete;
    Video& operator=(const Video&) = delete;

    // Sizes the window, opens the video file and switches to the fixed step; nothing when already
    // open. Throws ZephrelException 14 when the window cannot take the capture size and 13 when
    // the writer refuses.
    void start(const std::string& fileName);
    // After every simulator frame: captures the finished frame, or holds the simulation still for a
    // discarded frame. Throws ZephrelException 15 when the window's size changed and 13 when the
    // writer fails.
    void frame();
    // Ends the video file. Normal timing comes back in any case; an aborted rendering leaves the
    // window as it is, since what stopped it may have been the window itself.
    void stop(bool aborted);
    void togglePause();

    // The next frames are drawn without the simulation advancing and are not captured.
    void setSkipCounter(int frames) { skipCounter_ = frames; }

    bool isOpen() const { return opened_; }
    bool isPaused() const { return paused_; }
    int frames() const { return frames_; }
    const std::vector<int>& scenes() const { return scenes_; }
    int captureWidth() const { return captureWidth_; }
    int captureHeight() const { return captureHeight_; }
    int outputWidth() const { return outputWidth_; }
    int outputHeight() const { return outputHeight_; }
    const std::string& fileName() const { return fileName_; }
    // What the video information dialog shows.
    std::string summary() const;

private:
    struct Size {
        int width = 0, height = 0;
        bool operator==(const Size&) const = default;
    };
    static Size clientSize();
    void chooseSizes(Size client);
    // Gives the main window the capture size as its client area; throws ZephrelException 14.
    void resizeWindow();
    bool moveToCaptureSize();
    void restoreWindow();
    void openWriter();
    void useFixedStep(double step) const;
    void endScene();

    const VideoSettings* settings_;
    bool opened_ = false;
    bool paused_ = false;
    int captureWidth_ = 0, captureHeight_ = 0;
    int outputWidth_ = 0, outputHeight_ = 0;
    std::vector<uint8_t> frameBuffer_;
    int frames_ = 0;
    int sceneFrames_ = 0;
    int skipCounter_ = 0;
    std::vector<int> scenes_;
    win::RECT savedRect_{};
    win::LONG_PTR savedStyle_ = 0, savedExStyle_ = 0;
    bool stylesChanged_ = false;
    bool resized_ = false;
    bool wasFullScreen_ = false;
    win::BITMAPINFOHEADER header_{};
    std::string fileName_;
    WmvWriter writer_;
};
