#include "winsys/Menus.h"

#include <algorithm>

#include "winsys/Backend.h"
#include "winsys/Transcript.h"
#include "winsys/WindowApi.h"
#include "winsys/model/WindowStore.h"

namespace win {

namespace {

using model::findMenu;

bool isMenuBar(HMENU menu) {
    return std::any_of(model::store().topLevel.begin(), model::store().topLevel.end(),
                       [&](HWND window) { return model::find(window)->menu == menu; });
}

// A menu may open from one item only, and never from within itself.
bool canOpenFrom(HMENU submenu, HMENU menu) {
    const MenuObject* opened = findMenu(submenu);
    if (opened == nullptr || opened->owner != nullptr || isMenuBar(submenu))
        return false;
    for (HMENU above = menu; above != nullptr; above = findMenu(above)->owner)
        if (above == submenu)
            return false;
    return true;
}

// The command is one the user can choose in the menu or in a menu it opens.
bool offers(const std::vector<MenuItem>& items, UINT command) {
    return std::any_of(items.begin(), items.end(), [&](const MenuItem& item) {
        if ((item.flags & MF_POPUP) == 0)
            return item.choosable() && item.id == command;
        const MenuObject* submenu = findMenu(item.submenu);
        return (item.flags & (MF_GRAYED | MF_DISABLED)) == 0 && submenu != nullptr &&
               offers(submenu->items, command);
    });
}

} // namespace

HMENU CreateMenu() {
    return CreatePopupMenu();
}

HMENU CreatePopupMenu() {
    model::Store& store = model::store();
    const auto handle = reinterpret_cast<HMENU>(store.nextMenu);
    store.nextMenu += sizeof(void*);
    store.menus.emplace(handle, std::make_unique<MenuObject>());
    return handle;
}

bool AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, const std::string& text) {
    MenuObject* object = findMenu(menu);
    if (object == nullptr)
        return false;
    MenuItem item{flags, 0, text, nullptr};
    if ((flags & MF_SEPARATOR) != 0) {
        item.text.clear();
    } else if ((flags & MF_POPUP) != 0) {
        item.submenu = reinterpret_cast<HMENU>(idOrSubmenu);
        if (!canOpenFrom(item.submenu, menu))
            return false;
        findMenu(item.submenu)->owner = menu;
    } else {
        item.id = static_cast<UINT>(idOrSubmenu);
    }
    object->items.push_back(std::move(item));
    return true;
}

bool DestroyMenu(HMENU menu) {
    MenuObject* object = findMenu(menu);
    if (object == nullptr)
        return false;
    const std::vector<MenuItem> items = std::move(object->items);
    model::store().menus.erase(menu);
    for (HWND window : model::store().topLevel)
        if (WindowObject* shown = model::find(window); shown->menu == menu)
            shown->menu = nullptr;
    for (const MenuItem& item : items)
        if (item.submenu != nullptr)
            DestroyMenu(item.submenu);
    return true;
}

int GetMenuItemCount(HMENU menu) {
    const MenuObject* object = findMenu(menu);
    return object == nullptr ? -1 : static_cast<int>(object->items.size());
}

bool GetMenuItem(HMENU menu, int position, MenuItem* item) {
    const MenuObject* object = findMenu(menu);
    if (object == nullptr || position < 0 || static_cast<std::size_t>(position) >= object->items.size())
        return false;
    *item = object->items[static_cast<std::size_t>(position)];
    return true;
}

UINT TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) {
    const MenuObject* object = findMenu(menu);
    if (object == nullptr || !IsWindow(owner))
        return 0;
    // A copy: a backend's menu loop may run the owner's messages, which may destroy the menu.
    const std::vector<MenuItem> items = object->items;
    UINT chosen = CurrentBackend().popupMenu(owner, items, POINT{x, y});
    if (!offers(items, chosen))
        chosen = 0;
    CurrentTranscript().add(PopupMenuEntry{items, POINT{x, y}, chosen});
    if ((flags & TPM_RETURNCMD) != 0)
        return chosen;
    if (chosen != 0)
        PostMessage(owner, WM_COMMAND, MAKEWPARAM(static_cast<int>(chosen), 0), 0);
    return 1;
}

} // namespace win
