// The keys' commands: a key code goes through the dispatch steps in their order, and the first
// step that has a command of that key available now takes it.

#include "app/UI.h"
#include "app/Zephrel.h"
#include "cameras/Cameras.h"

namespace {

// Runs the action when `run` is set; the key is the command's either way.
template <typename Action> bool act(bool run, Action&& action) {
    if (run)
        action();
    return true;
}

// A held key: its first key-down starts stepping or searching at its level, the repeats while it
// is held change nothing, its release stops it.
template <typename Search> bool hold(bool down, bool repeat, int level, Search&& search) {
    if (!down)
        search(0);
    else if (!repeat)
        search(level);
    return true;
}

int levelOf(KeyCommand command, KeyCommand first) {
    return static_cast<int>(command) - static_cast<int>(first) + 1;
}

} // namespace

int UI::onKey(uint16_t code, bool down, bool repeat) {
    // No key message has the code 0: a command without a key is never pressed.
    if (code == 0)
        return 0;
    static constexpr DispatchStep kSteps[] = {&UI::startCommands,     &UI::stopCommand,
                                              &UI::userPlaybackCommands, &UI::markerCommand,
                                              &UI::transportCommands, &UI::cameraCommands,
                                              &UI::renderCommands};
    const KeyPress press{down, repeat};
    for (DispatchStep step : kSteps)
        for (std::size_t i = 0; i < kKeyCommandCount; ++i)
            if (keys_[i] == code && (this->*step)(static_cast<KeyCommand>(i), press))
                return 1;
    return 0;
}

// In every state: the controller refuses what the state forbids. One action per press, so that
// a held key does not start and stop again.
bool UI::startCommands(KeyCommand command, KeyPress press) {
    Zephrel& z = *zephrel_;
    switch (command) {
    case KeyCommand::Record:
        return act(press.first(), [&] { z.record(); });
    case KeyCommand::Play:
        return act(press.first(), [&] { z.play(); });
    case KeyCommand::PlayAI:
        return act(press.first(), [&] { z.playAsTraffic(); });
    case KeyCommand::AdvancedPlay:
        return act(press.first(), [&] { z.advancedPlay(); });
    case KeyCommand::Replay:
        return act(press.first(), [&] { z.instantReplay(); });
    default:
        return false;
    }
}

// Stops what runs, the rendering first; with nothing running the key is the simulator's. A user
// playback runs out to its end, as the menu's "Stop Playback" lets it.
bool UI::stopCommand(KeyCommand command, KeyPress press) {
    Zephrel& z = *zephrel_;
    if (command != KeyCommand::Stop || !(z.isRendering() || z.isRecording() || z.isPlaying()))
        return false;
    return act(press.first(), [&] {
        if (z.isRendering())
            z.stopRendering(false);
        else if (z.isRecording())
            z.stopRecording(true);
        else
            z.stopPlayback(false);
    });
}

// The corrections repeat while their key is held; the others act once per press.
bool UI::userPlaybackCommands(KeyCommand command, KeyPress press) {
    Zephrel& z = *zephrel_;
    if (!z.isUserPlayback())
        return false;
    switch (command) {
    case KeyCommand::StopHere:
        return act(press.first(), [&] { z.stopPlayback(true); });
    case KeyCommand::DataWindow:
        return !z.isRecording() && act(press.first(), [&] { z.toggleDataWindow(); });
    case KeyCommand::UserAcftNext:
        return act(press.first(), [&] { z.nextUserTrack(); });
    case KeyCommand::UserAcftPrev:
        return act(press.first(), [&] { z.previousUserTrack(); });
    case KeyCommand::HeightInc:
        return act(press.down, [&] { z.altitudeUp(); });
    case KeyCommand::HeightDec:
        return act(press.down, [&] { z.altitudeDown(); });
    case KeyCommand::PitchInc:
        return act(press.down, [&] { z.pitchUp(); });
    case KeyCommand::PitchDec:
        return act(press.down, [&] { z.pitchDown(); });
    default:
        return false;
    }
}

bool UI::markerCommand(KeyCommand command, KeyPress press) {
    Zephrel& z = *zephrel_;
    if (command != KeyCommand::SetMarker || !(z.isRecording() || z.isPlaying()))
        return false;
    return act(press.first(), [&] { z.setMarker(); });
}

