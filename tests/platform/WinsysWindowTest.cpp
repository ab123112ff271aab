#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "winsys/HeadlessScript.h"
#include "winsys/WinSys.h"

using namespace win;

namespace {

// Every message a test's procedures saw, named by window.
struct Seen {
    std::string window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Seen> seen;
std::map<HWND, std::string> names;
WNDPROC previousProc = nullptr;

std::vector<UINT> messagesTo(const std::string& window) {
    std::vector<UINT> messages;
    for (const Seen& s : seen)
        if (s.window == window)
            messages.push_back(s.message);
    return messages;
}

const Seen* firstSeen(const std::string& window, UINT message) {
    for (const Seen& s : seen)
        if (s.window == window && s.message == message)
            return &s;
    return nullptr;
}

// Windows are named by the title they are created with.
LRESULT loggingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        names[hwnd] = reinterpret_cast<const CREATESTRUCT*>(lParam)->name;
    seen.push_back(Seen{names[hwnd], message, wParam, lParam});
    if (message == WM_USER)
        return 100;
    return DefWindowProc(hwnd, message, wParam, lParam);
}

// A subclass that swallows the key 'A' and passes everything else on.
LRESULT hookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    seen.push_back(Seen{"hook", message, wParam, lParam});
    if (message == WM_KEYDOWN && wParam == 'A')
        return 1;
    return CallWindowProc(previousProc, hwnd, message, wParam, lParam);
}

LRESULT refusingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE)
        return -1;
    return DefWindowProc(hwnd, message, wParam, lParam);
}

LRESULT repostingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    seen.push_back(Seen{"reposting", message, wParam, lParam});
    if (message == WM_USER + 1)
        PostMessage(hwnd, WM_USER + 2, 0, 0);
    return DefWindowProc(hwnd, message, wParam, lParam);
}

class WinsysWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless::reset();
        seen.clear();
        names.clear();
        previousProc = nullptr;
        ASSERT_TRUE(RegisterClass(WNDCLASS{0, loggingProc, nullptr, nullptr, "FS98MAIN"}));
        ASSERT_TRUE(RegisterClass(WNDCLASS{0, loggingProc, nullptr, nullptr, "FS98CHILD"}));
    }
    void TearDown() override { headless::reset(); }

    HWND make(const std::string& name, const char* className, DWORD style, HWND parent = nullptr, int id = 0,
              DWORD exStyle = 0, RECT rect = {0, 0, 800, 600}) {
        return CreateWindowEx(exStyle, className, name, style, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, parent, id, nullptr, nullptr);
    }
};

