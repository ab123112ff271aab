#pragma once

#include <memory>
#include <string>
#include <vector>

#include "winsys/Backend.h"
#include "winsys/headless/HeadlessBackend.h"

// A backend that answers as the headless one does; a test overrides the one interaction it changes.
class HeadlessDelegate : public win::Backend {
public:
    void runModalLoop(win::HWND dialog) override { headless_->runModalLoop(dialog); }
    void runMessageLoop(std::chrono::steady_clock::time_point until) override {
        headless_->runMessageLoop(until);
    }
    int messageBox(win::HWND owner, const std::string& text, const std::string& caption,
                   win::UINT type) override {
        return headless_->messageBox(owner, text, caption, type);
    }
    std::vector<std::string> fileDialog(win::FileDialogKind kind, const win::OPENFILENAME& request) override {
        return headless_->fileDialog(kind, request);
    }
    std::string browseForFolder(const win::BROWSEINFO& request) override {
        return headless_->browseForFolder(request);
    }
    win::UINT popupMenu(win::HWND owner, const std::vector<win::MenuItem>& items, win::POINT at) override {
        return headless_->popupMenu(owner, items, at);
    }
    void menuBarChanged(win::HWND window) override { headless_->menuBarChanged(window); }
    bool shellOpen(const std::string& operation, const std::string& target) override {
        return headless_->shellOpen(operation, target);
    }
    bool playSound(const std::string& file, win::UINT flags) override {
        return headless_->playSound(file, flags);
    }
    void stopSound() override { headless_->stopSound(); }
    win::ScreenMetrics screen() const override { return headless_->screen(); }

private:
    std::unique_ptr<win::Backend> headless_ = win::headless::makeHeadlessBackend();
};
