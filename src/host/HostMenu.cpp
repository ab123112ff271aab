// The module's menu items and their mirror in the host's menu bar.

#include "host/HostMenu.h"

#include <algorithm>

#include "common/ZephrelException.h"
#include "host/FSinterface.h"
#include "host/HostMenuHooks.h"
#include "host/HostState.h"
#include "text/Utf8.h"

namespace {

constexpr const char* kAddPlace = "FSinterface::addMenuItem";
constexpr const char* kDeletePlace = "FSinterface::delMenuItem";
constexpr const char* kEnablePlace = "FSinterface::enableMenuItem";
constexpr const char* kCheckPlace = "FSinterface::checkMenuItem";
constexpr const char* kTextPlace = "FSinterface::updateMenuItem";
constexpr const char* kBuildPlace = "FSinterface::initMenu";

// Only the items directly in the menu bar carry the host's bar-item style.
constexpr const char* kMenuBarStyle = "XuiMenuBarItem";
// What the host's menu system is told when a new submenu joins it.
constexpr uint32_t kSubmenuAttach = 0x10000;
// The host's position of the item appended last.
constexpr int32_t kLastPosition = -1;
// The host's menu texts take 50 UTF-16 units with the terminator.
constexpr std::size_t kHostTextUnits = 49;
constexpr char32_t kReplacement = 0xFFFD;

[[noreturn]] void unexpected(const char* text, const char* place, uint32_t line) {
    throw ZephrelException(ErrorCode::Unexpected, ZephrelException::Error, place, line, text);
}

[[noreturn]] void initializationFailed(const char* text, const char* place, uint32_t line) {
    throw ZephrelException(ErrorCode::InitializationFailed, ZephrelException::DisablesModule, place, line, text);
}

uint32_t commandOf(uint32_t id) { return HostMenuHooks::kFirstCommand + id; }

uintptr_t menuBar(const HostBindings& host) { return host.menuAnchor != nullptr ? *host.menuAnchor : 0; }

// The text as the host takes it: UTF-16, cut to its length without splitting a character,
// terminated.
std::vector<uint16_t> hostText(const std::string& text) {
    std::vector<uint16_t> wide;
    for (std::size_t at = 0; at < text.size();) {
        // A malformed sequence shows as one U+FFFD per byte rather than failing the menu.
        const std::optional<char32_t> decoded = nextUtf8(text, at);
        if (!decoded)
            ++at;
        const char32_t point = decoded.value_or(kReplacement);
        if (point >= 0x10000) {
            if (wide.size() + 2 > kHostTextUnits)
                break;
            wide.push_back(static_cast<uint16_t>(0xD800 + ((point - 0x10000) >> 10)));
            wide.push_back(static_cast<uint16_t>(0xDC00 + ((point - 0x10000) & 0x3FF)));
        } else {
            if (wide.size() + 1 > kHostTextUnits)
                break;
            wide.push_back(static_cast<uint16_t>(point));
        }
    }
    wide.push_back(0);
    return wide;
}

} // namespace

void HostMenu::add(const HostBindings& host, uint32_t parent, bool isPopup, const std::string& text, uint32_t id,
                   bool enabled) {
    // Only separators go without an id, and only inside a submenu.
    if (id == 0 && (isPopup || parent == 0))
        unexpected("Invalid menu ID", kAddPlace, __LINE__);
    if (id != 0 && std::ranges::any_of(items_, [&](const HostMenuItem& i) { return i.id == id; }))
        unexpected("Reuse of existing menu ID", kAddPlace, __LINE__);
    HostMenuItem item{isPopup, text, id, parent, enabled, false, 0};
    // Created in the host before it joins the list, so that a failure leaves no item the host
    // cannot have.
    if (built_) {
        create(host, item, kAddPlace);
        host.xuiDynamicMenuInvalidate(menuBar(host));
    }
    items_.push_back(std::move(item));
}

void HostMenu::remove(const HostBindings& host, uint32_t id) {
    if (id == 0)
        return;
    HostMenuItem& item = existing(id, kDeletePlace);
    if (const auto at = placed(host, item, kDeletePlace))
        host.xuiDynamicMenuRemoveItem(at->parent, at->position);
    items_.erase(items_.begin() + (&item - items_.data()));
    // The items of a removed submenu went with it in the host; kept in the list they could never
    // be built again, and every later rebuild would fail on them.
    eraseChildren(id);
}

void HostMenu::eraseChildren(uint32_t parent) {
    std::vector<uint32_t> popups;
    std::erase_if(items_, [&](const HostMenuItem& child) {
        if (child.parent != parent)
            return false;
        if (child.isPopup)
            popups.push_back(child.id);
        return true;
    });
    for (uint32_t popup : popups)
        eraseChildren(popup);
}

void HostMenu::enable(const HostBindings& host, uint32_t id, bool enabled) {
    if (id == 0)
        return;
    HostMenuItem& item = existing(id, kEnablePlace);
    item.enabled = enabled;
    if (const auto at = placed(host, item, kEnablePlace))
        host.xuiDynamicMenuSetItemEnable(at->parent, at->position, enabled ? 1 : 0);
}

void HostMenu::check(const HostBindings& host, uint32_t id, bool checked) {
    if (id == 0)
        return;
    HostMenuItem& item = existing(id, kCheckPlace);
    item.checked = checked;
    if (const auto at = placed(host, item, kCheckPlace))
        host.xuiDynamicMenuSetItemCheck(at->parent, at->position, checked ? 1 : 0);
}

