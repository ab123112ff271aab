#include "services/HostMenus.h"

#include <cstdio>
#include <cstring>

#include "text/Utf8.h"

namespace {

std::string handleText(uintptr_t handle) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(handle));
    return text;
}

// Menu texts come as zero-terminated UTF-16; a lone surrogate shows as U+FFFD, as the host's
// own drawing would show something rather than nothing.
std::string utf8Of(const uint16_t* text) {
    constexpr uint32_t kReplacement = 0xFFFD;
    std::string out;
    for (const uint16_t* c = text; *c != 0; ++c) {
        const uint32_t unit = *c;
        if (unit >= 0xD800 && unit < 0xDC00 && c[1] >= 0xDC00 && c[1] < 0xE000) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (c[1] - 0xDC00));
            ++c;
        } else {
            appendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? kReplacement : unit);
        }
    }
    return out;
}

} // namespace

HostMenus::HostMenus(WrongForms& wrongForms, uintptr_t& anchor) : wrongForms_(wrongForms), anchor_(anchor) {}

uintptr_t HostMenus::create() {
    const uintptr_t handle = newHandle();
    menus_[handle] = Menu{};
    return handle;
}

int32_t HostMenus::addChild(uintptr_t handle, uint32_t value) {
    Menu* menu = menuFor(handle, "XuiElementAddChild");
    if (menu == nullptr)
        return -1;
    if (value != kSubmenuChild || menu->attached) {
        wrongForms_.report("XuiElementAddChild(" + handleText(handle) + ", " + handleText(value) + ") " +
                           (menu->attached ? "of a menu already attached" : "without the value 0x10000"));
        return -1;
    }
    menu->attached = true;
    return 0;
}

void HostMenus::invalidate(uintptr_t menuBar) {
    if (menuBar != bar_ || bar_ == 0) {
        wrongForms_.report("XuiDynamicMenuInvalidate of " + handleText(menuBar) + ", not the menu bar " +
                           handleText(bar_));
        return;
    }
    ++redraws_;
}

int32_t HostMenus::appendItem(uintptr_t parent, const char* style, const uint16_t* text, uint32_t command,
                              uintptr_t submenu) {
    constexpr const char* kCall = "XuiDynamicMenuAppendItem";
    Menu* menu = menuFor(parent, kCall);
    if (menu == nullptr)
        return -1;
    if (text == nullptr) {
        wrongForms_.report(std::string(kCall) + " without a text");
        return -1;
    }
    if (submenu != 0) {
        const auto opened = menus_.find(submenu);
        const char* problem = opened == menus_.end()     ? "that is not a menu"
                              : submenu == bar_          ? "that is the menu bar"
                              : submenu == parent        ? "that is the menu it is appended to"
                              : opened->second.placed    ? "that another item already opens"
                              : !opened->second.attached ? "not attached with XuiElementAddChild"
                                                         : nullptr;
        if (problem != nullptr) {
            wrongForms_.report(std::string(kCall) + " of submenu " + handleText(submenu) + " " + problem);
            return -1;
        }
        opened->second.placed = true;
    }
    ++changes_;
    const bool barStyle = style != nullptr && std::strcmp(style, kBarItemStyle) == 0;
    const bool inBar = parent == bar_;
    Item item;
    item.text = utf8Of(text);
    item.command = command;
    item.barStyle = barStyle;
    item.submenu = submenu;
    // The host still shows such an item, drawn as the wrong kind.
    if (style != nullptr && *style != '\0' && !barStyle)
        wrongForms_.report(std::string(kCall) + " \"" + item.text + "\" with the unknown style \"" + style +
                           "\"");
    else if (inBar != barStyle)
        wrongForms_.report(std::string(kCall) + " \"" + item.text + "\" " +
                           (inBar ? "in the menu bar without the style XuiMenuBarItem"
                                  : "in a submenu with the style XuiMenuBarItem"));
    menu->items.push_back(std::move(item));
    return 0;
}

int32_t HostMenus::appendSeparator(uintptr_t parent) {
    Menu* menu = menuFor(parent, "XuiDynamicMenuAppendSeparator");
    if (menu == nullptr)
        return -1;
    if (parent == bar_)
        wrongForms_.report("XuiDynamicMenuAppendSeparator in the menu bar");
    Item separator;
    separator.separator = true;
    menu->items.push_back(separator);
    ++changes_;
    return 0;
}

int32_t HostMenus::removeItem(uintptr_t parent, int32_t position) {
    Item* item = itemAt(parent, position, "XuiDynamicMenuRemoveItem");
    if (item == nullptr)
        return -1;
    const uintptr_t submenu = item->submenu;
    auto& items = menus_.at(parent).items;
    items.erase(items.begin() + (item - items.data()));
    if (submenu != 0)
        drop(submenu);
    ++changes_;
    return 0;
}

int32_t HostMenus::setItemEnable(uintptr_t parent, int32_t position, int32_t enable) {
    Item* item = itemAt(parent, position, "XuiDynamicMenuSetItemEnable");
    if (item == nullptr)
        return -1;
    change(item->enabled, enable != 0);
    return 0;
}

