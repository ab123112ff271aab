// The module's hooks of the simulator's main window and of its 3D view window class.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "FakeHost.h"
#include "alerts/HostWindow.h"
#include "host/FSinterface.h"
#include "host/HostState.h"
#include "host/ViewHooks.h"
#include "winsys/HeadlessScript.h"
#include "winsys/Input.h"
#include "winsys/WindowApi.h"

namespace {

using namespace win;

struct Reached {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
// What reached the simulator's own procedures.
std::vector<Reached> reached;

LRESULT simulatorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    reached.push_back({hwnd, message, wParam, lParam});
    if (message == WM_CLOSE)
        return 0; // the simulator asks its user first; the window stays
    return DefWindowProc(hwnd, message, wParam, lParam);
}

class FSinterfaceWindowTest : public FakeHostTest {
protected:
    void SetUp() override {
        FakeHostTest::SetUp();
        reached.clear();
        RegisterClass(WNDCLASS{0, simulatorProc, nullptr, nullptr, "FS98MAIN"});
        RegisterClass(WNDCLASS{0, simulatorProc, nullptr, nullptr, "FS98CHILD"});
        RegisterClass(WNDCLASS{0, simulatorProc, nullptr, nullptr, "FS98GAUGE"});
        main = CreateWindowEx(0, "FS98MAIN", "Microsoft Flight Simulator X", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              800, 600, nullptr, 0, nullptr, nullptr);
        FSinterface::hookMainWindow();
        start();
    }
    HWND child(const char* className) {
        return CreateWindowEx(0, className, "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, main, 1, nullptr, nullptr);
    }
    const Reached* reachedSimulator(UINT message) const {
        for (const Reached& r : reached)
            if (r.window == main && r.message == message)
                return &r;
        return nullptr;
    }

    HWND main = nullptr;
};

TEST_F(FSinterfaceWindowTest, KeysCarryShiftAndCtrlAndAHandledKeyStopsAtTheModule) {
    EXPECT_EQ(main, HostWindow::mainWindow());
    constexpr intptr_t kHandled = 'R' | 0x1000;
    events.answer = [](const Event& e) { return (e.event == KeyDown || e.event == KeyUp) && e.a == kHandled; };
    struct Case {
        int key;
        bool shift, ctrl;
    };
    for (const Case& c : {Case{'R', false, false}, Case{'R', true, false}, Case{'R', false, true},
                          Case{'R', true, true}, Case{VK_SPACE, true, false}}) {
        events.seen.clear();
        reached.clear();
        win::setKeyDown(VK_SHIFT, c.shift);
        win::setKeyDown(VK_CONTROL, c.ctrl);
        win::sendKey(main, c.key, true);
        win::sendKey(main, c.key, false);
        const intptr_t code = c.key | (c.shift ? 0x1000 : 0) | (c.ctrl ? 0x2000 : 0);
        ASSERT_EQ(2u, events.seen.size());
        EXPECT_EQ(KeyDown, events.seen[0].event);
        EXPECT_EQ(KeyUp, events.seen[1].event);
        EXPECT_EQ(code, events.seen[0].a);
        EXPECT_EQ(code, events.seen[1].a);
        const bool handled = code == kHandled;
        const Reached* down = reachedSimulator(WM_KEYDOWN);
        const Reached* up = reachedSimulator(WM_KEYUP);
        EXPECT_EQ(handled, down == nullptr) << code;
        EXPECT_EQ(handled, up == nullptr) << code;
        if (down != nullptr && up != nullptr) {
            EXPECT_EQ(down->lParam, events.seen[0].b);
            EXPECT_EQ(up->lParam, events.seen[1].b);
        }
    }
}

TEST_F(FSinterfaceWindowTest, ClosingAndMenuCommandsGoOnToTheSimulator) {
    events.seen.clear();
    SendMessage(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(std::vector<int>{SimClosing}, eventNumbers());
    EXPECT_NE(nullptr, reachedSimulator(WM_CLOSE));

    // Without a module menu no command is one of its items.
    for (const WPARAM command : {WPARAM{53565}, WPARAM{53566}, WPARAM{53600}}) {
        reached.clear();
        SendMessage(main, WM_COMMAND, command, 0);
        EXPECT_NE(nullptr, reachedSimulator(WM_COMMAND));
    }
    EXPECT_EQ(std::vector<int>{SimClosing}, eventNumbers());
}

TEST_F(FSinterfaceWindowTest, TheFirstViewWindowHooksItsClassForEveryViewWindow) {
    const LONG_PTR viewProc = reinterpret_cast<LONG_PTR>(&ViewHooks::viewWindowProc);
    const HWND gauge = child("FS98GAUGE");
    EXPECT_EQ(nullptr, hostState().previousViewClassProc);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&simulatorProc), GetClassLongPtr(gauge, GCLP_WNDPROC));

