#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "winsys/HeadlessScript.h"
#include "winsys/WinSys.h"

using namespace win;
using namespace win::headless;

namespace {

// What the controls told their parent, one readable line each.
std::vector<std::string> reports;
NMTREEVIEW lastSelection;
NMTVITEMCHANGE lastItemChange;

LRESULT parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        reports.push_back("command " + std::to_string(LOWORD(wParam)) + " " + std::to_string(HIWORD(wParam)));
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        reports.push_back(std::string(message == WM_HSCROLL ? "hscroll " : "vscroll ") +
                          std::to_string(LOWORD(wParam)) + " " + std::to_string(HIWORD(wParam)));
        return 0;
    case WM_DRAWITEM: {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        reports.push_back("draw " + std::to_string(draw->CtlID) +
                          ((draw->itemState & ODS_SELECTED) ? " pressed" : " released"));
        return 1;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == TVN_SELCHANGED)
            lastSelection = *reinterpret_cast<const NMTREEVIEW*>(lParam);
        if (header->code == TVN_ITEMCHANGED)
            lastItemChange = *reinterpret_cast<const NMTVITEMCHANGE*>(lParam);
        reports.push_back("notify " + std::to_string(header->idFrom) + " " +
                          std::to_string(static_cast<int>(header->code)));
        return 0;
    }
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

class WinsysControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset();
        reports.clear();
        RegisterClass(WNDCLASS{0, parentProc, nullptr, nullptr, "ZEPHREL_CONTROLWND"});
        window_ =
            CreateWindowEx(WS_EX_TOOLWINDOW, "ZEPHREL_CONTROLWND", "Zephrel",
                           WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10, 356, 88, nullptr, 0, nullptr, nullptr);
    }
    void TearDown() override { reset(); }

    HWND control(const char* className, int id, DWORD style = 0, const std::string& text = {}) {
        return CreateWindowEx(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 20, 20, window_, id,
                              nullptr, nullptr);
    }

    HWND window_ = nullptr;
};

// Combo and list boxes answer the same questions under different message numbers.
struct ListKind {
    const char* className;
    UINT add, insert, remove, count, getSelection, setSelection, getText, getTextLength, findExact, setData,
        getData;
};
const ListKind kListKinds[] = {
    {WC_COMBOBOX, CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING, CB_GETCOUNT, CB_GETCURSEL, CB_SETCURSEL,
     CB_GETLBTEXT, CB_GETLBTEXTLEN, CB_FINDSTRINGEXACT, CB_SETITEMDATA, CB_GETITEMDATA},
    {WC_LISTBOX, LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_GETCOUNT, LB_GETCURSEL, LB_SETCURSEL,
     LB_GETTEXT, LB_GETTEXTLEN, LB_FINDSTRINGEXACT, LB_SETITEMDATA, LB_GETITEMDATA},
};

LPARAM text(const char* value) {
    return reinterpret_cast<LPARAM>(value);
}

