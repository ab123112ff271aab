#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/HostBindings.h"

// One item of the module's menu as the module keeps it, whether or not the host shows it.
struct HostMenuItem {
    bool isPopup = false;   // opens a submenu
    std::string text;       // whole; the host is given at most 49 UTF-16 units of it
    uint32_t id = 0;        // unique, 0 only for separators
    uint32_t parent = 0;    // the parent item's id, 0 = the host's menu bar
    bool enabled = true;
    bool checked = false;
    uintptr_t hostMenu = 0; // the host's handle of the submenu a popup opens, 0 until created
};

// The module's menu: its items in the order of adding, mirrored into the host's menu bar once
// built. Until the first build, changes touch only the items. Failures throw ZephrelException
// naming the FSinterface operation.
class HostMenu {
public:
    void add(const HostBindings& host, uint32_t parent, bool isPopup, const std::string& text, uint32_t id,
             bool enabled);
    void remove(const HostBindings& host, uint32_t id);
    void enable(const HostBindings& host, uint32_t id, bool enabled);
    void check(const HostBindings& host, uint32_t id, bool checked);
    void setText(const HostBindings& host, uint32_t id, const std::string& text);
    // Creates every item in the host, in list order, under the menu bar at the menu anchor.
    void build(const HostBindings& host);

    // The id of the item the host numbers with that command.
    std::optional<uint32_t> idOfCommand(uint32_t command) const;
    // Once built: the host no longer knows the first item's command, so it rebuilt its menus
    // without the module's.
    bool lostByHost(const HostBindings& host) const;
    // Every item disabled, in the host too where it is found. Never throws: it runs while the
    // module is already failing.
    void disableAll(const HostBindings& host);

    const std::vector<HostMenuItem>& items() const { return items_; }
    bool built() const { return built_; }

private:
    HostMenuItem& existing(uint32_t id, const char* place);
    // Drops the items under a removed popup from the list, down to every level.
    void eraseChildren(uint32_t parent);
    // The handle of the host menu the item sits in, 0 when the host has none (yet).
    uintptr_t parentHandle(const HostBindings& host, const HostMenuItem& item) const;
    // Creates one item at the end of its parent in the host; its submenu handle goes to `item`.
    void create(const HostBindings& host, HostMenuItem& item, const char* place) const;
    // The host's position of the item inside its parent and that parent, once built; nothing
    // when the host does not have the item.
    struct Placed {
        uintptr_t parent;
        int32_t position;
    };
    std::optional<Placed> placed(const HostBindings& host, const HostMenuItem& item, const char* place) const;

    std::vector<HostMenuItem> items_;
    bool built_ = false;
};
