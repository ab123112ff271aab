// An add-on for the simulator's tests. It tells the host program what it sees through the
// program's exported zephrelTestAddonEvent, when there is one: its "Panels" word at DLLStart and
// DLLStop, and its unloading. It subclasses the main window and answers the key E with an
// error message box.

#include <dlfcn.h>

#include "host/hostabi.h"
#include "winsys/WinSys.h"

namespace {

win::WNDPROC simulatorProc = nullptr;
win::HWND mainWindow = nullptr;

void report(const char* event, const void* panels) {
    using Hook = void (*)(const char*, const void*);
    if (const auto hook = reinterpret_cast<Hook>(dlsym(RTLD_DEFAULT, "zephrelTestAddonEvent")))
        hook(event, panels);
}

win::LRESULT mainWindowProc(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    if (message == win::WM_KEYDOWN && wParam == 'E')
        win::MessageBox(hwnd, "The test add-on was asked for an error.", "Test add-on",
                        win::MB_OK | win::MB_ICONERROR);
    return win::CallWindowProc(simulatorProc, hwnd, message, wParam, lParam);
}

__attribute__((destructor)) void unloaded() {
    report("unloaded", nullptr);
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) const ZHostPanels* Panels = nullptr;

__attribute__((visibility("default"))) int DLLStart() {
    report("start", Panels);
    mainWindow = win::FindWindow("FS98MAIN", nullptr);
    if (mainWindow != nullptr) {
        simulatorProc = reinterpret_cast<win::WNDPROC>(win::SetWindowLongPtr(
            mainWindow, win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(&mainWindowProc)));
        report("subclassed", Panels);
    }
    return 0;
}

__attribute__((visibility("default"))) void DLLStop() {
    if (mainWindow != nullptr && win::IsWindow(mainWindow))
        win::SetWindowLongPtr(mainWindow, win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(simulatorProc));
    mainWindow = nullptr;
    report("stop", Panels);
}

} // extern "C"
