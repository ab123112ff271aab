#include "ui/Dialog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "alerts/HostWindow.h"
#include "alerts/ShowError.h"
#include "common/Log.h"
#include "common/ZephrelException.h"

namespace {
std::vector<win::HWND> openDialogList;
} // namespace

Dialog::Dialog(uint16_t templateId, win::HINSTANCE instance) : templateId_(templateId), instance_(instance) {}

const std::vector<win::HWND>& Dialog::openDialogs() { return openDialogList; }

win::INT_PTR Dialog::doModal(win::HWND parent) {
    if (parent == nullptr)
        parent = openDialogList.empty() ? HostWindow::mainWindow() : openDialogList.back();
    parent_ = parent;
    ModalBracket simulatorPaused;
    return win::DialogBoxParam(instance_, templateId_, parent_, dialogProc, reinterpret_cast<win::LPARAM>(this));
}

win::INT_PTR Dialog::dialogProc(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    Dialog* dialog = nullptr;
    if (message == win::WM_INITDIALOG) {
        dialog = reinterpret_cast<Dialog*>(lParam);
        win::SetWindowLongPtr(hwnd, win::GWLP_USERDATA, lParam);
        dialog->hwnd_ = hwnd;
        openDialogList.push_back(hwnd);
    } else {
        dialog = reinterpret_cast<Dialog*>(win::GetWindowLongPtr(hwnd, win::GWLP_USERDATA));
        if (dialog == nullptr)
            return 0; // before WM_INITDIALOG nothing is ours to handle
    }
    // A dialog is an entry point of the module: nothing may escape into the window system.
    try {
        return dialog->route(message, wParam, lParam);
    } catch (const ZephrelException& e) {
        showError(e.userText, e.severity);
    } catch (const std::exception& e) {
        Log::log(std::string("Error: unexpected exception in a dialog: ") + e.what(), 1, false);
    } catch (...) {
        Log::log("Error: unexpected exception in a dialog", 1, false);
    }
    return 0;
}

win::INT_PTR Dialog::route(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    switch (message) {
    case win::WM_INITDIALOG:
        return onInitDialog() ? 1 : 0;
    case win::WM_DESTROY:
        std::erase(openDialogList, hwnd_);
        break;
    case win::WM_NOTIFY:
        if (onNotify(lParam))
            return 1;
        break;
    case win::WM_COMMAND:
        if (onCommand(win::LOWORD(wParam), win::HIWORD(wParam), lParam) || closeCommand(win::LOWORD(wParam)))
            return 1;
        break;
    default:
        break;
    }
    return onMessage(message, wParam, lParam);
}

win::INT_PTR Dialog::onMessage(win::UINT, win::WPARAM, win::LPARAM) { return 0; }

bool Dialog::onInitDialog() { return true; }

bool Dialog::onCommand(int, int, win::LPARAM) { return false; }

bool Dialog::onOk() { return true; }

bool Dialog::closeCommand(int id) {
    if (id == win::IDOK) {
        if (onOk())
            end(win::IDOK);
        return true;
    }
    if (id == win::IDCANCEL) {
        end(win::IDCANCEL);
        return true;
    }
    return false;
}

bool Dialog::onNotify(win::LPARAM) { return false; }

void Dialog::end(win::INT_PTR result) { win::EndDialog(hwnd_, result); }

void Dialog::setText(int id, const std::string& text) { win::SetDlgItemText(hwnd_, id, text); }

std::string Dialog::getText(int id) const { return win::GetDlgItemText(hwnd_, id); }

void Dialog::setInt(int id, int value) { win::SetDlgItemInt(hwnd_, id, static_cast<win::UINT>(value), true); }

int Dialog::getInt(int id) const {
    bool translated = false;
    return static_cast<int>(win::GetDlgItemInt(hwnd_, id, &translated, true));
}

void Dialog::setFloat(int id, double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    setText(id, text);
}

// Text that is no finite number reads as 0, as the original's conversion gave for text without one;
// "nan" and "inf" must not reach a camera or a setting.
double Dialog::getFloat(int id) const {
    const double value = std::strtod(getText(id).c_str(), nullptr);
    return std::isfinite(value) ? value : 0;
}

void Dialog::setCheck(int id, bool checked) {
    win::CheckDlgButton(hwnd_, id, checked ? win::BST_CHECKED : win::BST_UNCHECKED);
}

bool Dialog::getCheck(int id) const { return win::IsDlgButtonChecked(hwnd_, id) == win::BST_CHECKED; }

bool Dialog::isListBox(int id) const { return win::GetClassName(win::GetDlgItem(hwnd_, id)) == win::WC_LISTBOX; }

void Dialog::addItem(int id, const std::string& text) {
    win::SendDlgItemMessage(hwnd_, id, isListBox(id) ? win::LB_ADDSTRING : win::CB_ADDSTRING, 0,
                            reinterpret_cast<win::LPARAM>(text.c_str()));
}

void Dialog::setSelection(int id, int index) {
    win::SendDlgItemMessage(hwnd_, id, isListBox(id) ? win::LB_SETCURSEL : win::CB_SETCURSEL,
                            static_cast<win::WPARAM>(index), 0);
}

int Dialog::getSelection(int id) const {
    return static_cast<int>(
        win::SendDlgItemMessage(hwnd_, id, isListBox(id) ? win::LB_GETCURSEL : win::CB_GETCURSEL, 0, 0));
}

void Dialog::enable(int id, bool enabled) { win::EnableWindow(win::GetDlgItem(hwnd_, id), enabled); }
