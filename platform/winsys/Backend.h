#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "winsys/CommonDialogs.h"
#include "winsys/Menus.h"

// The seam between the window model and what shows it. The model (windows, messages, controls,
// dialogs, the transcript) is the same for every backend; the backend runs the message loops and
// the interactions that need a user, and tells the screen size. Headless (the default) answers
// from a script; the desktop backend (platform/desktop) shows real windows.
namespace win {

enum class FileDialogKind { Open, Save };

struct ScreenMetrics {
    int primaryWidth = 0;
    int primaryHeight = 0;
    RECT virtualScreen; // all monitors together
};

class Backend {
  public:
    virtual ~Backend() = default;

    // Runs until ModalLoopDone(dialog); WM_INITDIALOG has been handled when it is called.
    virtual void runModalLoop(HWND dialog) = 0;
    // The program's own message loop between two of its frames, until `until`: delivers the posted
    // messages and, on a desktop, shows the windows as they are now and hands them the user's
    // input meanwhile.
    virtual void runMessageLoop(std::chrono::steady_clock::time_point until) = 0;
    virtual int messageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) = 0;
    // The chosen paths in full; none when cancelled.
    virtual std::vector<std::string> fileDialog(FileDialogKind kind, const OPENFILENAME& request) = 0;
    // Empty when cancelled.
    virtual std::string browseForFolder(const BROWSEINFO& request) = 0;
    // The chosen item's command; 0 when the menu was dismissed.
    virtual UINT popupMenu(HWND owner, const std::vector<MenuItem>& items, POINT at) = 0;
    // The window's menu bar is another one, or its items changed (GetMenu has it).
    virtual void menuBarChanged(HWND window) = 0;
    virtual bool shellOpen(const std::string& operation, const std::string& target) = 0;
    virtual bool playSound(const std::string& file, UINT flags) = 0;
    virtual void stopSound() = 0;
    virtual ScreenMetrics screen() const = 0;
};

// Null restores the headless backend.
void SetBackend(std::unique_ptr<Backend> backend);
Backend& CurrentBackend();

// What a backend needs to know of a dialog window.
struct DialogInfo {
    uint16_t templateId = 0;
    bool modal = false;
    bool ended = false;
};
std::optional<DialogInfo> GetDialogInfo(HWND hwnd);
// True once EndDialog was called for the dialog or the dialog window is gone.
bool ModalLoopDone(HWND dialog);
// Delivers posted messages, also those posted meanwhile, until none is left; returns how many.
size_t PumpPostedMessages();

} // namespace win
