#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempDir.h"
#include "winsys/Backend.h"
#include "winsys/HeadlessScript.h"
#include "winsys/WinSys.h"

using namespace win;
using namespace win::headless;

namespace {

class WinsysCommonDialogTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }

    HWND makeMainWindow() {
        return CreateWindowEx(0, WC_DIALOG, "Flight Simulator X", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800,
                              600, nullptr, 0, nullptr, nullptr);
    }

    OPENFILENAME recordingDialog(const std::string& title, DWORD flags) const {
        OPENFILENAME request;
        request.filters = {{"Flight Recordings", "*.zfl"}};
        request.initialDir = folder_.path().string();
        request.title = title;
        request.defExt = "zfl";
        request.flags = flags;
        return request;
    }

    std::string existing(const std::string& name) const {
        const std::string path = folder_.file(name);
        writeBytes(path, {1});
        return path;
    }

    TempDir folder_;
};

TEST_F(WinsysCommonDialogTest, MessageBoxTakesTheFirstQueuedAnswerThatMatches) {
    makeMainWindow();
    answerMessageBox(IDOK, {"Zephrel Error", ""});
    answerMessageBox(IDYES, {"", "continue recording"});
    answerMessageBox(IDNO);
    EXPECT_EQ(
        MessageBox(nullptr, "Do you want to continue recording?", "Zephrel", MB_YESNO | MB_ICONQUESTION),
        IDYES);
    EXPECT_EQ(MessageBox(nullptr, "Convert?", "Zephrel", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBox(nullptr, "Reading failed!", "Zephrel Error", MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(unusedAnswers(), 0u);
    EXPECT_TRUE(unscripted().empty());
    const std::vector<MessageBoxEntry> boxes = transcript().all<MessageBoxEntry>();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, "Do you want to continue recording?");
    EXPECT_EQ(boxes[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(boxes[0].answer, IDYES);
}

TEST_F(WinsysCommonDialogTest, UnscriptedMessageBoxGetsTheAnswerOfAUserWhoOnlyClosesIt) {
    makeMainWindow();
    struct Case {
        UINT type;
        int answer;
    };
    for (const Case c : {Case{MB_OK, IDOK}, Case{MB_YESNO, IDNO}, Case{MB_OKCANCEL, IDCANCEL}})
        EXPECT_EQ(MessageBox(nullptr, "text", "caption", c.type), c.answer) << c.type;
    EXPECT_EQ(unscripted().size(), 3u);
    EXPECT_EQ(unscripted()[0], "message box \"caption\": text");
    EXPECT_TRUE(failures().empty());
    setUnscriptedPolicy(Unscripted::Fail);
    EXPECT_EQ(MessageBox(nullptr, "text", "caption", MB_YESNO), IDNO);
    EXPECT_EQ(failures(), std::vector<std::string>{"unscripted message box \"caption\": text"});
}

TEST_F(WinsysCommonDialogTest, AnswerThatIsNotAButtonOfTheBoxIsAFailure) {
    makeMainWindow();
    answerMessageBox(IDYES);
    EXPECT_EQ(MessageBox(nullptr, "Saved.", "Zephrel", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(failures(), std::vector<std::string>{"message box \"Zephrel\": Saved. has no button Yes"});
}

TEST_F(WinsysCommonDialogTest, MessageBoxWithoutAnyWindowIsAlsoPrintedOnStderr) {
    testing::internal::CaptureStderr();
    MessageBox(nullptr, "Invalid command line arguments!", "Zephrel Converter", MB_OK | MB_ICONERROR);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Zephrel Converter: Invalid command line arguments!\n");
    const HWND main = makeMainWindow();
    testing::internal::CaptureStderr();
    MessageBox(main, "Shown over the window", "Zephrel", MB_OK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// A backend that answers everything itself and notes what the model asked of it.
class RecordingBackend final : public Backend {
public:
    explicit RecordingBackend(std::vector<std::string>& log) : log_(log) {}
    void runModalLoop(HWND dialog) override {
        log_.push_back("modal loop");
        EndDialog(dialog, 9);
    }
    void runMessageLoop(std::chrono::steady_clock::time_point) override {}
    int messageBox(HWND owner, const std::string& text, const std::string&, UINT) override {
        log_.push_back("box " + text +
                       (IsWindowEnabled(owner) ? " over an enabled owner" : " over a disabled owner"));
        return IDYES;
    }
    std::vector<std::string> fileDialog(FileDialogKind, const OPENFILENAME& request) override {
        log_.push_back("file dialog " + request.title);
        return {"/chosen.zfl"};
    }
    std::string browseForFolder(const BROWSEINFO&) override { return "/folder"; }
    UINT popupMenu(HWND, const std::vector<MenuItem>& items, POINT at) override {
        log_.push_back("menu at " + std::to_string(at.x) + "," + std::to_string(at.y));
        return items.back().id;
    }
    void menuBarChanged(HWND window) override { log_.push_back("menu bar of " + GetWindowText(window)); }
    bool shellOpen(const std::string&, const std::string& target) override {
        log_.push_back("open " + target);
        return false;
    }
    bool playSound(const std::string&, UINT) override { return true; }
    void stopSound() override { log_.push_back("stop"); }
    ScreenMetrics screen() const override { return ScreenMetrics{640, 480, RECT{0, 0, 640, 480}}; }

private:
    std::vector<std::string>& log_;
};

INT_PTR closingProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? 1 : 0;
}

TEST_F(WinsysCommonDialogTest, InstalledBackendAnswersTheInteractionsAndTheTranscriptStillRecordsThem) {
    std::vector<std::string> log;
    SetBackend(std::make_unique<RecordingBackend>(log));
    const HWND main = makeMainWindow();
    const int module = 0;
    DialogTemplate about;
    about.id = 105;
    about.title = "About Zephrel";
    RegisterDialogTemplate(&module, about);
    EXPECT_EQ(DialogBoxParam(&module, 105, main, closingProc, 0), 9);
    EXPECT_EQ(MessageBox(main, "Sure?", "Zephrel", MB_YESNO), IDYES);
    OPENFILENAME request = recordingDialog("Open Recorded Flight", 0);
    EXPECT_TRUE(GetOpenFileName(request));
    EXPECT_EQ(request.file, "/chosen.zfl");
    EXPECT_EQ(ShellExecute(main, "open", "https://example.org"), SE_ERR_NOASSOC);
    const HMENU menu = CreatePopupMenu();
    AppendMenu(menu, MF_STRING, 40001, "First");
    AppendMenu(menu, MF_STRING, 40002, "Second");
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 30, 40, main), 40002u);
    EXPECT_EQ(PumpPostedMessages(), 0u) << "a returned command is not sent as well";
    EXPECT_TRUE(sndPlaySound(nullptr, 0));
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 640);
    EXPECT_EQ(log, (std::vector<std::string>{"modal loop", "box Sure? over a disabled owner",
                                             "file dialog Open Recorded Flight", "open https://example.org",
                                             "menu at 30,40", "stop"}));
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(transcript().all<MessageBoxEntry>().size(), 1u);
    EXPECT_EQ(transcript().all<DialogEntry>().size(), 2u);
    SetBackend(nullptr);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1920);
}

TEST_F(WinsysCommonDialogTest, OpenDialogCompletesTheTypedNameInTheStartFolder) {
    const std::string recording = existing("flight.zfl");
    answerFileDialog({"flight"}, "Open Recorded Flight");
    OPENFILENAME request = recordingDialog("Open Recorded Flight", OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    ASSERT_TRUE(GetOpenFileName(request));
    EXPECT_EQ(request.file, recording);
    EXPECT_EQ(request.files, std::vector<std::string>{recording});
    const std::vector<FileDialogEntry> entries = transcript().all<FileDialogEntry>();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].kind, FileDialogKind::Open);
    EXPECT_EQ(entries[0].initialDir, folder_.path().string());
    EXPECT_EQ(entries[0].defExt, "zfl");
    EXPECT_EQ(entries[0].filters[0].pattern, "*.zfl");
    EXPECT_EQ(entries[0].chosen, std::vector<std::string>{recording});
}

TEST_F(WinsysCommonDialogTest, OpenDialogRefusesWhatDoesNotExist) {
    struct Case {
        std::string typed;
        DWORD flags;
        std::string failure;
    };
    const std::string missing = folder_.file("missing.zfl");
    const std::string noFolder = folder_.file("none/a.zfl");
    // A name longer than the file system takes is one more name that does not exist.
    const std::string tooLong = folder_.file(std::string(300, 'x') + ".zfl");
    const Case cases[] = {
        {"missing.zfl", OFN_FILEMUSTEXIST, "open file dialog \"In\": " + missing + " does not exist"},
        {tooLong, OFN_FILEMUSTEXIST, "open file dialog \"In\": " + tooLong + " does not exist"},
        {noFolder, OFN_PATHMUSTEXIST,
         "open file dialog \"In\": the folder of " + noFolder + " does not exist"},
    };
    for (const Case& c : cases) {
        SetUp();
        answerFileDialog({c.typed});
        OPENFILENAME request = recordingDialog("In", c.flags);
        request.file = "untouched";
        EXPECT_FALSE(GetOpenFileName(request)) << c.typed;
        EXPECT_EQ(request.file, "untouched");
        EXPECT_EQ(failures(), std::vector<std::string>{c.failure});
    }
    SetUp();
    answerFileDialog({"missing.zfl"});
    OPENFILENAME unchecked = recordingDialog("In", 0);
    EXPECT_TRUE(GetOpenFileName(unchecked)) << "without the flag any name is taken";
}

TEST_F(WinsysCommonDialogTest, MultiSelectionReturnsEveryPathWhenAllowed) {
    const std::string a = existing("a.zfl");
    const std::string b = existing("b.zfl");
    answerFileDialog({"a.zfl", b});
    OPENFILENAME request = recordingDialog("Open Recorded Flights", OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST);
    ASSERT_TRUE(GetOpenFileName(request));
    EXPECT_EQ(request.files, (std::vector<std::string>{a, b}));
    EXPECT_EQ(request.file, a);

    answerFileDialog({a, b});
    OPENFILENAME single = recordingDialog("Open Recorded Flight", OFN_FILEMUSTEXIST);
    EXPECT_FALSE(GetOpenFileName(single));
    EXPECT_EQ(failures(),
              std::vector<std::string>{"open file dialog \"Open Recorded Flight\" takes one file only"});
}

TEST_F(WinsysCommonDialogTest, FileAnswersAreMatchedByTitleAndCancelLeavesTheRequestAlone) {
    existing("in.zfl");
    cancelFileDialog("Output Text File");
    answerFileDialog({"in.zfl"}, "Input ZFL File");
    OPENFILENAME input = recordingDialog("Input ZFL File", OFN_FILEMUSTEXIST);
    EXPECT_TRUE(GetOpenFileName(input));
    OPENFILENAME output = recordingDialog("Output Text File", OFN_OVERWRITEPROMPT);
    output.file = "proposed.txt";
    EXPECT_FALSE(GetSaveFileName(output));
    EXPECT_EQ(output.file, "proposed.txt");
    EXPECT_TRUE(output.files.empty());
    EXPECT_FALSE(GetSaveFileName(output));
    EXPECT_EQ(unscripted(), std::vector<std::string>{"save file dialog \"Output Text File\""});
    EXPECT_TRUE(transcript().all<FileDialogEntry>()[1].chosen.empty());
}

TEST_F(WinsysCommonDialogTest, SavingOverAnExistingFileAsksFirst) {
    const std::string target = existing("out.zfl");
    struct Case {
        std::vector<int> answers; // none: unscripted
        bool saved;
    };
    for (const Case& c : {Case{{IDYES}, true}, Case{{IDNO}, false}, Case{{}, false}}) {
        SetUp();
        makeMainWindow();
        for (int answer : c.answers)
            answerMessageBox(answer, {"Save Flights", "out.zfl already exists."});
        answerFileDialog({"out"});
        OPENFILENAME request = recordingDialog("Save Flights", OFN_OVERWRITEPROMPT);
        EXPECT_EQ(GetSaveFileName(request), c.saved);
        EXPECT_EQ(request.file, c.saved ? target : "");
        ASSERT_EQ(transcript().all<MessageBoxEntry>().size(), 1u);
        EXPECT_EQ(transcript().all<MessageBoxEntry>()[0].text,
                  "out.zfl already exists.\nDo you want to replace it?");
    }
    SetUp();
    answerFileDialog({"new"});
    OPENFILENAME fresh = recordingDialog("Save Flights", OFN_OVERWRITEPROMPT);
    EXPECT_TRUE(GetSaveFileName(fresh));
    EXPECT_EQ(fresh.file, folder_.file("new.zfl"));
    EXPECT_TRUE(transcript().all<MessageBoxEntry>().empty());
}

TEST_F(WinsysCommonDialogTest, FolderBrowserReturnsAnExistingFolderOrNothing) {
    const BROWSEINFO request{nullptr, "Select Temp Directory", "/tmp"};
    answerFolderBrowser(folder_.path().string(), "Select Temp Directory");
    EXPECT_EQ(BrowseForFolder(request), folder_.path().string());
    answerFolderBrowser(folder_.file("missing"));
    EXPECT_EQ(BrowseForFolder(request), "");
    EXPECT_EQ(failures().size(), 1u);
    cancelFolderBrowser();
    EXPECT_EQ(BrowseForFolder(request), "");
    EXPECT_EQ(BrowseForFolder(request), "");
    EXPECT_EQ(unscripted(), std::vector<std::string>{"folder browser \"Select Temp Directory\""});
    const std::vector<FolderBrowserEntry> entries = transcript().all<FolderBrowserEntry>();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].initialFolder, "/tmp");
    EXPECT_EQ(entries[0].chosen, folder_.path().string());
}

TEST_F(WinsysCommonDialogTest, ShellOpenAndSoundsAreRecorded) {
    EXPECT_GT(ShellExecute(nullptr, "open", "https://example.org/zephrel"), 32);
    const std::string wave = existing("chime.wav");
    EXPECT_TRUE(sndPlaySound(wave.c_str(), SND_ASYNC));
    EXPECT_FALSE(sndPlaySound(folder_.file("missing.wav").c_str(), SND_ASYNC | SND_NODEFAULT));
    EXPECT_TRUE(sndPlaySound(nullptr, 0));
    const std::vector<ShellOpenEntry> opened = transcript().all<ShellOpenEntry>();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].target, "https://example.org/zephrel");
    const std::vector<SoundEntry> sounds = transcript().all<SoundEntry>();
    ASSERT_EQ(sounds.size(), 3u);
    EXPECT_EQ(sounds[0].file, wave);
    EXPECT_TRUE(sounds[0].played);
    EXPECT_FALSE(sounds[1].played);
    EXPECT_EQ(sounds[1].flags, SND_ASYNC | SND_NODEFAULT);
    EXPECT_TRUE(sounds[2].file.empty());
}

} // namespace
