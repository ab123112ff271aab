#pragma once

#include <array>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "winsys/Dialogs.h"
#include "winsys/Menus.h"
#include "winsys/model/WindowObject.h"

namespace win {

// A menu's items, in the order appended.
struct MenuObject {
    std::vector<MenuItem> items;
    HMENU owner = nullptr; // the menu one of whose items opens this one
};

} // namespace win

// The state of the window model: every live window and pop-up menu, the classes, the dialog
// templates, the queue of posted messages, focus, keyboard, cursor and a fixed local time. One per
// process, used from one thread.
namespace win::model {

struct PostedMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct CursorState {
    POINT position;
    int displayCount = 0;
    HCURSOR shape = nullptr;
};

struct Store {
    std::map<HWND, std::unique_ptr<WindowObject>> windows;
    std::vector<HWND> topLevel;                 // in creation order
    std::map<HMENU, std::unique_ptr<MenuObject>> menus;
    uintptr_t nextMenu = 0x10000; // handles are never given twice: a stale one names no menu
    std::map<std::string, WindowClass> classes; // by lower-case name
    std::map<std::pair<HINSTANCE, uint16_t>, DialogTemplate> templates;
    std::deque<PostedMessage> posted;
    HWND focus = nullptr;
    HWND active = nullptr; // the window a user last brought to the front
    std::array<bool, 256> keyDown{};
    CursorState cursor;
    std::optional<SYSTEMTIME> localTime; // none: the machine's clock
};

Store& store();
// Nullptr unless the handle names a live window.
WindowObject* find(HWND hwnd);
// Nullptr unless the handle names a menu not destroyed.
MenuObject* findMenu(HMENU menu);
WindowClass* findClass(const std::string& name);
// The top-level window that `hwnd` is or lies in.
HWND rootOf(HWND hwnd);
// Forgets everything without sending a message; the standard classes are registered again.
void resetStore();

} // namespace win::model
