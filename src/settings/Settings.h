#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/FlightData.h"
#include "settings/SpeedList.h"

// The module's settings, one record per section of "Zephrel.ini", each with its built-in defaults.
// Readers and writers come in pairs over the same keys; a missing file or key gives the default.

constexpr const char* kSettingsFileName = "Zephrel.ini";

// The data groups recorded and played unless the settings choose others. Each aircraft records
// its controls, throttles and spoilers, flaps, gear, lights and engines; the user aircraft its
// parking brake too. Playback applies all groups but the wind, the Mach number, the time of day,
// the date and the extended groups.
namespace DefaultGroups {
constexpr uint32_t kRecordedCont = ContGroup::FlightControls | ContGroup::Throttles | ContGroup::Spoilers;
constexpr uint32_t kRecordedDiscAI = DiscGroup::Flaps | DiscGroup::Gear | DiscGroup::Lights | DiscGroup::Engines;
constexpr uint32_t kRecordedDisc = kRecordedDiscAI | DiscGroup::ParkingBrake;
constexpr uint32_t kPlayedCont = ContGroup::FlightControls | ContGroup::Throttles | ContGroup::Propellers |
                                 ContGroup::Mixtures | ContGroup::Spoilers | ContGroup::Airspeeds |
                                 ContGroup::MainExit | ContGroup::Tailhook | ContGroup::WingFold;
constexpr uint32_t kPlayedDisc = DiscGroup::Flaps | DiscGroup::Gear | DiscGroup::Lights | DiscGroup::ParkingBrake |
                                 DiscGroup::Engines | DiscGroup::NavRadios | DiscGroup::ComRadios |
                                 DiscGroup::Smoke | DiscGroup::Autopilot | DiscGroup::NoseVisor;
} // namespace DefaultGroups

// The keys under which section "Dialogs" keeps the last folder of each kind of file dialog.
namespace DialogFolder {
constexpr const char* kRecordings = "ZflPath";
constexpr const char* kVideos = "WmvPath";
constexpr const char* kSounds = "WavPath";
constexpr const char* kCameras = "CamPath";
} // namespace DialogFolder

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
    // When a recording stops by itself, AutoStopTime seconds after its start, the last touchdown
    // or the last engine shutdown.
    enum AutoStop : int32_t {
        AutoStopOff = 0,
        AutoStopAfterStart = 1,
        AutoStopAfterTouchdown = 2,
        AutoStopAfterShutdown = 3,
    };

    int32_t interval = 2500;    // ticks
    int32_t intervalAI = 20000; // ticks
    bool recordAI = false;
    bool recordPlayingTraffic = false; // RECORDING only
    bool saveFlight = false;           // RECORDING only
    uint32_t contFlags = DefaultGroups::kRecordedCont;
    uint32_t contFlagsAI = DefaultGroups::kRecordedCont;
    uint32_t discFlags = DefaultGroups::kRecordedDisc;
    uint32_t discFlagsAI = DefaultGroups::kRecordedDiscAI;
    int32_t autoStopMode = AutoStopOff; // RECORDING only
    int32_t autoStopTime = 10; // seconds; RECORDING only

    bool operator==(const RecordingSettings&) const = default;
};

struct PlaybackSettings { // [PLAYBACK]
    bool loadFlight = false;
    bool loadMarkers = true;
    uint32_t contFlags = DefaultGroups::kPlayedCont;
    uint32_t discFlags = DefaultGroups::kPlayedDisc;

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

// The last folder of a kind of file dialog; `key` is one of DialogFolder's.
std::string readDialogFolder(const std::string& file, const char* key);
bool writeDialogFolder(const std::string& file, const char* key, const std::string& folder);