TEST_F(WinsysControlTest, ComboAndListBoxesKeepItemsDataAndSelection) {
    for (const ListKind& k : kListKinds) {
        SCOPED_TRACE(k.className);
        const HWND list = control(k.className, 1);
        EXPECT_EQ(SendMessage(list, k.getSelection, 0, 0), -1);
        EXPECT_EQ(SendMessage(list, k.add, 0, text("Global")), 0);
        EXPECT_EQ(SendMessage(list, k.add, 0, text("Aircraft")), 1);
        EXPECT_EQ(SendMessage(list, k.insert, 1, text("Flight")), 1);
        EXPECT_EQ(SendMessage(list, k.count, 0, 0), 3);
        EXPECT_EQ(SendMessage(list, k.setSelection, 2, 0), 2);
        EXPECT_EQ(SendMessage(list, k.insert, 0, text("First")), 0);
        EXPECT_EQ(SendMessage(list, k.getSelection, 0, 0), 3) << "the selection stays on its item";
        EXPECT_EQ(SendMessage(list, k.remove, 0, 0), 3);
        EXPECT_EQ(SendMessage(list, k.getSelection, 0, 0), 2);
        EXPECT_EQ(SendMessage(list, k.setData, 1, 77), 0);
        EXPECT_EQ(SendMessage(list, k.getData, 1, 0), 77);
        EXPECT_EQ(SendMessage(list, k.getTextLength, 1, 0), 6);
        char item[16];
        EXPECT_EQ(SendMessage(list, k.getText, 1, reinterpret_cast<LPARAM>(item)), 6);
        EXPECT_STREQ(item, "Flight");
        EXPECT_EQ(SendMessage(list, k.findExact, static_cast<WPARAM>(-1), text("aircraft")), 2);
        EXPECT_EQ(SendMessage(list, k.findExact, 2, text("global")), 0) << "the search wraps around";
        EXPECT_EQ(SendMessage(list, k.findExact, static_cast<WPARAM>(-1), text("Air")), -1);
        EXPECT_EQ(SendMessage(list, k.remove, 2, 0), 2);
        EXPECT_EQ(SendMessage(list, k.getSelection, 0, 0), -1)
            << "removing the selected item clears the selection";
        EXPECT_EQ(SendMessage(list, k.setSelection, 5, 0), -1);
        EXPECT_EQ(SendMessage(list, k.getText, 9, reinterpret_cast<LPARAM>(item)), -1);
    }
}

TEST_F(WinsysControlTest, UserSelectionIsReportedByComboBoxesAndByNotifyingListBoxesOnly) {
    const HWND combo = control(WC_COMBOBOX, 1);
    const HWND notifying = control(WC_LISTBOX, 2, LBS_NOTIFY);
    const HWND quiet = control(WC_LISTBOX, 3);
    for (const HWND list : {combo, notifying, quiet})
        for (const char* item : {"1 sec", "1/2 sec"})
            SendMessage(list, list == combo ? CB_ADDSTRING : LB_ADDSTRING, 0, text(item));
    SendMessage(combo, CB_SETCURSEL, 1, 0);
    EXPECT_TRUE(reports.empty()) << "a program's selection is not reported";
    EXPECT_TRUE(perform(window_, SelectText{1, "1 sec"}));
    EXPECT_TRUE(perform(window_, SelectIndex{2, 1}));
    EXPECT_TRUE(perform(window_, SelectIndex{3, 1}));
    EXPECT_EQ(reports, (std::vector<std::string>{"command 1 1", "command 2 1"}));
    EXPECT_EQ(SendMessage(quiet, LB_GETCURSEL, 0, 0), 1);
    EXPECT_FALSE(perform(window_, SelectIndex{1, 2}));
    EXPECT_EQ(failures().back(), "window ZEPHREL_CONTROLWND \"Zephrel\": control 1: no item 2 among 2");
}

TEST_F(WinsysControlTest, TrackbarClampsToItsRangeAndCountsTheEndTicks) {
    const HWND progress = control(TRACKBAR_CLASS, 1004, TBS_BOTH);
    EXPECT_EQ(SendMessage(progress, TBM_GETRANGEMAX, 0, 0), 100);
    SendMessage(progress, TBM_SETPOS, 1, 80);
    SendMessage(progress, TBM_SETRANGE, 1, MAKELPARAM(0, 50));
    EXPECT_EQ(SendMessage(progress, TBM_GETPOS, 0, 0), 50);
    SendMessage(progress, TBM_SETRANGEMAX, 1, 350);
    SendMessage(progress, TBM_SETPOS, 1, -5);
    EXPECT_EQ(SendMessage(progress, TBM_GETPOS, 0, 0), 0);
    EXPECT_EQ(SendMessage(progress, TBM_GETNUMTICS, 0, 0), 2);
    EXPECT_EQ(SendMessage(progress, TBM_SETTIC, 0, 35), 1);
    EXPECT_EQ(SendMessage(progress, TBM_SETTIC, 0, 315), 1);
    EXPECT_EQ(SendMessage(progress, TBM_SETTIC, 0, 351), 0);
    EXPECT_EQ(SendMessage(progress, TBM_GETNUMTICS, 0, 0), 4);
    EXPECT_EQ(SendMessage(progress, TBM_GETTIC, 1, 0), 315);
    SendMessage(progress, TBM_CLEARTICS, 1, 0);
    EXPECT_EQ(SendMessage(progress, TBM_GETNUMTICS, 0, 0), 2);
    EXPECT_EQ(SendMessage(progress, TBM_GETTIC, 0, 0), -1);
    EXPECT_EQ(SendMessage(control(TRACKBAR_CLASS, 5, TBS_NOTICKS), TBM_GETNUMTICS, 0, 0), 0);
    EXPECT_TRUE(reports.empty());
}

