#include "host/ViewHooks.h"

#include "host/HostState.h"
#include "winsys/WindowApi.h"

namespace ViewHooks {

// No camera definitions of the module yet.
void registerCameraDefinitions() {}

// Views are not tracked yet: no camera of a known view to report.
void cameraUpdate(uint32_t, uintptr_t, uintptr_t) {}

// Views are not tracked yet: no pass to follow.
void viewPassStart(uint32_t, uintptr_t, uintptr_t) {}

// Views are not tracked yet: no view to add or remove.
void viewPassEnd(uint32_t, uintptr_t, uintptr_t) {}

// No camera of the module yet to move with the host's view commands.
void viewCommand(uint32_t, uintptr_t, uintptr_t) {}

// No mouse handling yet: everything goes on to the class's own procedure.
win::LRESULT viewWindowProc(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    return win::CallWindowProc(hostState().previousViewClassProc, hwnd, message, wParam, lParam);
}

} // namespace ViewHooks
