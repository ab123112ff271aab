#include "desktop/ControlWidget.h"

#include <cstdio>

#include "desktop/ControlKinds.h"
#include "desktop/WindowStyle.h"
#include "text/AsciiCase.h"
#include "winsys/Backend.h"
#include "winsys/CommonControls.h"
#include "winsys/Controls.h"
#include "winsys/Dialogs.h"
#include "winsys/WindowApi.h"

namespace desktop {

namespace {

// A right-click asks the control for its context menu, which goes up to its window unless the
// control handles it, as on the original; GTK's own menus and selection stay out of it.
gboolean onButtonPress(GtkWidget*, GdkEventButton* event, gpointer data) {
    if (event->type != GDK_BUTTON_PRESS || event->button != GDK_BUTTON_SECONDARY)
        return FALSE;
    const auto control = static_cast<win::HWND>(data);
    win::SendMessage(control, win::WM_CONTEXTMENU, reinterpret_cast<win::WPARAM>(control),
                     win::MAKELPARAM(static_cast<int>(event->x_root), static_cast<int>(event->y_root)));
    win::PumpPostedMessages();
    return TRUE;
}

// The control's rectangle in its top-level window's client area.
win::RECT placeInWindow(win::HWND control) {
    win::RECT rect{};
    win::GetWindowRect(control, &rect);
    win::POINT corner{rect.left, rect.top};
    win::ScreenToClient(topLevelOf(control), &corner);
    return {corner.x, corner.y, corner.x + rect.right - rect.left, corner.y + rect.bottom - rect.top};
}

} // namespace

ControlWidget::ControlWidget(win::HWND control, GtkWidget* widget) : control_(control), widget_(widget) {
    g_object_ref_sink(widget_);
    offerContextMenu(widget_);
}

void ControlWidget::offerContextMenu(GtkWidget* inner) {
    gtk_widget_add_events(inner, GDK_BUTTON_PRESS_MASK);
    g_signal_connect(inner, "button-press-event", G_CALLBACK(onButtonPress), control_);
}

ControlWidget::~ControlWidget() {
    if (GtkWidget* parent = gtk_widget_get_parent(widget_))
        gtk_container_remove(GTK_CONTAINER(parent), widget_);
    g_object_unref(widget_);
}

void ControlWidget::refresh() {
    refreshing_ = true;
    refreshState();
    const win::RECT place = placeInWindow(control_);
    const int width = place.right - place.left, height = shownHeight(place.bottom - place.top);
    if (GtkWidget* fixed = gtk_widget_get_parent(widget_); fixed && (place.left != x_ || place.top != y_)) {
        gtk_fixed_move(GTK_FIXED(fixed), widget_, place.left, place.top);
        x_ = place.left;
        y_ = place.top;
    }
    if (width != width_ || height != height_) {
        gtk_widget_set_size_request(widget_, width, height);
        width_ = width;
        height_ = height;
    }
    gtk_widget_set_sensitive(widget_, win::IsWindowEnabled(control_));
    gtk_widget_set_visible(widget_, win::IsWindowVisible(control_));
    refreshing_ = false;
}

void ControlWidget::actionDone(const std::string& refusal) {
    if (!refusal.empty())
        std::fprintf(stderr, "window system: %s\n", refusal.c_str());
    win::PumpPostedMessages();
}

std::string mnemonicText(const std::string& text) {
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '_')
            shown += "__";
        else if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&')
            shown += text[++i];
        else
            shown += text[i] == '&' ? '_' : text[i];
    }
    return shown;
}

std::unique_ptr<ControlWidget> makeControlWidget(win::HWND control) {
    const std::string name = win::GetClassName(control);
    const auto is = [&](const char* className) { return equalsIgnoringCase(name, className); };
    if (is(win::WC_BUTTON))
        return makeButton(control);
    if (is(win::WC_STATIC))
        return makeLabel(control);
    if (is(win::WC_EDIT))
        return makeEntry(control);
    if (is(win::WC_COMBOBOX))
        return makeComboBox(control);
    if (is(win::WC_LISTBOX))
        return makeListBox(control);
    if (is(win::WC_TREEVIEW))
        return makeTreeView(control);
    if (is(win::TRACKBAR_CLASS))
        return makeTrackbar(control);
    if (is(win::UPDOWN_CLASS))
        return makeUpDown(control);
    if (is(win::HOTKEY_CLASS))
        return makeHotKeyField(control);
    return nullptr;
}

} // namespace desktop
