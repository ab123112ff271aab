// The playback control window: its window and controls, the command of each control (the search
// buttons while held), what the player shows in it, its position across sessions, the focus, and
// the refused null owner.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ModuleDialogTest.h"
#include "common/ZephrelException.h"
#include "settings/Settings.h"
#include "support/TempDir.h"
#include "ui/ControlWnd.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;

std::string fraction(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

// Every command as one line, in the order sent; while failing, each command throws instead.
class RecordedCommands : public PlaybackCommands {
public:
    void forward(int level) override { add("forward " + std::to_string(level)); }
    void backward(int level) override { add("backward " + std::to_string(level)); }
    void previousMarker() override { add("previousMarker"); }
    void nextMarker() override { add("nextMarker"); }
    void loopIn() override { add("loopIn"); }
    void loopOut() override { add("loopOut"); }
    void setLoop(bool on) override { add(on ? "setLoop on" : "setLoop off"); }
    void slower() override { add("slower"); }
    void faster() override { add("faster"); }
    void normalSpeed() override { add("normalSpeed"); }
    void position(double value) override { add("position " + fraction(value)); }

    std::vector<std::string> calls;
    bool failing = false;

private:
    void add(std::string call) {
        if (failing)
            throw ZephrelException(ErrorCode::FileReadFailed, ZephrelException::Error, "test", 1, "a.zfl");
        calls.push_back(std::move(call));
    }
};

std::pair<int, int> topLeft(win::HWND hwnd) {
    win::RECT rect;
    win::GetWindowRect(hwnd, &rect);
    return {rect.left, rect.top};
}

class ControlWndTest : public ModuleDialogTest {
protected:
    void SetUp() override {
        ModuleDialogTest::SetUp();
        win::RegisterClass(win::WNDCLASS{0, win::DefWindowProc, nullptr, nullptr, "FS98MAIN"});
        simulator =
            win::CreateWindowEx(0, "FS98MAIN", "Simulator", win::WS_OVERLAPPEDWINDOW | win::WS_VISIBLE, 0, 0,
                                800, 600, nullptr, 0, nullptr, nullptr);
        window = std::make_unique<ControlWnd>(simulator, commands, settingsFile);
        window->show();
    }
    void TearDown() override {
        window.reset();
        ModuleDialogTest::TearDown();
    }

    // The calls one step sends.
    std::vector<std::string> callsOf(const Step& step) {
        commands.calls.clear();
        EXPECT_TRUE(perform(window->hwnd(), step));
        return commands.calls;
    }
    int track(win::UINT message, win::WPARAM wParam = 0) const {
        return static_cast<int>(win::SendDlgItemMessage(window->hwnd(), 1004, message, wParam, 0));
    }
    // The two ticks the player set.
    std::pair<int, int> ticks() const { return {track(win::TBM_GETTIC, 0), track(win::TBM_GETTIC, 1)}; }

    TempDir dir;
    std::string settingsFile = dir.file("Zephrel.ini");
    RecordedCommands commands;
    win::HWND simulator = nullptr;
    std::unique_ptr<ControlWnd> window;
};

TEST_F(ControlWndTest, IsAHiddenToolWindowOfTheSimulatorWithA350By65ClientArea) {
    const win::HWND hwnd = ControlWnd(simulator, commands, settingsFile).hwnd();
    EXPECT_FALSE(win::IsWindow(hwnd)) << "destroyed with its object";
    ControlWnd fresh(simulator, commands, settingsFile);
    EXPECT_FALSE(fresh.isShown());
    EXPECT_FALSE(win::IsWindowVisible(fresh.hwnd()));
    EXPECT_EQ(win::GetClassName(fresh.hwnd()), "ZEPHREL_CONTROLWND");
    EXPECT_EQ(win::GetWindowText(fresh.hwnd()), "Zephrel");
    EXPECT_EQ(win::GetParent(fresh.hwnd()), simulator);
    EXPECT_NE(win::GetWindowLongPtr(fresh.hwnd(), win::GWL_EXSTYLE) & win::WS_EX_TOOLWINDOW, 0);
    win::WNDCLASS windowClass;
    ASSERT_TRUE(win::GetClassInfo(ModuleResources::instance(), "ZEPHREL_CONTROLWND", &windowClass));
    EXPECT_EQ(windowClass.style, win::CS_HREDRAW | win::CS_VREDRAW);
    EXPECT_EQ(windowClass.hCursor, win::LoadCursor(nullptr, win::IDC_ARROW));
    win::RECT client;
    win::GetClientRect(fresh.hwnd(), &client);
    EXPECT_EQ(std::make_pair(client.right, client.bottom), std::make_pair(350, 65));
    EXPECT_EQ(topLeft(fresh.hwnd()), std::make_pair(10, 10)) << "the default place";
    EXPECT_EQ(std::make_pair(track(win::TBM_GETRANGEMIN), track(win::TBM_GETRANGEMAX)),
              std::make_pair(0, 350));
    EXPECT_EQ(track(win::TBM_GETPOS), 0);
}

TEST_F(ControlWndTest, EveryControlHasItsIdKindPlaceAndCaption) {
    struct Case {
        int id;
        const char* className;
        win::DWORD style; // all of these bits; a button's type exactly
        int x, y, width, height;
        const char* caption;
    };
    using namespace win;
    const Case cases[] = {
        {1004, TRACKBAR_CLASS, TBS_BOTH, 0, 0, 350, 40, "Progress"},
        {1000, WC_BUTTON, BS_PUSHBUTTON, 5, 40, 20, 20, "|<"},
        {1001, WC_BUTTON, BS_OWNERDRAW, 25, 40, 20, 20, "<<<"},
        {1002, WC_BUTTON, BS_OWNERDRAW, 45, 40, 20, 20, "<<"},
        {1003, WC_BUTTON, BS_OWNERDRAW, 65, 40, 20, 20, "<"},
        {1009, WC_BUTTON, BS_PUSHBUTTON, 95, 40, 20, 20, "["},
        {1010, WC_BUTTON, BS_AUTOCHECKBOX | BS_PUSHLIKE, 115, 40, 20, 20, "~"},
        {1011, WC_BUTTON, BS_PUSHBUTTON, 135, 40, 20, 20, "]"},
        {1012, WC_BUTTON, BS_PUSHBUTTON, 165, 40, 20, 20, "-"},
        {1013, WC_STATIC, SS_SUNKEN | SS_CENTER | SS_NOTIFY, 186, 40, 48, 20, "100%"},
        {1014, WC_BUTTON, BS_PUSHBUTTON, 235, 40, 20, 20, "+"},
        {1005, WC_BUTTON, BS_OWNERDRAW, 265, 40, 20, 20, ">"},
        {1006, WC_BUTTON, BS_OWNERDRAW, 285, 40, 20, 20, ">>"},
        {1007, WC_BUTTON, BS_OWNERDRAW, 305, 40, 20, 20, ">>>"},
        {1008, WC_BUTTON, BS_PUSHBUTTON, 325, 40, 20, 20, ">|"},
    };
    int children = 0;
    for (HWND c = FindWindowEx(window->hwnd(), nullptr, nullptr, nullptr); c != nullptr;
         c = FindWindowEx(window->hwnd(), c, nullptr, nullptr))
        ++children;
    EXPECT_EQ(children, static_cast<int>(std::size(cases)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const HWND control = GetDlgItem(window->hwnd(), c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetClassName(control), c.className);
        EXPECT_EQ(GetWindowText(control), c.caption);
        const auto style = static_cast<DWORD>(GetWindowLongPtr(control, GWL_STYLE));
        EXPECT_EQ(style & c.style, c.style);
        if (std::string(c.className) == WC_BUTTON) {
            EXPECT_EQ(style & BS_TYPEMASK, c.style & BS_TYPEMASK);
        }
        RECT rect;
        GetWindowRect(control, &rect);
        POINT topLeft{rect.left, rect.top};
        ScreenToClient(window->hwnd(), &topLeft);
        EXPECT_EQ(std::vector<int>({topLeft.x, topLeft.y, rect.right - rect.left, rect.bottom - rect.top}),
                  std::vector<int>({c.x, c.y, c.width, c.height}));
    }
}

TEST_F(ControlWndTest, EachControlSendsItsCommandAndSearchButtonsEndTheirSearchOnRelease) {
    struct Case {
        Step step;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {Press{1000}, {"previousMarker"}},
        {Press{1008}, {"nextMarker"}},
        {Press{1009}, {"loopIn"}},
        {Press{1011}, {"loopOut"}},
        {Press{1012}, {"slower"}},
        {Press{1013}, {"normalSpeed"}},
        {Press{1014}, {"faster"}},
        {Press{1001}, {"backward 3", "backward 0"}},
        {Press{1002}, {"backward 2", "backward 0"}},
        {Press{1003}, {"backward 1", "backward 0"}},
        {Press{1005}, {"forward 1", "forward 0"}},
        {Press{1006}, {"forward 2", "forward 0"}},
        {Press{1007}, {"forward 3", "forward 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::get<Press>(c.step).id);
        EXPECT_EQ(callsOf(c.step), c.calls);
    }
}

TEST_F(ControlWndTest, HeldSearchButtonSearchesOnceUntilReleasedWhateverTheRedraws) {
    // A repaint while held draws the button pressed again; it must not restart the search.
    const auto repaint = [&](int id, bool pressed) {
        win::DRAWITEMSTRUCT draw;
        draw.CtlType = win::ODT_BUTTON;
        draw.CtlID = static_cast<win::UINT>(id);
        draw.itemAction = win::ODA_DRAWENTIRE;
        draw.itemState = pressed ? win::ODS_SELECTED : 0;
        draw.hwndItem = win::GetDlgItem(window->hwnd(), id);
        win::SendMessage(window->hwnd(), win::WM_DRAWITEM, draw.CtlID, reinterpret_cast<win::LPARAM>(&draw));
    };
    struct Case {
        int id;
        const char* held;
        const char* released;
    };
    for (const Case& c : {Case{1007, "forward 3", "forward 0"}, Case{1002, "backward 2", "backward 0"}}) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(callsOf(Hold{c.id}), std::vector<std::string>{c.held});
        repaint(c.id, true);
        EXPECT_EQ(commands.calls.size(), 1u);
        EXPECT_EQ(callsOf(Release{c.id}), std::vector<std::string>{c.released});
        repaint(c.id, false);
        EXPECT_EQ(commands.calls.size(), 1u) << "a released button is not released again";
    }
}

TEST_F(ControlWndTest, LoopBoxPassesItsOwnStateAndAFailedCommandIsShown) {
    EXPECT_EQ(callsOf(Press{1010}), std::vector<std::string>{"setLoop on"});
    EXPECT_EQ(callsOf(Press{1010}), std::vector<std::string>{"setLoop off"});
    window->setLoop(0.1, 0.2, true);
    EXPECT_EQ(callsOf(Press{1010}), std::vector<std::string>{"setLoop off"}) << "checked by the player";
    // A command's failure stops at the window: shown, not passed into the window system.
    commands.failing = true;
    answerMessageBox(win::IDOK, {"Zephrel Error", ""});
    EXPECT_EQ(callsOf(Press{1014}), std::vector<std::string>{});
    EXPECT_EQ(unusedAnswers(), 0u) << "the error box was not shown";
}

TEST_F(ControlWndTest, DraggingTheSliderSetsThePositionAsAFractionOf350) {
    for (const int position : {0, 1, 200, 350}) {
        const std::vector<std::string> calls = callsOf(SetPosition{1004, position});
        ASSERT_FALSE(calls.empty());
        for (const std::string& call : calls)
            EXPECT_EQ(call, "position " + fraction(position / 350.0));
    }
}

TEST_F(ControlWndTest, PlayerPositionLoopAndSpeedShowInTheControls) {
    const std::pair<double, int> positions[] = {{0, 0},   {0.5, 175}, {0.999, 349}, {0.002, 0},
                                                {1, 350}, {1.5, 350}, {-0.5, 0},    {NAN, 0}};
    for (const auto& [value, shown] : positions) {
        window->setPosition(value);
        EXPECT_EQ(track(win::TBM_GETPOS), shown) << value;
    }
    const std::pair<float, const char*> speeds[] = {{1.0f, "100%"},  {0.125f, "13%"}, {0.999f, "100%"},
                                                    {0.994f, "99%"}, {2.5f, "250%"},  {0.001f, "0%"}};
    for (const auto& [value, shown] : speeds) {
        window->setSpeed(value);
        EXPECT_EQ(win::GetDlgItemText(window->hwnd(), 1013), shown) << value;
    }
    window->setLoop(0.25, 0.999, true);
    window->setLoop(0.1, 0.5, false);
    EXPECT_EQ(track(win::TBM_GETNUMTICS), 4) << "the two loop ticks and the ends";
    EXPECT_EQ(ticks(), std::make_pair(35, 175));
    EXPECT_EQ(win::IsDlgButtonChecked(window->hwnd(), 1010), win::BST_UNCHECKED);
    window->setLoop(0.25, 0.999, true);
    EXPECT_EQ(ticks(), std::make_pair(87, 349));
    EXPECT_EQ(win::IsDlgButtonChecked(window->hwnd(), 1010), win::BST_CHECKED);
}

TEST_F(ControlWndTest, ReopensWhereItWasLastMovedTo) {
    dragWindow(window->hwnd(), 300, 200);
    WindowPositions kept;
    readWindowPositions(settingsFile, kept);
    EXPECT_EQ(std::make_pair(kept.controlWndXPos, kept.controlWndYPos), std::make_pair(300, 200));
    window.reset();
    window = std::make_unique<ControlWnd>(simulator, commands, settingsFile);
    EXPECT_EQ(topLeft(window->hwnd()), std::make_pair(300, 200));
}

TEST_F(ControlWndTest, ShowsHidesTogglesAndClosingOnlyHides) {
    EXPECT_TRUE(window->isShown());
    EXPECT_FALSE(window->toggle());
    EXPECT_FALSE(win::IsWindowVisible(window->hwnd()));
    EXPECT_TRUE(window->toggle());
    EXPECT_TRUE(win::IsWindowVisible(window->hwnd()));
    EXPECT_TRUE(perform(window->hwnd(), Close{}));
    EXPECT_TRUE(win::IsWindow(window->hwnd()));
    EXPECT_FALSE(window->isShown());
    EXPECT_FALSE(win::IsWindowVisible(window->hwnd()));
}

TEST_F(ControlWndTest, ActivationGivesTheKeyboardFocusBackToTheSimulator) {
    win::SetFocus(win::GetDlgItem(window->hwnd(), 1004));
    activate(window->hwnd());
    EXPECT_EQ(win::GetFocus(), simulator);
}

TEST_F(ControlWndTest, NullOwnerIsRefused) {
    try {
        ControlWnd refused(nullptr, commands, settingsFile);
        FAIL() << "a window without owner";
    } catch (const ZephrelException& e) {
        EXPECT_EQ(e.code, ErrorCode::Unexpected);
        EXPECT_EQ(e.severity, 3u);
        EXPECT_EQ(e.function, "ControlWnd::ControlWnd");
        EXPECT_NE(e.logText.find("NULL pointer passed"), std::string::npos);
    }
}

} // namespace
