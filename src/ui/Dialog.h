#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "winsys/WinSys.h"

// The base of the module's modal dialogs: binds a dialog template to an object and routes the
// dialog's messages to its virtual operations. The simulator stays paused while a dialog is open.
class Dialog {
public:
    Dialog(uint16_t templateId, win::HINSTANCE instance);
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Without a parent the dialog opens over the most recent module dialog still open, else over
    // the simulator's main window. Returns the value the dialog was ended with (IDOK for "OK").
    win::INT_PTR doModal(win::HWND parent = nullptr);

    uint16_t templateId() const { return templateId_; }
    win::HWND hwnd() const { return hwnd_; }
    win::HWND parent() const { return parent_; }

    // The module dialogs open now, the most recent last.
    static const std::vector<win::HWND>& openDialogs();

protected:
    // Any message the operations below do not handle; 0 = not handled.
    virtual win::INT_PTR onMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    virtual bool onInitDialog();
    virtual bool onCommand(int id, int notifyCode, win::LPARAM lParam);
    virtual bool onNotify(win::LPARAM lParam);
    // "OK" (IDOK) that onCommand left alone: true ends the dialog with IDOK, false keeps it open
    // (after telling the user what cannot be taken). "Cancel" (IDCANCEL) that onCommand left alone
    // ends the dialog with IDCANCEL.
    virtual bool onOk();

    void end(win::INT_PTR result);

    // The control operations every dialog uses.
    void setText(int id, const std::string& text);
    std::string getText(int id) const;
    void setInt(int id, int value);
    int getInt(int id) const;
    void setFloat(int id, double value, int decimals);
    double getFloat(int id) const;
    void setCheck(int id, bool checked);
    bool getCheck(int id) const;
    void addItem(int id, const std::string& text);
    void setSelection(int id, int index);
    int getSelection(int id) const;
    void enable(int id, bool enabled);

private:
    static win::INT_PTR dialogProc(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    win::INT_PTR route(win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    // OK and Cancel as the dialog left them; false for any other command.
    bool closeCommand(int id);
    bool isListBox(int id) const;

    uint16_t templateId_;
    win::HINSTANCE instance_;
    win::HWND parent_ = nullptr;
    win::HWND hwnd_ = nullptr;
};
