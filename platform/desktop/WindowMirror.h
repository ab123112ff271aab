#pragma once

#include <gtk/gtk.h>

#include <map>
#include <memory>

#include "winsys/Types.h"

// The window model's top-level windows on the screen: one GTK window for each visible one, with
// its menu bar, its picture (the pixels its owner drew) and a widget for each standard control.
// The model stays the truth; sync() makes the screen show it, and what the user does in a window
// goes to the model as the user's input.
namespace desktop {

class WindowMirror {
public:
    WindowMirror();
    WindowMirror(const WindowMirror&) = delete;
    WindowMirror& operator=(const WindowMirror&) = delete;
    ~WindowMirror();

    // Shows every window as the model has it now. With `pictures` the windows' pictures are
    // drawn again (a frame has passed).
    void sync(bool pictures);
    void menuBarChanged(win::HWND window);
    // The GTK window showing the model's window (or its top-level window); nullptr when none.
    GtkWindow* gtkWindowOf(win::HWND window) const;

    struct Shown;

private:
    void syncWindow(win::HWND hwnd, Shown& shown, bool pictures);
    void syncControls(Shown& shown);

    std::map<win::HWND, std::unique_ptr<Shown>> shown_;
};

} // namespace desktop
