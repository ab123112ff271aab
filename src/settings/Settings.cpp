#include "settings/Settings.h"

#include <algorithm>
#include <cstdio>

#include "settings/SettingFields.h"

namespace {

constexpr const char* kGeneral = "SETTINGS";
constexpr const char* kPlayback = "PLAYBACK";
constexpr const char* kVideo = "VIDEO";
constexpr const char* kCameras = "CAMERAS";
constexpr const char* kLog = "LOG";
constexpr const char* kWindows = "WINDOWS";
constexpr const char* kDialogs = "Dialogs";
constexpr int kAutoplaySections = 256;

using G = GeneralSettings;
const SettingField<G> kGeneralFields[] = {
    {"EnableReplay", &G::enableReplay},
    {"MaxReplaySize", &G::maxReplaySize},
    {"Search1", &G::search1},
    {"Search2", &G::search2},
    {"Search3", &G::search3},
    {"JumpSize1", &G::jumpSize1},
    {"JumpSize2", &G::jumpSize2},
    {"JumpSize3", &G::jumpSize3},
    {"SearchSpeed1", &G::searchSpeed1},
    {"SearchSpeed2", &G::searchSpeed2},
    {"SearchSpeed3", &G::searchSpeed3},
    {"LoadAircraft", &G::loadAircraft},
    {"UnpauseStartPlay", &G::unpauseStartPlay},
    {"PauseEndPlay", &G::pauseEndPlay},
    {"RestoreAfterPlay", &G::restoreAfterPlay},
    {"SetSimRate", &G::setSimRate},
    {"SetSimRateSearch", &G::setSimRateSearch},
    {"LimitSimRate", &G::limitSimRate},
    {"EnableControls", &G::enableControls},
    {"EnableControlsAI", &G::enableControlsAI},
    {"DisplayRecording", &G::displayRecording},
    {"DisplayPlayback", &G::displayPlayback},
    {"ShowWindow", &G::showWindow},
    {"ShowDataWindow", &G::showDataWindow},
    {"PlayRecAI", &G::playRecAI},
    {"DisableLiveAI", &G::disableLiveAI},
    {"MaxAircraft", &G::maxAircraft},
    {"ShowRecDialog", &G::showRecDialog},
    {"ShowPlayDialog", &G::showPlayDialog},
    {"FileDialog", &G::fileDialog},
    {"FileDialogBefore", &G::fileDialogBefore},
    {.key = "TempDirectory", .member = &G::tempDirectory, .currentValueIsDefault = true},
    {"DisableCameras", &G::disableCameras},
    {.key = "LevelD767SpoilersPatch", .member = &G::levelD767SpoilersPatch, .readOnly = true},
    {"EnableAutoplay", &G::enableAutoplay},
};
constexpr const char* kSpeedsKey = "Speeds";

using R = RecordingSettings;
// The fields REPLAY has too come first; the rest belong to RECORDING alone.
const SettingField<R> kRecordingFields[] = {
    {"Interval", &R::interval},
    {"IntervalAI", &R::intervalAI},
    {"RecordAI", &R::recordAI},
    {"ContFlags", &R::contFlags},
    {"ContFlagsAI", &R::contFlagsAI},
    {"DiscFlags", &R::discFlags},
    {"DiscFlagsAI", &R::discFlagsAI},
    {"RecordPlayingTraffic", &R::recordPlayingTraffic},
    {"SaveFlight", &R::saveFlight},
    {"AutoStopMode", &R::autoStopMode},
    {"AutoStopTime", &R::autoStopTime},
};
constexpr std::size_t kReplayFieldCount = 7;

std::span<const SettingField<R>> recordingFields(RecordingBlock block) {
    std::span<const SettingField<R>> all = kRecordingFields;
    return block == RecordingBlock::Replay ? all.first(kReplayFieldCount) : all;
}

const char* recordingSection(RecordingBlock block) { return block == RecordingBlock::Replay ? "REPLAY" : "RECORDING"; }

using P = PlaybackSettings;
const SettingField<P> kPlaybackFields[] = {
    {"LoadFlight", &P::loadFlight},
    {"LoadMarkers", &P::loadMarkers},
    {"ContFlags", &P::contFlags},
    {"DiscFlags", &P::discFlags},
};

using V = VideoSettings;
const SettingField<V> kVideoFields[] = {
    {"Width", &V::width},
    {"Height", &V::height},
    {"FSWndSize", &V::fsWndSize},
    {"Resize", &V::resize},
    {"FPS", &V::fps},
    {"Codec", &V::codec},
    {"Bitrate", &V::bitrate},
    {"Quality", &V::quality},
    {"Complexity", &V::complexity},
    {"VBR", &V::vbr},
    {"ShowInfo", &V::showInfo},
    {"HideDisplay", &V::hideDisplay},
    {"HideInfoWnd", &V::hideInfoWnd},
    {.key = "LoadScenery", .member = &V::loadScenery, .maximum = 5},
    {.key = "SkipFrames", .member = &V::skipFrames, .maximum = 15},
    {"CamSwitchPause", &V::camSwitchPause},
    {"StabilizeSimRate", &V::stabilizeSimRate},
};

using C = CameraSettings;
const SettingField<C> kCameraFields[] = {
    {"Display", &C::display},
    {"PauseSmoothing", &C::pauseSmoothing},
    {"PosIncrementVC", &C::posIncrementVC},
    {"PosIncrementTower1", &C::posIncrementTower1},
    {"PosIncrementTower2", &C::posIncrementTower2},
    {"PosIncrementTower3", &C::posIncrementTower3},
    {"MoveTower1Target", &C::moveTower1Target},
    {"PanFocus", &C::panFocus},
    {"PanTowerInc", &C::panTowerInc},
    {"PosIncrementSpot", &C::posIncrementSpot},
    {"SlewIncrementSpot1", &C::slewIncrementSpot1},
    {"SlewIncrementSpot2", &C::slewIncrementSpot2},
    {"SlewIncrementSpot3", &C::slewIncrementSpot3},
    {"MouseWheelDistSpotFollow", &C::mouseWheelDistSpotFollow},
    {"MouseWheelDistSpotFlyby", &C::mouseWheelDistSpotFlyby},
    {"MidButtonPan", &C::midButtonPan},
    {"Pan360", &C::pan360},
    {"SmoothTypePos", &C::smoothTypePos},
    {"SmoothTypePan", &C::smoothTypePan},
    {"SmoothTypeZoom", &C::smoothTypeZoom},
};

using L = LogSettings;
const SettingField<L> kLogFields[] = {
    {"Flags", &L::flags},
    {"Append", &L::append},
};

using W = WindowPositions;
const SettingField<W> kWindowFields[] = {
    {"ControlWndXPos", &W::controlWndXPos},
    {"ControlWndYPos", &W::controlWndYPos},
    {"DataWndXPos", &W::dataWndXPos},
    {"DataWndYPos", &W::dataWndYPos},
};

std::string autoplaySection(int index) {
    char name[16];
    std::snprintf(name, sizeof name, "AUTOPLAY.%03d", index);
    return name;
}

// The list is compared as the reader takes it, so a hand-written "0.10|...|10.0" stays as it is.
bool updateSpeeds(const std::string& file, const std::vector<double>& speeds) {
    const std::string text = SpeedList::format(speeds, SpeedList::kFileSeparator);
    if (hasSettingKey(file, kGeneral, kSpeedsKey) &&
        SpeedList::parse(profile::readString(file, kGeneral, kSpeedsKey, ""), SpeedList::kFileSeparator) ==
            SpeedList::parse(text, SpeedList::kFileSeparator))
        return true;
    return profile::writeString(file, kGeneral, kSpeedsKey, text);
}

} // namespace

