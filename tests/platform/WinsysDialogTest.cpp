#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "winsys/HeadlessScript.h"
#include "winsys/WinSys.h"

using namespace win;
using namespace win::headless;

namespace {

const int kModuleInstance = 0;
const HINSTANCE kModule = &kModuleInstance;

enum : int { kName = 1000, kEnabled, kChoice, kPosition, kHotKey, kTracks, kNested, kSpin, kSpinBuddy };
enum : uint16_t { kSettingsDialog = 101, kNestedDialog = 102 };

// What the settings dialog edits.
struct Settings {
    std::string name = "Zephrel";
    bool enabled = false;
    int choice = 1;
    int position = 35;
    WORD hotKey = MAKEWORD('R', HOTKEYF_CONTROL);
    bool secondTrack = false;
    int seconds = 30;
};

struct Observed {
    std::vector<UINT> beforeInit;
    LPARAM initParam = 0;
    int initFocusId = 0;
    bool destroyed = false;
    bool ownerEnabledDuringNested = true;
    std::vector<std::string> commands;
};
Observed observed;

HTREEITEM addItem(HWND tree, HTREEITEM parent, const std::string& text) {
    TVINSERTSTRUCT insert;
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.text = text;
    return reinterpret_cast<HTREEITEM>(
        SendMessage(tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&insert)));
}

bool isChecked(HWND tree, HTREEITEM item) {
    return SendMessage(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_STATEIMAGEMASK) ==
           static_cast<LRESULT>(INDEXTOSTATEIMAGEMASK(2));
}

void fill(HWND dialog, const Settings& settings) {
    SetDlgItemText(dialog, kName, settings.name);
    CheckDlgButton(dialog, kEnabled, settings.enabled ? BST_CHECKED : BST_UNCHECKED);
    for (const char* type : {"None", "Play Sound", "Display Text"})
        SendDlgItemMessage(dialog, kChoice, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(type));
    SendDlgItemMessage(dialog, kChoice, CB_SETCURSEL, static_cast<WPARAM>(settings.choice), 0);
    SendDlgItemMessage(dialog, kPosition, TBM_SETRANGE, 1, MAKELPARAM(0, 350));
    SendDlgItemMessage(dialog, kPosition, TBM_SETPOS, 1, settings.position);
    SendDlgItemMessage(dialog, kHotKey, HKM_SETHOTKEY, settings.hotKey, 0);
    const HWND tree = GetDlgItem(dialog, kTracks);
    const HTREEITEM file = addItem(tree, TVI_ROOT, "flight.zfl");
    addItem(tree, file, "Track 1");
    addItem(tree, file, "Track 2");
    SendDlgItemMessage(dialog, kSpin, UDM_SETRANGE32, 0, 120);
    SendDlgItemMessage(dialog, kSpin, UDM_SETPOS32, 0, settings.seconds);
}

void readBack(HWND dialog, Settings& settings) {
    settings.name = GetDlgItemText(dialog, kName);
    settings.enabled = IsDlgButtonChecked(dialog, kEnabled) == BST_CHECKED;
    settings.choice = static_cast<int>(SendDlgItemMessage(dialog, kChoice, CB_GETCURSEL, 0, 0));
    settings.position = static_cast<int>(SendDlgItemMessage(dialog, kPosition, TBM_GETPOS, 0, 0));
    settings.hotKey = static_cast<WORD>(SendDlgItemMessage(dialog, kHotKey, HKM_GETHOTKEY, 0, 0));
    const HWND tree = GetDlgItem(dialog, kTracks);
    const auto file = reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    const auto first = reinterpret_cast<HTREEITEM>(
        SendMessage(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(file)));
    const auto second = reinterpret_cast<HTREEITEM>(
        SendMessage(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(first)));
    settings.secondTrack = isChecked(tree, second);
    bool translated = false;
    settings.seconds = static_cast<int>(GetDlgItemInt(dialog, kSpinBuddy, &translated, false));
}

INT_PTR settingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The inner dialog notes whether its owner takes input while the user works in it.
INT_PTR nestedProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK)
        observed.ownerEnabledDuringNested = IsWindowEnabled(GetParent(dialog));
    return settingsProc(dialog, message, wParam, lParam);
}

