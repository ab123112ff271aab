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

HMENU CreatePopupMenu() {
    auto menu = std::make_unique<MenuObject>();
    const HMENU handle = menu.get();
    model::store().menus.emplace(handle, std::move(menu));
    return handle;
}

bool AppendMenu(HMENU menu, UINT flags, UINT id, const std::string& text) {
    MenuObject* object = findMenu(menu);
    if (object == nullptr)
        return false;
    const bool separator = (flags & MF_SEPARATOR) != 0;
    object->items.push_back(MenuItem{flags, separator ? 0 : id, separator ? std::string() : text});
    return true;
}

bool DestroyMenu(HMENU menu) {
    return model::store().menus.erase(menu) != 0;
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