TEST_F(WinsysWindowTest, SubclassSeesMessagesFirstAndChainsToThePreviousProcedure) {
    const HWND main = make("main", "FS98MAIN", WS_OVERLAPPEDWINDOW);
    previousProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtr(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hookProc)));
    EXPECT_EQ(previousProc, loggingProc);

    seen.clear();
    EXPECT_EQ(SendMessage(main, WM_KEYDOWN, 'A', 0), 1);
    EXPECT_EQ(messagesTo("main"), std::vector<UINT>{});
    EXPECT_EQ(SendMessage(main, WM_USER, 0, 0), 100);
    EXPECT_EQ(messagesTo("hook"), (std::vector<UINT>{WM_KEYDOWN, WM_USER}));
    EXPECT_EQ(messagesTo("main"), std::vector<UINT>{WM_USER});

    SetWindowLongPtr(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
    seen.clear();
    SendMessage(main, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(messagesTo("hook"), std::vector<UINT>{});
    EXPECT_EQ(messagesTo("main"), std::vector<UINT>{WM_KEYDOWN});
}

TEST_F(WinsysWindowTest, ClassProcedureReplacementAffectsOnlyWindowsCreatedLater) {
    const HWND main = make("main", "FS98MAIN", WS_OVERLAPPEDWINDOW);
    const HWND before = make("before", "FS98CHILD", WS_CHILD, main, 1);
    previousProc = reinterpret_cast<WNDPROC>(
        SetClassLongPtr(before, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(hookProc)));
    EXPECT_EQ(previousProc, loggingProc);
    const HWND after = make("after", "FS98CHILD", WS_CHILD, main, 2);

    EXPECT_EQ(GetWindowLongPtr(before, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(loggingProc));
    EXPECT_EQ(GetWindowLongPtr(after, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(hookProc));
    EXPECT_EQ(GetClassLongPtr(main, GCLP_WNDPROC), reinterpret_cast<LONG_PTR>(loggingProc));
    seen.clear();
    SendMessage(before, WM_KEYDOWN, 'A', 0);
    SendMessage(after, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(messagesTo("before"), std::vector<UINT>{WM_KEYDOWN});
    EXPECT_EQ(messagesTo("hook"), std::vector<UINT>{WM_KEYDOWN});
    EXPECT_EQ(messagesTo("after"), std::vector<UINT>{});
}

TEST_F(WinsysWindowTest, WindowWordsKeepWhatIsStoredAndReturnThePreviousValue) {
    const HWND main = make("main", "FS98MAIN", WS_OVERLAPPEDWINDOW, nullptr, 0, WS_EX_WINDOWEDGE);
    int object = 0;
    const LONG_PTR pointer = reinterpret_cast<LONG_PTR>(&object);
    EXPECT_EQ(SetWindowLongPtr(main, GWLP_USERDATA, pointer), 0);
    EXPECT_EQ(SetWindowLongPtr(main, GWLP_USERDATA, 7), pointer);
    EXPECT_EQ(GetWindowLongPtr(main, GWLP_USERDATA), 7);
    EXPECT_EQ(SetWindowLongPtr(main, GWL_STYLE, WS_POPUP), static_cast<LONG_PTR>(WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(GetWindowLongPtr(main, GWL_STYLE), static_cast<LONG_PTR>(WS_POPUP));
    EXPECT_EQ(SetWindowLongPtr(main, GWL_EXSTYLE, 0), static_cast<LONG_PTR>(WS_EX_WINDOWEDGE));
    EXPECT_EQ(GetWindowLongPtr(nullptr, GWLP_USERDATA), 0);
}

TEST_F(WinsysWindowTest, FindWindowMatchesClassAndTitleWithoutRegardToCase) {
    const HWND main = make("Flight Simulator X", "FS98MAIN", WS_OVERLAPPEDWINDOW);
    const HWND contacts = make("Online Contacts", "FS98CHILD", WS_CHILD, main, 1);
    const HWND view = make("3D View", "FS98CHILD", WS_CHILD, main, 2);
    struct Case {
        const char* what;
        HWND found;
        HWND expected;
    };
    const Case cases[] = {
        {"class", FindWindow("fs98main", nullptr), main},
        {"title", FindWindow(nullptr, "flight simulator x"), main},
        {"class and title", FindWindow("FS98MAIN", "Flight Simulator X"), main},
        {"children are not top-level", FindWindow("FS98CHILD", nullptr), nullptr},
        {"child by title", FindWindowEx(main, nullptr, "FS98CHILD", "Online Contacts"), contacts},
        {"next child", FindWindowEx(main, contacts, "FS98CHILD", nullptr), view},
        {"none after the last", FindWindowEx(main, view, nullptr, nullptr), nullptr},
        {"no such title", FindWindowEx(main, nullptr, "FS98CHILD", "Nope"), nullptr},
        {"wrong class", FindWindow("FS98FLOAT", nullptr), nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.found, c.expected) << c.what;
    EXPECT_EQ(GetParent(view), main);
    EXPECT_EQ(GetClassName(view), "FS98CHILD");
}

TEST_F(WinsysWindowTest, OwnedWindowReportsItsOwnerAsParent) {
    const HWND main = make("main", "FS98MAIN", WS_OVERLAPPEDWINDOW);
    const HWND child = make("child", "FS98CHILD", WS_CHILD, main, 1);
    const HWND tool = make("tool", "FS98CHILD", WS_POPUP, child);
    EXPECT_EQ(GetParent(tool), main);
    EXPECT_EQ(FindWindow(nullptr, "tool"), tool);
}

bool collect(HWND hwnd, LPARAM list) {
    auto* found = reinterpret_cast<std::vector<std::string>*>(list);
    found->push_back(names[hwnd]);
    return found->size() < 3;
}

TEST_F(WinsysWindowTest, EnumChildWindowsVisitsDescendantsParentsFirstUntilTold) {
    const HWND main = make("main", "FS98MAIN", WS_OVERLAPPEDWINDOW);
    const HWND a = make("a", "FS98CHILD", WS_CHILD, main, 1);
    make("a1", "FS98CHILD", WS_CHILD, a, 11);
    make("b", "FS98CHILD", WS_CHILD, main, 2);
    make("c", "FS98CHILD", WS_CHILD, main, 3);
    std::vector<std::string> found;
    EXPECT_FALSE(EnumChildWindows(main, collect, reinterpret_cast<LPARAM>(&found)));
    EXPECT_EQ(found, (std::vector<std::string>{"a", "a1", "b"}));
}

TEST_F(WinsysWindowTest, CreationAndDestructionSendTheirMessagesInOrder) {
    const HWND main = make("main", "FS98MAIN", WS_OVERLAPPEDWINDOW);
    const HWND child = make("child", "FS98CHILD", WS_CHILD, main, 7);
    make("quiet", "FS98CHILD", WS_CHILD, main, 8, WS_EX_NOPARENTNOTIFY);
    EXPECT_EQ(messagesTo("main"), (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_PARENTNOTIFY}));
    EXPECT_EQ(messagesTo("child"), (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
    const Seen* notify = firstSeen("main", WM_PARENTNOTIFY);
    ASSERT_NE(notify, nullptr);
    EXPECT_EQ(LOWORD(notify->wParam), WM_CREATE);
    EXPECT_EQ(HIWORD(notify->wParam), 7);
    EXPECT_EQ(notify->lParam, reinterpret_cast<LPARAM>(child));
    const HWND owned = make("owned", "FS98MAIN", WS_POPUP, main);

    seen.clear();
    EXPECT_TRUE(DestroyWindow(main));
    const std::map<UINT, std::string> kinds{
        {WM_DESTROY, " destroy"}, {WM_NCDESTROY, " ncdestroy"}, {WM_PARENTNOTIFY, " notify"}};
    std::vector<std::string> order;
    for (const Seen& s : seen)
        order.push_back(s.window + kinds.at(s.message));
    // Owned windows go first; a child tells its parent of its end before its own WM_DESTROY; the
    // parent's WM_NCDESTROY comes last.
    EXPECT_EQ(order, (std::vector<std::string>{"owned destroy", "owned ncdestroy", "main destroy",
                                               "main notify", "child destroy", "child ncdestroy",
                                               "quiet destroy", "quiet ncdestroy", "main ncdestroy"}));
    EXPECT_FALSE(IsWindow(main));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(owned));
    EXPECT_FALSE(DestroyWindow(main));
}

TEST_F(WinsysWindowTest, WindowRefusedByItsProcedureIsNotCreated) {
    ASSERT_TRUE(RegisterClass(WNDCLASS{0, refusingProc, nullptr, nullptr, "Refusing"}));
    EXPECT_EQ(CreateWindowEx(0, "Refusing", "no", WS_POPUP, 0, 0, 10, 10, nullptr, 0, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(FindWindow("Refusing", nullptr), nullptr);
    EXPECT_EQ(CreateWindowEx(0, "Unregistered", "no", WS_POPUP, 0, 0, 10, 10, nullptr, 0, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(CreateWindowEx(0, "FS98CHILD", "orphan", WS_CHILD, 0, 0, 10, 10, nullptr, 1, nullptr, nullptr),
              nullptr);
    EXPECT_FALSE(RegisterClass(WNDCLASS{0, loggingProc, nullptr, nullptr, "fs98main"}));
}

TEST_F(WinsysWindowTest, PostedMessagesWaitForThePumpAndSkipDestroyedWindows) {
    ASSERT_TRUE(RegisterClass(WNDCLASS{0, repostingProc, nullptr, nullptr, "Reposting"}));
    const HWND a = CreateWindowEx(0, "Reposting", "a", WS_POPUP, 0, 0, 10, 10, nullptr, 0, nullptr, nullptr);
    const HWND b = make("b", "FS98MAIN", WS_POPUP);
    seen.clear();
    EXPECT_TRUE(PostMessage(a, WM_USER + 1, 1, 0));
    EXPECT_TRUE(PostMessage(b, WM_USER, 0, 0));
    EXPECT_TRUE(PostMessage(a, WM_USER + 3, 3, 0));
    DestroyWindow(b);
    seen.clear();
    EXPECT_EQ(messagesTo("reposting"), std::vector<UINT>{});
    EXPECT_EQ(headless::pumpMessages(), 3u);
    EXPECT_EQ(messagesTo("reposting"), (std::vector<UINT>{WM_USER + 1, WM_USER + 3, WM_USER + 2}));
    EXPECT_EQ(messagesTo("b"), std::vector<UINT>{});
    EXPECT_EQ(headless::pumpMessages(), 0u);
    EXPECT_FALSE(PostMessage(b, WM_USER, 0, 0));
}

TEST_F(WinsysWindowTest, MessagesToAMissingWindowDoNothing) {
    const HWND main = make("main", "FS98MAIN", WS_POPUP);
    DestroyWindow(main);
    EXPECT_EQ(SendMessage(main, WM_USER, 0, 0), 0);
    EXPECT_EQ(SendMessage(nullptr, WM_USER, 0, 0), 0);
    EXPECT_EQ(GetWindowText(main), "");
    EXPECT_FALSE(SetWindowText(main, "x"));
}

TEST_F(WinsysWindowTest, WindowTextGoesThroughTheTextMessages) {
    const HWND main = make("Flight Simulator X", "FS98MAIN", WS_POPUP);
    EXPECT_EQ(GetWindowText(main), "Flight Simulator X");
    seen.clear();
    EXPECT_TRUE(SetWindowText(main, "Renamed"));
    EXPECT_EQ(GetWindowText(main), "Renamed");
    EXPECT_EQ(GetWindowTextLength(main), 7);
    EXPECT_EQ(messagesTo("Flight Simulator X"),
              (std::vector<UINT>{WM_SETTEXT, WM_GETTEXTLENGTH, WM_GETTEXT, WM_GETTEXTLENGTH}));
    char small[4];
    EXPECT_EQ(SendMessage(main, WM_GETTEXT, sizeof small, reinterpret_cast<LPARAM>(small)), 3);
    EXPECT_STREQ(small, "Ren");
}

struct FrameCase {
    const char* what;
    DWORD style;
    DWORD exStyle;
    int clientWidth;
    int clientHeight;
};

const FrameCase kFrames[] = {
    {"overlapped window", WS_OVERLAPPEDWINDOW, 0, 784, 561},
    {"plain popup", WS_POPUP, 0, 800, 600},
    {"caption with fixed frame", WS_POPUP | WS_CAPTION, 0, 794, 571},
    {"thin border", WS_POPUP | WS_BORDER, 0, 798, 598},
    {"dialog frame without caption", WS_POPUP | WS_DLGFRAME, 0, 794, 594},
    {"tool window caption", WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, 794, 577},
    {"modal frame", WS_POPUP, WS_EX_DLGMODALFRAME, 794, 594},
    {"client edge", WS_POPUP, WS_EX_CLIENTEDGE, 796, 596},
    {"window edge alone", WS_POPUP, WS_EX_WINDOWEDGE, 800, 600},
};

TEST_F(WinsysWindowTest, ClientAreaIsTheWindowLessTheFrameOfItsStyles) {
    for (const FrameCase& c : kFrames) {
        const HWND hwnd = make(c.what, "FS98MAIN", c.style, nullptr, 0, c.exStyle, RECT{100, 50, 900, 650});
        RECT client;
        ASSERT_TRUE(GetClientRect(hwnd, &client)) << c.what;
        EXPECT_EQ(client.right, c.clientWidth) << c.what;
        EXPECT_EQ(client.bottom, c.clientHeight) << c.what;
        RECT outer{0, 0, c.clientWidth, c.clientHeight};
        AdjustWindowRectEx(&outer, c.style, c.exStyle);
        EXPECT_EQ(outer.right - outer.left, 800) << c.what;
        EXPECT_EQ(outer.bottom - outer.top, 600) << c.what;
        RECT window;
        GetWindowRect(hwnd, &window);
        POINT origin{0, 0};
        ClientToScreen(hwnd, &origin);
        EXPECT_EQ(origin.x - window.left, -outer.left) << c.what;
        EXPECT_EQ(origin.y - window.top, -outer.top) << c.what;
    }
}

TEST_F(WinsysWindowTest, StyleChangeReachesTheClientAreaOnlyWithTheNextPositionChange) {
    const HWND main = make("main", "FS98MAIN", WS_OVERLAPPEDWINDOW, nullptr, 0, 0, RECT{100, 50, 900, 650});
    SetWindowLongPtr(main, GWL_STYLE, static_cast<LONG_PTR>(WS_POPUP));
    RECT client;
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 784);
    SetWindowPos(main, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 784) << "neither moved nor sized nor told of a frame change";
    seen.clear();
    SetWindowPos(main, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 800);
    EXPECT_EQ(client.bottom, 600);
    ASSERT_EQ(messagesTo("main"), (std::vector<UINT>{WM_MOVE, WM_SIZE}));
    EXPECT_EQ(GET_X_LPARAM(seen[0].lParam), 100);
    EXPECT_EQ(GET_Y_LPARAM(seen[0].lParam), 50);
    EXPECT_EQ(LOWORD(seen[1].lParam), 800);
    EXPECT_EQ(HIWORD(seen[1].lParam), 600);

    seen.clear();
    MoveWindow(main, -20, -10, 640, 480, true);
    RECT window;
    GetWindowRect(main, &window);
    EXPECT_EQ(window.left, -20);
    EXPECT_EQ(window.bottom, 470);
    ASSERT_EQ(messagesTo("main"), (std::vector<UINT>{WM_MOVE, WM_SIZE}));
    EXPECT_EQ(GET_X_LPARAM(seen[0].lParam), -20);
    seen.clear();
    MoveWindow(main, -20, -10, 640, 480, true);
    EXPECT_EQ(messagesTo("main"), std::vector<UINT>{});
}

TEST_F(WinsysWindowTest, ChildRectangleIsInTheParentsClientCoordinates) {
    const HWND main = make("main", "FS98MAIN", WS_OVERLAPPEDWINDOW, nullptr, 0, 0, RECT{100, 50, 900, 650});
    const HWND view = make("view", "FS98CHILD", WS_CHILD, main, 1, 0, RECT{10, 20, 40, 60});
    RECT window;
    GetWindowRect(view, &window);
    EXPECT_EQ(window.left, 100 + 8 + 10);
    EXPECT_EQ(window.top, 50 + 31 + 20);
    EXPECT_EQ(window.right - window.left, 30);
    POINT point{5, 6};
    ClientToScreen(view, &point);
    EXPECT_EQ(point.x, 123);
    EXPECT_EQ(point.y, 107);
    ScreenToClient(main, &point);
    EXPECT_EQ(point.x, 15);
    EXPECT_EQ(point.y, 26);
}

TEST_F(WinsysWindowTest, VisibilityNeedsTheWindowAndEveryAncestorShown) {
    const HWND main = make("main", "FS98MAIN", WS_OVERLAPPEDWINDOW);
    const HWND child = make("child", "FS98CHILD", WS_CHILD | WS_VISIBLE, main, 1);
    EXPECT_FALSE(IsWindowVisible(child));
    seen.clear();
    EXPECT_FALSE(ShowWindow(main, SW_SHOW));
    EXPECT_TRUE(ShowWindow(main, SW_SHOWNA));
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_EQ(messagesTo("main"), std::vector<UINT>{WM_SHOWWINDOW});
    EXPECT_TRUE(ShowWindow(main, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(child));
    EXPECT_EQ(seen.back().wParam, 0u);
}

TEST_F(WinsysWindowTest, TopLevelWindowCreatedVisibleIsShownAfterCreation) {
    make("main", "FS98MAIN", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    EXPECT_EQ(messagesTo("main"), (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SHOWWINDOW}));
    EXPECT_TRUE(IsWindowVisible(FindWindow("FS98MAIN", nullptr)));
}

TEST_F(WinsysWindowTest, EnablingReportsThePreviousStateAndTellsOnlyOfChanges) {
    const HWND main = make("main", "FS98MAIN", WS_POPUP);
    seen.clear();
    EXPECT_FALSE(EnableWindow(main, true));
    EXPECT_FALSE(EnableWindow(main, false));
    EXPECT_FALSE(IsWindowEnabled(main));
    EXPECT_TRUE(EnableWindow(main, false));
    EXPECT_TRUE(EnableWindow(main, true));
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(messagesTo("main"), (std::vector<UINT>{WM_ENABLE, WM_ENABLE}));
}

TEST_F(WinsysWindowTest, FocusMovesWithKillAndSetFocusMessages) {
    const HWND main = make("main", "FS98MAIN", WS_POPUP);
    const HWND tool = make("tool", "FS98MAIN", WS_POPUP);
    EXPECT_EQ(SetFocus(main), nullptr);
    seen.clear();
    EXPECT_EQ(SetFocus(tool), main);
    EXPECT_EQ(GetFocus(), tool);
    EXPECT_EQ(messagesTo("main"), std::vector<UINT>{WM_KILLFOCUS});
    EXPECT_EQ(messagesTo("tool"), std::vector<UINT>{WM_SETFOCUS});
    DestroyWindow(tool);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WinsysWindowTest, ScreenMetricsComeFromTheBackend) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    headless::setScreen(ScreenMetrics{1280, 1024, RECT{-1280, -200, 1920, 1080}});
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), -1280);
    EXPECT_EQ(GetSystemMetrics(SM_YVIRTUALSCREEN), -200);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 3200);
    EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(4), 0);
}

} // namespace
