#pragma once

#include <functional>

#include "winsys/Types.h"

// The simulator's main window, which owns the module's message boxes and dialogs, and the modal
// bracket that tells the simulator a modal window is open (brackets nest; the simulator stays
// paused inside them). The host binding fills both at start-up; until then boxes have no owner
// and nobody is told.
namespace HostWindow {
void setMainWindow(win::HWND window);
win::HWND mainWindow();
void setModalHook(std::function<void(bool open)> hook);
} // namespace HostWindow

class ModalBracket {
public:
    ModalBracket();
    ~ModalBracket();
    ModalBracket(const ModalBracket&) = delete;
    ModalBracket& operator=(const ModalBracket&) = delete;
};
