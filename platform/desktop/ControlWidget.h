#pragma once

#include <gtk/gtk.h>

#include <memory>

#include "winsys/Types.h"

// A GTK widget showing one of the window model's standard controls. The model stays the truth:
// refresh() shows what the control holds now, and what the user does to the widget goes to the
// control as the user's action on it, with the notifications the original sends.
namespace desktop {

class ControlWidget {
public:
    ControlWidget(const ControlWidget&) = delete;
    ControlWidget& operator=(const ControlWidget&) = delete;
    virtual ~ControlWidget();

    win::HWND control() const { return control_; }
    // What goes into the window's GtkFixed; the widget holds a reference of its own.
    GtkWidget* widget() const { return widget_; }

    // Shows the control's state, place, size, visibility and whether it is enabled; the widget's
    // own signals stay quiet meanwhile.
    void refresh();

protected:
    ControlWidget(win::HWND control, GtkWidget* widget);

    // The control's own state (text, check, items, position).
    virtual void refreshState() = 0;
    // How tall the widget is for the control's height; -1: as tall as GTK wants it.
    virtual int shownHeight(int height) const { return height; }
    // True while refresh() sets the widget: a signal then is no user's doing.
    bool refreshing() const { return refreshing_; }
    // A right-click on `inner` (a part of the widget that takes its own clicks) asks the control
    // for its context menu.
    void offerContextMenu(GtkWidget* inner);
    // After a user action: posted messages delivered, a refusal logged.
    static void actionDone(const std::string& refusal);

    win::HWND control_;
    GtkWidget* widget_;

private:
    bool refreshing_ = false;
    int x_ = -1, y_ = -1, width_ = -1, height_ = -1;
};

// Nullptr for a window that is no standard control (the simulator's views, say): the window's
// picture shows it.
std::unique_ptr<ControlWidget> makeControlWidget(win::HWND control);

// The model's "&File" as GTK's mnemonic "_File" ("&&" is a plain "&", "_" stays a "_").
std::string mnemonicText(const std::string& text);

} // namespace desktop
