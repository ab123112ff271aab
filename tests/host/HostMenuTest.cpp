// The module's menu items and their mirror in the host's menu bar, against a model of the host's
// menu library that keeps each menu as a list of entries.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "FakeHost.h"
#include "host/FSinterface.h"
#include "host/HostMenuHooks.h"
#include "host/HostState.h"
#include "support/Errors.h"
#include "support/ShownMessageBoxes.h"

namespace {

constexpr uintptr_t kBar = 0x100;
constexpr uint32_t kFirstCommand = 53566;

struct Entry {
    bool separator = false;
    std::string style; // "(none)" when the item was given none
    std::u16string text;
    uint32_t command = 0;
    uintptr_t submenu = 0;
    bool enabled = true, checked = false;
};

// The host's menus: the bar holds two of the simulator's own items.
struct HostMenus {
    std::map<uintptr_t, std::vector<Entry>> menus;
    uintptr_t nextHandle = 0x200;
    bool createFails = false;
    std::vector<std::pair<uintptr_t, uint32_t>> attached;
    std::vector<uintptr_t> invalidated;
    int changes = 0; // remove, enable, check and text calls

    void reset() {
        menus.clear();
        menus[kBar] = {Entry{false, "XuiMenuBarItem", u"File", 40001, 0, true, false},
                       Entry{false, "XuiMenuBarItem", u"Views", 40002, 0, true, false}};
    }
    Entry& at(uintptr_t menu, int32_t position) {
        std::vector<Entry>& entries = menus.at(menu);
        return position < 0 ? entries.back() : entries.at(static_cast<std::size_t>(position));
    }
    // "[style]text#id" per entry (id = command - 53566, "@command" for the simulator's own), "-" for
    // a separator, "!" disabled, "*" checked, a submenu's entries in braces.
    std::string render(uintptr_t menu) const {
        std::string out;
        for (const Entry& e : menus.at(menu)) {
            if (!out.empty())
                out += ", ";
            if (e.separator) {
                out += "-";
                continue;
            }
            if (e.style != "(none)")
                out += e.style == "XuiMenuBarItem" ? "[bar]" : "[" + e.style + "]";
            out += std::string(e.text.begin(), e.text.end()); // the tests' texts are ASCII
            out += e.command >= kFirstCommand ? "#" + std::to_string(e.command - kFirstCommand)
                                              : "@" + std::to_string(e.command);
            out += std::string(e.enabled ? "" : "!") + (e.checked ? "*" : "");
            if (e.submenu != 0)
                out += " {" + (menus.contains(e.submenu) ? render(e.submenu) : "?") + "}";
        }
        return out;
    }
};
HostMenus fake;

uintptr_t create() {
    if (fake.createFails)
        return 0;
    fake.menus[fake.nextHandle];
    return fake.nextHandle++;
}
int32_t addChild(uintptr_t menu, uint32_t value) {
    fake.attached.emplace_back(menu, value);
    return 0;
}
void invalidate(uintptr_t bar) {
    fake.invalidated.push_back(bar);
}
int32_t appendItem(uintptr_t parent, const char* style, const uint16_t* text, uint32_t command,
                   uintptr_t submenu) {
    std::u16string t;
    while (*text != 0)
        t += static_cast<char16_t>(*text++);
    fake.menus.at(parent).push_back(
        Entry{false, style != nullptr ? style : "(none)", t, command, submenu, true, false});
    return 0;
}
int32_t appendSeparator(uintptr_t parent) {
    Entry separator;
    separator.separator = true;
    fake.menus.at(parent).push_back(separator);
    return 0;
}
int32_t removeItem(uintptr_t parent, int32_t position) {
    std::vector<Entry>& entries = fake.menus.at(parent);
    entries.erase(entries.begin() + position);
    ++fake.changes;
    return 0;
}
int32_t setEnable(uintptr_t parent, int32_t position, int32_t on) {
    fake.at(parent, position).enabled = on != 0;
    ++fake.changes;
    return 0;
}
int32_t setText(uintptr_t parent, int32_t position, const uint16_t* text) {
    std::u16string& t = fake.at(parent, position).text;
    for (t.clear(); *text != 0;)
        t += static_cast<char16_t>(*text++);
    ++fake.changes;
    return 0;
}
int32_t setCheck(uintptr_t parent, int32_t position, int32_t on) {
    fake.at(parent, position).checked = on != 0;
    ++fake.changes;
    return 0;
}
int32_t positionOf(uintptr_t parent, uint32_t command) {
    const auto menu = fake.menus.find(parent);
    if (menu == fake.menus.end())
        return -1;
    for (std::size_t i = 0; i < menu->second.size(); ++i)
        if (!menu->second[i].separator && menu->second[i].command == command)
            return static_cast<int32_t>(i);
    return -1;
}

class HostMenuTest : public FakeHostTest {
protected:
    void SetUp() override {
        FakeHostTest::SetUp();
        fake = HostMenus();
        fake.reset();
        start();
        host->menuAnchor = kBar;
        HostBindings& b = hostState().bound;
        b.xuiDynamicMenuCreate = create;
        b.xuiElementAddChild = addChild;
        b.xuiDynamicMenuInvalidate = invalidate;
        b.xuiDynamicMenuAppendItem = appendItem;
        b.xuiDynamicMenuAppendSeparator = appendSeparator;
        b.xuiDynamicMenuRemoveItem = removeItem;
        b.xuiDynamicMenuSetItemEnable = setEnable;
        b.xuiDynamicMenuSetItemText = setText;
        b.xuiDynamicMenuSetItemCheck = setCheck;
        b.xuiMenuGetPositionForCommandId = positionOf;
    }
    // The menus-changed system event of a newer host.
    void hostMenusChanged() { host->raise(ZHOST_EVENT_SYSTEM, ZHOST_SYSTEM_MENUS_CHANGED, 11); }
    void frame() { host->raise(ZHOST_EVENT_FRAME); }

