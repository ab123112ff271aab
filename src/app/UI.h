#pragma once

#include <cstdint>
#include <string>

#include "host/ModuleEvents.h"
#include "settings/KeyCommands.h"

class Cameras;
class Zephrel;

// The module's place in the simulator's menu bar, and the turn of menu choices and key presses
// into the controller's commands. Registered after the controller, so that the controller sees
// every event first.
class UI : public IFScallback {
public:
    // The key table is read from "Zephrel.ini" in the module folder at Start. `cameras` (not owned)
    // is null when cameras are disabled: the menu then has no camera entries.
    UI(Zephrel* zephrel, std::string moduleFolder, Cameras* cameras = nullptr);

    int callback(int event, intptr_t a, intptr_t b, intptr_t c) override;

    // A key code (virtual key, 0x1000 Shift, 0x2000 Ctrl) pressed (down) or released; repeat is
    // set for a key that was already down. 1 when the key belongs to a command available now:
    // the simulator does not see it, on release either.
    int onKey(uint16_t code, bool down, bool repeat);
    // 1 when the id is one of the module's and was handled.
    int onMenuCommand(uint32_t id);

    const KeyTable& keys() const { return keys_; }

private:
    int onEvent(int event, intptr_t a, intptr_t b, intptr_t c);
    struct KeyPress {
        bool down;
        bool repeat;
        bool first() const { return down && !repeat; } // a new press, not a repeat or a release
    };
    using DispatchStep = bool (UI::*)(KeyCommand, KeyPress);

    void buildMenu();
    void editKeys();
    // The dispatch steps in their order; each answers whether the command is one of its own and
    // available now, and acts on it.
    bool startCommands(KeyCommand command, KeyPress press);
    bool stopCommand(KeyCommand command, KeyPress press);
    bool userPlaybackCommands(KeyCommand command, KeyPress press);
    bool markerCommand(KeyCommand command, KeyPress press);
    bool transportCommands(KeyCommand command, KeyPress press);
    bool cameraCommands(KeyCommand command, KeyPress press);
    bool renderCommands(KeyCommand command, KeyPress press);
    void buildCameraMenus();
    int onCameraMenuCommand(uint32_t id);
    int onMiddleButton(bool down);
    // Mouse camera control: the mouse pans the active view's camera while it is on.
    void setMouseView(bool on);

    Zephrel* zephrel_;
    std::string settingsFile_;
    KeyTable keys_;
    Cameras* cameras_;
    bool mouseView_ = false;
    bool mouseViewToggled_ = false;
    float cursorX_ = 0, cursorY_ = 0; // where the cursor was when mouse camera control began
};
