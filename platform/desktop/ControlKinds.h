#pragma once

#include <memory>

#include "desktop/ControlWidget.h"

// One maker per kind of standard control.
namespace desktop {

std::unique_ptr<ControlWidget> makeButton(win::HWND control);
std::unique_ptr<ControlWidget> makeLabel(win::HWND control);
std::unique_ptr<ControlWidget> makeEntry(win::HWND control);
std::unique_ptr<ControlWidget> makeHotKeyField(win::HWND control);
std::unique_ptr<ControlWidget> makeComboBox(win::HWND control);
std::unique_ptr<ControlWidget> makeListBox(win::HWND control);
std::unique_ptr<ControlWidget> makeTreeView(win::HWND control);
std::unique_ptr<ControlWidget> makeTrackbar(win::HWND control);
std::unique_ptr<ControlWidget> makeUpDown(win::HWND control);

} // namespace desktop