TEST_F(WinsysControlTest, DraggedTrackbarReportsTrackPositionAndEndInItsDirection) {
    control(TRACKBAR_CLASS, 1, 0);
    control(TRACKBAR_CLASS, 2, TBS_VERT);
    EXPECT_TRUE(perform(window_, SetPosition{1, 70}));
    EXPECT_TRUE(perform(window_, SetPosition{2, 3}));
    EXPECT_EQ(reports, (std::vector<std::string>{"hscroll 5 70", "hscroll 4 70", "hscroll 8 0", "vscroll 5 3",
                                                 "vscroll 4 3", "vscroll 8 0"}));
}

TEST_F(WinsysControlTest, UpDownKeepsItsBuddyInStepAndReportsClicks) {
    const HWND buddy = control(WC_EDIT, 1);
    const HWND spin = control(UPDOWN_CLASS, 2, UDS_AUTOBUDDY | UDS_SETBUDDYINT);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessage(spin, UDM_GETBUDDY, 0, 0)), buddy);
    int low = 0;
    int high = 0;
    SendMessage(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 100);
    EXPECT_EQ(high, 0);
    SendMessage(spin, UDM_SETRANGE32, 0, 120);
    EXPECT_EQ(SendMessage(spin, UDM_SETPOS32, 0, 500), 0);
    EXPECT_EQ(SendMessage(spin, UDM_GETPOS32, 0, 0), 120);
    EXPECT_EQ(GetWindowText(buddy), "120");
    reports.clear();
    EXPECT_TRUE(perform(window_, SetPosition{2, 45}));
    EXPECT_EQ(GetWindowText(buddy), "45");
    EXPECT_EQ(reports, (std::vector<std::string>{"command 1 768", "vscroll 4 45", "vscroll 8 45"}));
    EXPECT_FALSE(perform(window_, SetPosition{2, 121}));

    const HWND plain = control(UPDOWN_CLASS, 3);
    EXPECT_EQ(SendMessage(plain, UDM_GETBUDDY, 0, 0), 0);
    const HWND sideways = control(UPDOWN_CLASS, 4, UDS_HORZ);
    SendMessage(sideways, UDM_SETRANGE32, 0, 10);
    reports.clear();
    perform(window_, SetPosition{4, 2});
    EXPECT_EQ(reports.front(), "hscroll 4 2");
}