// A dialog procedure written the way the module writes its dialogs.
INT_PTR settingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* settings = reinterpret_cast<Settings*>(GetWindowLongPtr(dialog, GWLP_USERDATA));
    switch (message) {
    case WM_INITDIALOG:
        observed.initParam = lParam;
        observed.initFocusId = GetDlgCtrlID(reinterpret_cast<HWND>(wParam));
        SetWindowLongPtr(dialog, GWLP_USERDATA, lParam);
        fill(dialog, *reinterpret_cast<Settings*>(lParam));
        return 1;
    case WM_COMMAND:
        observed.commands.push_back(std::to_string(LOWORD(wParam)) + ":" + std::to_string(HIWORD(wParam)));
        if (LOWORD(wParam) == IDOK) {
            readBack(dialog, *settings);
            EndDialog(dialog, IDOK);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
        } else if (LOWORD(wParam) == kNested) {
            Settings inner;
            inner.name = "inner";
            if (DialogBoxParam(kModule, kNestedDialog, dialog, nestedProc,
                               reinterpret_cast<LPARAM>(&inner)) == IDOK)
                SetDlgItemText(dialog, kName, inner.name);
        }
        return 1;
    case WM_DESTROY:
        observed.destroyed = true;
        return 0;
    default:
        if (settings == nullptr)
            observed.beforeInit.push_back(message);
        return 0;
    }
}

// Ignores Cancel: only its OK button ends it.
INT_PTR stubbornProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK)
        EndDialog(dialog, IDOK);
    return message == WM_INITDIALOG ? 1 : 0;
}

INT_PTR retitlingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        SetWindowText(dialog, "Replay Settings");
    return stubbornProc(dialog, message, wParam, lParam);
}

// Keeps the focus it sets and answers FALSE.
INT_PTR focusingProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        SetFocus(GetDlgItem(dialog, kChoice));
        return 0;
    }
    if (message == WM_COMMAND)
        EndDialog(dialog, 5);
    return 0;
}

DialogTemplate settingsTemplate(uint16_t id, const std::string& title) {
    DialogTemplate t;
    t.id = id;
    t.title = title;
    t.width = 127;
    t.height = 90;
    t.controls = {
        {kName, ControlKind::Edit, "", {7, 7, 113, 20}, 0},
        {kEnabled, ControlKind::AutoCheckBox, "Enable Replay", {7, 30, 80, 10}, 0},
        {kChoice, ControlKind::ComboBox, "", {7, 42, 80, 60}, 0},
        {kPosition, ControlKind::Trackbar, "", {7, 54, 113, 12}, 0},
        {kHotKey, ControlKind::HotKey, "", {7, 68, 60, 12}, 0},
        {kTracks, ControlKind::TreeView, "", {7, 82, 113, 40}, TVS_CHECKBOXES},
        {kNested, ControlKind::PushButton, "Set...", {70, 68, 50, 12}, 0},
        {kSpinBuddy, ControlKind::Edit, "", {7, 124, 30, 12}, ES_NUMBER},
        {kSpin, ControlKind::UpDown, "", {37, 124, 10, 12}, UDS_AUTOBUDDY | UDS_SETBUDDYINT},
        {IDOK, ControlKind::DefPushButton, "OK", {7, 140, 50, 14}, 0},
        {IDCANCEL, ControlKind::PushButton, "Cancel", {70, 140, 50, 14}, 0},
    };
    return t;
}

class WinsysDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset();
        observed = Observed{};
        RegisterDialogTemplate(kModule, settingsTemplate(kSettingsDialog, "Zephrel Settings"));
        RegisterDialogTemplate(kModule, settingsTemplate(kNestedDialog, "Recording Settings"));
        main_ = CreateWindowEx(0, WC_DIALOG, "Flight Simulator X", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               800, 600, nullptr, 0, nullptr, nullptr);
    }
    void TearDown() override { reset(); }

    INT_PTR run(DLGPROC proc = settingsProc, uint16_t id = kSettingsDialog) {
        return DialogBoxParam(kModule, id, main_, proc, reinterpret_cast<LPARAM>(&settings_));
    }

    HWND main_ = nullptr;
    Settings settings_;
};