    // A module menu: a popup in the bar with items, two separators, a disabled and a checked
    // item, a long text and a submenu.
    static void addMenu() {
        FSinterface::addMenuItem(0, true, "Zephrel", 1, true);
        FSinterface::addMenuItem(1, false, "Record", 2, true);
        FSinterface::addMenuItem(1, false, "", 0, true);
        FSinterface::addMenuItem(1, false, "Play", 3, true);
        FSinterface::addMenuItem(1, false, "", 0, true);
        FSinterface::addMenuItem(1, true, "VC Cameras", 11, true);
        FSinterface::addMenuItem(11, false, kLong, 100, false);
        FSinterface::enableMenuItem(3, false);
        FSinterface::checkMenuItem(2, true);
    }
    static constexpr const char* kLong = "A camera name of sixty characters, far longer than a menu 60";
    static inline const std::string kCut = std::string(kLong).substr(0, 49);
    const std::string kBuilt = "[bar]File@40001, [bar]Views@40002, [bar]Zephrel#1 {Record#2*, -, Play#3!, -, "
                               "VC Cameras#11 {" +
                               kCut + "#100!}}";

    static std::vector<uintptr_t> popupHandles() {
        std::vector<uintptr_t> handles;
        for (const HostMenuItem& item : hostState().menu.items())
            if (item.isPopup)
                handles.push_back(item.hostMenu);
        return handles;
    }
};

TEST_F(HostMenuTest, ItemsAddedBeforeTheHostMenuAppearInOrderAndStateWhenItIsBuilt) {
    addMenu();
    frame();
    EXPECT_EQ("[bar]File@40001, [bar]Views@40002", fake.render(kBar))
        << "nothing reaches the host before the build";
    EXPECT_TRUE(fake.invalidated.empty());

    hostMenusChanged();
    EXPECT_EQ(kBuilt, fake.render(kBar));
    const std::vector<uintptr_t> handles = popupHandles();
    ASSERT_EQ(2u, handles.size());
    EXPECT_EQ((std::vector<std::pair<uintptr_t, uint32_t>>{{handles[0], 0x10000}, {handles[1], 0x10000}}),
              fake.attached);
    EXPECT_EQ(std::vector<uintptr_t>{kBar}, fake.invalidated);
    ASSERT_GT(std::string(kLong).size(), 49u);
    EXPECT_EQ(kLong, hostState().menu.items()[6].text) << "the list keeps the whole text";
}

TEST_F(HostMenuTest, ChangesAfterTheBuildReachTheItemAtItsPositionInTheHost) {
    addMenu();
    FSinterface::initMenu();
    const uintptr_t zephrel = popupHandles()[0];

    FSinterface::addMenuItem(1, false, "Stop", 7, false);
    FSinterface::addMenuItem(0, false, "Help", 20, true);
    EXPECT_EQ(3u, fake.invalidated.size());
    FSinterface::enableMenuItem(3, true);
    FSinterface::checkMenuItem(2, false);
    FSinterface::checkMenuItem(7, true);
    FSinterface::updateMenuItem(2, std::string(kLong) + " and more");
    FSinterface::delMenuItem(11);
    FSinterface::delMenuItem(0);
    FSinterface::enableMenuItem(0, false);
    FSinterface::checkMenuItem(0, true);
    FSinterface::updateMenuItem(0, "none");
    EXPECT_EQ("[bar]File@40001, [bar]Views@40002, [bar]Zephrel#1 {" + kCut +
                  "#2, -, Play#3, -, Stop#7!*}, [bar]Help#20",
              fake.render(kBar));
    EXPECT_EQ(std::string(kLong) + " and more", hostState().menu.items()[1].text);

    // Texts are UTF-8 to the module and UTF-16 to the host, cut without splitting a character.
    FSinterface::updateMenuItem(20, "Hilfe f\u00fcr Piloten");
    EXPECT_EQ(u"Hilfe f\u00fcr Piloten", fake.at(kBar, 3).text);
    FSinterface::updateMenuItem(20, std::string(48, 'x') + "\U0001F600");
    EXPECT_EQ(std::u16string(48, u'x'), fake.at(kBar, 3).text);
    FSinterface::updateMenuItem(20, std::string(47, 'x') + "\U0001F600");
    EXPECT_EQ(std::u16string(47, u'x') + u"\U0001F600", fake.at(kBar, 3).text);

    std::vector<uint32_t> ids;
    for (const HostMenuItem& item : hostState().menu.items())
        ids.push_back(item.id);
    EXPECT_EQ((std::vector<uint32_t>{1, 2, 0, 3, 0, 7, 20}), ids)
        << "deleted from the list with the items of its submenu, order kept";

    // An item the host no longer has changes in the list only.
    fake.menus.at(zephrel).pop_back();
    const int changes = fake.changes;
    FSinterface::enableMenuItem(7, true);
    FSinterface::updateMenuItem(7, "Stop all");
    FSinterface::delMenuItem(3);
    EXPECT_EQ(changes + 1, fake.changes) << "only the delete of Play reached the host";
    EXPECT_EQ(kCut + "#2, -, -", fake.render(zephrel));
    EXPECT_TRUE(hostState().menu.items()[4].enabled);
    EXPECT_EQ("Stop all", hostState().menu.items()[4].text);
    EXPECT_FALSE(thrown([] { FSinterface::initMenu(); }).has_value()) << "nothing left without its parent";
}

TEST_F(HostMenuTest, TheMenuIsBuiltAgainWhenTheHostLosesItButTheListStaysAsItWas) {
    addMenu();
    hostMenusChanged();
    const std::vector<HostMenuItem> before = hostState().menu.items();
    const std::vector<uintptr_t> oldHandles = popupHandles();
    frame();
    EXPECT_EQ(1u, fake.invalidated.size()) << "a frame with the menu in place builds nothing";

    // The host rebuilt its menus with only its own items.
    fake.reset();
    frame();
    EXPECT_EQ(kBuilt, fake.render(kBar));
    EXPECT_EQ(2u, fake.invalidated.size());
    const std::vector<uintptr_t> newHandles = popupHandles();
    for (std::size_t i = 0; i < newHandles.size(); ++i)
        EXPECT_NE(oldHandles[i], newHandles[i]);
    const std::vector<HostMenuItem>& after = hostState().menu.items();
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(before[i].id, after[i].id);
        EXPECT_EQ(before[i].parent, after[i].parent);
        EXPECT_EQ(before[i].text, after[i].text);
        EXPECT_EQ(before[i].enabled, after[i].enabled);
        EXPECT_EQ(before[i].checked, after[i].checked);
    }
    frame();
    EXPECT_EQ(2u, fake.invalidated.size());
}

