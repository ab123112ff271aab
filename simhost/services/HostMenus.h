#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "world/SimContext.h"

// The main window's menus as xuipc.dll keeps them: a menu bar and submenus by handle, each a
// list of items and separators. Add-ons change them through xuipc.dll's functions, which answer
// as the host's do (0 on success; positions count from 0, -1 is the last); calls in a form the
// host does not take are wrong forms. Handles count up and are never given twice, so that a
// handle of menus that went with a rebuild is told apart from a current one.
class HostMenus {
public:
    static constexpr const char* kBarItemStyle = "XuiMenuBarItem";
    // What XuiElementAddChild takes to attach a new submenu to the menu system.
    static constexpr uint32_t kSubmenuChild = 0x10000;

    struct Item {
        bool separator = false;
        std::string text; // UTF-8
        uint32_t command = 0;
        bool barStyle = false; // appended with the style "XuiMenuBarItem"
        uintptr_t submenu = 0; // the menu the item opens, 0 for a plain item
        bool enabled = true;
        bool checked = false;
    };
    struct Menu {
        std::vector<Item> items;
        bool attached = false; // the bar, or a submenu given to XuiElementAddChild
        bool placed = false;   // an item opens it
    };

    // The anchor is api.dll's menu anchor word; it holds the bar's handle from the first rebuild on.
    HostMenus(WrongForms& wrongForms, uintptr_t& anchor);

    // ---- xuipc.dll ----
    uintptr_t create();
    int32_t addChild(uintptr_t menu, uint32_t value);
    void invalidate(uintptr_t menuBar);
    int32_t appendItem(uintptr_t parent, const char* style, const uint16_t* text, uint32_t command,
                       uintptr_t submenu);
    int32_t appendSeparator(uintptr_t parent);
    int32_t removeItem(uintptr_t parent, int32_t position);
    int32_t setItemEnable(uintptr_t parent, int32_t position, int32_t enable);
    int32_t setItemText(uintptr_t parent, int32_t position, const uint16_t* text);
    int32_t setItemCheck(uintptr_t parent, int32_t position, int32_t check);
    // The item's position inside that menu (its own items only), -1 when it is not there.
    int32_t positionOf(uintptr_t parent, uint32_t command) const;

    // ---- the simulator's own ----
    // Drops every menu, with all that add-ons added, and starts an empty bar with a new handle.
    void newBar();
    // A menu in the bar or in a submenu, opened by an item of that text; its handle.
    uintptr_t addMenu(uintptr_t parent, const std::string& text);
    void addItem(uintptr_t parent, const std::string& text, uint32_t command);
    void addSeparator(uintptr_t parent);

    // ---- what can be seen ----
    uintptr_t bar() const { return bar_; }
    // Null for a handle that is not a menu (any more).
    const Menu* menu(uintptr_t handle) const;
    // A path's item texts: "Zephrel/Record..." is {"Zephrel", "Record..."}.
    static std::vector<std::string> pathTexts(const std::string& path);
    // The items the texts lead through from the bar down, each the first of its text in its
    // menu, as far as they are found; all of them when the path exists. Separators are never found.
    std::vector<const Item*> walk(const std::vector<std::string>& texts) const;
    // The item a path leads to, null when there is none.
    const Item* find(const std::string& path) const;
    // The first item with that command, searching the bar and then each submenu depth first;
    // null when there is none.
    const Item* findCommand(uint32_t command) const;
    // XuiDynamicMenuInvalidate calls on the bar.
    uint32_t redraws() const { return redraws_; }
    // Counts the changes of the menus' items and their states.
    uint64_t changes() const { return changes_; }

private:
    Menu* menuFor(uintptr_t handle, const char* call);
    Item* itemAt(uintptr_t parent, int32_t position, const char* call);
    void drop(uintptr_t handle);
    const Item* findCommandIn(uintptr_t handle, uint32_t command) const;
    uintptr_t newHandle() { return nextHandle_++; }
    // Sets an item's state; a change only when it differs.
    template <typename T> void change(T& state, T value) {
        if (state != value) {
            state = std::move(value);
            ++changes_;
        }
    }

    WrongForms& wrongForms_;
    uintptr_t& anchor_;
    std::map<uintptr_t, Menu> menus_;
    uintptr_t bar_ = 0;
    uintptr_t nextHandle_ = 0x10001;
    uint32_t redraws_ = 0;
    uint64_t changes_ = 0;
};