    const HWND first = child("FS98CHILD");
    const HWND second = child("FS98CHILD");
    EXPECT_EQ(&simulatorProc, hostState().previousViewClassProc);
    for (const HWND view : {first, second}) {
        EXPECT_EQ(viewProc, GetClassLongPtr(view, GCLP_WNDPROC));
        EXPECT_EQ(viewProc, GetWindowLongPtr(view, GWLP_WNDPROC));
        reached.clear();
        SendMessage(view, WM_USER, 1, 2);
        ASSERT_EQ(1u, reached.size());
        EXPECT_EQ(view, reached[0].window);
    }
}

TEST_F(FSinterfaceWindowTest, AStoppingModuleOnlyPassesMessagesOnAndUnhookingRestoresTheWindow) {
    FSinterface::stop();
    events.seen.clear();
    win::sendKey(main, 'R', true);
    SendMessage(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(events.seen.empty());
    EXPECT_NE(nullptr, reachedSimulator(WM_KEYDOWN));
    EXPECT_NE(nullptr, reachedSimulator(WM_CLOSE));

    FSinterface::unhookMainWindow();
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&simulatorProc), GetWindowLongPtr(main, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, HostWindow::mainWindow());
}

TEST_F(FSinterfaceWindowTest, TheMouseOverAViewReachesTheCamerasOnlyWhileCaptured) {
    const HWND view = child("FS98CHILD"); // over the main window's client area from its corner
    RECT client{};
    GetClientRect(main, &client);
    const float width = static_cast<float>(client.right), height = static_cast<float>(client.bottom);
    int answer = 0;
    float movedX = 9, movedY = 9;
    events.answer = [&](const Event& e) {
        if (e.event == MouseMove) {
            movedX = *reinterpret_cast<const float*>(e.a);
            movedY = *reinterpret_cast<const float*>(e.b);
        }
        return answer;
    };
    const auto reachedView = [&](UINT message) {
        return std::any_of(reached.begin(), reached.end(),
                           [&](const Reached& r) { return r.window == view && r.message == message; });
    };
    const auto restartLog = [&] {
        events.seen.clear();
        reached.clear();
    };

    // The middle button always; handled, it stops at the module.
    for (const int handled : {0, 1}) {
        restartLog();
        answer = handled;
        win::pressMiddleButton(view, true);
        win::pressMiddleButton(view, false);
        EXPECT_EQ((std::vector<Event>{{MiddleButton, 1, 0, {}, {}}, {MiddleButton, 0, 0, {}, {}}}), events.seen);
        EXPECT_EQ(handled == 0, reachedView(WM_MBUTTONDOWN));
        EXPECT_EQ(handled == 0, reachedView(WM_MBUTTONUP));
    }

    // Not captured: moves and the wheel are the simulator's.
    answer = 1;
    restartLog();
    win::moveMouse(view, {50, 50});
    win::turnWheel(view, 120);
    EXPECT_TRUE(events.seen.empty());
    for (const UINT message : {WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_MOUSEWHEEL})
        EXPECT_TRUE(reachedView(message)) << message;

    // Capturing puts the cursor where asked and shows it over the simulator's hiding; getMousePos
    // reads it back.
    ShowCursor(false);
    FSinterface::setMouseCapture(true, 0.5f, -0.5f);
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(main, &cursor);
    EXPECT_EQ(static_cast<int>(0.75f * width + 0.5f), cursor.x);
    EXPECT_EQ(static_cast<int>(0.75f * height + 0.5f), cursor.y);
    float x = 0, y = 0;
    FSinterface::getMousePos(x, y);
    EXPECT_NEAR(0.5f, x, 2 / width);
    EXPECT_NEAR(-0.5f, y, 2 / height);

    // Captured: moves go to the cameras relative to the main window's client area, clamped there
    // but not in getMousePos; the cross shows; the wheel stops where it is handled.
    restartLog();
    win::moveMouse(view, {50, 30});
    EXPECT_EQ(std::vector<int>{MouseMove}, eventNumbers());
    EXPECT_FLOAT_EQ(100 / width - 1, movedX);
    EXPECT_FLOAT_EQ(1 - 60 / height, movedY);
    win::moveMouse(view, {-400, static_cast<int>(height) + 300});
    EXPECT_EQ(-1.0f, movedX);
    EXPECT_EQ(-1.0f, movedY);
    FSinterface::getMousePos(x, y);
    EXPECT_LT(x, -1.5f);
    EXPECT_LT(y, -1.5f);
    EXPECT_EQ(1, SendMessage(view, WM_SETCURSOR, reinterpret_cast<WPARAM>(view), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(HTCLIENT, SendMessage(view, WM_NCHITTEST, 0, 0));
    win::turnWheel(view, -240);
    answer = 0;
    win::turnWheel(view, 120);
    for (const Reached& r : reached) {
        if (r.window == view) {
            EXPECT_TRUE(r.message == WM_MOUSEWHEEL && GET_WHEEL_DELTA_WPARAM(r.wParam) == 120) << r.message;
        }
    }
    EXPECT_EQ((std::vector<Event>{{MouseWheel, -240, 0, {}, {}}, {MouseWheel, 120, 0, {}, {}}}),
              std::vector<Event>(events.seen.end() - 2, events.seen.end()));

    // Let go: the cursor hides again, once however often it is let go, and the simulator has the
    // mouse.
    FSinterface::setMouseCapture(false, 0, 0);
    FSinterface::setMouseCapture(false, 0, 0);
    EXPECT_EQ(0, ShowCursor(true));
    restartLog();
    win::moveMouse(view, {10, 10});
    EXPECT_TRUE(events.seen.empty());
    EXPECT_TRUE(reachedView(WM_MOUSEMOVE));
    std::vector<bool> visibility;
    std::vector<std::string> shapes;
    for (const auto& entry : headless::transcript().entries())
        if (const auto* c = std::get_if<CursorEntry>(&entry)) {
            if (c->what == CursorEntry::Visibility)
                visibility.push_back(c->visible);
            if (c->what == CursorEntry::Shape)
                shapes.push_back(c->shape);
        }
    // Hidden by the simulator, shown while captured, hidden again, shown by the simulator.
    EXPECT_EQ((std::vector<bool>{false, true, false, true}), visibility);
    EXPECT_NE(std::find(shapes.begin(), shapes.end(), "cross"), shapes.end());
}

} // namespace
