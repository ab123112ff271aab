#pragma once

#include <string>
#include <vector>

#include "winsys/Types.h"

// What a user's mouse and keyboard do to each kind of control, with the notifications that
// follow, as the original's controls send them. Each returns why the action could not happen,
// empty when it happened. The caller has found the control and checked that it is usable.
namespace win::controls {

// Buttons: a click is a press and a release; holding sends the pressed-state redraw only.
std::string clickButton(HWND button);
std::string holdButton(HWND button);
std::string releaseButton(HWND button);
// Clicks a check box or radio button when its state differs; a radio button cannot be unchecked.
std::string setButtonCheck(HWND button, bool checked);
std::string clickStatic(HWND label);

std::string typeIntoEdit(HWND edit, const std::string& text);

// Combo and list boxes.
std::string selectListIndex(HWND list, int index);
std::string selectListText(HWND list, const std::string& text);

std::string dragTrackbar(HWND trackbar, int position);
std::string clickUpDown(HWND upDown, int position);
std::string enterHotKey(HWND field, BYTE virtualKey, BYTE modifiers);

// Tree items by their texts from the top level down.
std::string checkTreeItem(HWND tree, const std::vector<std::string>& path, bool checked);
std::string selectTreeItem(HWND tree, const std::vector<std::string>& path);

} // namespace win::controls