TEST_F(WinsysControlTest, HotKeyFieldReplacesForbiddenModifiersWithTheDefaultOnes) {
    const HWND field = control(HOTKEY_CLASS, 1);
    SendMessage(field, HKM_SETHOTKEY, MAKEWORD('M', HOTKEYF_ALT), 0);
    EXPECT_EQ(SendMessage(field, HKM_GETHOTKEY, 0, 0), MAKEWORD('M', HOTKEYF_ALT))
        << "the rules bind users only";
    SendMessage(field, HKM_SETRULES, HKCOMB_A | HKCOMB_CA | HKCOMB_SA | HKCOMB_SCA,
                MAKELPARAM(HOTKEYF_CONTROL, 0));
    struct Case {
        BYTE entered;
        BYTE stored;
    };
    const Case cases[] = {
        {HOTKEYF_ALT, HOTKEYF_CONTROL},
        {HOTKEYF_ALT | HOTKEYF_CONTROL, HOTKEYF_CONTROL},
        {HOTKEYF_ALT | HOTKEYF_SHIFT | HOTKEYF_EXT, HOTKEYF_CONTROL | HOTKEYF_EXT},
        {HOTKEYF_SHIFT, HOTKEYF_SHIFT},
        {HOTKEYF_SHIFT | HOTKEYF_CONTROL, HOTKEYF_SHIFT | HOTKEYF_CONTROL},
        {0, 0},
    };
    for (const Case& c : cases) {
        reports.clear();
        EXPECT_TRUE(perform(window_, SetHotKey{1, 'V', c.entered}));
        EXPECT_EQ(SendMessage(field, HKM_GETHOTKEY, 0, 0), MAKEWORD('V', c.stored)) << int(c.entered);
        EXPECT_EQ(reports, std::vector<std::string>{"command 1 768"});
    }
}

HTREEITEM insert(HWND tree, HTREEITEM parent, HTREEITEM after, const std::string& label, LPARAM data = 0) {
    TVINSERTSTRUCT request;
    request.hParent = parent;
    request.hInsertAfter = after;
    request.item.mask = TVIF_TEXT | TVIF_PARAM;
    request.item.text = label;
    request.item.lParam = data;
    return reinterpret_cast<HTREEITEM>(
        SendMessage(tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&request)));
}

