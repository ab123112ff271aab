#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "winsys/HeadlessScript.h"
#include "winsys/WinSys.h"

using namespace win;
using namespace win::headless;

namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool shiftDown;
};
std::vector<Seen> seen;
LRESULT hitTestAnswer = -1; // -1: as DefWindowProc
bool handleSetCursor = false;

std::vector<UINT> messages() {
    std::vector<UINT> list;
    for (const Seen& s : seen)
        list.push_back(s.message);
    return list;
}

LRESULT viewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    seen.push_back(Seen{message, wParam, lParam, GetAsyncKeyState(VK_SHIFT) < 0});
    if (message == WM_NCHITTEST && hitTestAnswer >= 0)
        return hitTestAnswer;
    if (message == WM_SETCURSOR && handleSetCursor) {
        SetCursor(LoadCursor(nullptr, IDC_CROSS));
        return 1;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

class WinsysInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset();
        seen.clear();
        hitTestAnswer = -1;
        handleSetCursor = false;
        RegisterClass(WNDCLASS{0, viewProc, nullptr, LoadCursor(nullptr, IDC_ARROW), "FS98MAIN"});
        main_ = CreateWindowEx(0, "FS98MAIN", "FS", WS_POPUP | WS_VISIBLE, 100, 100, 640, 480, nullptr, 0,
                               nullptr, nullptr);
        seen.clear();
    }
    void TearDown() override { reset(); }

    HWND main_ = nullptr;
};

TEST_F(WinsysInputTest, KeyPressesCarryThePreviousStateAndTheTransitionInTheirFlags) {
    sendKey(main_, 'R', true);
    sendKey(main_, 'R', true);
    sendKey(main_, 'R', false);
    ASSERT_EQ(messages(), (std::vector<UINT>{WM_KEYDOWN, WM_KEYDOWN, WM_KEYUP}));
    EXPECT_EQ(seen[0].wParam, static_cast<WPARAM>('R'));
    EXPECT_EQ(seen[0].lParam, 0x00000001);
    EXPECT_EQ(seen[1].lParam, 0x40000001) << "a repeat: the key was already down";
    EXPECT_EQ(seen[2].lParam, 0xC0000001);
    EXPECT_EQ(GetAsyncKeyState('R'), 0);
}

TEST_F(WinsysInputTest, AsyncKeyStateFollowsScriptAndKeyPresses) {
    EXPECT_EQ(GetAsyncKeyState(VK_SHIFT), 0);
    setKeyDown(VK_CONTROL, true);
    EXPECT_LT(GetAsyncKeyState(VK_CONTROL), 0);
    EXPECT_EQ(GetAsyncKeyState(VK_SHIFT), 0);
    sendKey(main_, VK_SHIFT, true);
    sendKey(main_, VK_ADD, true);
    EXPECT_TRUE(seen.back().shiftDown) << "the procedure sees Shift held while the key arrives";
    setKeyDown(VK_CONTROL, false);
    EXPECT_EQ(GetAsyncKeyState(VK_CONTROL), 0);
    EXPECT_EQ(GetAsyncKeyState(-1), 0);
    EXPECT_EQ(GetAsyncKeyState(300), 0);
}

TEST_F(WinsysInputTest, MouseMoveAsksForTheHitTestAndCursorBeforeTheMove) {
    setKeyDown(VK_SHIFT, true);
    moveMouse(main_, POINT{30, 40});
    ASSERT_EQ(messages(), (std::vector<UINT>{WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE}));
    EXPECT_EQ(GET_X_LPARAM(seen[0].lParam), 130) << "the hit test gets screen coordinates";
    EXPECT_EQ(GET_Y_LPARAM(seen[0].lParam), 140);
    EXPECT_EQ(LOWORD(seen[1].lParam), HTCLIENT);
    EXPECT_EQ(HIWORD(seen[1].lParam), WM_MOUSEMOVE);
    EXPECT_EQ(GET_X_LPARAM(seen[2].lParam), 30);
    EXPECT_EQ(GET_Y_LPARAM(seen[2].lParam), 40);
    EXPECT_EQ(seen[2].wParam, static_cast<WPARAM>(MK_SHIFT));
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, 130);
    EXPECT_EQ(cursor.y, 140);

    seen.clear();
    moveMouse(main_, POINT{700, 40});
    EXPECT_EQ(messages(), (std::vector<UINT>{WM_NCHITTEST, WM_SETCURSOR})) << "outside the client area";
    seen.clear();
    hitTestAnswer = HTCLIENT;
    moveMouse(main_, POINT{700, 40});
    EXPECT_EQ(messages(), (std::vector<UINT>{WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE}));
}

