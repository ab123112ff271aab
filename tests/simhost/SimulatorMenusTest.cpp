// The main window's menus as an add-on reaches them through xuipc.dll: items, positions and
// their states, calls in wrong forms, the simulator's rebuild, and choosing items by their texts.
#include <string>
#include <utility>
#include <vector>

#include "SimulatorFixture.h"
#include "support/HeadlessDelegate.h"
#include "run/MenuChoice.h"
#include "services/HostMenus.h"
#include "services/MainWindow.h"
#include "winsys/Menus.h"
#include "winsys/WindowApi.h"

namespace {

using Item = HostMenus::Item;

// xuipc.dll's functions as an add-on binds them, by name.
struct Xui {
    template <typename Fn> static Fn named(const char* name) {
        const ZHostModule* m = zhostGetModule("xuipc.dll");
        return reinterpret_cast<Fn>(m->entryByName(m, name));
    }
    ZHostXuiDynamicMenuCreateFn create = named<ZHostXuiDynamicMenuCreateFn>("XuiDynamicMenuCreate");
    ZHostXuiElementAddChildFn addChild = named<ZHostXuiElementAddChildFn>("XuiElementAddChild");
    ZHostXuiDynamicMenuInvalidateFn invalidate =
        named<ZHostXuiDynamicMenuInvalidateFn>("XuiDynamicMenuInvalidate");
    ZHostXuiDynamicMenuAppendItemFn append =
        named<ZHostXuiDynamicMenuAppendItemFn>("XuiDynamicMenuAppendItem");
    ZHostXuiDynamicMenuAppendSeparatorFn separator =
        named<ZHostXuiDynamicMenuAppendSeparatorFn>("XuiDynamicMenuAppendSeparator");
    ZHostXuiDynamicMenuRemoveItemFn remove =
        named<ZHostXuiDynamicMenuRemoveItemFn>("XuiDynamicMenuRemoveItem");
    ZHostXuiDynamicMenuSetItemEnableFn enable =
        named<ZHostXuiDynamicMenuSetItemEnableFn>("XuiDynamicMenuSetItemEnable");
    ZHostXuiDynamicMenuSetItemTextFn text =
        named<ZHostXuiDynamicMenuSetItemTextFn>("XuiDynamicMenuSetItemText");
    ZHostXuiDynamicMenuSetItemCheckFn check =
        named<ZHostXuiDynamicMenuSetItemCheckFn>("XuiDynamicMenuSetItemCheck");
    ZHostXuiMenuGetPositionForCommandIdFn position =
        named<ZHostXuiMenuGetPositionForCommandIdFn>("XuiMenuGetPositionForCommandId");
};

const uint16_t* wide(const std::u16string& text) {
    return reinterpret_cast<const uint16_t*>(text.c_str());
}

constexpr uint32_t kRecord = 53567;
constexpr uint32_t kPlay = 53568;
constexpr uint32_t kOptions = 53569;

// An add-on's menu as the module builds it: "Zephrel" in the bar with Record..., a separator
// and Play...; the submenu's handle.
uintptr_t addZephrelMenu(const Xui& xui, uintptr_t bar) {
    const uintptr_t menu = xui.create();
    EXPECT_EQ(0, xui.addChild(menu, HostMenus::kSubmenuChild));
    EXPECT_EQ(0, xui.append(bar, HostMenus::kBarItemStyle, wide(u"Zephrel"), 53566, menu));
    EXPECT_EQ(0, xui.append(menu, nullptr, wide(u"Record..."), kRecord, 0));
    EXPECT_EQ(0, xui.separator(menu));
    EXPECT_EQ(0, xui.append(menu, nullptr, wide(u"Play..."), kPlay, 0));
    return menu;
}

TEST(SimulatorMenusTest, AddOnItemsKeepTheirPositionsTextsAndStates) {
    SimulatorFixture f(3);
    const Xui xui;
    const uintptr_t* anchor = f.data<uintptr_t>("api.dll", HostNumbers::Api::MenuAnchor);
    ASSERT_NE(nullptr, anchor);
    const uintptr_t bar = *anchor;
    ASSERT_NE(0u, bar);
    ASSERT_EQ(bar, f.sim->menus().bar());
    const std::size_t ownMenus = f.sim->menus().menu(bar)->items.size();
    ASSERT_GE(ownMenus, 3u) << "Flights, Aircraft, Views";

    const uintptr_t menu = addZephrelMenu(xui, bar);
    EXPECT_EQ(static_cast<int32_t>(ownMenus), xui.position(bar, 53566));
    EXPECT_EQ(0, xui.position(menu, kRecord));
    EXPECT_EQ(2, xui.position(menu, kPlay)) << "the separator takes a position";
    EXPECT_EQ(-1, xui.position(menu, kOptions));
    EXPECT_EQ(-1, xui.position(bar, kRecord)) << "only the menu's own items";

    // UTF-16 texts, a character beyond the basic plane among them, are kept as UTF-8.
    EXPECT_EQ(0, xui.append(menu, nullptr, wide(u"Options \u00E9\u2708 \U0001F6E9"), kOptions, 0));
    EXPECT_EQ(0, xui.enable(menu, -1, 0)) << "-1 is the last item";
    EXPECT_EQ(0, xui.check(menu, 0, 1));
    EXPECT_EQ(0, xui.text(menu, 2, wide(u"Play again...")));
    const Item* options = f.sim->menus().find("Zephrel/Options \xC3\xA9\xE2\x9C\x88 \xF0\x9F\x9B\xA9");
    ASSERT_NE(nullptr, options);
    EXPECT_EQ(kOptions, options->command);
    EXPECT_FALSE(options->enabled);
    EXPECT_FALSE(options->checked);
    const Item* record = f.sim->menus().findCommand(kRecord);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ((std::pair<bool, bool>{true, true}), (std::pair<bool, bool>{record->enabled, record->checked}));
    EXPECT_EQ(kPlay, f.sim->menus().find("Zephrel/Play again...")->command);
    EXPECT_EQ(nullptr, f.sim->menus().find("Zephrel/Play..."));
    EXPECT_TRUE(f.sim->menus().find("Zephrel")->barStyle);

    // Removing shifts the items after it; a removed submenu goes with its item.
    EXPECT_EQ(0, xui.remove(menu, 0));
    EXPECT_EQ(1, xui.position(menu, kPlay));
    EXPECT_EQ(0, xui.check(menu, 1, 0));
    EXPECT_FALSE(f.sim->menus().findCommand(kPlay)->checked);
    EXPECT_EQ(0, xui.remove(bar, xui.position(bar, 53566)));
    EXPECT_EQ(nullptr, f.sim->menus().menu(menu));
    EXPECT_EQ(-1, xui.position(menu, kPlay));
    EXPECT_EQ(ownMenus, f.sim->menus().menu(bar)->items.size());

    const uint32_t redraws = f.sim->menus().redraws();
    xui.invalidate(bar);
    EXPECT_EQ(redraws + 1, f.sim->menus().redraws());
    EXPECT_EQ(0u, f.wrongForms());
}

// Each call is in a form the host does not take: one wrong form, and the result it gives.
TEST(SimulatorMenusTest, CallsInWrongFormsAreCounted) {
    struct Case {
        const char* what;
        int32_t (*call)(const Xui&, uintptr_t bar, uintptr_t menu);
        int32_t result; // 0: still done, as the host does; -1: refused
    };
    const Case cases[] = {
        {"bar item without its style",
         [](const Xui& x, uintptr_t bar, uintptr_t) { return x.append(bar, nullptr, wide(u"A"), 53600, 0); },
         0},
        {"submenu item with the bar style",
         [](const Xui& x, uintptr_t, uintptr_t m) {
             return x.append(m, HostMenus::kBarItemStyle, wide(u"A"), 53600, 0);
         },
         0},
        {"submenu attached with another value",
         [](const Xui& x, uintptr_t, uintptr_t) { return x.addChild(x.create(), 1); }, -1},
        {"submenu not attached",
         [](const Xui& x, uintptr_t bar, uintptr_t) {
             return x.append(bar, HostMenus::kBarItemStyle, wide(u"A"), 53600, x.create());
         },
         -1},
        {"submenu opened twice",
         [](const Xui& x, uintptr_t bar, uintptr_t m) {
             return x.append(bar, HostMenus::kBarItemStyle, wide(u"A"), 53600, m);
         },
         -1},
        {"append to a handle that is no menu",
         [](const Xui& x, uintptr_t, uintptr_t) { return x.append(12345, nullptr, wide(u"A"), 53600, 0); },
         -1},
        {"append without a text",
         [](const Xui& x, uintptr_t, uintptr_t m) { return x.append(m, nullptr, nullptr, 53600, 0); }, -1},
        {"enable beyond the last item",
         [](const Xui& x, uintptr_t, uintptr_t m) { return x.enable(m, 1, 0); }, -1},
        {"remove from an empty menu",
         [](const Xui& x, uintptr_t, uintptr_t) { return x.remove(x.create(), -1); }, -1},
        {"redraw of a submenu",
         [](const Xui& x, uintptr_t, uintptr_t m) {
             x.invalidate(m);
             return 0;
         },
         0},
    };
    for (const Case& c : cases) {
        SimulatorFixture f(2);
        const Xui xui;
        const uintptr_t bar = f.sim->menus().bar();
        const uintptr_t menu = xui.create();
        ASSERT_EQ(0, xui.addChild(menu, HostMenus::kSubmenuChild));
        ASSERT_EQ(0, xui.append(bar, HostMenus::kBarItemStyle, wide(u"Zephrel"), 53566, menu));
        ASSERT_EQ(0, xui.append(menu, nullptr, wide(u"Record..."), kRecord, 0));
        const uint32_t redraws = f.sim->menus().redraws();
        EXPECT_EQ(c.result, c.call(xui, bar, menu)) << c.what;
        EXPECT_EQ(1u, f.wrongForms()) << c.what;
        EXPECT_EQ(redraws, f.sim->menus().redraws()) << c.what;
    }
}

std::vector<std::pair<uintptr_t, uintptr_t>> systemEvents;
void recordSystemEvent(uint32_t, uintptr_t a, uintptr_t b) {
    systemEvents.emplace_back(a, b);
}

class SimulatorMenusRebuildTest : public ::testing::TestWithParam<int> {};

TEST_P(SimulatorMenusRebuildTest, ARebuildDropsAddOnItemsAndAnnouncesTheNewBar) {
    SimulatorFixture f(GetParam());
    const Xui xui;
    systemEvents.clear();
    f.entry<ZHostRegisterEventFn>("api.dll", HostNumbers::Api::RegisterEvent)(ZHOST_EVENT_SYSTEM,
                                                                              &recordSystemEvent);
    const uintptr_t* anchor = f.data<uintptr_t>("api.dll", HostNumbers::Api::MenuAnchor);
    ASSERT_NE(nullptr, anchor);
    const uintptr_t oldBar = *anchor;
    const uintptr_t menu = addZephrelMenu(xui, oldBar);
    const uint32_t loadCommand = f.sim->menus().find("Flights/Load Flight...")->command;
    EXPECT_LT(loadCommand, 53566u);

    f.sim->rebuildMenus();
    const uintptr_t expectedData = GetParam() == 0 ? 13 : 11;
    EXPECT_EQ((std::vector<std::pair<uintptr_t, uintptr_t>>{{ZHOST_SYSTEM_MENUS_CHANGED, expectedData}}),
              systemEvents);
    EXPECT_NE(oldBar, *anchor);
    EXPECT_EQ(f.sim->menus().bar(), *anchor);
    EXPECT_EQ(-1, xui.position(*anchor, 53566));
    EXPECT_EQ(-1, xui.position(oldBar, 53566)) << "the old bar is gone";
    EXPECT_EQ(-1, xui.position(menu, kRecord));
    EXPECT_EQ(nullptr, f.sim->menus().findCommand(kRecord));
    ASSERT_NE(nullptr, f.sim->menus().find("Flights/Load Flight..."));
    EXPECT_EQ(loadCommand, f.sim->menus().find("Flights/Load Flight...")->command);
    EXPECT_EQ(0u, f.wrongForms()) << "asking after gone menus is how add-ons notice a rebuild";
}

INSTANTIATE_TEST_SUITE_P(FirstAndLaterVersions, SimulatorMenusRebuildTest, ::testing::Values(0, 4));

win::WNDPROC simulatorProcedure = nullptr;
std::vector<std::pair<win::WPARAM, win::LPARAM>> hookSaw;
win::LRESULT commandHook(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    if (message == win::WM_COMMAND)
        hookSaw.emplace_back(wParam, lParam);
    return win::CallWindowProc(simulatorProcedure, hwnd, message, wParam, lParam);
}

TEST(SimulatorMenusTest, ItemsAreChosenByTheirTextsThroughTheMainWindowsHooks) {
    SimulatorFixture f(3);
    const Xui xui;
    const uintptr_t menu = addZephrelMenu(xui, f.sim->menus().bar());
    hookSaw.clear();
    simulatorProcedure = reinterpret_cast<win::WNDPROC>(win::SetWindowLongPtr(
        f.sim->mainWindow(), win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(&commandHook)));

    EXPECT_EQ(std::nullopt, chooseMenuItem(*f.sim, "Zephrel/Record..."));
    const uint32_t spot = f.sim->menus().find("Views/View Mode/Spot")->command;
    EXPECT_EQ(std::nullopt, chooseMenuItem(*f.sim, "Views/View Mode/Spot"));
    EXPECT_EQ((std::vector<std::pair<win::WPARAM, win::LPARAM>>{{kRecord, 0}, {spot, 0}}), hookSaw);
    EXPECT_EQ((std::vector<uint32_t>{kRecord, spot}), f.sim->menuCommands());

    xui.enable(menu, xui.position(menu, kPlay), 0);
    const std::pair<const char*, std::string> refused[] = {
        {"Zephrel/Stop", "no menu item \"Zephrel/Stop\""},
        {"Zephrel/Record.../More", "no menu item \"Zephrel/Record.../More\""},
        {"zephrel/Record...", "no menu item \"zephrel/Record...\""},
        {"Zephrel/Play...", "menu item \"Zephrel/Play...\" is disabled"},
        {"Views/View Mode", "menu item \"Views/View Mode\" opens a menu"},
    };
    for (const auto& [path, answer] : refused)
        EXPECT_EQ(answer, chooseMenuItem(*f.sim, path).value_or("chosen")) << path;
    // A disabled menu cannot be opened: what is under it is disabled with it.
    xui.enable(f.sim->menus().bar(), xui.position(f.sim->menus().bar(), 53566), 0);
    EXPECT_EQ("menu item \"Zephrel\" is disabled",
              chooseMenuItem(*f.sim, "Zephrel/Record...").value_or("chosen"));
    EXPECT_EQ(2u, hookSaw.size()) << "nothing refused reaches the window";
    EXPECT_EQ(0u, f.wrongForms());
}

// What a screen shows of the menus: the main window's menu bar, following the host's menus at the
// end of each frame and only when they changed.
TEST(SimulatorMenusTest, TheMainWindowsMenuBarShowsTheMenusAsTheFrameEnds) {
    std::vector<win::HWND> redrawn; // outlives the simulator, whose end may still reach the backend
    SimulatorFixture f(3);
    struct NotingBackend final : HeadlessDelegate {
        explicit NotingBackend(std::vector<win::HWND>& redrawn) : redrawn_(redrawn) {}
        void menuBarChanged(win::HWND window) override { redrawn_.push_back(window); }
        std::vector<win::HWND>& redrawn_;
    };
    win::SetBackend(std::make_unique<NotingBackend>(redrawn));
    const auto itemAt = [](win::HMENU menu, int position) {
        win::MenuItem item;
        EXPECT_TRUE(win::GetMenuItem(menu, position, &item)) << position;
        return item;
    };
    const win::HWND main = f.sim->mainWindow();
    const auto ownMenus = static_cast<int>(f.sim->menus().menu(f.sim->menus().bar())->items.size());
    ASSERT_EQ(ownMenus, win::GetMenuItemCount(win::GetMenu(main))) << "shown from the start";
    EXPECT_EQ("Flights", itemAt(win::GetMenu(main), 0).text);

    const Xui xui;
    const uintptr_t menu = addZephrelMenu(xui, f.sim->menus().bar());
    EXPECT_EQ(0, xui.enable(menu, 2, 0));
    EXPECT_EQ(0, xui.check(menu, 0, 1));
    EXPECT_EQ(ownMenus, win::GetMenuItemCount(win::GetMenu(main))) << "not before the frame ends";
    f.sim->frame();
    ASSERT_EQ(1u, redrawn.size());
    EXPECT_EQ(main, redrawn[0]);
    const win::MenuItem zephrel = itemAt(win::GetMenu(main), ownMenus);
    EXPECT_EQ("Zephrel", zephrel.text);
    ASSERT_NE(nullptr, zephrel.submenu);
    const win::MenuItem record = itemAt(zephrel.submenu, 0), play = itemAt(zephrel.submenu, 2);
    EXPECT_EQ((std::pair<std::string, win::UINT>{"Record...", kRecord}), std::make_pair(record.text, record.id));
    EXPECT_NE(0u, record.flags & win::MF_CHECKED);
    EXPECT_NE(0u, itemAt(zephrel.submenu, 1).flags & win::MF_SEPARATOR);
    EXPECT_FALSE(play.choosable()) << "disabled";

    // The same state set again changes nothing a user sees: no new bar.
    EXPECT_EQ(0, xui.enable(menu, 2, 0));
    f.sim->frame();
    EXPECT_EQ(1u, redrawn.size());
    f.sim->rebuildMenus();
    f.sim->frame();
    EXPECT_EQ(2u, redrawn.size());
    EXPECT_EQ(ownMenus, win::GetMenuItemCount(win::GetMenu(main))) << "what add-ons added is gone";
    EXPECT_EQ(-1, win::GetMenuItemCount(zephrel.submenu)) << "the old bar is destroyed with its menus";
}

} // namespace
