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
// controls search while theirs are held). GTK drops a press without "released" when the button
// goes from the screen or a modal window takes the pointer: the control is let go then too.
class PushButton final : public ControlWidget {
public:
    PushButton(win::HWND control, bool held) : ControlWidget(control, gtk_button_new_with_mnemonic("")) {
        if (held) {
            g_signal_connect(widget_, "pressed", G_CALLBACK(onPressed), this);
            g_signal_connect(widget_, "released", G_CALLBACK(onReleased), this);
            g_signal_connect(widget_, "unmap", G_CALLBACK(onGone), this);
            g_signal_connect(widget_, "grab-notify", G_CALLBACK(onGrab), this);
        } else {
            g_signal_connect(widget_, "clicked", G_CALLBACK(onClicked), this);
        }
    }

private:
    void refreshState() override { setLabel(widget_, win::GetWindowText(control_)); }
    void letGo() {
        if (!held_)
            return;
        held_ = false;
        actionDone(win::controls::releaseButton(control_));
    }
    static void onClicked(GtkButton*, PushButton* self) {
        actionDone(win::controls::clickButton(self->control_));
    }
    static void onPressed(GtkButton*, PushButton* self) {
        self->held_ = true;
        actionDone(win::controls::holdButton(self->control_));
    }
    static void onReleased(GtkButton*, PushButton* self) { self->letGo(); }
    static void onGone(GtkWidget*, PushButton* self) { self->letGo(); }
    static void onGrab(GtkWidget*, gboolean stillHere, PushButton* self) {
        if (!stillHere)
            self->letGo();
    }

    bool held_ = false;
};

// Check boxes, radio buttons and push-like check boxes: the widget's toggle is the control's check.
// The next refresh shows a change the control refused.
class CheckButton : public ControlWidget {
public:
    CheckButton(win::HWND control, GtkWidget* widget) : ControlWidget(control, widget) {
        g_signal_connect(widget_, "toggled", G_CALLBACK(onToggled), this);
    }

protected:
    bool checkedInModel() const {
        return win::SendMessage(control_, win::BM_GETCHECK, 0, 0) == win::BST_CHECKED;
    }

private:
    void refreshState() override {
        setLabel(widget_, win::GetWindowText(control_));
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget_), checkedInModel());
    }
    static void onToggled(GtkToggleButton* button, CheckButton* self) {
        if (self->refreshing())
            return;
        actionDone(win::controls::setButtonCheck(self->control_, gtk_toggle_button_get_active(button)));
    }
};

// A radio button on its own: the window model keeps the groups. GTK keeps one radio button of a
// group on, so each has a partner never shown, which is on while the button is off.
class RadioButton final : public CheckButton {
public:
    explicit RadioButton(win::HWND control) : RadioButton(control, gtk_radio_button_new(nullptr)) {}
    ~RadioButton() override { g_object_unref(partner_); }

private:
    RadioButton(win::HWND control, GtkWidget* partner)
        : CheckButton(control, gtk_radio_button_new_with_mnemonic_from_widget(GTK_RADIO_BUTTON(partner), "")),
          partner_(partner) {
        g_object_ref_sink(partner_);
    }
    void refreshState() override {
        setLabel(widget_, win::GetWindowText(control_));
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(checkedInModel() ? widget_ : partner_), TRUE);
    }

    GtkWidget* partner_;
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
        return std::make_unique<RadioButton>(control);
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
