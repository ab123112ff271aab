#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "winsys/HeadlessScript.h"
#include "winsys/WinSys.h"

using namespace win;
using namespace win::headless;

namespace {

const int kConverterInstance = 0;
const HINSTANCE kConverter = &kConverterInstance;

// The converter's dialog: two buttons and the metres check box.
DialogTemplate converterTemplate() {
    DialogTemplate t;
    t.id = 8001;
    t.title = "Zephrel Converter";
    t.width = 127;
    t.height = 90;
    t.controls = {
        {1003, ControlKind::PushButton, "Zephrel (.zfl) --> Text", {7, 7, 113, 20}, 0},
        {1004, ControlKind::PushButton, "Text --> Zephrel (.zfl)", {7, 32, 113, 20}, 0},
        {1000, ControlKind::AutoCheckBox, "Altitude in Meters", {29, 67, 70, 10}, 0},
    };
    return t;
}

INT_PTR converterProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG)
        return 1;
    if (message != WM_COMMAND)
        return 0;
    if (LOWORD(wParam) == 1003) {
        OPENFILENAME input;
        input.hwndOwner = dialog;
        input.filters = {{"Flight Recordings", "*.zfl"}};
        input.title = "Input ZFL File";
        input.defExt = "zfl";
        input.flags = OFN_EXPLORER | OFN_HIDEREADONLY;
        if (!GetOpenFileName(input))
            MessageBox(dialog, "Nothing converted.", "Zephrel Converter", MB_OK | MB_ICONINFORMATION);
    }
    if (LOWORD(wParam) == IDCANCEL)
        EndDialog(dialog, IDCANCEL);
    return 1;
}

class WinsysTranscriptTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
};

TEST_F(WinsysTranscriptTest, ReadableFormShowsEverythingInOrder) {
    RegisterClass(WNDCLASS{0, DefWindowProc, nullptr, nullptr, "FS98MAIN"});
    const HWND main = CreateWindowEx(0, "FS98MAIN", "Flight Simulator X", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                     0, 800, 600, nullptr, 0, nullptr, nullptr);
    CreateWindowEx(0, WC_BUTTON, "not listed", WS_CHILD, 0, 0, 5, 5, main, 1, nullptr, nullptr);
    RegisterDialogTemplate(kConverter, converterTemplate());
    scriptDialog(8001, {SetCheck{1000, true}, Press{1003}, Close{}});
    cancelFileDialog("Input ZFL File");
    answerMessageBox(IDOK);
    EXPECT_EQ(DialogBoxParam(kConverter, 8001, main, converterProc, 0), IDCANCEL);
    BrowseForFolder(BROWSEINFO{main, "Select Temp Directory", "/tmp"});
    ShellExecute(main, "open", "https://example.org");
    sndPlaySound("/no/such.wav", SND_ASYNC);
    sndPlaySound(nullptr, 0);
    SetCursor(LoadCursor(nullptr, IDC_CROSS));
    ShowCursor(false);
    SetCursorPos(12, 34);
    DestroyWindow(main);

    EXPECT_EQ(transcriptText(),
              "window created FS98MAIN \"Flight Simulator X\"\n"
              "window shown FS98MAIN \"Flight Simulator X\"\n"
              "window created #32770 \"Zephrel Converter\"\n"
              "dialog 8001 \"Zephrel Converter\" initialised (modal)\n"
              "  1003 Button \"Zephrel (.zfl) --> Text\"\n"
              "  1004 Button \"Text --> Zephrel (.zfl)\"\n"
              "  1000 Button \"Altitude in Meters\" unchecked\n"
              "window shown #32770 \"Zephrel Converter\"\n"
              "open file dialog \"Input ZFL File\" filters \"Flight Recordings\" *.zfl, folder \"\", "
              "extension \"zfl\", "
              "flags 0x80004 -> cancelled\n"
              "message box \"Zephrel Converter\" (information, OK) \"Nothing converted.\" -> OK\n"
              "dialog 8001 \"Zephrel Converter\" ended with 2\n"
              "  1003 Button \"Zephrel (.zfl) --> Text\"\n"
              "  1004 Button \"Text --> Zephrel (.zfl)\"\n"
              "  1000 Button \"Altitude in Meters\" checked\n"
              "window destroyed #32770 \"Zephrel Converter\"\n"
              "folder browser \"Select Temp Directory\" from \"/tmp\" -> cancelled\n"
              "shell open \"https://example.org\"\n"
              "sound \"/no/such.wav\" flags 0x1 not played\n"
              "sound stopped\n"
              "cursor shape cross\n"
              "cursor hidden\n"
              "cursor moved to 12,34\n"
              "window destroyed FS98MAIN \"Flight Simulator X\"\n");
}

