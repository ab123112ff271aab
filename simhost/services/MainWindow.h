#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "winsys/Types.h"

// The simulator's main window (class "FS98MAIN"), created before add-ons load so that they can
// find and subclass it, and its 3D view window (class "FS98CHILD", a child of the main window)
// created after they started, so that they see it created. The main window's own procedure is
// the simulator's: the keys and menu commands that reach it, and WM_CLOSE, which starts the
// simulator's shutdown (the window itself goes with the simulator).
class MainWindow {
public:
    static constexpr const char* kMainClass = "FS98MAIN";
    static constexpr const char* kViewClass = "FS98CHILD";

    MainWindow() = default;
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Registers the classes (once a process) and creates the main window.
    void create();
    win::HWND hwnd() const { return main_; }
    // The 3D view window; once only, later calls answer the same window.
    win::HWND createView();
    win::HWND view() const { return view_; }
    // Another 3D view window, as an inset at `place` of the client area.
    win::HWND openView(const win::RECT& place);
    void closeView(win::HWND view);
    // Resizes the main window so that its client area, and the view that fills it, has this size.
    void setClientSize(int width, int height);
    // Destroys the windows with the simulator's own procedures put back first, so that no
    // add-on code (unloaded by then) is called.
    void destroy();

    bool closing() const { return closing_; }
    const std::vector<std::string>& keysReached() const { return keysReached_; }
    const std::vector<uint32_t>& menuCommands() const { return menuCommands_; }
    // api.dll's menu anchor: the handle of the menu bar (HostMenus keeps it current), 0 before
    // the simulator built its menus.
    uintptr_t* menuAnchor() { return &menuAnchor_; }

private:
    static win::LRESULT mainProcedure(win::HWND hwnd, win::UINT message, win::WPARAM wParam,
                                      win::LPARAM lParam);
    void receiveKey(int virtualKey, bool down);

    win::HWND main_ = nullptr;
    win::HWND view_ = nullptr;
    bool closing_ = false;
    std::vector<std::string> keysReached_;
    std::vector<uint32_t> menuCommands_;
    uintptr_t menuAnchor_ = 0;
};