TEST_F(WinsysDialogTest, ScriptedUserEditsEveryKindOfControlAndTheProcedureReadsThemBackAtOk) {
    scriptDialog(kSettingsDialog, {
                                      SetText{kName, "Renamed"},
                                      SetCheck{kEnabled, true},
                                      SelectText{kChoice, "Display Text"},
                                      SetPosition{kPosition, 175},
                                      SetHotKey{kHotKey, 'P', HOTKEYF_SHIFT},
                                      SetTreeCheck{kTracks, {"flight.zfl", "Track 2"}, true},
                                      SetPosition{kSpin, 90},
                                      Press{IDOK},
                                  });
    EXPECT_EQ(run(), IDOK);
    EXPECT_EQ(settings_.name, "Renamed");
    EXPECT_TRUE(settings_.enabled);
    EXPECT_EQ(settings_.choice, 2);
    EXPECT_EQ(settings_.position, 175);
    EXPECT_EQ(settings_.hotKey, MAKEWORD('P', HOTKEYF_SHIFT));
    EXPECT_TRUE(settings_.secondTrack);
    EXPECT_EQ(settings_.seconds, 90);
    EXPECT_TRUE(observed.destroyed);
    EXPECT_EQ(FindWindow(nullptr, "Zephrel Settings"), nullptr);
    EXPECT_TRUE(failures().empty()) << failures().front();
    EXPECT_TRUE(unscripted().empty());
    EXPECT_EQ(unusedAnswers(), 0u);
}

TEST_F(WinsysDialogTest, TranscriptHoldsTheControlsAtInitAndAtTheEnd) {
    scriptDialog(kSettingsDialog, {SetCheck{kEnabled, true}, SetPosition{kPosition, 175}, Press{IDOK}});
    run();
    const std::vector<DialogEntry> entries = transcript().all<DialogEntry>();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].what, DialogEntry::Initialised);
    EXPECT_EQ(entries[1].what, DialogEntry::Ended);
    EXPECT_EQ(entries[1].result, IDOK);
    EXPECT_EQ(entries[0].title, "Zephrel Settings");
    ASSERT_EQ(entries[0].controls.size(), 11u);
    EXPECT_EQ(entries[0].controls[1].state, "unchecked");
    EXPECT_EQ(entries[1].controls[1].state, "checked");
    EXPECT_EQ(entries[0].controls[3].state, "position 35 range 0..350");
    EXPECT_EQ(entries[1].controls[3].state, "position 175 range 0..350");
    EXPECT_EQ(entries[0].controls[0].text, "Zephrel");
}

TEST_F(WinsysDialogTest, ProcedureSeesMessagesBeforeInitDialogAndGetsTheCreationParameter) {
    scriptDialog(kSettingsDialog, {Press{IDOK}});
    run();
    EXPECT_EQ(observed.beforeInit, std::vector<UINT>{WM_SETFONT});
    EXPECT_EQ(observed.initParam, reinterpret_cast<LPARAM>(&settings_));
    EXPECT_EQ(observed.initFocusId, kName);
}

TEST_F(WinsysDialogTest, TrueFromInitDialogFocusesTheFirstTabStopFalseKeepsTheProceduresChoice) {
    const HWND focusedByDefault = CreateDialogParam(kModule, kSettingsDialog, main_, settingsProc,
                                                    reinterpret_cast<LPARAM>(&settings_));
    EXPECT_EQ(GetFocus(), GetDlgItem(focusedByDefault, kName));
    const HWND focusedByProcedure = CreateDialogParam(kModule, kNestedDialog, main_, focusingProc, 0);
    EXPECT_EQ(GetFocus(), GetDlgItem(focusedByProcedure, kChoice));
}

TEST_F(WinsysDialogTest, NestedModalDialogRunsItsOwnScriptWhileItsOwnerIsDisabled) {
    scriptDialog(kSettingsDialog, {Press{kNested}, Press{IDOK}});
    scriptDialog(kNestedDialog, {SetText{kName, "from inner"}, Press{IDOK}});
    EXPECT_EQ(run(), IDOK);
    EXPECT_FALSE(observed.ownerEnabledDuringNested);
    EXPECT_EQ(settings_.name, "from inner");
    EXPECT_TRUE(IsWindowEnabled(main_));
    std::vector<std::string> order;
    for (const DialogEntry& entry : transcript().all<DialogEntry>())
        order.push_back(std::to_string(entry.templateId) +
                        (entry.what == DialogEntry::Initialised ? " init" : " end"));
    EXPECT_EQ(order, (std::vector<std::string>{"101 init", "102 init", "102 end", "101 end"}));
    EXPECT_TRUE(failures().empty());
}

TEST_F(WinsysDialogTest, OwnerIsDisabledOnlyWhileTheModalDialogRuns) {
    struct Probe {
        static INT_PTR proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_COMMAND && LOWORD(wParam) == IDOK)
                observed.ownerEnabledDuringNested = IsWindowEnabled(GetParent(dialog));
            return settingsProc(dialog, message, wParam, lParam);
        }
    };
    scriptDialog(kSettingsDialog, {Press{IDOK}});
    run(Probe::proc);
    EXPECT_FALSE(observed.ownerEnabledDuringNested);
    EXPECT_TRUE(IsWindowEnabled(main_));
}

