#include "alerts/HostWindow.h"

namespace {
win::HWND mainWindow = nullptr;
std::function<void(bool)> modalHook;
} // namespace

void HostWindow::setMainWindow(win::HWND window) { ::mainWindow = window; }

win::HWND HostWindow::mainWindow() { return ::mainWindow; }

void HostWindow::setModalHook(std::function<void(bool open)> hook) { modalHook = std::move(hook); }

ModalBracket::ModalBracket() {
    if (modalHook)
        modalHook(true);
}

ModalBracket::~ModalBracket() {
    if (modalHook)
        modalHook(false);
}
