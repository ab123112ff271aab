// Pop-up menus: what a right-click opens, what the user chooses in it, and what the owner gets.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/HeadlessDelegate.h"
#include "winsys/HeadlessScript.h"
#include "winsys/WinSys.h"

using namespace win;
using namespace win::headless;

namespace {

const int kModuleInstance = 0;
const HINSTANCE kModule = &kModuleInstance;
constexpr uint16_t kListDialog = 140;
enum : int { kTree = 1000, kPlainButton = 1001 };
enum : UINT { kCheckAll = 40001, kUncheckAll, kDisabled };

// What the dialog saw: the right-clicks on the tree and the commands that came.
struct Seen {
    std::vector<POINT> clicks;
    std::vector<WPARAM> commands;
    std::vector<LPARAM> commandSources;
};
Seen seen;

// Opens a menu on right-clicks over the tree only, as the advanced play dialog does.
INT_PTR listProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CONTEXTMENU && reinterpret_cast<HWND>(wParam) == GetDlgItem(dialog, kTree)) {
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        seen.clicks.push_back(at);
        const HMENU menu = CreatePopupMenu();
        AppendMenu(menu, MF_STRING | MF_CHECKED, kCheckAll, "Check all");
        AppendMenu(menu, MF_SEPARATOR, 0, "");
        AppendMenu(menu, MF_STRING, kUncheckAll, "Uncheck all");
        AppendMenu(menu, MF_STRING | MF_GRAYED, kDisabled, "Disabled");
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, dialog);
        DestroyMenu(menu);
        return 1;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)
        return EndDialog(dialog, IDCANCEL) ? 1 : 0;
    if (message == WM_COMMAND) {
        seen.commands.push_back(wParam);
        seen.commandSources.push_back(lParam);
        return 1;
    }
    return message == WM_INITDIALOG ? 1 : 0;
}

class WinsysMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset();
        seen = {};
        main_ = CreateWindowEx(0, WC_DIALOG, "Flight Simulator X", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 50,
                               800, 600, nullptr, 0, nullptr, nullptr);
        DialogTemplate list;
        list.id = kListDialog;
        list.title = "Tracks";
        list.width = 200;
        list.height = 120;
        list.style |= WS_VISIBLE;
        list.controls = {{kTree, ControlKind::TreeView, "", {10, 10, 100, 80}},
                         {kPlainButton, ControlKind::PushButton, "Plain", {120, 10, 50, 14}}};
        RegisterDialogTemplate(kModule, list);
    }
    void TearDown() override { reset(); }

    INT_PTR runDialog(std::vector<Step> steps) {
        scriptDialog(kListDialog, std::move(steps));
        return DialogBoxParam(kModule, kListDialog, main_, listProc, 0);
    }

    HWND main_ = nullptr;
};