HTREEITEM next(HWND tree, WPARAM relation, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(
        SendMessage(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

std::string label(HWND tree, HTREEITEM item) {
    TVITEM fields;
    fields.mask = TVIF_TEXT;
    fields.hItem = item;
    return SendMessage(tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&fields)) ? fields.text : "(none)";
}

TEST_F(WinsysControlTest, TreeKeepsItemsInInsertionPlacesAndWalksThem) {
    const HWND tree = control(WC_TREEVIEW, 1);
    const HTREEITEM b = insert(tree, TVI_ROOT, TVI_LAST, "b.zfl");
    const HTREEITEM a = insert(tree, nullptr, TVI_FIRST, "a.zfl");
    const HTREEITEM track1 = insert(tree, a, TVI_LAST, "Track 1", 11);
    const HTREEITEM marker = insert(tree, a, TVI_LAST, "(Chapter)");
    const HTREEITEM copy = insert(tree, a, track1, "(Copy) Track 1");
    EXPECT_EQ(label(tree, next(tree, TVGN_ROOT, nullptr)), "a.zfl");
    EXPECT_EQ(next(tree, TVGN_NEXT, a), b);
    EXPECT_EQ(next(tree, TVGN_PREVIOUS, a), nullptr);
    EXPECT_EQ(next(tree, TVGN_CHILD, a), track1);
    EXPECT_EQ(next(tree, TVGN_NEXT, track1), copy);
    EXPECT_EQ(next(tree, TVGN_NEXT, copy), marker);
    EXPECT_EQ(next(tree, TVGN_PARENT, marker), a);
    EXPECT_EQ(SendMessage(tree, TVM_GETCOUNT, 0, 0), 5);
    TVITEM fields;
    fields.mask = TVIF_PARAM;
    fields.hItem = track1;
    SendMessage(tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&fields));
    EXPECT_EQ(fields.lParam, 11);

    EXPECT_EQ(SendMessage(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(a)), 1);
    EXPECT_EQ(SendMessage(tree, TVM_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(label(tree, track1), "(none)") << "a deleted item's handle is no longer valid";
    EXPECT_EQ(insert(tree, copy, TVI_LAST, "orphan"), nullptr);
    SendMessage(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    EXPECT_EQ(SendMessage(tree, TVM_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(next(tree, TVGN_ROOT, nullptr), nullptr);
}

TEST_F(WinsysControlTest, TreeStatesCarryCheckBoxesBoldAndExpansion) {
    const HWND tree = control(WC_TREEVIEW, 1, TVS_CHECKBOXES);
    const HTREEITEM track = insert(tree, TVI_ROOT, TVI_LAST, "Track 1");
    EXPECT_EQ(SendMessage(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(track), TVIS_STATEIMAGEMASK),
              static_cast<LRESULT>(INDEXTOSTATEIMAGEMASK(1)));
    TVITEM bold;
    bold.mask = TVIF_STATE;
    bold.hItem = track;
    bold.state = TVIS_BOLD | INDEXTOSTATEIMAGEMASK(2);
    bold.stateMask = TVIS_BOLD | TVIS_STATEIMAGEMASK;
    SendMessage(tree, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&bold));
    EXPECT_EQ(SendMessage(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(track), 0xFFFF),
              static_cast<LRESULT>(TVIS_BOLD | INDEXTOSTATEIMAGEMASK(2)));
    SendMessage(tree, TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(track));
    SendMessage(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(track));
    EXPECT_NE(SendMessage(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(track), TVIS_EXPANDED), 0);
    SendMessage(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(track));
    EXPECT_EQ(SendMessage(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(track), TVIS_EXPANDED), 0);
    const HTREEITEM plain = insert(control(WC_TREEVIEW, 2), TVI_ROOT, TVI_LAST, "x");
    EXPECT_EQ(SendMessage(GetDlgItem(window_, 2), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(plain),
                          TVIS_STATEIMAGEMASK),
              0);
    EXPECT_TRUE(reports.empty()) << "a program's state changes are not reported";
}

TEST_F(WinsysControlTest, TreeReportsSelectionsAndUserChecks) {
    const HWND tree = control(WC_TREEVIEW, 7, TVS_CHECKBOXES);
    const HTREEITEM file = insert(tree, TVI_ROOT, TVI_LAST, "a.zfl", 1);
    const HTREEITEM track = insert(tree, file, TVI_LAST, "Track 1", 2);
    SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(file));
    EXPECT_EQ(lastSelection.action, TVC_UNKNOWN);
    EXPECT_EQ(lastSelection.itemNew.hItem, file);
    EXPECT_EQ(lastSelection.itemOld.hItem, nullptr);
    EXPECT_TRUE(perform(window_, SelectTreeItem{7, {"a.zfl", "Track 1"}}));
    EXPECT_EQ(lastSelection.action, TVC_BYMOUSE);
    EXPECT_EQ(lastSelection.itemOld.hItem, file);
    EXPECT_EQ(lastSelection.itemNew.lParam, 2);
    EXPECT_EQ(next(tree, TVGN_CARET, nullptr), track);
    EXPECT_EQ(SendMessage(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(track), TVIS_SELECTED),
              static_cast<LRESULT>(TVIS_SELECTED));
    EXPECT_EQ(SendMessage(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(file), TVIS_SELECTED), 0);
    const size_t selections = reports.size();
    perform(window_, SelectTreeItem{7, {"a.zfl", "Track 1"}});
    EXPECT_EQ(reports.size(), selections) << "choosing the selected item again reports nothing";

    reports.clear();
    EXPECT_TRUE(perform(window_, SetTreeCheck{7, {"a.zfl", "Track 1"}, true}));
    EXPECT_TRUE(perform(window_, SetTreeCheck{7, {"a.zfl", "Track 1"}, true}));
    EXPECT_EQ(reports,
              std::vector<std::string>{"notify 7 " + std::to_string(static_cast<int>(TVN_ITEMCHANGED))});
    EXPECT_EQ(lastItemChange.hItem, track);
    EXPECT_EQ(lastItemChange.uStateOld & TVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(1));
    EXPECT_EQ(lastItemChange.uStateNew & TVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(2));
    EXPECT_EQ(lastItemChange.lParam, 2);
    control(WC_TREEVIEW, 8);
    EXPECT_FALSE(perform(window_, SetTreeCheck{8, {"a.zfl"}, true}));
    EXPECT_EQ(failures().back(),
              "window ZEPHREL_CONTROLWND \"Zephrel\": control 8: not a tree with check boxes");
}

TEST_F(WinsysControlTest, AutoRadioButtonUnchecksTheOthersOfItsGroupOnly) {
    control(WC_BUTTON, 1, BS_AUTORADIOBUTTON | WS_GROUP, "Step");
    control(WC_BUTTON, 2, BS_AUTORADIOBUTTON, "Search");
    control(WC_STATIC, 3, 0, "sec");
    control(WC_BUTTON, 4, BS_AUTORADIOBUTTON | WS_GROUP, "Manual Panning");
    control(WC_BUTTON, 5, BS_AUTORADIOBUTTON, "Automatic Panning");
    CheckDlgButton(window_, 1, BST_CHECKED);
    CheckDlgButton(window_, 4, BST_CHECKED);
    EXPECT_TRUE(perform(window_, SetCheck{2, true}));
    EXPECT_EQ(IsDlgButtonChecked(window_, 1), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(window_, 2), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(window_, 4), BST_CHECKED) << "another group";
    EXPECT_FALSE(perform(window_, SetCheck{2, false}));
    EXPECT_EQ(failures().back(),
              "window ZEPHREL_CONTROLWND \"Zephrel\": control 2: the click did not uncheck it");
    EXPECT_EQ(reports, (std::vector<std::string>{"command 2 0", "command 2 0"}));
}

TEST_F(WinsysControlTest, CheckBoxesToggleByThemselvesOnlyWhenAutomatic) {
    control(WC_BUTTON, 1, BS_AUTOCHECKBOX | BS_PUSHLIKE, "~");
    control(WC_BUTTON, 2, BS_CHECKBOX, "Manual");
    EXPECT_TRUE(perform(window_, Press{1}));
    EXPECT_EQ(IsDlgButtonChecked(window_, 1), BST_CHECKED);
    EXPECT_TRUE(perform(window_, Press{1}));
    EXPECT_EQ(IsDlgButtonChecked(window_, 1), BST_UNCHECKED);
    EXPECT_TRUE(perform(window_, Press{2}));
    EXPECT_EQ(IsDlgButtonChecked(window_, 2), BST_UNCHECKED);
    EXPECT_FALSE(perform(window_, SetCheck{2, true}));
    EXPECT_EQ(reports,
              (std::vector<std::string>{"command 1 0", "command 1 0", "command 2 0", "command 2 0"}));
}

TEST_F(WinsysControlTest, OwnerDrawnButtonIsDrawnPressedWhileHeldAndClicksOnRelease) {
    control(WC_BUTTON, 1007, BS_OWNERDRAW, ">>>");
    EXPECT_TRUE(perform(window_, Hold{1007}));
    EXPECT_EQ(reports, std::vector<std::string>{"draw 1007 pressed"});
    EXPECT_EQ(SendDlgItemMessage(window_, 1007, BM_GETSTATE, 0, 0) & BST_PUSHED,
              static_cast<LRESULT>(BST_PUSHED));
    EXPECT_TRUE(perform(window_, Release{1007}));
    EXPECT_EQ(reports,
              (std::vector<std::string>{"draw 1007 pressed", "draw 1007 released", "command 1007 0"}));
    reports.clear();
    EXPECT_TRUE(perform(window_, Press{1007}));
    EXPECT_EQ(reports,
              (std::vector<std::string>{"draw 1007 pressed", "draw 1007 released", "command 1007 0"}));
    reports.clear();
    control(WC_BUTTON, 1009, BS_PUSHBUTTON, "[");
    perform(window_, Press{1009});
    EXPECT_EQ(reports, std::vector<std::string>{"command 1009 0"}) << "other buttons are drawn by themselves";
}

TEST_F(WinsysControlTest, ClicksReachOnlyControlsThatReportThem) {
    control(WC_STATIC, 1013, SS_NOTIFY | SS_CENTER | SS_SUNKEN, "100%");
    control(WC_STATIC, 1, 0, "Speed:");
    control(WC_BUTTON, 2, BS_GROUPBOX, "Playback");
    EXPECT_TRUE(perform(window_, Press{1013}));
    EXPECT_EQ(reports, std::vector<std::string>{"command 1013 0"});
    EXPECT_FALSE(perform(window_, Press{1}));
    EXPECT_FALSE(perform(window_, Press{2}));
    EXPECT_FALSE(perform(window_, Press{3}));
    EXPECT_EQ(failures(),
              (std::vector<std::string>{
                  "window ZEPHREL_CONTROLWND \"Zephrel\": control 1: a static without SS_NOTIFY does not "
                  "report clicks",
                  "window ZEPHREL_CONTROLWND \"Zephrel\": control 2: a group box cannot be clicked",
                  "window ZEPHREL_CONTROLWND \"Zephrel\": no control 3",
              }));
}

TEST_F(WinsysControlTest, EditReportsChangesOfASingleLineAndRefusesWhatAUserCannotType) {
    const HWND line = control(WC_EDIT, 1);
    const HWND summary = control(WC_EDIT, 2, ES_MULTILINE | ES_READONLY);
    const HWND digits = control(WC_EDIT, 3, ES_NUMBER);
    SetWindowText(line, "a");
    SetWindowText(summary, "Video File:");
    EXPECT_EQ(reports, std::vector<std::string>{"command 1 768"});
    EXPECT_FALSE(perform(window_, SetText{2, "x"}));
    EXPECT_EQ(GetWindowText(summary), "Video File:");
    EXPECT_FALSE(perform(window_, SetText{3, "-1"}));
    EXPECT_TRUE(perform(window_, SetText{3, "120"}));
    EXPECT_EQ(GetWindowText(digits), "120");
    EXPECT_EQ(reports.back(), "command 3 768");
}

TEST_F(WinsysControlTest, DialogItemIntegersParseAsTheOriginalDoes) {
    control(WC_EDIT, 1);
    struct Case {
        const char* text;
        bool isSigned;
        bool translated;
        UINT value;
    };
    const Case cases[] = {
        {"120", false, true, 120},
        {"  42", false, true, 42},
        {"-7", true, true, static_cast<UINT>(-7)},
        {"-7", false, false, 0},
        {"", false, false, 0},
        {"12a", false, false, 0},
        {"1.5", true, false, 0},
        {"4294967295", false, true, 4294967295u},
        {"4294967296", false, false, 0},
        {"2147483647", true, true, 2147483647u},
        {"2147483648", true, false, 0},
        {"-2147483648", true, true, 0x80000000u},
        {"-", true, false, 0},
    };
    for (const Case& c : cases) {
        SetDlgItemText(window_, 1, c.text);
        bool translated = !c.translated;
        EXPECT_EQ(GetDlgItemInt(window_, 1, &translated, c.isSigned), c.value) << c.text;
        EXPECT_EQ(translated, c.translated) << c.text;
    }
    SetDlgItemInt(window_, 1, static_cast<UINT>(-15), true);
    EXPECT_EQ(GetDlgItemText(window_, 1), "-15");
    SetDlgItemInt(window_, 1, static_cast<UINT>(-15), false);
    EXPECT_EQ(GetDlgItemText(window_, 1), "4294967281");
    bool translated = true;
    EXPECT_EQ(GetDlgItemInt(window_, 99, &translated, false), 0u);
    EXPECT_FALSE(translated);
}

} // namespace
