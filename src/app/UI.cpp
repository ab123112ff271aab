// The module's menu in the simulator's menu bar, and the commands of its items.

#include "app/UI.h"

#include <filesystem>
#include <utility>

#include "app/MenuIds.h"
#include "app/Zephrel.h"
#include "common/Log.h"
#include "host/FSinterface.h"
#include "settings/Settings.h"
#include "ui/AboutDlg.h"
#include "ui/KeyboardDlg.h"

namespace {

constexpr uint32_t kMenuBar = 0;
constexpr uint32_t kSeparator = 0;
// The key message's lParam: the key was already down (a repeat).
constexpr intptr_t kRepeatBit = intptr_t{1} << 30;

struct MenuRow {
    uint32_t id; // kSeparator for a separator
    const char* text;
    bool enabled;
};

// The items of the "Zephrel" menu in their order, as they stand before anything runs; the
// controller's menu update sets their texts and states from then on.
constexpr MenuRow kMenuRows[] = {
    {kMenuRecord, "Record...", true},
    {kMenuPlay, "Play...", true},
    {kMenuPlayAsTraffic, "Play as Traffic...", true},
    {kMenuAdvancedPlay, "Advanced Play...", true},
    {kMenuInstantReplay, "Instant Replay...", false},
    {kMenuStopPlayback, "Stop Playback", false},
    {kMenuSetMarker, "Set Marker...", false},
    {kSeparator, "", true},
    {kMenuControlWindow, "Control Window", false},
    {kMenuDataWindow, "Data Window", false},
    {kSeparator, "", true},
    // The camera submenus with their items (ids 11-14, 100-335), their separator and the camera
    // keys join here with the camera manager.
    {kMenuRenderVideo, "Render Video...", true},
    {kMenuPauseRendering, "Pause Rendering", false},
    {kSeparator, "", true},
    {kMenuSettings, "Settings...", true},
    {kMenuKeyboard, "Keyboard Controls...", true},
    {kSeparator, "", true},
    {kMenuAbout, "About Zephrel...", true},
};

} // namespace

UI::UI(Zephrel* zephrel, std::string moduleFolder)
    : zephrel_(zephrel),
      settingsFile_((std::filesystem::path(std::move(moduleFolder)) / kSettingsFileName).string()),
      keys_(defaultKeyTable()) {}

int UI::callback(int event, intptr_t a, intptr_t b, intptr_t c) {
    try {
        return onEvent(event, a, b, c);
    } catch (const ZephrelException& e) {
        if (e.severity >= ZephrelException::DisablesModule)
            throw;                      // the host interface makes the module inert
        zephrel_->afterError(e, false); // a failed command leaves the instant replay's data alone
        return event == Start ? 0 : 1;  // a key or menu command was the module's, though it failed
    }
}

int UI::onEvent(int event, intptr_t a, intptr_t b, intptr_t) {
    switch (event) {
    case Start:
        keys_ = readKeyConfig(settingsFile_);
        buildMenu();
        // The host interface builds the menu again only when the simulator rebuilds its own; the
        // first build is the module's.
        FSinterface::initMenu();
        zephrel_->updateMenus();
        return 0;
    case KeyDown:
        return onKey(static_cast<uint16_t>(a), true, (b & kRepeatBit) != 0);
    case KeyUp:
        return onKey(static_cast<uint16_t>(a), false, true);
    case MenuCommand:
        return onMenuCommand(static_cast<uint32_t>(a));
    default:
        return 0;
    }
}

void UI::buildMenu() {
    FSinterface::addMenuItem(kMenuBar, true, "Zephrel", kMenuZephrel, true);
    for (const MenuRow& row : kMenuRows)
        FSinterface::addMenuItem(kMenuZephrel, false, row.text, row.id, row.enabled);
}

int UI::onMenuCommand(uint32_t id) {
    Zephrel& z = *zephrel_;
    switch (id) {
    case kMenuRecord:
        if (z.isRecording())
            z.stopRecording(true);
        else
            z.record();
        break;
    case kMenuPlay:
        z.play();
        break;
    case kMenuPlayAsTraffic:
        z.playAsTraffic();
        break;
    case kMenuAdvancedPlay:
        z.advancedPlay();
        break;
    case kMenuInstantReplay:
        z.instantReplay();
        break;
    case kMenuStopPlayback:
        z.stopPlayback(false);
        break;
    case kMenuSetMarker:
        z.setMarker();
        break;
    case kMenuControlWindow:
        if (z.isPlaying() && !z.isRecording())
            z.toggleControlWindow();
        break;
    case kMenuDataWindow:
        if (z.isUserPlayback() && !z.isRecording())
            z.toggleDataWindow();
        break;
    case kMenuRenderVideo:
        if (z.isRendering())
            z.stopRendering(false);
        else
            z.renderVideo();
        break;
    case kMenuPauseRendering:
        z.pauseRendering();
        break;
    case kMenuSettings:
        z.settingsDialog();
        break;
    case kMenuKeyboard:
        editKeys();
        break;
    case kMenuAbout:
        AboutDlg().doModal();
        break;
    default:
        return 0;
    }
    return 1;
}

void UI::editKeys() {
    KeyboardDlg dialog(keys_);
    if (dialog.doModal() == win::IDOK && !writeKeyConfig(settingsFile_, keys_))
        Log::log("Warning: Failed to write the keyboard controls to '" + settingsFile_ + "'", 1, false);
}
