#pragma once

#include <memory>
#include <string>
#include <vector>

#include "winsys/Pixels.h"
#include "winsys/WindowApi.h"

namespace win {

namespace model {

struct WindowClass {
    WNDCLASS info;
    bool control = false; // a standard control: its windows are reported in their dialog's entries
};

// What a control keeps beyond the common window state.
struct ControlState {
    virtual ~ControlState() = default;
    // For the transcript: the state a user would see, empty when the text says it all.
    virtual std::string describe() const { return {}; }
};

struct DialogState {
    DLGPROC proc = nullptr;
    uint16_t templateId = 0;
    bool modal = false;
    bool ended = false;
    INT_PTR result = 0;
    LRESULT messageResult = 0; // DWLP_MSGRESULT
    int baseUnitX = 6;
    int baseUnitY = 13;
};

} // namespace model

// The object behind an HWND.
struct WindowObject {
    model::WindowClass* windowClass = nullptr;
    std::string title;
    HINSTANCE instance = nullptr;
    HWND parent = nullptr;      // children only
    HWND owner = nullptr;       // top-level windows only
    std::vector<HWND> children; // in creation order
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect;  // screen coordinates for top-level windows, the parent's client coordinates for children
    RECT frame; // thickness of the frame on each side, from the last frame calculation
    WNDPROC proc = nullptr;
    LONG_PTR userData = 0;
    bool destroying = false;
    std::unique_ptr<model::DialogState> dialog;
    std::unique_ptr<model::ControlState> control;
    std::unique_ptr<ClientPixels> pixels;
    bool needsPaint = false; // InvalidateRect until the next WM_PAINT
    HMENU menu = nullptr;    // the menu bar, top-level windows only

    bool isChild() const { return (style & WS_CHILD) != 0; }
};

} // namespace win
