// Trackbars and up-down controls: a position in a range.
#include <algorithm>

#include "desktop/ControlKinds.h"
#include "desktop/WindowStyle.h"
#include "winsys/Backend.h"
#include "winsys/CommonControls.h"
#include "winsys/WindowApi.h"
#include "winsys/controls/UserActions.h"

namespace desktop {

namespace {

// A trackbar is a GtkScale. While the user holds the thumb, the control's position (which the
// playback moves every frame) does not pull it back.
class Trackbar final : public ControlWidget {
public:
    explicit Trackbar(win::HWND control)
        : ControlWidget(control, gtk_scale_new_with_range((windowStyle(control) & win::TBS_VERT) != 0
                                                              ? GTK_ORIENTATION_VERTICAL
                                                              : GTK_ORIENTATION_HORIZONTAL,
                                                          0, 100, 1)) {
        gtk_scale_set_draw_value(GTK_SCALE(widget_), FALSE);
        g_signal_connect(widget_, "value-changed", G_CALLBACK(onChanged), this);
        g_signal_connect(widget_, "button-press-event", G_CALLBACK(onHold), this);
        g_signal_connect(widget_, "button-release-event", G_CALLBACK(onLetGo), this);
        // A drag GTK drops (the window goes, a modal window takes the pointer) ends without a release.
        g_signal_connect(widget_, "unmap", G_CALLBACK(onGone), this);
        g_signal_connect(widget_, "grab-notify", G_CALLBACK(onGrab), this);
    }

private:
    void refreshState() override {
        if (held_)
            return;
        const auto minimum = static_cast<double>(win::SendMessage(control_, win::TBM_GETRANGEMIN, 0, 0));
        const auto maximum = static_cast<double>(win::SendMessage(control_, win::TBM_GETRANGEMAX, 0, 0));
        GtkAdjustment* range = gtk_range_get_adjustment(GTK_RANGE(widget_));
        if (gtk_adjustment_get_lower(range) != minimum || gtk_adjustment_get_upper(range) != maximum)
            gtk_range_set_range(GTK_RANGE(widget_), minimum, std::max(minimum + 1, maximum));
        const auto position = static_cast<double>(win::SendMessage(control_, win::TBM_GETPOS, 0, 0));
        if (gtk_range_get_value(GTK_RANGE(widget_)) != position)
            gtk_range_set_value(GTK_RANGE(widget_), position);
    }
    static void onChanged(GtkRange* range, Trackbar* self) {
        if (self->refreshing())
            return;
        actionDone(win::controls::dragTrackbar(self->control_, static_cast<int>(gtk_range_get_value(range))));
    }
    static gboolean onHold(GtkWidget*, GdkEventButton*, Trackbar* self) {
        self->held_ = true;
        return FALSE;
    }
    static gboolean onLetGo(GtkWidget*, GdkEventButton*, Trackbar* self) {
        self->held_ = false;
        return FALSE;
    }
    static void onGone(GtkWidget*, Trackbar* self) { self->held_ = false; }
    static void onGrab(GtkWidget*, gboolean stillHere, Trackbar* self) {
        if (!stillHere)
            self->held_ = false;
    }

    bool held_ = false;
};

// An up-down control: two arrow buttons that step the position toward either end of its range.
class UpDown final : public ControlWidget {
public:
    explicit UpDown(win::HWND control)
        : ControlWidget(control,
                        gtk_box_new((windowStyle(control) & win::UDS_HORZ) != 0 ? GTK_ORIENTATION_HORIZONTAL
                                                                                : GTK_ORIENTATION_VERTICAL,
                                    0)) {
        const bool horizontal = (windowStyle(control) & win::UDS_HORZ) != 0;
        // Up (or right) goes toward the range's upper end, the second number of the range.
        addArrow(horizontal ? "pan-start-symbolic" : "pan-up-symbolic", horizontal ? -1 : +1);
        addArrow(horizontal ? "pan-end-symbolic" : "pan-down-symbolic", horizontal ? +1 : -1);
    }

private:
    void refreshState() override {}

    void addArrow(const char* icon, int towardUpper) {
        GtkWidget* arrow = gtk_button_new_from_icon_name(icon, GTK_ICON_SIZE_MENU);
        g_object_set_data(G_OBJECT(arrow), "toward-upper", GINT_TO_POINTER(towardUpper));
        g_signal_connect(arrow, "clicked", G_CALLBACK(onArrow), this);
        gtk_box_pack_start(GTK_BOX(widget_), arrow, TRUE, TRUE, 0);
        gtk_widget_show(arrow);
    }
    static void onArrow(GtkButton* arrow, UpDown* self) {
        int lower = 0, upper = 0;
        win::SendMessage(self->control_, win::UDM_GETRANGE32, reinterpret_cast<win::WPARAM>(&lower),
                         reinterpret_cast<win::LPARAM>(&upper));
        const int position = static_cast<int>(win::SendMessage(self->control_, win::UDM_GETPOS32, 0, 0));
        const int toward =
            GPOINTER_TO_INT(g_object_get_data(G_OBJECT(arrow), "toward-upper")) > 0 ? upper : lower;
        if (position == toward)
            return;
        actionDone(win::controls::clickUpDown(self->control_, position + (toward > position ? 1 : -1)));
    }
};

} // namespace

std::unique_ptr<ControlWidget> makeTrackbar(win::HWND control) {
    return std::make_unique<Trackbar>(control);
}

std::unique_ptr<ControlWidget> makeUpDown(win::HWND control) {
    return std::make_unique<UpDown>(control);
}

} // namespace desktop
