// Pause, rate, traffic, options, modal state, full screen and the fixed step of video rendering.

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/FSinterface.h"
#include "host/HostState.h"
#include "winsys/WindowApi.h"

namespace {

constexpr float kRateOne = 256; // the host's rate is fixed point, 256 = 1.0
constexpr std::size_t kTrafficWords[2] = {ZHOST_TRAFFIC_AIRLINE_WORD, ZHOST_TRAFFIC_GENERAL_AVIATION_WORD};
constexpr std::size_t kFolderSize = 260;

uint32_t optionsWord(const uint8_t* options, uint32_t index) {
    uint32_t word = 0;
    std::memcpy(&word, options + index * sizeof word, sizeof word);
    return word;
}

void setOptionsWord(uint8_t* options, uint32_t index, uint32_t word) {
    std::memcpy(options + index * sizeof word, &word, sizeof word);
}

} // namespace

bool FSinterface::isPaused() {
    const HostState& s = hostState();
    return s.stopping || s.bound.simState->paused != 0;
}

void FSinterface::setPaused(bool paused) {
    HostState& s = hostState();
    if (!s.stopping)
        s.bound.simState->pauseRequest = paused ? 1 : 0;
}

float FSinterface::getSimRate() {
    const HostState& s = hostState();
    if (s.stopping)
        return 1.0f;
    return static_cast<float>(s.bound.getRate() & 0xFFFFu) / kRateOne;
}

void FSinterface::setSimRate(float rate) {
    const HostState& s = hostState();
    if (!s.stopping)
        s.bound.setRate(static_cast<uint32_t>(static_cast<int64_t>(std::trunc(rate * kRateOne + 0.5f))) & 0xFFFFu);
}

float FSinterface::getFrameTime() {
    const HostState& s = hostState();
    return static_cast<float>(isPaused() ? s.bound.realFrameTime() : s.frameClock.frameTime());
}

void FSinterface::setTraffic(bool on) {
    HostState& s = hostState();
    if (s.stopping || on == s.trafficOn)
        return;
    ZHostTrafficSettings settings{};
    s.bound.getTraffic(&settings);
    for (std::size_t i = 0; i < std::size(kTrafficWords); ++i) {
        if (on) {
            settings.words[kTrafficWords[i]] = s.savedTraffic[i];
        } else {
            s.savedTraffic[i] = settings.words[kTrafficWords[i]];
            settings.words[kTrafficWords[i]] = 0;
        }
    }
    s.bound.setTraffic(&settings);
    s.trafficOn = on;
}

void FSinterface::setSimOption(bool on) {
    HostState& s = hostState();
    if (s.stopping || on == s.simOptionOn)
        return;
    uint8_t options[ZHOST_OPTIONS_SIZE];
    std::memcpy(options, s.bound.getOptions(), sizeof options);
    if (!on)
        s.savedOption = optionsWord(options, s.bound.optionsWordIndex);
    setOptionsWord(options, s.bound.optionsWordIndex, on ? s.savedOption : 0);
    s.bound.setOptions(options);
    s.simOptionOn = on;
}

void FSinterface::setModal(bool modal) {
    HostState& s = hostState();
    if (s.stopping || (!modal && s.modalDepth == 0))
        return;
    s.modalDepth += modal ? 1 : -1;
    // Only the outermost bracket is the host's business.
    if (modal && s.modalDepth == 1) {
        ZHostDevice* device = s.bound.device();
        device->ops->beginModal(device);
    } else if (!modal && s.modalDepth == 0) {
        ZHostDevice* device = s.bound.device();
        device->ops->endModal(device);
    }
}

bool FSinterface::isFullScreen() {
    ZHostDevice* device = hostState().bound.device();
    return device->ops->isFullScreen(device) != 0;
}

void FSinterface::setFullScreen(bool fullScreen) {
    const HostState& s = hostState();
    if (!s.stopping)
        s.bound.setFullScreen(fullScreen ? 1 : 0);
}

void FSinterface::clearHostWord() {
    const HostState& s = hostState();
    if (!s.stopping)
        *s.bound.hostWord = 0;
}

std::string FSinterface::getFlightsFolder() {
    char path[kFolderSize] = {};
    hostState().bound.folder(ZHOST_FOLDER_FLIGHTS, path);
    path[kFolderSize - 1] = '\0';
    return path;
}

bool FSinterface::isOnlineContactsOpen() {
    constexpr const char* kContacts = "Online Contacts";
    const win::HWND mainWindow = hostState().mainWindow;
    return win::FindWindow("FS98FLOAT", nullptr) != nullptr || win::FindWindow("FS98CHILD", kContacts) != nullptr ||
           (mainWindow != nullptr && win::FindWindowEx(mainWindow, nullptr, "FS98CHILD", kContacts) != nullptr);
}

void FSinterface::setFixedFrameTime(double frameTime, double factor, bool realTime) {
    HostState& s = hostState();
    if (s.stopping)
        return;
    // A step of 0 keeps the host's timing with the module: a frame is drawn and time stands.
    if (frameTime >= 0) {
        // A new frame time while the step is on keeps the rate word saved when it was switched
        // on, and the frame-duration estimate that real-time pacing has learned since (video
        // rendering sets the step every frame).
        if (!s.fixedStep) {
            s.savedRateWord = *s.bound.rateWord;
            s.frameEstimate = 0;
        }
        s.fixedStep = true;
        s.fixedFrameTime = frameTime;
        // At most a minute of idle turns a frame, whatever step and factor come in.
        s.ticksPerFrame = static_cast<uint32_t>(std::clamp(std::trunc(1000 * frameTime * factor), 0.0, 60000.0));
        s.realTimePacing = realTime;
        *s.bound.rateWord = 0;
        *s.bound.mainFrameTime = 0;
    } else if (s.fixedStep) {
        s.fixedStep = false;
        *s.bound.rateWord = s.savedRateWord;
        *s.bound.mainFrameTime = s.savedRateWord != 0 ? 1.0 / s.savedRateWord : 0.0;
    }
}
