#include "services/MenuBarMirror.h"

#include "services/HostMenus.h"
#include "winsys/Menus.h"

namespace {

win::HMENU build(const HostMenus& menus, const HostMenus::Menu& host, win::HMENU menu) {
    for (const HostMenus::Item& item : host.items) {
        if (item.separator) {
            win::AppendMenu(menu, win::MF_SEPARATOR, 0, "");
            continue;
        }
        const win::UINT state = (item.enabled ? 0 : win::MF_GRAYED) | (item.checked ? win::MF_CHECKED : 0);
        if (const HostMenus::Menu* submenu = menus.menu(item.submenu))
            win::AppendMenu(menu, win::MF_POPUP | state,
                            reinterpret_cast<win::UINT_PTR>(build(menus, *submenu, win::CreatePopupMenu())),
                            item.text);
        else
            win::AppendMenu(menu, win::MF_STRING | state, item.command, item.text);
    }
    return menu;
}

} // namespace

void mirrorMenuBar(const HostMenus& menus, win::HWND window) {
    const win::HMENU old = win::GetMenu(window);
    const HostMenus::Menu* bar = menus.menu(menus.bar());
    const win::HMENU shown = bar != nullptr ? build(menus, *bar, win::CreateMenu()) : nullptr;
    if (!win::SetMenu(window, shown)) {
        if (shown != nullptr)
            win::DestroyMenu(shown);
        return;
    }
    if (old != nullptr)
        win::DestroyMenu(old);
}
