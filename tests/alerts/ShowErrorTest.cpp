#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "alerts/HostWindow.h"
#include "alerts/MessageBox.h"
#include "alerts/ShowError.h"
#include "support/ShownMessageBoxes.h"
#include "winsys/WinSys.h"

namespace {

using namespace win::headless;

// Every test starts with an empty window system and no simulator hooks.
class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override {
        HostWindow::setModalHook({});
        reset();
    }
};

using ShowErrorTest = MessageBoxTest;

void expectBox(const MessageBoxRequest& expected, const MessageBoxRequest& actual) {
    EXPECT_EQ(expected.caption, actual.caption);
    EXPECT_EQ(expected.icon, actual.icon);
    EXPECT_EQ(expected.text, actual.text);
    EXPECT_EQ(expected.buttons, actual.buttons);
}

TEST_F(ShowErrorTest, CaptionIconAndClosingSentenceFollowSeverity) {
    const struct {
        uint32_t severity;
        const char* caption;
        MessageIcon icon;
        const char* appended;
    } cases[] = {
        {0, "Zephrel Warning", MessageIcon::Warning, ""},
        {1, "Zephrel Error", MessageIcon::Error, ""},
        {2, "Zephrel Error", MessageIcon::Error, " Recording/playback will be stopped now!"},
        {3, "Zephrel Critical Error", MessageIcon::Error,
         " Zephrel will be disabled now, please restart FS to use it again!"},
        {4, "Zephrel Error", MessageIcon::None, ""},
        {5, "Zephrel Error", MessageIcon::None, ""},
    };
    const std::string userText = "File x.zfl could not be opened!";
    for (const auto& c : cases) {
        SCOPED_TRACE("severity " + std::to_string(c.severity));
        reset();
        const MessageBoxRequest expected{userText + c.appended, c.caption, c.icon, MessageButtons::Ok};
        expectBox(expected, errorBoxFor(userText, c.severity));
        showError(userText, c.severity);
        auto shown = shownMessageBoxes();
        ASSERT_EQ(1u, shown.size());
        expectBox(expected, shown[0]);
    }
}

TEST_F(ShowErrorTest, BoxIsShownInsideTheModalBracketOverTheSimulatorWindow) {
    win::WNDCLASS simulatorClass;
    simulatorClass.lpfnWndProc = win::DefWindowProc;
    simulatorClass.lpszClassName = "FS98MAIN";
    ASSERT_TRUE(win::RegisterClass(simulatorClass));
    win::HWND simulator = win::CreateWindowEx(0, "FS98MAIN", "Simulator", win::WS_OVERLAPPED | win::WS_VISIBLE, 0,
                                              0, 800, 600, nullptr, 0, nullptr, nullptr);
    HostWindow::setMainWindow(simulator);
    std::vector<bool> bracket;
    HostWindow::setModalHook([&](bool open) { bracket.push_back(open); });
    answerMessageBox(win::IDOK, {"Zephrel Warning", ""});
    showError("Careful!", 0);
    HostWindow::setMainWindow(nullptr);
    EXPECT_EQ(bracket, (std::vector<bool>{true, false}));
    EXPECT_EQ(unusedAnswers(), 0u);
    EXPECT_TRUE(win::IsWindowEnabled(simulator)) << "the owner is enabled again after the box";
}

TEST_F(MessageBoxTest, QuestionsGiveTheUsersAnswerAndUnansweredOnesSayNo) {
    answerMessageBox(win::IDYES, {"", "Convert?"});
    const MessageBoxRequest question{"Convert?", "Zephrel", MessageIcon::Question, MessageButtons::YesNo};
    EXPECT_EQ(AnswerYes, showMessageBox(question));
    EXPECT_EQ(AnswerNo, showMessageBox(question));
    EXPECT_EQ(AnswerOk, showMessageBox({"Done.", "Zephrel", MessageIcon::None, MessageButtons::Ok}));
    auto shown = shownMessageBoxes();
    ASSERT_EQ(3u, shown.size());
    expectBox(question, shown[0]);
    EXPECT_EQ(2u, unscripted().size());
}

} // namespace
