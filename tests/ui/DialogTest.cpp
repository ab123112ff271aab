#include <gtest/gtest.h>

#include <functional>

#include "alerts/HostWindow.h"
#include "common/ZephrelException.h"
#include "ui/AboutDlg.h"
#include "ui/Dialog.h"
#include "ui/ModuleResources.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;

const char testModule = 0;
constexpr uint16_t kFormId = 900;
constexpr int kName = 10, kEnabled = 11, kKind = 12, kRate = 13, kNested = 14, kFail = 15, kCount = 16;

win::DialogTemplate formTemplate() {
    win::DialogTemplate form;
    form.id = kFormId;
    form.title = "Test Form";
    form.width = 200;
    form.height = 120;
    form.controls = {
        {kName, win::ControlKind::Edit, "", {5, 5, 100, 12}, 0},
        {kEnabled, win::ControlKind::AutoCheckBox, "Enabled", {5, 20, 100, 12}, 0},
        {kKind, win::ControlKind::ComboBox, "", {5, 35, 100, 60}, 0},
        {kRate, win::ControlKind::Edit, "", {5, 50, 100, 12}, 0},
        {kNested, win::ControlKind::PushButton, "Nested", {5, 65, 50, 14}, 0},
        {kFail, win::ControlKind::PushButton, "Fail", {60, 65, 50, 14}, 0},
        {kCount, win::ControlKind::Edit, "", {5, 80, 100, 12}, 0},
        {win::IDOK, win::ControlKind::DefPushButton, "OK", {5, 100, 50, 14}, 0},
        {win::IDCANCEL, win::ControlKind::PushButton, "Cancel", {60, 100, 50, 14}, 0},
    };
    return form;
}

// A small settings form: filled on init, read back on OK.
class FormDialog : public Dialog {
public:
    FormDialog() : Dialog(kFormId, &testModule) {}

    std::string name = "Cessna";
    bool enabled = false;
    int kind = 1;
    double rate = 2.5;
    int count = -12;
    std::function<void()> onNestedPressed;
    std::vector<std::string> seenAtInit;

protected:
    bool onInitDialog() override {
        setText(kName, name);
        setCheck(kEnabled, enabled);
        for (const char* item : {"VC", "Tower", "Spot"})
            addItem(kKind, item);
        setSelection(kKind, kind);
        setFloat(kRate, rate, 2);
        setInt(kCount, count);
        enable(kFail, false);
        seenAtInit = {getText(kName), getText(kRate), getText(kCount)};
        return true;
    }
    bool onCommand(int id, int, win::LPARAM) override {
        switch (id) {
        case win::IDOK:
            name = getText(kName);
            enabled = getCheck(kEnabled);
            kind = getSelection(kKind);
            rate = getFloat(kRate);
            count = getInt(kCount);
            end(win::IDOK);
            return true;
        case win::IDCANCEL:
            end(win::IDCANCEL);
            return true;
        case kNested:
            onNestedPressed();
            return true;
        case kFail:
            throw ZephrelException(ErrorCode::Unexpected, ZephrelException::Error, "FormDialog::onCommand", __LINE__, "test failure");
        default:
            return false;
        }
    }
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset();
        setUnscriptedPolicy(Unscripted::Fail);
        win::RegisterDialogTemplate(&testModule, formTemplate());
        ModuleResources::registerDialogs();
        win::WNDCLASS simulatorClass;
        simulatorClass.lpfnWndProc = win::DefWindowProc;
        simulatorClass.lpszClassName = "FS98MAIN";
        win::RegisterClass(simulatorClass);
        mainWindow = win::CreateWindowEx(0, "FS98MAIN", "Simulator", win::WS_OVERLAPPED | win::WS_VISIBLE, 0, 0, 800,
                                         600, nullptr, 0, nullptr, nullptr);
        HostWindow::setMainWindow(mainWindow);
        HostWindow::setModalHook([this](bool open) { modalCalls.push_back(open); });
    }
    void TearDown() override {
        HostWindow::setModalHook({});
        HostWindow::setMainWindow(nullptr);
        EXPECT_TRUE(failures().empty()) << failures().front();
        reset();
    }

    win::HWND mainWindow = nullptr;
    std::vector<bool> modalCalls;
};

