// Edits and hot-key fields.
#include <string>

#include "desktop/ControlKinds.h"
#include "desktop/VirtualKeys.h"
#include "desktop/WindowStyle.h"
#include "winsys/Backend.h"
#include "winsys/CommonControls.h"
#include "winsys/Controls.h"
#include "winsys/WindowApi.h"
#include "winsys/controls/UserActions.h"

namespace desktop {

namespace {

// A single-line edit: every change the user types is the control's new text.
class Entry final : public ControlWidget {
public:
    explicit Entry(win::HWND control) : ControlWidget(control, gtk_entry_new()) {
        const win::DWORD style = windowStyle(control);
        gtk_editable_set_editable(GTK_EDITABLE(widget_), (style & win::ES_READONLY) == 0);
        if ((style & win::ES_NUMBER) != 0)
            gtk_entry_set_input_purpose(GTK_ENTRY(widget_), GTK_INPUT_PURPOSE_DIGITS);
        gtk_entry_set_width_chars(GTK_ENTRY(widget_), 1);
        g_signal_connect(widget_, "changed", G_CALLBACK(onChanged), this);
    }

private:
    void refreshState() override {
        const std::string text = win::GetWindowText(control_);
        if (text != gtk_entry_get_text(GTK_ENTRY(widget_)))
            gtk_entry_set_text(GTK_ENTRY(widget_), text.c_str());
    }
    static void onChanged(GtkEditable* editable, Entry* self) {
        if (self->refreshing())
            return;
        actionDone(win::controls::typeIntoEdit(self->control_, gtk_entry_get_text(GTK_ENTRY(editable))));
    }
};

// A multi-line edit, which the module only fills: a read-only text in a scrolled window.
class TextView final : public ControlWidget {
public:
    explicit TextView(win::HWND control)
        : ControlWidget(control, gtk_scrolled_window_new(nullptr, nullptr)), view_(gtk_text_view_new()) {
        gtk_text_view_set_editable(GTK_TEXT_VIEW(view_), FALSE);
        gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view_), GTK_WRAP_WORD);
        gtk_container_add(GTK_CONTAINER(widget_), view_);
        gtk_widget_show(view_);
    }

private:
    void refreshState() override {
        std::string text = win::GetWindowText(control_);
        // The original's line breaks are CR LF.
        for (std::size_t at; (at = text.find('\r')) != std::string::npos;)
            text.erase(at, 1);
        if (text == shown_)
            return;
        shown_ = text;
        gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(view_)), text.c_str(), -1);
    }

    GtkWidget* view_;
    std::string shown_;
};

// The hot-key field shows the key as "Ctrl + Shift + R" and takes the next key pressed in it.
class HotKeyField final : public ControlWidget {
public:
    explicit HotKeyField(win::HWND control) : ControlWidget(control, gtk_entry_new()) {
        gtk_editable_set_editable(GTK_EDITABLE(widget_), FALSE);
        gtk_entry_set_width_chars(GTK_ENTRY(widget_), 1);
        g_signal_connect(widget_, "key-press-event", G_CALLBACK(onKey), this);
    }

private:
    void refreshState() override {
        const auto key = static_cast<win::WORD>(win::SendMessage(control_, win::HKM_GETHOTKEY, 0, 0));
        const int virtualKey = win::LOBYTE(key);
        const int modifiers = win::HIBYTE(key);
        std::string text = virtualKey == 0 ? "None" : "";
        if (virtualKey != 0) {
            if (modifiers & win::HOTKEYF_CONTROL)
                text += "Ctrl + ";
            if (modifiers & win::HOTKEYF_SHIFT)
                text += "Shift + ";
            if (modifiers & win::HOTKEYF_ALT)
                text += "Alt + ";
            text += keyName(virtualKey);
        }
        if (text != gtk_entry_get_text(GTK_ENTRY(widget_)))
            gtk_entry_set_text(GTK_ENTRY(widget_), text.c_str());
    }
    static gboolean onKey(GtkWidget*, GdkEventKey* event, HotKeyField* self) {
        const int virtualKey = virtualKeyOf(*event);
        // Tab moves on; the modifiers alone make no key; Esc and Enter stay the dialog's.
        if (virtualKey == 0 || virtualKey == 0x09 || virtualKey == 0x0D || virtualKey == 0x1B ||
            (virtualKey >= 0x10 && virtualKey <= 0x12))
            return FALSE;
        win::BYTE modifiers = 0;
        if (event->state & GDK_SHIFT_MASK)
            modifiers |= win::HOTKEYF_SHIFT;
        if (event->state & GDK_CONTROL_MASK)
            modifiers |= win::HOTKEYF_CONTROL;
        if (event->state & GDK_MOD1_MASK)
            modifiers |= win::HOTKEYF_ALT;
        actionDone(win::controls::enterHotKey(self->control_, static_cast<win::BYTE>(virtualKey), modifiers));
        return TRUE;
    }
};

} // namespace

std::unique_ptr<ControlWidget> makeEntry(win::HWND control) {
    if ((windowStyle(control) & win::ES_MULTILINE) != 0)
        return std::make_unique<TextView>(control);
    return std::make_unique<Entry>(control);
}

std::unique_ptr<ControlWidget> makeHotKeyField(win::HWND control) {
    return std::make_unique<HotKeyField>(control);
}

} // namespace desktop
