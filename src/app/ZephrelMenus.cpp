#include "app/Zephrel.h"

#include "app/MenuIds.h"
#include "app/StatusLine.h"
#include "host/FSinterface.h"

namespace {

// A window that may not be open is hidden; one that may is opened when the settings ask for it and
// otherwise left as the user has it.
void showTool(ToolWindow* window, bool allowed, bool wanted) {
    if (window == nullptr)
        return;
    if (!allowed)
        window->show(false);
    else if (wanted)
        window->show(true);
}

void toggle(ToolWindow* window, bool allowed) {
    if (window != nullptr && allowed)
        window->show(!window->isShown());
}

} // namespace

void Zephrel::updateMenus() {
    // The menu entries are made at the host's Start; before it there is nothing to update.
    if (started_) {
        FSinterface::updateMenuItem(kMenuRecord, recording_ ? "Stop Recording..." : "Record...");
        FSinterface::enableMenuItem(kMenuRecord, !userPlayback_ && !replayPlayback_ && !rendering_);
        FSinterface::enableMenuItem(kMenuPlay, !recording_ && !userPlayback_ && !replayPlayback_);
        FSinterface::enableMenuItem(kMenuPlayAsTraffic, !replayPlayback_);
        FSinterface::enableMenuItem(kMenuAdvancedPlay, (!recording_ || !playing_) && !replayPlayback_);
        FSinterface::enableMenuItem(kMenuInstantReplay, !recording_ && !playing_ && replayRecording_);
        FSinterface::enableMenuItem(kMenuStopPlayback, playing_);
        FSinterface::enableMenuItem(kMenuSetMarker, recording_ || playing_);
        FSinterface::enableMenuItem(
            kMenuControlWindow, !recording_ && (userPlayback_ || (playing_ && general_.enableControlsAI)));
        FSinterface::enableMenuItem(kMenuDataWindow, !recording_ && userPlayback_);
        FSinterface::updateMenuItem(kMenuRenderVideo, rendering_ ? "Stop Rendering" : "Render Video...");
        FSinterface::enableMenuItem(kMenuRenderVideo, !recording_);
        FSinterface::updateMenuItem(kMenuPauseRendering,
                                    isRenderingPaused() ? "Continue Rendering" : "Pause Rendering");
        FSinterface::enableMenuItem(kMenuPauseRendering, rendering_);
        FSinterface::enableMenuItem(kMenuSettings, !recording_ && !playing_ && !rendering_);
    }
    updateWindows();
}

bool Zephrel::controlWindowAllowed() const {
    return playing_ && !recording_ && !rendering_ && (userPlayback_ || general_.enableControlsAI);
}

bool Zephrel::dataWindowAllowed() const {
    return userPlayback_ && !recording_ && !rendering_;
}

void Zephrel::updateWindows() {
    showTool(seams_.controlWindow, controlWindowAllowed(), general_.showWindow);
    showTool(seams_.dataWindow, dataWindowAllowed(), general_.showDataWindow);
    if (!recording_ && !playing_)
        clearStatus();
}

void Zephrel::toggleControlWindow() {
    toggle(seams_.controlWindow, controlWindowAllowed());
}

void Zephrel::toggleDataWindow() {
    toggle(seams_.dataWindow, dataWindowAllowed());
}

void Zephrel::clearStatus() {
    // An empty text takes the status line off the screen.
    FSinterface::setStatusText("", StatusLine::kPlace, StatusLine::kPlaybackStyle);
}
