#include "winsys/Menus.h"

#include <algorithm>

#include "winsys/Backend.h"
#include "winsys/Transcript.h"
#include "winsys/WindowApi.h"
#include "winsys/model/WindowStore.h"

namespace win {

namespace {

MenuObject* findMenu(HMENU menu) {
    auto& menus = model::store().menus;
    const auto found = menus.find(menu);
    return found == menus.end() ? nullptr : found->second.get();
}

} // namespace

HMENU CreateMenu() {
    return CreatePopupMenu();
}

HMENU CreatePopupMenu() {
    auto menu = std::make_unique<MenuObject>();
    const HMENU handle = menu.get();
    model::store().menus.emplace(handle, std::move(menu));
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
        if (item.submenu == menu || findMenu(item.submenu) == nullptr)
            return false;
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
    const bool offered = std::any_of(items.begin(), items.end(), [&](const MenuItem& item) {
        return item.choosable() && item.id == chosen;
    });
    if (!offered)
        chosen = 0;
    CurrentTranscript().add(PopupMenuEntry{items, POINT{x, y}, chosen});
    if ((flags & TPM_RETURNCMD) != 0)
        return chosen;
    if (chosen != 0)
        PostMessage(owner, WM_COMMAND, MAKEWPARAM(static_cast<int>(chosen), 0), 0);
    return 1;
}

} // namespace win
