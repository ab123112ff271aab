#include "settings/KeyCommands.h"

#include "profile/ProfileValues.h"
#include "settings/SettingFields.h"

namespace {

constexpr const char* kSection = "KEYCONFIG";

constexpr uint16_t kShift = kShiftKey;
constexpr uint16_t kCtrl = kCtrlKey;

constexpr std::array<KeyCommandInfo, kKeyCommandCount> kCommands = {{
    {"Beginning", "Jump to Beginning", 0x24},
    {"End", "Jump to End", 0x23},
    {"Back1", "Step/search back 1", 0x25},
    {"Back2", "Step/search back 2", 0x26},
    {"Back3", "Step/search back 3", 0x21},
    {"Forward1", "Step/search forward 1", 0x27},
    {"Forward2", "Step/search forward 2", 0x28},
    {"Forward3", "Step/search forward 3", 0x22},
    {"SpeedInc", "Increase Speed", 0x6b},
    {"SpeedDec", "Decrease Speed", 0x6d},
    {"SpeedReset", "Reset Speed", 0x2d},
    {"LoopIn", "Set Loop Start", 0x6f},
    {"LoopOut", "Set Loop End", 0x6a},
    {"LoopToggle", "Turn Loop on/off", 0x2e},
    {"HeightInc", "Increase Altitude Correction", kShift | 0x6b},
    {"HeightDec", "Decrease Altitude Correction", kShift | 0x6d},
    {"PitchInc", "Increase Pitch Correction", 0},
    {"PitchDec", "Decrease Pitch Correction", 0},
    {"Stop", "Stop Recording/Playback", 0x1b},
    {"StopHere", "Stop Playback at current Position", kShift | 0x1b},
    {"Record", "Record", 0},
    {"Play", "Play", 0},
    {"PlayAI", "Play as Traffic", 0},
    {"AdvancedPlay", "Advanced Play", 0},
    {"Replay", "Instant Replay", 0},
    {"ControlWindow", "Toggle Playback Control Window", 0},
    {"DataWindow", "Toggle Data Window", 0},
    {"UserAcftNext", "Next User Aircraft Track", 0},
    {"UserAcftPrev", "Previous User Aircraft Track", 0},
    {"SetMarker", "Set Marker", kCtrl | 'M'},
    {"NewCamera", "New Camera", kCtrl | 'V'},
    {"DelCamera", "Delete Camera", kShift | kCtrl | 'V'},
    {"EditCamera", "Edit Camera", 0},
    {"NextCamera", "Next Camera", 'V'},
    {"PrevCamera", "Previous Camera", kShift | 'V'},
    {"CamAcftNext", "Watch next Aircraft", kCtrl | 'W'},
    {"CamAcftPrev", "Watch previous Aircraft", kShift | kCtrl | 'W'},
    {"AutoZoom", "Autozoom", kCtrl | 'Z'},
    {"AutoPan", "Auto/Manual Panning", 0},
    {"TowerToAircraft", "Set Tower Camera to Aircraft Pos", 0},
    {"MouseView", "Mouse Camera Control (Hold)", 0x20},
    {"MouseViewToggle", "Mouse Camera Control (Toggle)", 0},
    {"LoadVC", "Load VC Cameras", 0},
    {"LoadTower", "Load Tower Cameras", 0},
    {"LoadSpot", "Load Spot Cameras", 0},
    {"Render", "Render Video", 0},
    {"PauseRender", "Pause/Continue Rendering", 0},
}};

} // namespace

const KeyCommandInfo& keyCommandInfo(KeyCommand command) { return kCommands[static_cast<std::size_t>(command)]; }

KeyTable defaultKeyTable() {
    KeyTable keys{};
    for (std::size_t i = 0; i < kKeyCommandCount; ++i)
        keys[i] = kCommands[i].defaultCode;
    return keys;
}

namespace {
uint16_t readKey(const std::string& file, std::size_t command) {
    return static_cast<uint16_t>(
        profile::readInt(file, kSection, kCommands[command].settingsKey, kCommands[command].defaultCode));
}
} // namespace

KeyTable readKeyConfig(const std::string& file) {
    KeyTable keys{};
    for (std::size_t i = 0; i < kKeyCommandCount; ++i)
        keys[i] = readKey(file, i);
    return keys;
}

// Only the keys that changed are written, so a hand-edited section keeps its other lines.
bool writeKeyConfig(const std::string& file, const KeyTable& keys) {
    bool written = true;
    for (std::size_t i = 0; i < kKeyCommandCount; ++i) {
        if (hasSettingKey(file, kSection, kCommands[i].settingsKey) && readKey(file, i) == keys[i])
            continue;
        written = profile::writeInt(file, kSection, kCommands[i].settingsKey, keys[i]) && written;
    }
    return written;
}
