#pragma once

#include <vector>

#include "winsys/Dialogs.h"
#include "winsys/model/WindowObject.h"

namespace win::controls {

// The classes every process has: the dialog class and the standard and common controls.
std::vector<model::WindowClass> standardClasses();

// The window class and usual styles of a template control kind (see ControlKind).
struct KindClass {
    const char* className;
    DWORD style;
};
KindClass classOfKind(ControlKind kind);

} // namespace win::controls
