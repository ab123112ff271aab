// The simulator's main window ("FS98MAIN") as the module hooks it: keys, closing, the module's
// menu commands and the creation of the 3D view windows.

#include <string>

#include "alerts/HostWindow.h"
#include "host/FSinterface.h"
#include "host/HostMenuHooks.h"
#include "host/HostState.h"
#include "host/ViewHooks.h"
#include "winsys/Input.h"
#include "winsys/WindowApi.h"

namespace {

constexpr uintptr_t kShiftBit = 0x1000;
constexpr uintptr_t kCtrlBit = 0x2000;
// The class name is read as into a 10-character buffer: its first 9 characters and the terminator.
constexpr std::size_t kClassNameBuffer = 10;
constexpr const char* kViewClass = "FS98CHILD";

bool keyDown(int virtualKey) { return (win::GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

// The key code listeners see: the virtual key with the Shift and Ctrl state of the moment.
uintptr_t keyCode(win::WPARAM virtualKey) {
    return virtualKey | (keyDown(win::VK_SHIFT) ? kShiftBit : 0) | (keyDown(win::VK_CONTROL) ? kCtrlBit : 0);
}

template <typename Procedure> win::LONG_PTR procedureValue(Procedure procedure) {
    return reinterpret_cast<win::LONG_PTR>(procedure);
}

// Every 3D view window, this one and those still to come, goes through the module's view procedure.
void hookViewClass(win::HWND child) {
    HostState& s = hostState();
    if (s.previousViewClassProc != nullptr || win::GetClassName(child).substr(0, kClassNameBuffer - 1) != kViewClass)
        return;
    s.previousViewClassProc = reinterpret_cast<win::WNDPROC>(
        win::SetClassLongPtr(child, win::GCLP_WNDPROC, procedureValue(&ViewHooks::viewWindowProc)));
    if (win::GetWindowLongPtr(child, win::GWLP_WNDPROC) == procedureValue(s.previousViewClassProc))
        win::SetWindowLongPtr(child, win::GWLP_WNDPROC, procedureValue(&ViewHooks::viewWindowProc));
}

// A menu command of the host (not of a control, not an accelerator) that may be one of the
// module's items.
void menuCommand(win::WPARAM wParam, win::LPARAM lParam) {
    if (lParam != 0 || win::HIWORD(wParam) != 0 || win::LOWORD(wParam) < HostMenuHooks::kFirstCommand)
        return;
    if (const auto item = HostMenuHooks::itemForCommand(win::LOWORD(wParam)))
        FSinterface::callback(MenuCommand, *item);
}

win::LRESULT mainWindowProc(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    const HostState& s = hostState();
    if (!s.stopping) {
        switch (message) {
        case win::WM_KEYDOWN:
        case win::WM_KEYUP:
            // A key a listener handled never reaches the simulator.
            if (FSinterface::callback(message == win::WM_KEYDOWN ? KeyDown : KeyUp,
                                      static_cast<intptr_t>(keyCode(wParam)), lParam) != 0)
                return 0;
            break;
        case win::WM_CLOSE:
            FSinterface::callback(SimClosing);
            break;
        case win::WM_COMMAND:
            menuCommand(wParam, lParam);
            break;
        case win::WM_PARENTNOTIFY:
            if (win::LOWORD(wParam) == win::WM_CREATE)
                hookViewClass(reinterpret_cast<win::HWND>(lParam));
            break;
        default:
            break;
        }
    }
    return win::CallWindowProc(s.previousMainProc, hwnd, message, wParam, lParam);
}

} // namespace

void FSinterface::hookMainWindow() {
    HostState& s = hostState();
    const win::HWND window = win::FindWindow("FS98MAIN", nullptr);
    if (window == nullptr || s.mainWindow != nullptr)
        return;
    s.mainWindow = window;
    s.previousMainProc = reinterpret_cast<win::WNDPROC>(
        win::SetWindowLongPtr(window, win::GWLP_WNDPROC, procedureValue(&mainWindowProc)));
    HostWindow::setMainWindow(window);
}

void FSinterface::unhookMainWindow() {
    HostState& s = hostState();
    if (s.mainWindow == nullptr)
        return;
    if (win::IsWindow(s.mainWindow))
        win::SetWindowLongPtr(s.mainWindow, win::GWLP_WNDPROC, procedureValue(s.previousMainProc));
    HostWindow::setMainWindow(nullptr);
    s.mainWindow = nullptr;
    s.previousMainProc = nullptr;
}
