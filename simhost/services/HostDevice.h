#pragma once

#include "host/hostabi.h"
#include "world/SimContext.h"

// api.dll's main device: full screen or windowed, and the modal state the simulator enters
// while an add-on shows a dialog (begin and end calls nest).
class HostDevice {
public:
    explicit HostDevice(WrongForms& wrongForms);
    HostDevice(const HostDevice&) = delete;
    HostDevice& operator=(const HostDevice&) = delete;

    ZHostDevice* abi() { return &device_; }

    bool fullScreen() const { return fullScreen_; }
    void setFullScreen(bool on) { fullScreen_ = on; }
    int modalDepth() const { return modalDepth_; }
    void beginModal() { ++modalDepth_; }
    // An end without a begin is a wrong form.
    void endModal();

private:
    WrongForms& wrongForms_;
    ZHostDevice device_{};
    bool fullScreen_ = false;
    int modalDepth_ = 0;
};
