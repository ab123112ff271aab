#include "video/Video.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "alerts/HostWindow.h"
#include "common/Log.h"
#include "common/ZephrelException.h"
#include "host/FSinterface.h"
#include "winsys/WindowApi.h"

namespace {

// How much of a frame's time the simulator gets for loading scenery, by the "LoadScenery" index.
constexpr std::array<double, 6> kSceneryFactors = {0.0, 0.5, 1.0, 3.0, 10.0, 50.0};
// The caption, border and frame that a borderless window gives up to fit a large video.
constexpr win::LONG_PTR kFrameStyles = win::WS_CAPTION | win::WS_THICKFRAME;
constexpr win::LONG_PTR kFrameExStyles = win::WS_EX_WINDOWEDGE;
constexpr win::UINT kPlaceOnly = win::SWP_NOZORDER | win::SWP_NOACTIVATE | win::SWP_FRAMECHANGED;

// Video sizes are even (the encoders' colour planes are half size) and within what they take.
int fit(int size) {
    return std::clamp(size & ~1, Video::kMinSize, Video::kMaxSize);
}

[[noreturn]] void raise(ErrorCode code, const char* function, uint32_t line, const std::string& detail = {}) {
    throw ZephrelException(code, ZephrelException::Error, function, line, detail);
}

// "%dh:%02dm:%02ds:%02df" of a frame count at the frame rate; at 29.97 fps the fourth second
// starts with frame 90 (89.91 rounded).
std::string duration(int frames, double fps) {
    const int seconds = static_cast<int>(frames / fps);
    const int rest = frames - static_cast<int>(std::lround(seconds * fps));
    char text[64];
    std::snprintf(text, sizeof text, "%dh:%02dm:%02ds:%02df", seconds / 3600, seconds / 60 % 60, seconds % 60, rest);
    return text;
}

} // namespace

Video::Video(const VideoSettings* settings) : settings_(settings) {}

Video::~Video() {
    try {
        stop(true);
    } catch (const ZephrelException&) {
        // Written to the log as it was made.
    }
}

Video::Size Video::clientSize() {
    win::RECT client{};
    win::GetClientRect(HostWindow::mainWindow(), &client);
    return {client.right - client.left, client.bottom - client.top};
}

void Video::chooseSizes(Size client) {
    const VideoSettings& s = *settings_;
    const bool fixedSize = !s.fsWndSize && s.resize;
    const Size capture = fixedSize ? Size{s.width, s.height} : client;
    const Size output = !s.fsWndSize && !s.resize ? Size{s.width, s.height} : capture;
    captureWidth_ = fit(capture.width);
    captureHeight_ = fit(capture.height);
    outputWidth_ = fit(output.width);
    outputHeight_ = fit(output.height);
}

void Video::start(const std::string& fileName) {
    if (opened_)
        return;
    wasFullScreen_ = FSinterface::isFullScreen();
    if (wasFullScreen_)
        FSinterface::setFullScreen(false);
    // Read once the simulator is windowed: leaving full screen may change the client area.
    const Size client = clientSize();
    chooseSizes(client);
    resized_ = stylesChanged_ = false;
    if (client != Size{captureWidth_, captureHeight_})
        resizeWindow();
    header_ = win::BITMAPINFOHEADER{};
    header_.biWidth = captureWidth_;
    header_.biHeight = captureHeight_;
    header_.biSizeImage = static_cast<uint32_t>(win::dibStride(captureWidth_) * static_cast<std::size_t>(captureHeight_));
    fileName_ = fileName;
    try {
        openWriter();
    } catch (const VideoError& e) {
        if (resized_)
            restoreWindow();
        if (wasFullScreen_)
            FSinterface::setFullScreen(true);
        raise(ErrorCode::VideoNotOpened, "Video::start", __LINE__, e.what());
    }
    frameBuffer_.assign(header_.biSizeImage, 0);
    frames_ = sceneFrames_ = skipCounter_ = 0;
    scenes_.clear();
    paused_ = false;
    opened_ = true;
    useFixedStep(1.0 / settings_->fps);
}

void Video::resizeWindow() {
    const win::HWND window = HostWindow::mainWindow();
    bool fits = false;
    {
        ModalBracket simulatorPaused;
        win::GetWindowRect(window, &savedRect_);
        resized_ = true;
        fits = moveToCaptureSize();
        if (!fits) {
            savedStyle_ = win::GetWindowLongPtr(window, win::GWL_STYLE);
            savedExStyle_ = win::GetWindowLongPtr(window, win::GWL_EXSTYLE);
            win::SetWindowLongPtr(window, win::GWL_STYLE, savedStyle_ & ~kFrameStyles);
            win::SetWindowLongPtr(window, win::GWL_EXSTYLE, savedExStyle_ & ~kFrameExStyles);
            stylesChanged_ = true;
            fits = moveToCaptureSize();
        }
        if (!fits) {
            restoreWindow();
            resized_ = false;
        }
    }
    if (fits)
        return;
    if (wasFullScreen_)
        FSinterface::setFullScreen(true);
    raise(ErrorCode::WindowNotResized, "Video::start", __LINE__);
}

