#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "MessageBox.h"
#include "ShowError.h"

namespace {

// The presenter is process-wide; every test starts and ends with the stderr fallback.
class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override { setMessageBoxPresenter({}); }
    void TearDown() override { setMessageBoxPresenter({}); }
};

using ShowErrorTest = MessageBoxTest;

struct SeverityBox {
    uint32_t severity;
    const char* caption;
    MessageIcon icon;
    const char* appended;
};

const SeverityBox kSeverityBoxes[] = {
    {0, "Zephrel Warning", MessageIcon::Warning, ""},
    {1, "Zephrel Error", MessageIcon::Error, ""},
    {2, "Zephrel Error", MessageIcon::Error, " Recording/playback will be stopped now!"},
    {3, "Zephrel Critical Error", MessageIcon::Error,
     " Zephrel will be disabled now, please restart FS to use it again!"},
    {4, "Zephrel Error", MessageIcon::None, ""},
    {5, "Zephrel Error", MessageIcon::None, ""},
};

TEST_F(ShowErrorTest, BoxCaptionIconAndClosingSentenceFollowSeverity) {
    const std::string userText = "File x.zfl could not be opened!";
    for (const SeverityBox& row : kSeverityBoxes) {
        SCOPED_TRACE("severity " + std::to_string(row.severity));
        MessageBoxRequest box = errorBoxFor(userText, row.severity);
        EXPECT_EQ(box.caption, row.caption);
        EXPECT_EQ(box.icon, row.icon);
        EXPECT_EQ(box.text, userText + row.appended);
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
    }
}

TEST_F(ShowErrorTest, StoppingSentenceFollowsAfterExactlyOneSpace) {
    MessageBoxRequest box = errorBoxFor("Reading from temp file failed!", 2);
    EXPECT_EQ(box.text, "Reading from temp file failed! Recording/playback will be stopped now!");
}

TEST_F(ShowErrorTest, ShowsTheSeverityBoxThroughTheInstalledPresenter) {
    for (const SeverityBox& row : kSeverityBoxes) {
        SCOPED_TRACE("severity " + std::to_string(row.severity));
        std::vector<MessageBoxRequest> shown;
        setMessageBoxPresenter([&shown](const MessageBoxRequest& request) {
            shown.push_back(request);
            return static_cast<int>(AnswerOk);
        });
        showError("Invalid aircraft ID!", row.severity);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].caption, row.caption);
        EXPECT_EQ(shown[0].icon, row.icon);
        EXPECT_EQ(shown[0].text, std::string("Invalid aircraft ID!") + row.appended);
        EXPECT_EQ(shown[0].buttons, MessageButtons::Ok);
    }
}

TEST_F(ShowErrorTest, DoesNotThrowWhenThePresenterFails) {
    setMessageBoxPresenter([](const MessageBoxRequest&) -> int { throw std::runtime_error("no window"); });
    EXPECT_NO_THROW(showError("Memory allocation failed!", 1));
}

TEST_F(ShowErrorTest, FallbackRecordsTheBoxTheUserWouldHaveSeen) {
    showError("Temp file could not be opened!", 3);
    const MessageBoxRequest& last = lastFallbackMessageBox();
    EXPECT_EQ(last.caption, "Zephrel Critical Error");
    EXPECT_EQ(last.icon, MessageIcon::Error);
    EXPECT_EQ(last.text,
              "Temp file could not be opened! Zephrel will be disabled now, please restart FS to use it again!");
}

TEST_F(MessageBoxTest, PresenterAnswerIsReturned) {
    int calls = 0;
    setMessageBoxPresenter([&calls](const MessageBoxRequest& request) {
        ++calls;
        return request.buttons == MessageButtons::YesNo ? static_cast<int>(AnswerYes) : static_cast<int>(AnswerOk);
    });
    EXPECT_EQ(showMessageBox({"Convert?", "Zephrel", MessageIcon::Question, MessageButtons::YesNo}), AnswerYes);
    EXPECT_EQ(showMessageBox({"Done.", "Zephrel", MessageIcon::None, MessageButtons::Ok}), AnswerOk);
    EXPECT_EQ(calls, 2);
}

TEST_F(MessageBoxTest, FallbackAnswersOkOrNoAndRemembersTheBox) {
    struct Case {
        MessageButtons buttons;
        int answer;
    };
    const Case cases[] = {{MessageButtons::Ok, AnswerOk}, {MessageButtons::YesNo, AnswerNo}};
    for (const Case& c : cases) {
        MessageBoxRequest request{"Question text", "Caption", MessageIcon::Question, c.buttons};
        EXPECT_EQ(showMessageBox(request), c.answer);
        const MessageBoxRequest& last = lastFallbackMessageBox();
        EXPECT_EQ(last.text, "Question text");
        EXPECT_EQ(last.caption, "Caption");
        EXPECT_EQ(last.icon, MessageIcon::Question);
        EXPECT_EQ(last.buttons, c.buttons);
    }
}

TEST_F(MessageBoxTest, EmptyPresenterRestoresTheFallback) {
    int calls = 0;
    setMessageBoxPresenter([&calls](const MessageBoxRequest&) {
        ++calls;
        return static_cast<int>(AnswerYes);
    });
    setMessageBoxPresenter({});
    MessageBoxRequest request{"after reset", "Zephrel", MessageIcon::Question, MessageButtons::YesNo};
    EXPECT_EQ(showMessageBox(request), AnswerNo);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(lastFallbackMessageBox().text, "after reset");
}

TEST_F(MessageBoxTest, BoxesShownByAPresenterAreNotRecordedAsFallback) {
    showMessageBox({"fallback box", "Zephrel", MessageIcon::None, MessageButtons::Ok});
    setMessageBoxPresenter([](const MessageBoxRequest&) { return static_cast<int>(AnswerOk); });
    showMessageBox({"presented box", "Zephrel", MessageIcon::None, MessageButtons::Ok});
    EXPECT_EQ(lastFallbackMessageBox().text, "fallback box");
}

} // namespace