TEST_F(HostMenuTest, MenuCommandsNameTheirItemAndTheFailureCleanUpDisablesEveryItem) {
    addMenu();
    FSinterface::initMenu();
    EXPECT_EQ(3, HostMenuHooks::itemForCommand(kFirstCommand + 3));
    EXPECT_EQ(100, HostMenuHooks::itemForCommand(kFirstCommand + 100));
    for (const uint32_t command : {kFirstCommand, kFirstCommand + 4, kFirstCommand - 1, 40001u})
        EXPECT_FALSE(HostMenuHooks::itemForCommand(command).has_value()) << command;

    FSinterface::failureCleanup();
    EXPECT_EQ(
        "[bar]File@40001, [bar]Views@40002, [bar]Zephrel#1! {Record#2!*, -, Play#3!, -, VC Cameras#11! {" +
            kCut + "#100!}}",
        fake.render(kBar));
    for (const HostMenuItem& item : hostState().menu.items())
        EXPECT_FALSE(item.enabled) << item.id;
}

TEST_F(HostMenuTest, AMenuTheHostCannotRebuildLeavesTheModuleInertWithoutReachingTheHost) {
    struct Answering : IFScallback {
        int callback(int, intptr_t, intptr_t, intptr_t) override { return 1; }
    } listener;
    FSinterface::addCallback(&listener);
    ASSERT_EQ(1, FSinterface::callback(Frame));
    addMenu();
    fake.createFails = true;
    hostMenusChanged(); // an escaping exception would fail the test here
    const std::vector<MessageBoxRequest> boxes = shownMessageBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_NE(std::string::npos, boxes[0].text.find("An unexpected error occured!")) << boxes[0].text;
    for (const HostMenuItem& item : hostState().menu.items())
        EXPECT_FALSE(item.enabled) << item.id;
    EXPECT_EQ(0, FSinterface::callback(Frame)) << "the listeners are let go";
}