TEST_F(DialogTest, InitFillsTheControlsTheUserEditsThemAndOkReadsThemBack) {
    scriptDialog(kFormId, {SetText{kName, "Piper Cub"}, SetCheck{kEnabled, true}, SelectText{kKind, "Spot"},
                           SetText{kRate, "0.75"}, SetText{kCount, "250"}, Press{win::IDOK}});
    FormDialog form;
    EXPECT_EQ(form.doModal(), win::IDOK);
    EXPECT_EQ(form.seenAtInit, (std::vector<std::string>{"Cessna", "2.50", "-12"}));
    EXPECT_EQ(form.count, 250);
    EXPECT_EQ(form.name, "Piper Cub");
    EXPECT_TRUE(form.enabled);
    EXPECT_EQ(form.kind, 2);
    EXPECT_DOUBLE_EQ(form.rate, 0.75);
    EXPECT_EQ(form.parent(), mainWindow);
    EXPECT_TRUE(Dialog::openDialogs().empty());

    auto dialogs = transcript().all<win::DialogEntry>();
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[0].what, win::DialogEntry::Initialised);
    EXPECT_EQ(dialogs[0].title, "Test Form");
    for (const win::ControlSnapshot& control : dialogs[0].controls)
        EXPECT_EQ(control.enabled, control.id != kFail) << "control " << control.id;
    EXPECT_EQ(dialogs[1].what, win::DialogEntry::Ended);
    EXPECT_EQ(dialogs[1].result, win::IDOK);
}

TEST_F(DialogTest, TheSimulatorIsPausedForExactlyAsLongAsTheDialogIsOpen) {
    std::vector<bool> seenWhileOpen;
    scriptDialog(kFormId, {Press{kNested}, Press{win::IDCANCEL}});
    FormDialog form;
    form.onNestedPressed = [&] { seenWhileOpen = modalCalls; };
    EXPECT_EQ(form.doModal(), win::IDCANCEL);
    EXPECT_EQ(seenWhileOpen, (std::vector<bool>{true}));
    EXPECT_EQ(modalCalls, (std::vector<bool>{true, false}));
    EXPECT_EQ(form.name, "Cessna") << "Cancel keeps the values";
}

TEST_F(DialogTest, ADialogOpenedFromADialogOpensOverItAndBothPausesNest) {
    FormDialog outer, inner;
    std::vector<win::HWND> openWhileNested;
    outer.onNestedPressed = [&] {
        EXPECT_EQ(inner.doModal(), win::IDOK);
        EXPECT_EQ(inner.parent(), outer.hwnd());
    };
    inner.onNestedPressed = [&] { openWhileNested = Dialog::openDialogs(); };
    scriptDialog(kFormId, {Press{kNested}, Press{win::IDOK}});               // outer
    scriptDialog(kFormId, {Press{kNested}, SetText{kName, "Inner"}, Press{win::IDOK}}); // inner
    EXPECT_EQ(outer.doModal(), win::IDOK);
    EXPECT_EQ(inner.name, "Inner");
    EXPECT_EQ(openWhileNested.size(), 2u);
    EXPECT_EQ(modalCalls, (std::vector<bool>{true, true, false, false}));
    EXPECT_TRUE(Dialog::openDialogs().empty());
}

TEST_F(DialogTest, AnErrorInsideADialogIsShownAndTheDialogGoesOn) {
    answerMessageBox(win::IDOK, {"Zephrel Error", "An unexpected error occured!"});
    scriptDialog(kFormId, {Press{kNested}, Press{kFail}, Press{win::IDOK}});
    FormDialog form;
    form.onNestedPressed = [&] { win::EnableWindow(win::GetDlgItem(form.hwnd(), kFail), true); };
    EXPECT_EQ(form.doModal(), win::IDOK);
    EXPECT_EQ(transcript().all<win::MessageBoxEntry>().size(), 1u);
    EXPECT_EQ(unusedAnswers(), 0u);
}

TEST_F(DialogTest, AboutBoxShowsTheVersionAndItsLinkOpensTheWebPage) {
    scriptDialog(ModuleResources::kAboutDialog, {Press{AboutDlg::kLinkId}});
    AboutDlg about;
    EXPECT_EQ(about.doModal(), win::IDOK);

    auto dialogs = transcript().all<win::DialogEntry>();
    ASSERT_FALSE(dialogs.empty());
    EXPECT_EQ(dialogs[0].title, "About Zephrel");
    bool textShown = false;
    for (const win::ControlSnapshot& control : dialogs[0].controls)
        if (control.id == AboutDlg::kTextId)
            textShown = control.text.starts_with("Zephrel for FSX Version 2.17 alpha\nBuilt on Aug 15 2011");
    EXPECT_TRUE(textShown) << transcriptText();

    auto opened = transcript().all<win::ShellOpenEntry>();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].operation, "open");
    EXPECT_EQ(opened[0].target, AboutDlg::kWebPage);
}

TEST_F(DialogTest, AboutBoxClosesWithOk) {
    scriptDialog(ModuleResources::kAboutDialog, {Press{win::IDOK}});
    AboutDlg about;
    EXPECT_EQ(about.doModal(), win::IDOK);
    EXPECT_TRUE(transcript().all<win::ShellOpenEntry>().empty());
}

} // namespace
