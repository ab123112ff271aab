#include "services/MainWindow.h"

#include <cstdio>

#include "services/Simulator.h"
#include "services/SimulatorKeys.h"
#include "services/SimulatorMenus.h"
#include "winsys/WindowApi.h"

namespace {

// Identifies the simulator's window classes as its own.
const char kInstance = 0;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kViewId = 1;

// Classes outlive the simulator (there is no unregistering): a later simulator finds them and
// gives them back their procedure.
void registerClass(const char* name, win::WNDPROC procedure) {
    win::WNDCLASS windowClass;
    if (win::GetClassInfo(&kInstance, name, &windowClass))
        return;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = &kInstance;
    windowClass.lpszClassName = name;
    win::RegisterClass(windowClass);
}

void restoreProcedure(win::HWND hwnd, win::WNDPROC procedure) {
    if (!win::IsWindow(hwnd))
        return;
    const auto value = reinterpret_cast<win::LONG_PTR>(procedure);
    win::SetWindowLongPtr(hwnd, win::GWLP_WNDPROC, value);
    win::SetClassLongPtr(hwnd, win::GCLP_WNDPROC, value);
}

} // namespace

void MainWindow::create() {
    registerClass(kMainClass, &mainProcedure);
    registerClass(kViewClass, &win::DefWindowProc);
    main_ = win::CreateWindowEx(0, kMainClass, "zephrel-sim", win::WS_OVERLAPPEDWINDOW | win::WS_VISIBLE, 0,
                                0, kWidth, kHeight, nullptr, 0, &kInstance, nullptr);
}

void MainWindow::setClientSize(int width, int height) {
    win::RECT outer{}, client{};
    win::GetWindowRect(main_, &outer);
    win::GetClientRect(main_, &client);
    win::SetWindowPos(main_, nullptr, outer.left, outer.top, width + (outer.right - outer.left) - client.right,
                      height + (outer.bottom - outer.top) - client.bottom, 0);
}

MainWindow::~MainWindow() {
    destroy();
}

win::HWND MainWindow::createView() {
    if (view_ == nullptr) {
        win::RECT client;
        win::GetClientRect(main_, &client);
        view_ = win::CreateWindowEx(0, kViewClass, "3D View", win::WS_CHILD | win::WS_VISIBLE, 0, 0,
                                    client.right, client.bottom, main_, kViewId, &kInstance, nullptr);
    }
    return view_;
}

win::HWND MainWindow::openView(const win::RECT& place) {
    return win::CreateWindowEx(0, kViewClass, "3D View", win::WS_CHILD | win::WS_VISIBLE, place.left, place.top,
                               place.right - place.left, place.bottom - place.top, main_, kViewId + 1, &kInstance,
                               nullptr);
}

void MainWindow::closeView(win::HWND view) {
    if (win::IsWindow(view))
        win::DestroyWindow(view);
}

void MainWindow::destroy() {
    restoreProcedure(view_, &win::DefWindowProc);
    restoreProcedure(main_, &mainProcedure);
    if (win::IsWindow(main_))
        win::DestroyWindow(main_);
    main_ = nullptr;
    view_ = nullptr;
}

void MainWindow::receiveKey(int virtualKey, bool down) {
    char text[32];
    std::snprintf(text, sizeof text, "%s 0x%X", down ? "down" : "up", static_cast<unsigned>(virtualKey));
    keysReached_.push_back(text);
    applySimulatorKey(*Simulator::current(), virtualKey, down);
}

win::LRESULT MainWindow::mainProcedure(win::HWND hwnd, win::UINT message, win::WPARAM wParam,
                                       win::LPARAM lParam) {
    Simulator* simulator = Simulator::current();
    if (simulator == nullptr || simulator->mainWindow() != hwnd)
        return win::DefWindowProc(hwnd, message, wParam, lParam);
    MainWindow& window = simulator->window();
    switch (message) {
    case win::WM_KEYDOWN:
    case win::WM_KEYUP:
        window.receiveKey(static_cast<int>(wParam), message == win::WM_KEYDOWN);
        return 0;
    case win::WM_COMMAND:
        window.menuCommands_.push_back(win::LOWORD(wParam));
        applySimulatorCommand(*simulator, win::LOWORD(wParam));
        return 0;
    case win::WM_CLOSE:
        window.closing_ = true;
        return 0;
    case win::WM_SIZE:
        // The main view fills the client area, however the window was sized.
        if (window.view_ != nullptr)
            win::SetWindowPos(window.view_, nullptr, 0, 0, win::LOWORD(static_cast<win::DWORD>(lParam)),
                              win::HIWORD(static_cast<win::DWORD>(lParam)), win::SWP_NOZORDER);
        return 0;
    case win::WM_PAINT:
        simulator->drawPicture();
        return 0;
    default:
        return win::DefWindowProc(hwnd, message, wParam, lParam);
    }
}