struct Failure {
    const char* name;
    std::function<void()> act;
    ErrorCode code;
    uint32_t severity;
    const char* place;
    const char* detail;
};

TEST_F(HostMenuTest, MisusesAndAHostWithoutMenusFail) {
    const auto separatorsAndSeven = [] {
        FSinterface::addMenuItem(0, true, "Zephrel", 1, true);
        FSinterface::addMenuItem(1, false, "", 0, true);
        FSinterface::addMenuItem(1, false, "", 0, true);
        FSinterface::addMenuItem(1, false, "Stop", 7, true);
    };
    const Failure failures[] = {
        {"popup without id", [] { FSinterface::addMenuItem(1, true, "Sub", 0, true); }, ErrorCode::Unexpected,
         1, "FSinterface::addMenuItem", "Invalid menu ID"},
        {"separator in the bar", [] { FSinterface::addMenuItem(0, false, "", 0, true); },
         ErrorCode::Unexpected, 1, "FSinterface::addMenuItem", "Invalid menu ID"},
        {"id 7 again", [&] { separatorsAndSeven(), FSinterface::addMenuItem(1, false, "Again", 7, true); },
         ErrorCode::Unexpected, 1, "FSinterface::addMenuItem", "Reuse of existing menu ID"},
        {"delete unknown", [] { FSinterface::delMenuItem(42); }, ErrorCode::Unexpected, 1,
         "FSinterface::delMenuItem", "Invalid menu id"},
        {"enable unknown", [] { FSinterface::enableMenuItem(42, true); }, ErrorCode::Unexpected, 1,
         "FSinterface::enableMenuItem", "Invalid menu id"},
        {"check unknown", [] { FSinterface::checkMenuItem(42, true); }, ErrorCode::Unexpected, 1,
         "FSinterface::checkMenuItem", "Invalid menu id"},
        {"text unknown", [] { FSinterface::updateMenuItem(42, "x"); }, ErrorCode::Unexpected, 1,
         "FSinterface::updateMenuItem", "Invalid menu id"},
        {"no menu bar", [this] { host->menuAnchor = 0, FSinterface::initMenu(); },
         ErrorCode::InitializationFailed, 3, "FSinterface::initMenu", "Menu bar ID is 0"},
        {"parent added later",
         [] { FSinterface::addMenuItem(5, false, "Early", 6, true), FSinterface::initMenu(); },
         ErrorCode::Unexpected, 1, "FSinterface::initMenu", "Parent menu not found"},
        {"unknown parent once built",
         [] { FSinterface::initMenu(), FSinterface::addMenuItem(5, false, "Orphan", 6, true); },
         ErrorCode::Unexpected, 1, "FSinterface::addMenuItem", "Parent menu not found"},
        {"no submenu from the host",
         [] {
             fake.createFails = true, FSinterface::addMenuItem(0, true, "Z", 1, true),
             FSinterface::initMenu();
         },
         ErrorCode::InitializationFailed, 3, "FSinterface::initMenu", "Menu ID is 0"},
    };
    const auto fresh = [this] {
        hostState().menu = HostMenu();
        fake.reset();
        fake.createFails = false;
        host->menuAnchor = kBar;
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.name);
        fresh();
        const auto e = thrown(f.act);
        ASSERT_TRUE(e.has_value());
        EXPECT_EQ(f.code, e->code);
        EXPECT_EQ(f.severity, e->severity);
        EXPECT_EQ(f.place, e->function);
        const std::string prefix = f.severity == 3 ? "Critical Error: " : "Error: ";
        EXPECT_EQ(0u, e->logText.rfind(prefix + f.detail + " [" + f.place, 0)) << e->logText;
    }

    // What the failures leave: both separators and id 7 were taken; an orphan never joined.
    fresh();
    separatorsAndSeven();
    EXPECT_EQ(4u, hostState().menu.items().size());
    FSinterface::initMenu();
    EXPECT_TRUE(thrown([] { FSinterface::addMenuItem(9, false, "Orphan", 6, true); }).has_value());
    EXPECT_EQ(4u, hostState().menu.items().size());
    EXPECT_EQ("[bar]File@40001, [bar]Views@40002, [bar]Zephrel#1 {-, -, Stop#7}", fake.render(kBar));
}

} // namespace