TEST_F(WinsysMenuTest, ARightClickOpensTheMenuAtTheControlAndTheChoiceComesAsACommand) {
    struct Case {
        std::string item;
        std::vector<WPARAM> commands;
        std::string failure; // after the dialog's name
        std::string chosen;  // how the transcript ends
    };
    const Case cases[] = {
        {"Uncheck all", {MAKEWPARAM(kUncheckAll, 0)}, "", "-> \"Uncheck all\""},
        {"Check all", {MAKEWPARAM(kCheckAll, 0)}, "", "-> \"Check all\""},
        {"", {}, "", "-> dismissed"},
        {"Disabled", {}, "control 1000: the pop-up menu's item \"Disabled\" is disabled", "-> dismissed"},
        {"Missing", {}, "control 1000: the pop-up menu has no item \"Missing\"", "-> dismissed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        SetUp();
        runDialog({ContextMenu{kTree, c.item}, Close{}});
        EXPECT_EQ(c.commands, seen.commands);
        EXPECT_EQ(std::vector<LPARAM>(c.commands.size(), 0), seen.commandSources) << "a menu is no control";
        EXPECT_EQ(c.failure.empty() ? std::vector<std::string>{}
                                    : std::vector<std::string>{"dialog 140 \"Tracks\": " + c.failure},
                  failures());
        ASSERT_EQ(1u, seen.clicks.size());
        const std::vector<PopupMenuEntry> menus = transcript().all<PopupMenuEntry>();
        ASSERT_EQ(1u, menus.size());
        EXPECT_EQ(seen.clicks[0].x, menus[0].at.x);
        EXPECT_EQ(seen.clicks[0].y, menus[0].at.y);
        const std::string text = describe(menus[0]);
        EXPECT_EQ(0u, text.find("pop-up menu at " + std::to_string(menus[0].at.x) + "," +
                                std::to_string(menus[0].at.y) +
                                " [\"Check all\" checked, -, \"Uncheck all\", \"Disabled\" disabled] "))
            << text;
        EXPECT_EQ(text.size() - c.chosen.size(), text.rfind(c.chosen)) << text;
    }
}

TEST_F(WinsysMenuTest, TheClickPointIsTheControlsCentreOnTheScreen) {
    HWND dialog = CreateDialogParam(kModule, kListDialog, main_, listProc, 0);
    ASSERT_TRUE(perform(dialog, ContextMenu{kTree, ""}));
    RECT tree;
    GetWindowRect(GetDlgItem(dialog, kTree), &tree);
    ASSERT_EQ(1u, seen.clicks.size());
    EXPECT_EQ((tree.left + tree.right) / 2, seen.clicks[0].x);
    EXPECT_EQ((tree.top + tree.bottom) / 2, seen.clicks[0].y);
    EXPECT_GT(seen.clicks[0].x, 100) << "screen coordinates, past the main window's left edge";
}

TEST_F(WinsysMenuTest, AClickThatOpensNoMenuOrAMenuNobodyScriptedIsReported) {
    HWND dialog = CreateDialogParam(kModule, kListDialog, main_, listProc, 0);
    EXPECT_FALSE(perform(dialog, ContextMenu{kPlainButton, "Check all"}));
    EXPECT_EQ(std::vector<std::string>{"dialog 140 \"Tracks\": control 1001: opened no pop-up menu"},
              failures());

    // Opened by the program itself: dismissed, and noted as a menu the script did not answer.
    const HMENU menu = CreatePopupMenu();
    AppendMenu(menu, MF_STRING, kCheckAll, "Check all");
    EXPECT_EQ(0u, TrackPopupMenu(menu, TPM_RETURNCMD, 5, 5, dialog));
    EXPECT_EQ(std::vector<std::string>{"pop-up menu"}, unscripted());
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(DestroyMenu(menu));
    EXPECT_FALSE(AppendMenu(menu, MF_STRING, kCheckAll, "Again"));
    EXPECT_EQ(0u, TrackPopupMenu(menu, 0, 5, 5, dialog)) << "a destroyed menu shows nothing";
    EXPECT_TRUE(seen.commands.empty());
}

// The headless backend, noting whose menu bar it was told to show again.
class MenuBarNotingBackend final : public HeadlessDelegate {
public:
    explicit MenuBarNotingBackend(std::vector<HWND>& changed) : changed_(changed) {}
    void menuBarChanged(HWND window) override { changed_.push_back(window); }

private:
    std::vector<HWND>& changed_;
};

std::vector<std::string> itemTexts(HMENU menu) {
    std::vector<std::string> texts;
    MenuItem item;
    for (int i = 0; GetMenuItem(menu, i, &item); ++i)
        texts.push_back(item.submenu != nullptr ? item.text + " >" : item.text);
    return texts;
}

TEST_F(WinsysMenuTest, AMenuBarBelongsToItsWindowAndGoesWithItsMenus) {
    std::vector<HWND> changed;
    SetBackend(std::make_unique<MenuBarNotingBackend>(changed));
    const HMENU bar = CreateMenu(), flights = CreatePopupMenu(), recent = CreatePopupMenu();
    ASSERT_TRUE(AppendMenu(recent, MF_STRING, 101, "circuit.flt"));
    ASSERT_TRUE(AppendMenu(flights, MF_STRING | MF_GRAYED, 100, "Save Flight..."));
    ASSERT_TRUE(AppendMenu(flights, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), "Recent"));
    ASSERT_TRUE(AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(flights), "Flights"));
    EXPECT_FALSE(AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(bar), "Itself"));
    EXPECT_FALSE(AppendMenu(bar, MF_POPUP, 12345, "Not a menu"));

    const HWND view = CreateWindowEx(0, WC_DIALOG, "3D View", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, main_, 1,
                                     nullptr, nullptr);
    EXPECT_FALSE(SetMenu(view, bar)) << "a child window has no menu bar";
    EXPECT_FALSE(DrawMenuBar(main_)) << "no menu bar yet";
    ASSERT_TRUE(SetMenu(main_, bar));
    EXPECT_EQ(bar, GetMenu(main_));
    ASSERT_TRUE(AppendMenu(bar, MF_STRING, 200, "Help"));
    EXPECT_TRUE(DrawMenuBar(main_));
    EXPECT_EQ((std::vector<HWND>{main_, main_}), changed);

    EXPECT_EQ((std::vector<std::string>{"Flights >", "Help"}), itemTexts(bar));
    MenuItem item;
    ASSERT_TRUE(GetMenuItem(bar, 0, &item));
    EXPECT_EQ((std::vector<std::string>{"Save Flight...", "Recent >"}), itemTexts(item.submenu));
    ASSERT_TRUE(GetMenuItem(flights, 0, &item));
    EXPECT_FALSE(item.choosable());
    EXPECT_EQ(100u, item.id);
    EXPECT_FALSE(GetMenuItem(flights, 2, &item));

    // Another bar: the old one stays the caller's; the window's goes with the window, submenus too.
    const HMENU next = CreateMenu();
    ASSERT_TRUE(SetMenu(main_, next));
    EXPECT_EQ(2, GetMenuItemCount(bar));
    EXPECT_TRUE(DestroyMenu(bar));
    EXPECT_EQ(-1, GetMenuItemCount(recent)) << "destroyed with the menu that opens it";
    ASSERT_TRUE(AppendMenu(next, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "Views"));
    ASSERT_TRUE(GetMenuItem(next, 0, &item));
    DestroyWindow(main_);
    EXPECT_EQ(-1, GetMenuItemCount(next));
    EXPECT_EQ(-1, GetMenuItemCount(item.submenu));
    EXPECT_EQ(nullptr, GetMenu(main_));
}

