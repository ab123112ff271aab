#pragma once

#include <string>
#include <vector>

// The file dialogs over recording and video files. The simulator's main window owns them and the
// simulator is paused while one is open; each starts in the folder the settings file keeps for its
// kind of file and keeps the folder of the chosen file there.
namespace RecordingFileDialog {

enum class Kind {
    Recording,   // "Flight Recordings", *.zfl
    MarkersOnly, // "Flight Recordings (Markers)", *.markers.zfl: markers without tracks
    Video,       // a rendered video: *.wmv, *.mp4 or *.mkv
};

// The recordings to play: one, or with `several` as many as the user picks; none when the user
// cancelled.
std::vector<std::string> askToOpen(const std::string& settingsFile, const char* title, bool several);

// Where to write a recording or a video; empty when the user cancelled. Replacing a file is asked first.
std::string askToSave(const std::string& settingsFile, const char* title, Kind kind = Kind::Recording);

} // namespace RecordingFileDialog