// The outer rectangle that gives the client area the capture size, moved left and up as far as
// needed to stay on the virtual screen, but never beyond its top-left corner.
bool Video::moveToCaptureSize() {
    const win::HWND window = HostWindow::mainWindow();
    win::RECT outer{0, 0, captureWidth_, captureHeight_};
    win::AdjustWindowRectEx(&outer, static_cast<win::DWORD>(win::GetWindowLongPtr(window, win::GWL_STYLE)),
                            static_cast<win::DWORD>(win::GetWindowLongPtr(window, win::GWL_EXSTYLE)));
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const int screenLeft = win::GetSystemMetrics(win::SM_XVIRTUALSCREEN);
    const int screenTop = win::GetSystemMetrics(win::SM_YVIRTUALSCREEN);
    const int screenRight = screenLeft + win::GetSystemMetrics(win::SM_CXVIRTUALSCREEN);
    const int screenBottom = screenTop + win::GetSystemMetrics(win::SM_CYVIRTUALSCREEN);
    const int left = std::max(std::min(static_cast<int>(savedRect_.left), screenRight - width), screenLeft);
    const int top = std::max(std::min(static_cast<int>(savedRect_.top), screenBottom - height), screenTop);
    win::SetWindowPos(window, nullptr, left, top, width, height, kPlaceOnly);
    return clientSize() == Size{captureWidth_, captureHeight_};
}

void Video::restoreWindow() {
    const win::HWND window = HostWindow::mainWindow();
    ModalBracket simulatorPaused;
    if (stylesChanged_) {
        win::SetWindowLongPtr(window, win::GWL_STYLE, savedStyle_);
        win::SetWindowLongPtr(window, win::GWL_EXSTYLE, savedExStyle_);
        stylesChanged_ = false;
    }
    win::SetWindowPos(window, nullptr, savedRect_.left, savedRect_.top, savedRect_.right - savedRect_.left,
                      savedRect_.bottom - savedRect_.top, kPlaceOnly);
}

void Video::openWriter() {
    const VideoSettings& s = *settings_;
    writer_.setFrameRate(static_cast<float>(s.fps));
    writer_.setCodec(static_cast<uint32_t>(std::max(s.codec, 0)));
    // Without VBR a bitrate of 0 would ask for VBR after all.
    writer_.setBitrate(s.vbr ? 0 : static_cast<uint32_t>(std::max(s.bitrate, 1)));
    writer_.setQuality(static_cast<uint32_t>(std::clamp(s.quality, 0, 100)));
    writer_.setComplexity(static_cast<uint16_t>(std::clamp(s.complexity, 0, 0xFFFF)));
    writer_.open(fileName_, static_cast<uint32_t>(captureWidth_), static_cast<uint32_t>(captureHeight_),
                 static_cast<uint32_t>(outputWidth_), static_cast<uint32_t>(outputHeight_));
}

void Video::useFixedStep(double step) const {
    const auto index = static_cast<std::size_t>(std::clamp(settings_->loadScenery, 0, 5));
    FSinterface::setFixedFrameTime(step, kSceneryFactors[index], settings_->stabilizeSimRate);
}

void Video::frame() {
    if (!opened_ || paused_)
        return;
    if (FSinterface::isPaused()) {
        endScene();
        return;
    }
    if (skipCounter_ > 0) {
        useFixedStep(0);
        --skipCounter_;
        return;
    }
    useFixedStep(1.0 / settings_->fps);
    skipCounter_ = settings_->skipFrames;
    const Size client = clientSize();
    if (Size{fit(client.width), fit(client.height)} != Size{captureWidth_, captureHeight_})
        raise(ErrorCode::WindowResized, "Video::frame", __LINE__);
    if (win::GetClientDIBits(HostWindow::mainWindow(), header_, frameBuffer_) == 0)
        raise(ErrorCode::VideoNotOpened, "Video::frame", __LINE__, "Failed to get buffer!");
    try {
        writer_.writeFrame(frameBuffer_.data());
    } catch (const VideoError& e) {
        raise(ErrorCode::VideoNotOpened, "Video::frame", __LINE__, e.what());
    }
    ++frames_;
    ++sceneFrames_;
}

void Video::endScene() {
    if (sceneFrames_ != 0)
        scenes_.push_back(sceneFrames_);
    sceneFrames_ = 0;
}

void Video::togglePause() {
    if (!opened_)
        return;
    paused_ = !paused_;
    if (paused_) {
        endScene();
        FSinterface::setFixedFrameTime(-1, 0, false);
    } else {
        useFixedStep(1.0 / settings_->fps);
    }
}

void Video::stop(bool aborted) {
    if (!opened_)
        return;
    opened_ = false;
    if (!paused_)
        endScene();
    std::string failure;
    try {
        writer_.close();
    } catch (const VideoError& e) {
        failure = e.what();
    }
    frameBuffer_ = {};
    // A simulator left on the fixed step would no longer run in real time.
    FSinterface::setFixedFrameTime(-1, 0, false);
    if (!aborted) {
        if (resized_)
            restoreWindow();
        if (wasFullScreen_)
            FSinterface::setFullScreen(true);
    }
    resized_ = false;
    if (failure.empty())
        return;
    if (aborted)
        Log::log("Error: the aborted video could not be ended: " + failure, 1, false);
    else
        raise(ErrorCode::VideoNotOpened, "Video::stop", __LINE__, failure);
}

std::string Video::summary() const {
    const double fps = settings_->fps;
    std::string text = "Video File: " + fileName_;
    char line[160];
    std::snprintf(line, sizeof line, "\r\nCaptured %d frames (%s)", frames_, duration(frames_, fps).c_str());
    text += line;
    std::snprintf(line, sizeof line, "\r\n%dx%d, %.2ffps", outputWidth_, outputHeight_, fps);
    text += line;
    if (scenes_.size() > 1) {
        text += "\r\n";
        for (std::size_t i = 0; i < scenes_.size(); ++i) {
            std::snprintf(line, sizeof line, "\r\nScene %zu: %d frames (%s)", i + 1, scenes_[i],
                          duration(scenes_[i], fps).c_str());
            text += line;
        }
    }
    return text;
}
