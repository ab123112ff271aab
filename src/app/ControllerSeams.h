#pragma once

#include <vector>

#include "cameras/CameraChoice.h"
#include "playback/PlayList.h"
#include "playback/PlayerSeams.h"
#include "settings/Settings.h"
#include "system/Guid.h"

// What the controller reaches that is built elsewhere: the settings and play dialogs, the
// playback control and data windows, and the video renderer. Each is optional; without one the
// controller behaves as the comment of its slot says.

// The settings dialogs. Each edits the blocks it is given and answers whether the user
// confirmed. Without them every dialog is confirmed with the settings unchanged.
class SettingsDialogs {
public:
    virtual ~SettingsDialogs() = default;
    // "Recording Settings", on the RECORDING block.
    virtual bool recordingSettings(RecordingSettings& recording) = 0;
    // "Playback Settings", on the PLAYBACK block.
    virtual bool playbackSettings(PlaybackSettings& playback) = 0;
    // "Zephrel Settings", on the SETTINGS, RECORDING, PLAYBACK and REPLAY blocks.
    virtual bool settings(GeneralSettings& general, RecordingSettings& recording, PlaybackSettings& playback,
                          RecordingSettings& replay) = 0;
};

// The advanced play dialog: edits a play list (pre-filled with the running playback's list).
// Without it advanced play is cancelled.
class PlayListEditor {
public:
    virtual ~PlayListEditor() = default;
    virtual bool edit(PlayList& list) = 0;
};

// A tool window the controller shows and hides (the playback control window, the data window).
// Without one there is nothing to show.
class ToolWindow {
public:
    virtual ~ToolWindow() = default;
    virtual void show(bool shown) = 0;
    virtual bool isShown() const = 0;
};

// The video renderer and its dialogs. Without it "Render Video..." does nothing.
class VideoRendering {
public:
    virtual ~VideoRendering() = default;
    // "Video Rendering" on the VIDEO block; false when the user cancelled.
    virtual bool editSettings(VideoSettings& video) = 0;
    // Asks for the video file and starts rendering into it; false when the user cancelled. Throws
    // ZephrelException when the video cannot be started.
    virtual bool start(const VideoSettings& video) = 0;
    // Ends the video file; may throw ZephrelException when it cannot be ended.
    virtual void stop(bool aborted) = 0;
    virtual void togglePause() = 0;
    virtual bool isPaused() const = 0;
    // The next frames are drawn without the simulation advancing and are not captured.
    virtual void holdFrames(int frames) = 0;
    // One rendering frame (the host's frame event with argument 1); throws ZephrelException when
    // the rendering cannot go on.
    virtual void frame() = 0;
    // "Video Information" with the summary of the video last stopped.
    virtual void showInfo() = 0;
};

// The camera manager, as far as the markers reach it: the cameras the marker dialog offers, the
// switch a camera marker makes, and the kind of view a sound marker plays in. Without it the
// marker dialog offers no "Switch Camera", camera markers do nothing and every view counts as an
// outside view.
class CameraManager {
public:
    virtual ~CameraManager() = default;
    virtual std::vector<CameraChoice> markerCameras() const = 0;
    // Also selects one of the simulator's own cameras when no module camera carries the GUID.
    virtual void selectCameraByGuid(const Guid& guid) = 0;
    // Whether the active view shows a cockpit: an inside view.
    virtual bool isInsideView() const = 0;
    // The identifier of the camera the active view shows, the simulator's own or the module's; all
    // zero when there is none. Video rendering pauses a while after it changes.
    virtual Guid activeCameraGuid() const = 0;
};

struct ControllerSeams {
    SettingsDialogs* settingsDialogs = nullptr;
    PlayListEditor* playListEditor = nullptr;
    ToolWindow* controlWindow = nullptr;
    ToolWindow* dataWindow = nullptr;
    VideoRendering* video = nullptr;
    CameraManager* cameras = nullptr;
    // What the player feeds: the windows' views, and the markers' actions (without those the
    // controller's own: sound, text, pause and the camera manager's switch).
    PlayerSeams player;
};