int32_t HostMenus::setItemText(uintptr_t parent, int32_t position, const uint16_t* text) {
    Item* item = itemAt(parent, position, "XuiDynamicMenuSetItemText");
    if (item == nullptr)
        return -1;
    if (text == nullptr) {
        wrongForms_.report("XuiDynamicMenuSetItemText without a text");
        return -1;
    }
    change(item->text, utf8Of(text));
    return 0;
}

int32_t HostMenus::setItemCheck(uintptr_t parent, int32_t position, int32_t check) {
    Item* item = itemAt(parent, position, "XuiDynamicMenuSetItemCheck");
    if (item == nullptr)
        return -1;
    change(item->checked, check != 0);
    return 0;
}

// Asking after a menu that went (with a rebuild, or with the item that opened it) is how an
// add-on learns that it must build its items again, so it is no wrong form.
int32_t HostMenus::positionOf(uintptr_t parent, uint32_t command) const {
    const Menu* found = menu(parent);
    if (found == nullptr)
        return -1;
    for (std::size_t i = 0; i < found->items.size(); ++i)
        if (!found->items[i].separator && found->items[i].command == command)
            return static_cast<int32_t>(i);
    return -1;
}

void HostMenus::newBar() {
    menus_.clear();
    bar_ = newHandle();
    menus_[bar_] = Menu{{}, true, true};
    anchor_ = bar_;
    ++changes_;
}

uintptr_t HostMenus::addMenu(uintptr_t parent, const std::string& text) {
    const uintptr_t handle = newHandle();
    menus_[handle] = Menu{{}, true, true};
    Item item;
    item.text = text;
    item.barStyle = parent == bar_;
    item.submenu = handle;
    menus_.at(parent).items.push_back(item);
    ++changes_;
    return handle;
}

void HostMenus::addItem(uintptr_t parent, const std::string& text, uint32_t command) {
    Item item;
    item.text = text;
    item.command = command;
    item.barStyle = parent == bar_;
    menus_.at(parent).items.push_back(item);
    ++changes_;
}

void HostMenus::addSeparator(uintptr_t parent) {
    Item separator;
    separator.separator = true;
    menus_.at(parent).items.push_back(separator);
    ++changes_;
}

const HostMenus::Menu* HostMenus::menu(uintptr_t handle) const {
    const auto found = menus_.find(handle);
    return found == menus_.end() ? nullptr : &found->second;
}

std::vector<std::string> HostMenus::pathTexts(const std::string& path) {
    std::vector<std::string> texts;
    std::size_t start = 0;
    for (std::size_t slash; (slash = path.find('/', start)) != std::string::npos; start = slash + 1)
        texts.push_back(path.substr(start, slash - start));
    texts.push_back(path.substr(start));
    return texts;
}

std::vector<const HostMenus::Item*> HostMenus::walk(const std::vector<std::string>& texts) const {
    std::vector<const Item*> trail;
    const Menu* current = menu(bar_);
    for (const std::string& text : texts) {
        if (current == nullptr)
            break;
        const Item* found = nullptr;
        for (const Item& item : current->items)
            if (!item.separator && item.text == text) {
                found = &item;
                break;
            }
        if (found == nullptr)
            break;
        trail.push_back(found);
        current = found->submenu != 0 ? menu(found->submenu) : nullptr;
    }
    return trail;
}

const HostMenus::Item* HostMenus::find(const std::string& path) const {
    const std::vector<std::string> texts = pathTexts(path);
    const std::vector<const Item*> trail = walk(texts);
    return trail.size() == texts.size() ? trail.back() : nullptr;
}

const HostMenus::Item* HostMenus::findCommand(uint32_t command) const {
    return findCommandIn(bar_, command);
}

const HostMenus::Item* HostMenus::findCommandIn(uintptr_t handle, uint32_t command) const {
    const Menu* current = menu(handle);
    if (current == nullptr)
        return nullptr;
    for (const Item& item : current->items)
        if (!item.separator && item.command == command)
            return &item;
    for (const Item& item : current->items)
        if (item.submenu != 0)
            if (const Item* found = findCommandIn(item.submenu, command))
                return found;
    return nullptr;
}

HostMenus::Menu* HostMenus::menuFor(uintptr_t handle, const char* call) {
    const auto found = menus_.find(handle);
    if (found == menus_.end()) {
        wrongForms_.report(std::string(call) + " on " + handleText(handle) + ", which is not a menu");
        return nullptr;
    }
    return &found->second;
}

HostMenus::Item* HostMenus::itemAt(uintptr_t parent, int32_t position, const char* call) {
    Menu* menu = menuFor(parent, call);
    if (menu == nullptr)
        return nullptr;
    const auto size = static_cast<int32_t>(menu->items.size());
    const int32_t index = position == -1 ? size - 1 : position;
    if (index < 0 || index >= size) {
        wrongForms_.report(std::string(call) + " at position " + std::to_string(position) +
                           " of a menu with " + std::to_string(size) + " items");
        return nullptr;
    }
    return &menu->items[static_cast<std::size_t>(index)];
}

// A menu goes with the menus its items open.
void HostMenus::drop(uintptr_t handle) {
    const auto found = menus_.find(handle);
    if (found == menus_.end())
        return;
    const std::vector<Item> items = std::move(found->second.items);
    menus_.erase(found);
    for (const Item& item : items)
        if (item.submenu != 0)
            drop(item.submenu);
}
