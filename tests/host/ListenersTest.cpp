// The broadcast of the module's events to its listeners.

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/ZephrelException.h"
#include "host/Listeners.h"
#include "support/ShownMessageBoxes.h"
#include "support/TempLog.h"
#include "winsys/HeadlessScript.h"

namespace {

// Answers with a fixed value and notes every event it saw; `action` may throw.
class Recorder : public IFScallback {
public:
    Recorder(std::vector<std::string>& log, std::string name, int answer) : log_(log), name_(std::move(name)), answer_(answer) {}
    int callback(int event, intptr_t a, intptr_t b, intptr_t c) override {
        log_.push_back(name_ + ":" + std::to_string(event) + "," + std::to_string(a) + "," + std::to_string(b) + "," +
                       std::to_string(c));
        if (action)
            action();
        return answer_;
    }
    std::function<void()> action;

private:
    std::vector<std::string>& log_;
    std::string name_;
    int answer_;
};

class ListenersTest : public TempLogTest {
protected:
    void SetUp() override {
        TempLogTest::SetUp();
        win::headless::reset();
    }
    void TearDown() override {
        win::headless::reset();
        TempLogTest::TearDown();
    }
    std::vector<std::string> log;
    Listeners listeners;
};

TEST_F(ListenersTest, TheFirstNonZeroAnswerInRegistrationOrderEndsTheBroadcast) {
    Recorder first(log, "first", 0), second(log, "second", 5), third(log, "third", 1);
    listeners.add(&first);
    listeners.add(&second);
    listeners.add(&third);
    EXPECT_EQ(5, listeners.broadcast(KeyDown, 0x1041, 7, 0));
    EXPECT_EQ((std::vector<std::string>{"first:18,4161,7,0", "second:18,4161,7,0"}), log);

    Listeners nobody;
    nobody.add(&first);
    EXPECT_EQ(0, nobody.broadcast(Frame, 1));
    EXPECT_TRUE(shownMessageBoxes().empty());
}

TEST_F(ListenersTest, AnEscapingExceptionDisablesTheModule) {
    for (const std::function<void()>& failure : std::vector<std::function<void()>>{
             [] { throw ZephrelException(ErrorCode::Unexpected, 1, "Recorder::frame", 1, "broken"); },
             [] { throw std::runtime_error("broken"); }, [] { throw 42; }}) {
        win::headless::reset();
        log.clear();
        Recorder failing(log, "failing", 0), later(log, "later", 1);
        failing.action = failure;
        int cleanups = 0;
        listeners.add(&failing);
        listeners.add(&later);
        listeners.setFailureCleanup([&] { ++cleanups; });

        EXPECT_EQ(0, listeners.broadcast(Frame));
        EXPECT_EQ(1, cleanups);
        const auto boxes = shownMessageBoxes();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ("Zephrel Critical Error", boxes[0].caption);
        EXPECT_EQ("An unexpected error occured! Zephrel will be disabled now, please restart FS to use it again!",
                  boxes[0].text);
        // Inert from then on: nobody hears of later events.
        EXPECT_EQ(0u, listeners.size());
        EXPECT_EQ(0, listeners.broadcast(Frame));
        EXPECT_EQ((std::vector<std::string>{"failing:3,0,0,0"}), log);
    }
}

} // namespace