TEST_F(WinsysTranscriptTest, ControlStatesDescribeWhatAUserWouldSee) {
    RegisterClass(WNDCLASS{0, DefWindowProc, nullptr, nullptr, "ZEPHREL_CONTROLWND"});
    DialogTemplate t;
    t.id = 138;
    t.title = "Advanced Playback";
    t.controls = {
        {1159, ControlKind::TreeView, "", {}, TVS_CHECKBOXES},
        {1160, ControlKind::ComboBox, "", {}, 0},
        {1004, ControlKind::Trackbar, "", {}, 0},
        {1005, ControlKind::UpDown, "", {}, 0},
        {1006, ControlKind::HotKey, "", {}, 0},
        {1099, ControlKind::AutoRadioButton, "Heading", {}, 0},
        {1, ControlKind::DefPushButton, "Play", {}, 0},
    };
    RegisterDialogTemplate(kConverter, t);
    struct Filler {
        static INT_PTR proc(HWND dialog, UINT message, WPARAM, LPARAM) {
            if (message != WM_INITDIALOG)
                return 0;
            TVINSERTSTRUCT file;
            file.item.mask = TVIF_TEXT;
            file.item.text = "a.zfl";
            TVINSERTSTRUCT track = file;
            track.hParent = reinterpret_cast<HTREEITEM>(
                SendDlgItemMessage(dialog, 1159, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&file)));
            track.item.mask = TVIF_TEXT | TVIF_STATE;
            track.item.text = "Track 1";
            track.item.state = TVIS_BOLD | INDEXTOSTATEIMAGEMASK(2);
            track.item.stateMask = TVIS_BOLD | TVIS_STATEIMAGEMASK;
            SendDlgItemMessage(dialog, 1159, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&track));
            SendDlgItemMessage(dialog, 1160, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Beech Baron"));
            SendDlgItemMessage(dialog, 1160, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Cessna"));
            SendDlgItemMessage(dialog, 1160, CB_SETCURSEL, 1, 0);
            SendDlgItemMessage(dialog, 1004, TBM_SETRANGEMAX, 0, 350);
            SendDlgItemMessage(dialog, 1004, TBM_SETTIC, 0, 35);
            SendDlgItemMessage(dialog, 1004, TBM_SETTIC, 0, 70);
            SendDlgItemMessage(dialog, 1005, UDM_SETRANGE32, 0, 120);
            SendDlgItemMessage(dialog, 1006, HKM_SETHOTKEY, MAKEWORD(0x6B, HOTKEYF_SHIFT | HOTKEYF_CONTROL),
                               0);
            EnableWindow(GetDlgItem(dialog, 1099), false);
            ShowWindow(GetDlgItem(dialog, 1), SW_HIDE);
            return 1;
        }
    };
    CreateDialogParam(kConverter, 138, nullptr, Filler::proc, 0);
    const std::vector<DialogEntry> dialogs = transcript().all<DialogEntry>();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(describe(dialogs[0]), "dialog 138 \"Advanced Playback\" initialised (modeless)\n"
                                    "  1159 SysTreeView32 \"\" \"a.zfl\" [ ] (\"Track 1\" [x] bold)\n"
                                    "  1160 ComboBox \"\" items [\"Beech Baron\", \"Cessna\"] selected 1\n"
                                    "  1004 msctls_trackbar32 \"\" position 0 range 0..350 ticks 35,70\n"
                                    "  1005 msctls_updown32 \"\" position 0 range 0..120\n"
                                    "  1006 msctls_hotkey32 \"\" hot key Ctrl+Shift+0x6B\n"
                                    "  1099 Button \"Heading\" unchecked disabled\n"
                                    "  1 Button \"Play\" hidden");
}

// What was queued and never used is named by the origin it was queued with, or else by what it
// answers, in the order it was queued whatever its kind.
TEST_F(WinsysTranscriptTest, UnusedAnswersAreNamedInTheOrderTheyWereQueued) {
    scriptDialog("Add Marker", {Press{1}});
    answerMessageBox(IDYES, {"Zephrel", "markers"}, "line 3");
    cancelFileDialog("Save Markers");
    answerFolderBrowser("/tmp");
    answerMessageBox(IDNO);
    scriptDialog(140, {Close{}}, "line 9");
    answerFileDialog({"/tmp/a.zfl"});
    EXPECT_EQ(MessageBox(nullptr, "text", "caption", MB_YESNO), IDNO) << "the first box that matches is used";
    EXPECT_EQ(unusedAnswers(), 6u);
    EXPECT_EQ(unusedAnswerOrigins(),
              (std::vector<std::string>{"steps for dialog \"Add Marker\"", "line 3",
                                        "cancel of a file dialog \"Save Markers\"", "answer to a folder browser",
                                        "line 9", "answer to a file dialog"}));
    EXPECT_EQ(queuedAnswers(), 7u);
    EXPECT_EQ(unusedAnswerOrigins(5), (std::vector<std::string>{"line 9", "answer to a file dialog"}))
        << "those queued before a point are left out";
}

TEST_F(WinsysTranscriptTest, ResetForgetsTheTranscriptWindowsAndScripts) {
    RegisterClass(WNDCLASS{0, DefWindowProc, nullptr, nullptr, "FS98MAIN"});
    CreateWindowEx(0, "FS98MAIN", "FS", WS_POPUP, 0, 0, 1, 1, nullptr, 0, nullptr, nullptr);
    answerMessageBox(IDOK);
    setUnscriptedPolicy(Unscripted::Fail);
    BrowseForFolder(BROWSEINFO{});
    reset();
    EXPECT_TRUE(transcript().entries().empty());
    EXPECT_EQ(FindWindow("FS98MAIN", nullptr), nullptr);
    EXPECT_EQ(unusedAnswers(), 0u);
    EXPECT_TRUE(failures().empty());
    EXPECT_TRUE(unscripted().empty());
    EXPECT_TRUE(RegisterClass(WNDCLASS{0, DefWindowProc, nullptr, nullptr, "FS98MAIN"}));
    EXPECT_NE(CreateWindowEx(0, WC_BUTTON, "still there", WS_POPUP, 0, 0, 1, 1, nullptr, 0, nullptr, nullptr),
              nullptr);
    BrowseForFolder(BROWSEINFO{});
    EXPECT_TRUE(failures().empty()) << "the policy is back to Default";
}

} // namespace