TEST_F(WinsysDialogTest, UnscriptedDialogIsClosedWithCancelAndRecordedUnderEitherPolicy) {
    for (Unscripted policy : {Unscripted::Default, Unscripted::Fail}) {
        SetUp();
        setUnscriptedPolicy(policy);
        EXPECT_EQ(run(), IDCANCEL);
        EXPECT_EQ(unscripted(), std::vector<std::string>{"dialog 101 \"Zephrel Settings\""});
        EXPECT_EQ(failures().size(), policy == Unscripted::Fail ? 1u : 0u);
        EXPECT_EQ(settings_.name, "Zephrel") << "Cancel keeps the settings";
        EXPECT_TRUE(observed.destroyed);
    }
}

TEST_F(WinsysDialogTest, DialogStillOpenAfterItsLastStepIsUnscriptedFromThere) {
    scriptDialog(kSettingsDialog, {SetText{kName, "typed"}});
    EXPECT_EQ(run(), IDCANCEL);
    EXPECT_EQ(unscripted(),
              std::vector<std::string>{"dialog 101 \"Zephrel Settings\" still open after its script"});
    EXPECT_EQ(settings_.name, "Zephrel");
}

TEST_F(WinsysDialogTest, StepsLeftWhenTheDialogEndsAreAFailure) {
    scriptDialog(kSettingsDialog, {Press{IDOK}, SetText{kName, "too late"}, Press{IDCANCEL}});
    EXPECT_EQ(run(), IDOK);
    EXPECT_EQ(failures(),
              std::vector<std::string>{"dialog 101 \"Zephrel Settings\" ended before its last 2 step(s)"});
    EXPECT_EQ(observed.commands.back(), "1:0") << "no step reaches the dialog after its end";
}

TEST_F(WinsysDialogTest, DialogThatIgnoresCancelIsEndedWithAFailure) {
    EXPECT_EQ(run(stubbornProc), IDCANCEL);
    ASSERT_EQ(failures().size(), 1u);
    EXPECT_EQ(failures()[0], "dialog 101 \"Zephrel Settings\" did not end when closed; ended with IDCANCEL");
}

TEST_F(WinsysDialogTest, ScriptMatchesTheTitleTheDialogHasAfterInit) {
    scriptDialog("Recording Settings", {Press{IDCANCEL}});
    scriptDialog("Replay Settings", {Press{IDOK}});
    EXPECT_EQ(run(retitlingProc, kNestedDialog), IDOK);
    EXPECT_EQ(unusedAnswers(), 1u);
    EXPECT_TRUE(failures().empty());
}

TEST_F(WinsysDialogTest, StepsAUserCouldNotTakeAreFailures) {
    struct Case {
        Step step;
        const char* failure;
    };
    const Case cases[] = {
        {Press{9999}, "no control 9999"},
        {SetCheck{kEnabled, true}, "control 1001 is disabled"},
        {SelectIndex{kChoice, 0}, "control 1002 is hidden"},
        {SetPosition{kPosition, 351}, "control 1003: position 351 is outside 0..350"},
        {SetText{kChoice + 100, "x"}, "no control 1102"},
        {SetText{kSpinBuddy, "12a"}, "control 1008: the field takes digits only"},
        {SetText{kPosition, "x"}, "control 1003: not an edit field"},
        {SelectText{kTracks, "flight.zfl"}, "control 1005: not a combo or list box"},
        {SetTreeCheck{kTracks, {"flight.zfl", "Track 3"}, true},
         "control 1005: no tree item \"flight.zfl\" > \"Track 3\""},
        {SetCheck{kName, true}, "control 1000: not a check box or radio button"},
        {SetHotKey{kName, 'A', 0}, "control 1000: not a hot-key field"},
        {Release{IDOK}, "control 1: the button is not held"},
    };
    struct Restricting {
        static INT_PTR proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
            const INT_PTR result = settingsProc(dialog, message, wParam, lParam);
            if (message == WM_INITDIALOG) {
                EnableWindow(GetDlgItem(dialog, kEnabled), false);
                ShowWindow(GetDlgItem(dialog, kChoice), SW_HIDE);
            }
            return result;
        }
    };
    for (const Case& c : cases) {
        SetUp();
        scriptDialog(kSettingsDialog, {c.step, Press{IDOK}});
        EXPECT_EQ(run(Restricting::proc), IDOK);
        ASSERT_EQ(failures().size(), 1u) << c.failure << (failures().empty() ? "" : "; " + failures()[0]);
        EXPECT_EQ(failures()[0], std::string("dialog 101 \"Zephrel Settings\": ") + c.failure);
    }
}

