#include "winsys/Backend.h"
#include "winsys/Menus.h"
#include "winsys/WindowApi.h"
#include "winsys/model/WindowStore.h"

namespace win {

namespace {

WindowObject* topLevel(HWND window) {
    WindowObject* object = model::find(window);
    return object == nullptr || object->isChild() ? nullptr : object;
}

} // namespace

bool SetMenu(HWND window, HMENU menu) {
    WindowObject* object = topLevel(window);
    const MenuObject* shown = model::findMenu(menu);
    if (object == nullptr || (menu != nullptr && (shown == nullptr || shown->owner != nullptr)))
        return false;
    object->menu = menu;
    CurrentBackend().menuBarChanged(window);
    return true;
}

HMENU GetMenu(HWND window) {
    const WindowObject* object = topLevel(window);
    return object == nullptr ? nullptr : object->menu;
}

bool DrawMenuBar(HWND window) {
    if (GetMenu(window) == nullptr)
        return false;
    CurrentBackend().menuBarChanged(window);
    return true;
}

} // namespace win