// The controller checks its own conditions for the playback controls again. The speed steps
// repeat while their key is held.
bool UI::transportCommands(KeyCommand command, KeyPress press) {
    Zephrel& z = *zephrel_;
    if (!z.isUserPlayback() && !(z.isPlaying() && z.settings().enableControlsAI))
        return false;
    switch (command) {
    case KeyCommand::Beginning:
        return act(press.first(), [&] { z.position(0.0); });
    case KeyCommand::End:
        return act(press.first(), [&] { z.position(1.0); });
    case KeyCommand::Back1:
    case KeyCommand::Back2:
    case KeyCommand::Back3:
        return hold(press.down, press.repeat, levelOf(command, KeyCommand::Back1),
                    [&](int l) { z.backward(l); });
    case KeyCommand::Forward1:
    case KeyCommand::Forward2:
    case KeyCommand::Forward3:
        return hold(press.down, press.repeat, levelOf(command, KeyCommand::Forward1),
                    [&](int l) { z.forward(l); });
    case KeyCommand::SpeedInc:
        return act(press.down, [&] { z.faster(); });
    case KeyCommand::SpeedDec:
        return act(press.down, [&] { z.slower(); });
    case KeyCommand::SpeedReset:
        return act(press.first(), [&] { z.normalSpeed(); });
    case KeyCommand::LoopIn:
        return act(press.first(), [&] { z.loopIn(); });
    case KeyCommand::LoopOut:
        return act(press.first(), [&] { z.loopOut(); });
    case KeyCommand::LoopToggle:
        return act(press.first(), [&] { z.toggleLoop(); });
    case KeyCommand::ControlWindow:
        return !z.isRecording() && act(press.first(), [&] { z.toggleControlWindow(); });
    default:
        return false;
    }
}

// Only with cameras: the list commands while the active view shows one of the module's cameras,
// the camera's own while it has a current camera, the camera files in any view.
bool UI::cameraCommands(KeyCommand command, KeyPress press) {
    if (cameras_ == nullptr)
        return false;
    Cameras& c = *cameras_;
    const bool moduleView = c.activeKind() >= Camera::kVC && c.activeKind() <= Camera::kSpot;
    const bool current = c.hasCurrentCamera();
    switch (command) {
    case KeyCommand::NewCamera:
        return moduleView && act(press.first(), [&] { c.newCamera(Cameras::kActiveKind); });
    case KeyCommand::DelCamera:
        return moduleView && act(press.first(), [&] { c.deleteCamera(Cameras::kActiveKind); });
    case KeyCommand::EditCamera:
        return moduleView && act(press.first(), [&] { c.EditCamera(Cameras::kActiveKind); });
    case KeyCommand::NextCamera:
        return moduleView && act(press.first(), [&] { c.nextCamera(); });
    case KeyCommand::PrevCamera:
        return moduleView && act(press.first(), [&] { c.prevCamera(); });
    case KeyCommand::CamAcftNext:
        return current && act(press.first(), [&] { c.cycleTarget(true); });
    case KeyCommand::CamAcftPrev:
        return current && act(press.first(), [&] { c.cycleTarget(false); });
    case KeyCommand::AutoZoom:
        return current && act(press.first(), [&] { c.zoomDefault(); });
    case KeyCommand::AutoPan:
        return current && act(press.first(), [&] { c.command(); });
    case KeyCommand::TowerToAircraft:
        return current && c.activeKind() == Camera::kTower && act(press.first(), [&] { c.towerToAircraft(); });
    case KeyCommand::MouseView:
        if (!current)
            return false;
        if (!press.down || !press.repeat)
            setMouseView(press.down);
        return true;
    case KeyCommand::MouseViewToggle:
        return current && act(press.first(), [&] {
                   mouseViewToggled_ = !mouseViewToggled_;
                   setMouseView(mouseViewToggled_);
               });
    case KeyCommand::LoadVC:
        return act(press.first(), [&] { c.loadCameraFile(Camera::kVC); });
    case KeyCommand::LoadTower:
        return act(press.first(), [&] { c.loadCameraFile(Camera::kTower); });
    case KeyCommand::LoadSpot:
        return act(press.first(), [&] { c.loadCameraFile(Camera::kSpot); });
    default:
        return false;
    }
}

bool UI::renderCommands(KeyCommand command, KeyPress press) {
    Zephrel& z = *zephrel_;
    switch (command) {
    case KeyCommand::Render:
        return act(press.first(), [&] { z.renderVideo(); });
    case KeyCommand::PauseRender:
        return z.isRendering() && act(press.first(), [&] { z.pauseRendering(); });
    default:
        return false;
    }
}