TEST_F(WinsysDialogTest, MissingTemplateFailsWithMinusOne) {
    EXPECT_EQ(DialogBoxParam(kModule, 999, main_, settingsProc, 0), -1);
    const int otherModule = 0;
    EXPECT_EQ(DialogBoxParam(&otherModule, kSettingsDialog, main_, settingsProc, 0), -1);
    EXPECT_EQ(CreateDialogParam(kModule, 999, main_, settingsProc, 0), nullptr);
}

TEST_F(WinsysDialogTest, ModelessDialogIsShownByItsStyleAndTakesStepsAtOnce) {
    DialogTemplate visible = settingsTemplate(142, "Zephrel Data");
    visible.style |= WS_VISIBLE;
    RegisterDialogTemplate(kModule, visible);
    const HWND data =
        CreateDialogParam(kModule, 142, main_, settingsProc, reinterpret_cast<LPARAM>(&settings_));
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(IsWindowVisible(data));
    EXPECT_EQ(GetParent(data), main_);
    EXPECT_FALSE(perform(data, Press{kNested + 100}));
    observed.commands.clear();
    EXPECT_TRUE(perform(data, Close{}));
    EXPECT_EQ(observed.commands, std::vector<std::string>{"2:0"});

    const HWND hidden =
        CreateDialogParam(kModule, kNestedDialog, main_, settingsProc, reinterpret_cast<LPARAM>(&settings_));
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_FALSE(perform(hidden, Press{IDOK}));
    EXPECT_EQ(failures().back(), "dialog 102 \"Recording Settings\": control 1 is hidden");
}

TEST_F(WinsysDialogTest, DialogAndControlSizesFollowTheDialogUnitsOfTheFont) {
    const HWND dialog = CreateDialogParam(kModule, kSettingsDialog, main_, settingsProc,
                                          reinterpret_cast<LPARAM>(&settings_));
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 191);  // 127 x 6 / 4, rounded
    EXPECT_EQ(client.bottom, 146); // 90 x 13 / 8
    RECT name;
    GetWindowRect(GetDlgItem(dialog, kName), &name);
    POINT corner{name.left, name.top};
    ScreenToClient(dialog, &corner);
    EXPECT_EQ(corner.x, 11);
    EXPECT_EQ(corner.y, 11);
    EXPECT_EQ(name.right - name.left, 170);
    EXPECT_EQ(name.bottom - name.top, 33);
    RECT mapped{7, 7, 120, 27};
    MapDialogRect(dialog, &mapped);
    EXPECT_EQ(mapped.left, 11);
    EXPECT_EQ(mapped.right, 180);
    EXPECT_EQ(mapped.bottom, 44);

    DialogTemplate large = settingsTemplate(103, "Large");
    large.fontSize = 16;
    RegisterDialogTemplate(kModule, large);
    GetClientRect(CreateDialogParam(kModule, 103, main_, settingsProc, reinterpret_cast<LPARAM>(&settings_)),
                  &client);
    EXPECT_EQ(client.right, 381);  // 127 x 12 / 4
    EXPECT_EQ(client.bottom, 293); // 90 x 26 / 8, rounded
}

TEST_F(WinsysDialogTest, CloseMessageReachesTheProcedureAsCancel) {
    const HWND dialog = CreateDialogParam(kModule, kSettingsDialog, main_, settingsProc,
                                          reinterpret_cast<LPARAM>(&settings_));
    observed.commands.clear();
    SendMessage(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(observed.commands, std::vector<std::string>{"2:0"});
    EXPECT_TRUE(IsWindow(dialog));
}

TEST_F(WinsysDialogTest, HandledMessageAnswersWithTheMessageResultWord) {
    struct Answering {
        static INT_PTR proc(HWND dialog, UINT message, WPARAM, LPARAM) {
            if (message != WM_USER)
                return 0;
            SetWindowLongPtr(dialog, DWLP_MSGRESULT, 42);
            return 1;
        }
    };
    const HWND dialog = CreateDialogParam(kModule, kSettingsDialog, main_, Answering::proc, 0);
    EXPECT_EQ(SendMessage(dialog, WM_USER, 0, 0), 42);
    EXPECT_EQ(SendMessage(dialog, WM_USER + 1, 0, 0), 0);
}

} // namespace
