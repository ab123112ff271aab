// Buttons of every style, and static texts.
#include "desktop/ControlKinds.h"
#include "desktop/WindowStyle.h"
#include "winsys/Backend.h"
#include "winsys/Controls.h"
#include "winsys/WindowApi.h"
#include "winsys/controls/UserActions.h"

namespace desktop {

namespace {

void setLabel(GtkWidget* widget, const std::string& text) {
    const std::string shown = mnemonicText(text);
    if (shown != gtk_button_get_label(GTK_BUTTON(widget)))
        gtk_button_set_label(GTK_BUTTON(widget), shown.c_str());
}

// A push button clicks; an owner-drawn one is held while the mouse button is down (the playback
// controls search while theirs are held).
class PushButton final : public ControlWidget {
public:
    PushButton(win::HWND control, bool held) : ControlWidget(control, gtk_button_new_with_mnemonic("")) {
        if (held) {
            g_signal_connect(widget_, "pressed", G_CALLBACK(onPressed), this);
            g_signal_connect(widget_, "released", G_CALLBACK(onReleased), this);
        } else {
            g_signal_connect(widget_, "clicked", G_CALLBACK(onClicked), this);
        }
    }

private:
    void refreshState() override { setLabel(widget_, win::GetWindowText(control_)); }
    static void onClicked(GtkButton*, PushButton* self) {
        actionDone(win::controls::clickButton(self->control_));
    }
    static void onPressed(GtkButton*, PushButton* self) {
        actionDone(win::controls::holdButton(self->control_));
    }
    static void onReleased(GtkButton*, PushButton* self) {
        actionDone(win::controls::releaseButton(self->control_));
    }
};

// Check boxes, radio buttons and push-like check boxes: the widget's toggle is the control's check.
class CheckButton final : public ControlWidget {
public:
    CheckButton(win::HWND control, GtkWidget* widget) : ControlWidget(control, widget) {
        g_signal_connect(widget_, "toggled", G_CALLBACK(onToggled), this);
    }

private:
    void refreshState() override {
        setLabel(widget_, win::GetWindowText(control_));
        const bool checked = win::SendMessage(control_, win::BM_GETCHECK, 0, 0) == win::BST_CHECKED;
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget_), checked);
    }
    static void onToggled(GtkToggleButton* button, CheckButton* self) {
        if (self->refreshing())
            return;
        actionDone(win::controls::setButtonCheck(self->control_, gtk_toggle_button_get_active(button)));
        // A refused change (a radio button clicked off) shows the control's state again.
        self->refresh();
    }
};

class GroupBox final : public ControlWidget {
public:
    explicit GroupBox(win::HWND control) : ControlWidget(control, gtk_frame_new(nullptr)) {}

private:
    void refreshState() override {
        const std::string text = win::GetWindowText(control_);
        const char* shown = gtk_frame_get_label(GTK_FRAME(widget_));
        if (text != (shown ? shown : ""))
            gtk_frame_set_label(GTK_FRAME(widget_), text.empty() ? nullptr : text.c_str());
    }
};

// A static text; with SS_NOTIFY a click on it reaches its window.
class Label final : public ControlWidget {
public:
    explicit Label(win::HWND control)
        : ControlWidget(control, gtk_event_box_new()), label_(gtk_label_new("")) {
        const win::DWORD style = windowStyle(control);
        gtk_label_set_xalign(GTK_LABEL(label_), (style & win::SS_CENTER) != 0 ? 0.5f : 0.0f);
        gtk_label_set_yalign(GTK_LABEL(label_), (style & win::SS_SUNKEN) != 0 ? 0.5f : 0.0f);
        gtk_label_set_line_wrap(GTK_LABEL(label_), TRUE);
        GtkWidget* inner = label_;
        if ((style & win::SS_SUNKEN) != 0) {
            inner = gtk_frame_new(nullptr);
            gtk_frame_set_shadow_type(GTK_FRAME(inner), GTK_SHADOW_IN);
            gtk_container_add(GTK_CONTAINER(inner), label_);
        }
        gtk_container_add(GTK_CONTAINER(widget_), inner);
        gtk_widget_show_all(inner);
        if ((style & win::SS_NOTIFY) != 0)
            g_signal_connect(widget_, "button-release-event", G_CALLBACK(onRelease), this);
    }

private:
    void refreshState() override {
        const std::string text = mnemonicText(win::GetWindowText(control_));
        if (text != gtk_label_get_label(GTK_LABEL(label_)))
            gtk_label_set_text_with_mnemonic(GTK_LABEL(label_), text.c_str());
    }
    static gboolean onRelease(GtkWidget*, GdkEventButton* event, Label* self) {
        if (event->button == GDK_BUTTON_PRIMARY)
            actionDone(win::controls::clickStatic(self->control_));
        return FALSE;
    }

    GtkWidget* label_;
};

} // namespace

std::unique_ptr<ControlWidget> makeButton(win::HWND control) {
    const win::DWORD style = windowStyle(control);
    switch (style & win::BS_TYPEMASK) {
    case win::BS_CHECKBOX:
    case win::BS_AUTOCHECKBOX:
        return std::make_unique<CheckButton>(control, (style & win::BS_PUSHLIKE) != 0
                                                          ? gtk_toggle_button_new_with_mnemonic("")
                                                          : gtk_check_button_new_with_mnemonic(""));
    case win::BS_RADIOBUTTON:
    case win::BS_AUTORADIOBUTTON:
        // Each on its own: the window model keeps the groups.
        return std::make_unique<CheckButton>(control, gtk_radio_button_new_with_mnemonic(nullptr, ""));
    case win::BS_GROUPBOX:
        return std::make_unique<GroupBox>(control);
    default:
        return std::make_unique<PushButton>(control, (style & win::BS_TYPEMASK) == win::BS_OWNERDRAW);
    }
}

std::unique_ptr<ControlWidget> makeLabel(win::HWND control) {
    return std::make_unique<Label>(control);
}

} // namespace desktop