void readGeneralSettings(const std::string& file, GeneralSettings& settings) {
    readSettingFields<G>(file, kGeneral, kGeneralFields, settings);
    const std::string text =
        profile::readString(file, kGeneral, kSpeedsKey, SpeedList::format(SpeedList::defaults(), SpeedList::kFileSeparator));
    settings.speeds = SpeedList::parse(text, SpeedList::kFileSeparator).value_or(SpeedList::defaults());
}

bool writeGeneralSettings(const std::string& file, const GeneralSettings& settings) {
    bool written = writeSettingFields<G>(file, kGeneral, kGeneralFields, settings);
    return updateSpeeds(file, settings.speeds) && written;
}

std::vector<AutoplayEntry> readAutoplayList(const std::string& file) {
    std::vector<AutoplayEntry> entries;
    for (int i = 0; i < kAutoplaySections; ++i) {
        const std::string section = autoplaySection(i);
        AutoplayEntry entry;
        entry.flt = profile::readString(file, section.c_str(), "FLT", "");
        entry.zfl = profile::readString(file, section.c_str(), "ZFL", "");
        if (entry.flt.empty() || entry.zfl.empty())
            continue;
        entry.playAsTraffic = profile::readBool(file, section.c_str(), "PlayAsTraffic", true);
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool writeAutoplayList(const std::string& file, const std::vector<AutoplayEntry>& entries) {
    // Renumbering the sections would rewrite a hand-edited file that already lists these flights.
    if (entries.size() <= kAutoplaySections && readAutoplayList(file) == entries)
        return true;
    bool written = true;
    for (int i = 0; i < kAutoplaySections; ++i)
        written = profile::deleteSection(file, autoplaySection(i).c_str()) && written;
    const std::size_t count = std::min<std::size_t>(entries.size(), kAutoplaySections);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string section = autoplaySection(static_cast<int>(i));
        written = profile::writeString(file, section.c_str(), "FLT", entries[i].flt) && written;
        written = profile::writeString(file, section.c_str(), "ZFL", entries[i].zfl) && written;
        written = profile::writeBool(file, section.c_str(), "PlayAsTraffic", entries[i].playAsTraffic) && written;
    }
    return written && entries.size() <= kAutoplaySections;
}

void readRecordingSettings(const std::string& file, RecordingBlock block, RecordingSettings& settings) {
    readSettingFields<R>(file, recordingSection(block), recordingFields(block), settings);
}

bool writeRecordingSettings(const std::string& file, RecordingBlock block, const RecordingSettings& settings) {
    return writeSettingFields<R>(file, recordingSection(block), recordingFields(block), settings);
}

void readPlaybackSettings(const std::string& file, PlaybackSettings& settings) {
    readSettingFields<P>(file, kPlayback, kPlaybackFields, settings);
}

bool writePlaybackSettings(const std::string& file, const PlaybackSettings& settings) {
    return writeSettingFields<P>(file, kPlayback, kPlaybackFields, settings);
}

void readVideoSettings(const std::string& file, VideoSettings& settings) {
    readSettingFields<V>(file, kVideo, kVideoFields, settings);
}

bool writeVideoSettings(const std::string& file, const VideoSettings& settings) {
    return writeSettingFields<V>(file, kVideo, kVideoFields, settings);
}

void readCameraSettings(const std::string& file, CameraSettings& settings) {
    readSettingFields<C>(file, kCameras, kCameraFields, settings);
}

bool writeCameraSettings(const std::string& file, const CameraSettings& settings) {
    return writeSettingFields<C>(file, kCameras, kCameraFields, settings);
}

void readLogSettings(const std::string& file, LogSettings& settings) {
    readSettingFields<L>(file, kLog, kLogFields, settings);
}

bool writeLogSettings(const std::string& file, const LogSettings& settings) {
    return writeSettingFields<L>(file, kLog, kLogFields, settings);
}

void readWindowPositions(const std::string& file, WindowPositions& positions) {
    readSettingFields<W>(file, kWindows, kWindowFields, positions);
}

bool writeControlWindowPosition(const std::string& file, int32_t x, int32_t y) {
    const WindowPositions defaults;
    bool xWritten = updateSettingValue<int32_t>(file, kWindows, "ControlWndXPos", x, defaults.controlWndXPos);
    bool yWritten = updateSettingValue<int32_t>(file, kWindows, "ControlWndYPos", y, defaults.controlWndYPos);
    return xWritten && yWritten;
}

bool writeDataWindowPosition(const std::string& file, int32_t x, int32_t y) {
    const WindowPositions defaults;
    bool xWritten = updateSettingValue<int32_t>(file, kWindows, "DataWndXPos", x, defaults.dataWndXPos);
    bool yWritten = updateSettingValue<int32_t>(file, kWindows, "DataWndYPos", y, defaults.dataWndYPos);
    return xWritten && yWritten;
}

std::string readDialogFolder(const std::string& file, const char* key) {
    return profile::readString(file, kDialogs, key, "");
}

bool writeDialogFolder(const std::string& file, const char* key, const std::string& folder) {
    return updateSettingValue<std::string>(file, kDialogs, key, folder, "");
}