void HostMenu::setText(const HostBindings& host, uint32_t id, const std::string& text) {
    if (id == 0)
        return;
    HostMenuItem& item = existing(id, kTextPlace);
    item.text = text;
    if (const auto at = placed(host, item, kTextPlace))
        host.xuiDynamicMenuSetItemText(at->parent, at->position, hostText(text).data());
}

void HostMenu::build(const HostBindings& host) {
    const uintptr_t bar = menuBar(host);
    if (bar == 0)
        initializationFailed("Menu bar ID is 0", kBuildPlace, __LINE__);
    built_ = true;
    // The submenus of an earlier build went with the host's old menus: an item must find the
    // new submenu of its parent, never a stale one.
    for (HostMenuItem& item : items_)
        item.hostMenu = 0;
    for (HostMenuItem& item : items_)
        create(host, item, kBuildPlace);
    host.xuiDynamicMenuInvalidate(bar);
}

std::optional<uint32_t> HostMenu::idOfCommand(uint32_t command) const {
    if (command < HostMenuHooks::kFirstCommand)
        return std::nullopt;
    // Separators have no command in the host.
    for (const HostMenuItem& item : items_)
        if (item.id != 0 && item.id == command - HostMenuHooks::kFirstCommand)
            return item.id;
    return std::nullopt;
}

bool HostMenu::lostByHost(const HostBindings& host) const {
    if (!built_)
        return false;
    const auto first = std::ranges::find_if(items_, [](const HostMenuItem& i) { return i.id != 0; });
    if (first == items_.end())
        return false;
    const uintptr_t parent = parentHandle(host, *first);
    return parent != 0 && host.xuiMenuGetPositionForCommandId(parent, commandOf(first->id)) < 0;
}

void HostMenu::disableAll(const HostBindings& host) {
    for (HostMenuItem& item : items_) {
        item.enabled = false;
        if (!built_ || item.id == 0)
            continue;
        const uintptr_t parent = parentHandle(host, item);
        if (parent == 0)
            continue;
        const int32_t position = host.xuiMenuGetPositionForCommandId(parent, commandOf(item.id));
        if (position >= 0)
            host.xuiDynamicMenuSetItemEnable(parent, position, 0);
    }
}

HostMenuItem& HostMenu::existing(uint32_t id, const char* place) {
    const auto found = std::ranges::find_if(items_, [&](const HostMenuItem& i) { return i.id == id; });
    if (found == items_.end())
        unexpected("Invalid menu id", place, __LINE__);
    return *found;
}

uintptr_t HostMenu::parentHandle(const HostBindings& host, const HostMenuItem& item) const {
    if (item.parent == 0)
        return menuBar(host);
    const auto parent = std::ranges::find_if(items_, [&](const HostMenuItem& i) { return i.id == item.parent; });
    return parent != items_.end() ? parent->hostMenu : 0;
}

void HostMenu::create(const HostBindings& host, HostMenuItem& item, const char* place) const {
    const uintptr_t parent = parentHandle(host, item);
    if (parent == 0)
        unexpected("Parent menu not found", place, __LINE__);
    if (item.isPopup) {
        item.hostMenu = host.xuiDynamicMenuCreate();
        if (item.hostMenu == 0)
            initializationFailed("Menu ID is 0", place, __LINE__);
        host.xuiElementAddChild(item.hostMenu, kSubmenuAttach);
    }
    if (item.id == 0) {
        host.xuiDynamicMenuAppendSeparator(parent);
    } else {
        const char* style = item.parent == 0 ? kMenuBarStyle : nullptr;
        host.xuiDynamicMenuAppendItem(parent, style, hostText(item.text).data(), commandOf(item.id), item.hostMenu);
    }
    if (!item.enabled)
        host.xuiDynamicMenuSetItemEnable(parent, kLastPosition, 0);
    if (item.checked)
        host.xuiDynamicMenuSetItemCheck(parent, kLastPosition, 1);
}

std::optional<HostMenu::Placed> HostMenu::placed(const HostBindings& host, const HostMenuItem& item,
                                                 const char* place) const {
    if (!built_)
        return std::nullopt;
    const uintptr_t parent = parentHandle(host, item);
    if (parent == 0)
        unexpected("Parent menu not found", place, __LINE__);
    const int32_t position = host.xuiMenuGetPositionForCommandId(parent, commandOf(item.id));
    if (position < 0)
        return std::nullopt;
    return Placed{parent, position};
}

void FSinterface::addMenuItem(uint32_t parent, bool isPopup, const std::string& text, uint32_t id, bool enabled) {
    HostState& s = hostState();
    s.menu.add(s.bound, parent, isPopup, text, id, enabled);
}

void FSinterface::delMenuItem(uint32_t id) {
    HostState& s = hostState();
    s.menu.remove(s.bound, id);
}

void FSinterface::enableMenuItem(uint32_t id, bool enabled) {
    HostState& s = hostState();
    s.menu.enable(s.bound, id, enabled);
}

void FSinterface::checkMenuItem(uint32_t id, bool checked) {
    HostState& s = hostState();
    s.menu.check(s.bound, id, checked);
}

void FSinterface::updateMenuItem(uint32_t id, const std::string& text) {
    HostState& s = hostState();
    s.menu.setText(s.bound, id, text);
}

void FSinterface::initMenu() {
    HostState& s = hostState();
    s.menu.build(s.bound);
}