TEST_F(WinsysInputTest, CursorShapeComesFromTheClassUnlessTheWindowSetsItsOwn) {
    SetCursor(nullptr);
    moveMouse(main_, POINT{1, 1});
    handleSetCursor = true;
    moveMouse(main_, POINT{2, 2});
    moveMouse(main_, POINT{3, 3});
    std::vector<std::string> shapes;
    for (const CursorEntry& entry : transcript().all<CursorEntry>())
        shapes.push_back(entry.shape);
    EXPECT_EQ(shapes, (std::vector<std::string>{"none", "arrow", "cross"})) << "only changes are recorded";
    EXPECT_EQ(LoadCursor(nullptr, 32514), nullptr);
    const int module = 0;
    EXPECT_EQ(LoadCursor(&module, IDC_ARROW), nullptr);
}

TEST_F(WinsysInputTest, CursorIsShownWhileTheDisplayCountIsNotNegative) {
    EXPECT_EQ(ShowCursor(false), -1);
    EXPECT_EQ(ShowCursor(false), -2);
    EXPECT_EQ(ShowCursor(true), -1);
    EXPECT_EQ(ShowCursor(true), 0);
    EXPECT_EQ(ShowCursor(true), 1);
    std::vector<bool> visibility;
    for (const CursorEntry& entry : transcript().all<CursorEntry>())
        visibility.push_back(entry.visible);
    EXPECT_EQ(visibility, (std::vector<bool>{false, true}));
    EXPECT_TRUE(SetCursorPos(-5, 7));
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, -5);
    EXPECT_EQ(transcript().all<CursorEntry>().back().what, CursorEntry::Position);
}

TEST_F(WinsysInputTest, WheelAndMiddleButtonReachTheWindowAndUnhandledWheelTurnsGoUp) {
    const HWND view = CreateWindowEx(0, "FS98MAIN", "view", WS_CHILD | WS_VISIBLE, 10, 20, 100, 100, main_, 1,
                                     nullptr, nullptr);
    moveMouse(view, POINT{5, 6});
    seen.clear();
    turnWheel(view, -WHEEL_DELTA);
    ASSERT_EQ(messages(), (std::vector<UINT>{WM_MOUSEWHEEL, WM_MOUSEWHEEL}));
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(seen[0].wParam), -120);
    EXPECT_EQ(GET_X_LPARAM(seen[0].lParam), 115) << "wheel messages carry screen coordinates";
    seen.clear();
    pressMiddleButton(view, true);
    pressMiddleButton(view, false);
    ASSERT_EQ(messages(), (std::vector<UINT>{WM_MBUTTONDOWN, WM_MBUTTONUP}));
    EXPECT_EQ(seen[0].wParam, static_cast<WPARAM>(MK_MBUTTON));
    EXPECT_EQ(GET_X_LPARAM(seen[0].lParam), 5);
    EXPECT_EQ(GET_Y_LPARAM(seen[1].lParam), 6);
    EXPECT_EQ(seen[1].wParam, 0u);
}

TEST_F(WinsysInputTest, DraggingAWindowBracketsTheMoveAndActivationTellsBothWindows) {
    dragWindow(main_, 250, 300);
    ASSERT_EQ(messages(), (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_MOVE, WM_EXITSIZEMOVE}));
    RECT rect;
    GetWindowRect(main_, &rect);
    EXPECT_EQ(rect.left, 250);
    EXPECT_EQ(rect.right, 890);
    const HWND tool =
        CreateWindowEx(0, "FS98MAIN", "tool", WS_POPUP, 0, 0, 10, 10, nullptr, 0, nullptr, nullptr);
    activate(main_);
    seen.clear();
    activate(tool);
    activate(tool);
    ASSERT_EQ(messages(), (std::vector<UINT>{WM_ACTIVATE, WM_ACTIVATE}));
    EXPECT_EQ(seen[0].wParam, static_cast<WPARAM>(WA_INACTIVE));
    EXPECT_EQ(seen[0].lParam, reinterpret_cast<LPARAM>(tool));
    EXPECT_EQ(seen[1].wParam, static_cast<WPARAM>(WA_ACTIVE));
    EXPECT_EQ(seen[1].lParam, reinterpret_cast<LPARAM>(main_));
}

} // namespace
