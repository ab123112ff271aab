#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SpeedList.h"

// The module's settings, one record per section of "Zephrel.ini", each with its built-in defaults.
// Readers and writers come in pairs over the same keys; a missing file or key gives the default.

constexpr const char* kSettingsFileName = "Zephrel.ini";

struct GeneralSettings { // [SETTINGS]
    bool enableReplay = true;
    int32_t maxReplaySize = 10; // MiB of instant replay data, 0 = unbounded
    bool search1 = false, search2 = false, search3 = false; // search (true) or jump (false) per step
    int32_t jumpSize1 = 15, jumpSize2 = 60, jumpSize3 = 300; // seconds
    int32_t searchSpeed1 = 5, searchSpeed2 = 15, searchSpeed3 = 50;
    bool loadAircraft = true;
    bool unpauseStartPlay = true;
    bool pauseEndPlay = true;
    bool restoreAfterPlay = false;
    bool setSimRate = true;
    bool setSimRateSearch = false;
    bool limitSimRate = false;
    bool enableControls = true;
    bool enableControlsAI = false;
    bool displayRecording = true;
    bool displayPlayback = true;
    bool showWindow = false;
    bool showDataWindow = false;
    bool playRecAI = true;
    bool disableLiveAI = true;
    int32_t maxAircraft = 200; // 0 = no limit
    bool showRecDialog = true;
    bool showPlayDialog = false;
    bool fileDialog = true;
    bool fileDialogBefore = false;
    std::string tempDirectory; // without trailing separator
    std::vector<double> speeds = SpeedList::defaults();
    bool disableCameras = false;
    bool levelD767SpoilersPatch = false; // only ever read
    bool enableAutoplay = true;

    bool operator==(const GeneralSettings&) const = default;
};

struct AutoplayEntry { // [AUTOPLAY.000] .. [AUTOPLAY.255]
    std::string flt;
    std::string zfl;
    bool playAsTraffic = true;

    bool operator==(const AutoplayEntry&) const = default;
};

// RECORDING (the recorder) and REPLAY (the instant replay) share one record and one reader/writer.
enum class RecordingBlock { Recording, Replay };

struct RecordingSettings {
    int32_t interval = 2500;    // 1/10000 s
    int32_t intervalAI = 20000; // 1/10000 s
    bool recordAI = false;
    bool recordPlayingTraffic = false; // RECORDING only
    bool saveFlight = false;           // RECORDING only
    uint32_t contFlags = 0x13;
    uint32_t contFlagsAI = 0x13;
    uint32_t discFlags = 0x1f;
    uint32_t discFlagsAI = 0x17;
    int32_t autoStopMode = 0; // RECORDING only
    int32_t autoStopTime = 10; // seconds; RECORDING only

    bool operator==(const RecordingSettings&) const = default;
};

struct PlaybackSettings { // [PLAYBACK]
    bool loadFlight = false;
    bool loadMarkers = true;
    uint32_t contFlags = 0x1ff;
    uint32_t discFlags = 0x3ff;

    bool operator==(const PlaybackSettings&) const = default;
};

struct VideoSettings { // [VIDEO]
    int32_t width = 640;
    int32_t height = 480;
    bool fsWndSize = false;
    bool resize = true;
    double fps = 25.0;
    int32_t codec = -1;
    int32_t bitrate = 1000000;
    int32_t quality = 90;
    int32_t complexity = 0;
    bool vbr = true;
    bool showInfo = true;
    bool hideDisplay = true;
    bool hideInfoWnd = false;
    int32_t loadScenery = 2; // at most 5
    int32_t skipFrames = 0;  // at most 15
    int32_t camSwitchPause = 100;
    bool stabilizeSimRate = false;

    bool operator==(const VideoSettings&) const = default;
};

struct CameraSettings { // [CAMERAS]
    bool display = true;
    bool pauseSmoothing = false;
    double posIncrementVC = 0.1;
    double posIncrementTower1 = 1.0;
    double posIncrementTower2 = 5.0;
    double posIncrementTower3 = 25.0;
    bool moveTower1Target = false;
    bool panFocus = false;
    bool panTowerInc = true;
    double posIncrementSpot = 0.1;
    double slewIncrementSpot1 = 0.1;
    double slewIncrementSpot2 = 0.5;
    double slewIncrementSpot3 = 2.5;
    bool mouseWheelDistSpotFollow = true;
    bool mouseWheelDistSpotFlyby = false;
    bool midButtonPan = true;
    bool pan360 = false;
    int32_t smoothTypePos = 2;
    int32_t smoothTypePan = 1;
    int32_t smoothTypeZoom = 5;

    bool operator==(const CameraSettings&) const = default;
};

struct LogSettings { // [LOG], read when the module is loaded
    uint32_t flags = 1;
    bool append = false;

    bool operator==(const LogSettings&) const = default;
};

struct WindowPositions { // [WINDOWS]
    int32_t controlWndXPos = 10;
    int32_t controlWndYPos = 10;
    int32_t dataWndXPos = 10;
    int32_t dataWndYPos = 10;

    bool operator==(const WindowPositions&) const = default;
};

void readGeneralSettings(const std::string& file, GeneralSettings& settings);
bool writeGeneralSettings(const std::string& file, const GeneralSettings& settings);

// Visits every autoplay section; those without a flight or a recording are skipped, so gaps are allowed.
std::vector<AutoplayEntry> readAutoplayList(const std::string& file);
// Replaces all autoplay sections by the list, numbered from 000.
bool writeAutoplayList(const std::string& file, const std::vector<AutoplayEntry>& entries);

void readRecordingSettings(const std::string& file, RecordingBlock block, RecordingSettings& settings);
bool writeRecordingSettings(const std::string& file, RecordingBlock block, const RecordingSettings& settings);

void readPlaybackSettings(const std::string& file, PlaybackSettings& settings);
bool writePlaybackSettings(const std::string& file, const PlaybackSettings& settings);

void readVideoSettings(const std::string& file, VideoSettings& settings);
bool writeVideoSettings(const std::string& file, const VideoSettings& settings);

void readCameraSettings(const std::string& file, CameraSettings& settings);
bool writeCameraSettings(const std::string& file, const CameraSettings& settings);

void readLogSettings(const std::string& file, LogSettings& settings);
bool writeLogSettings(const std::string& file, const LogSettings& settings);

void readWindowPositions(const std::string& file, WindowPositions& positions);
bool writeControlWindowPosition(const std::string& file, int32_t x, int32_t y);
bool writeDataWindowPosition(const std::string& file, int32_t x, int32_t y);

// The last folder of each kind of file dialog, in section "Dialogs": "ZflPath", "WmvPath", "WavPath", "CamPath".
std::string readDialogFolder(const std::string& file, const char* key);
bool writeDialogFolder(const std::string& file, const char* key, const std::string& folder);
