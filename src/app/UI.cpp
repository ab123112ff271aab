// The module's menu in the simulator's menu bar, and the commands of its items.

#include "app/UI.h"

#include <filesystem>
#include <utility>

#include "app/MenuIds.h"
#include "app/Zephrel.h"
#include "cameras/Cameras.h"
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
// controller's menu update sets their texts and states from then on. The camera menus, when there
// are cameras, come between the two parts.
constexpr MenuRow kMenuRowsBeforeCameras[] = {
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
};
constexpr MenuRow kMenuRowsAfterCameras[] = {
    {kMenuRenderVideo, "Render Video...", true},
    {kMenuPauseRendering, "Pause Rendering", false},
    {kSeparator, "", true},
    {kMenuSettings, "Settings...", true},
    {kMenuKeyboard, "Keyboard Controls...", true},
    {kSeparator, "", true},
    {kMenuAbout, "About Zephrel...", true},
};

constexpr const char* kCameraSubmenus[] = {"VC Cameras", "Tower Cameras", "Spot Cameras"};
constexpr const char* kCameraCommands[] = {"New", "Delete", "Edit...", "Load...", "Save..."};
constexpr uint32_t kFirstCameraId = 100;
constexpr uint32_t kLastCameraId = 335;

} // namespace

UI::UI(Zephrel* zephrel, std::string moduleFolder, Cameras* cameras)
    : zephrel_(zephrel),
      settingsFile_((std::filesystem::path(std::move(moduleFolder)) / kSettingsFileName).string()),
      keys_(defaultKeyTable()), cameras_(cameras) {}

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
    case MiddleButton:
        return onMiddleButton(a != 0);
    default:
        return 0;
    }
}

void UI::buildMenu() {
    FSinterface::addMenuItem(kMenuBar, true, "Zephrel", kMenuZephrel, true);
    for (const MenuRow& row : kMenuRowsBeforeCameras)
        FSinterface::addMenuItem(kMenuZephrel, false, row.text, row.id, row.enabled);
    if (cameras_ != nullptr)
        buildCameraMenus();
    for (const MenuRow& row : kMenuRowsAfterCameras)
        FSinterface::addMenuItem(kMenuZephrel, false, row.text, row.id, row.enabled);
}

// The three camera submenus with their commands and a separator (the camera manager adds an entry
// per camera below it), the camera settings, and a separator.
void UI::buildCameraMenus() {
    for (uint32_t kind = 1; kind <= 3; ++kind) {
        const uint32_t submenu = kMenuVCCameras + kind - 1;
        FSinterface::addMenuItem(kMenuZephrel, true, kCameraSubmenus[kind - 1], submenu, true);
        for (uint32_t n = 0; n < std::size(kCameraCommands); ++n)
            FSinterface::addMenuItem(submenu, false, kCameraCommands[n], 100 * kind + n, true);
        FSinterface::addMenuItem(submenu, false, "", kSeparator, true);
    }
    FSinterface::addMenuItem(kMenuZephrel, false, "Camera Settings...", kMenuCameraSettings, true);
    FSinterface::addMenuItem(kMenuZephrel, false, "", kSeparator, true);
}

int UI::onMenuCommand(uint32_t id) {
    if (id == kMenuCameraSettings || (id >= kFirstCameraId && id <= kLastCameraId))
        return onCameraMenuCommand(id);
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

int UI::onCameraMenuCommand(uint32_t id) {
    if (cameras_ == nullptr)
        return 0;
    if (id == kMenuCameraSettings) {
        cameras_->editSettings();
        return 1;
    }
    const int kind = static_cast<int>(id / 100);
    switch (id % 100) {
    case 0:
        cameras_->newCamera(kind);
        break;
    case 1:
        cameras_->deleteCamera(kind);
        break;
    case 2:
        cameras_->EditCamera(kind);
        break;
    case 3:
        cameras_->loadCameraFile(kind);
        break;
    case 4:
        cameras_->saveCameraFile(kind);
        break;
    default:
        cameras_->selectCamera(kind, id);
        break;
    }
    return 1;
}

int UI::onMiddleButton(bool down) {
    if (cameras_ == nullptr || !cameras_->hasCurrentCamera() || !cameras_->settings().midButtonPan)
        return 0;
    setMouseView(down);
    if (!down)
        mouseViewToggled_ = false;
    return 1;
}

// On: the cursor goes to the point the camera's view stands for, so that the view does not jump;
// off: back where it was.
void UI::setMouseView(bool on) {
    if (on == mouseView_)
        return;
    mouseView_ = on;
    if (on) {
        FSinterface::getMousePos(cursorX_, cursorY_);
        float a = cursorX_, b = cursorY_;
        cameras_->mousePan(true, &a, &b);
        FSinterface::setMouseCapture(true, a, b);
    } else {
        FSinterface::setMouseCapture(false, cursorX_, cursorY_);
    }
}

void UI::editKeys() {
    KeyboardDlg dialog(keys_);
    if (dialog.doModal() == win::IDOK && !writeKeyConfig(settingsFile_, keys_))
        Log::log("Warning: Failed to write the keyboard controls to '" + settingsFile_ + "'", 1, false);
}