TEST_F(WinsysMenuTest, AMenuOpensFromOneItemOnlyAndAStaleHandleNamesNoMenu) {
    const HMENU bar = CreateMenu(), views = CreatePopupMenu(), mode = CreatePopupMenu();
    ASSERT_TRUE(AppendMenu(views, MF_POPUP, reinterpret_cast<UINT_PTR>(mode), "View Mode"));
    ASSERT_TRUE(AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(views), "Views"));
    EXPECT_FALSE(AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(mode), "Again")) << "opened already";
    EXPECT_FALSE(AppendMenu(mode, MF_POPUP, reinterpret_cast<UINT_PTR>(bar), "Loop")) << "holds the menu";
    EXPECT_FALSE(SetMenu(main_, views)) << "an item opens it";
    ASSERT_TRUE(SetMenu(main_, bar));
    const HMENU other = CreatePopupMenu();
    EXPECT_FALSE(AppendMenu(other, MF_POPUP, reinterpret_cast<UINT_PTR>(bar), "Bar")) << "a window's bar";

    ASSERT_TRUE(DestroyMenu(bar));
    EXPECT_EQ(nullptr, GetMenu(main_)) << "the window is left without a bar";
    const HMENU fresh = CreatePopupMenu();
    for (HMENU stale : {bar, views, mode})
        EXPECT_NE(fresh, stale);
    EXPECT_FALSE(DestroyMenu(bar));
    EXPECT_EQ(-1, GetMenuItemCount(mode));
}

TEST_F(WinsysMenuTest, ACommandOfAMenuTheItemsOpenIsOffered) {
    // A backend with a screen lets the user choose in a submenu; a disabled submenu offers nothing.
    struct ChoosingBackend final : HeadlessDelegate {
        explicit ChoosingBackend(UINT command) : command_(command) {}
        UINT popupMenu(HWND, const std::vector<MenuItem>&, POINT) override { return command_; }
        UINT command_;
    };
    const auto track = [&](UINT command, UINT submenuState) {
        SetBackend(std::make_unique<ChoosingBackend>(command));
        const HMENU menu = CreatePopupMenu(), sub = CreatePopupMenu();
        AppendMenu(sub, MF_STRING, kCheckAll, "Check all");
        AppendMenu(menu, MF_POPUP | submenuState, reinterpret_cast<UINT_PTR>(sub), "All");
        const UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, main_);
        DestroyMenu(menu);
        return chosen;
    };
    EXPECT_EQ(kCheckAll, track(kCheckAll, 0));
    EXPECT_EQ(0u, track(kCheckAll, MF_GRAYED));
    EXPECT_EQ(0u, track(kUncheckAll, 0)) << "a command the menu does not have";
    EXPECT_NE(std::string::npos, describe(transcript().all<PopupMenuEntry>().front()).find("[\"All\" >]"));
}

} // namespace
