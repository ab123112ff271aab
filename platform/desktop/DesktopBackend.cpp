#include "desktop/DesktopBackend.h"

#include <algorithm>

#include "desktop/UserDialogs.h"
#include "desktop/WavPlayer.h"
#include "desktop/WindowMirror.h"
#include "winsys/Dialogs.h"
#include "winsys/FileDialogRules.h"

namespace desktop {

namespace {

// Dialog templates lay controls out in the original's small font: GTK's roomier padding would
// not fit them into their rectangles.
constexpr const char* kCompactStyle = R"(
* { font-family: "Liberation Sans", "DejaVu Sans Condensed", sans-serif; font-size: 8pt; }
button { padding: 0 4px; min-height: 0; min-width: 0; }
entry { padding: 0 3px; min-height: 0; }
combobox button { padding: 0 2px; }
scale { padding: 0; }
check, radio { min-height: 12px; min-width: 12px; }
)";

void useCompactStyle() {
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css, kCompactStyle, -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
    // F10 is the simulator's key, not GTK's way into the menu bar.
    g_object_set(gtk_settings_get_default(), "gtk-menu-bar-accel", "", nullptr);
}

class DesktopBackend final : public win::Backend {
public:
    DesktopBackend() { useCompactStyle(); }

    void runModalLoop(win::HWND dialog) override {
        win::PumpPostedMessages();
        mirror_.sync(true);
        while (!win::ModalLoopDone(dialog)) {
            gtk_main_iteration();
            win::PumpPostedMessages();
            mirror_.sync(false);
        }
    }

    void runMessageLoop(std::chrono::steady_clock::time_point until) override {
        win::PumpPostedMessages();
        mirror_.sync(true);
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        bool due = left.count() <= 0;
        if (!due)
            g_timeout_add(
                static_cast<guint>(left.count()),
                [](gpointer flag) {
                    *static_cast<bool*>(flag) = true;
                    return G_SOURCE_REMOVE;
                },
                &due);
        while (!due) {
            gtk_main_iteration();
            win::PumpPostedMessages();
            mirror_.sync(false);
        }
        // Events waiting when the frame is already due are still handled, so a slow frame never
        // leaves the user's input behind.
        while (gtk_events_pending())
            gtk_main_iteration_do(FALSE);
    }

    int messageBox(win::HWND owner, const std::string& text, const std::string& caption,
                   win::UINT type) override {
        mirror_.sync(false);
        return showMessageBox(mirror_.gtkWindowOf(owner), text, caption, type);
    }

    std::vector<std::string> fileDialog(win::FileDialogKind kind, const win::OPENFILENAME& request) override {
        mirror_.sync(false);
        return showFileChooser(mirror_.gtkWindowOf(request.hwndOwner), kind, request);
    }

    std::string browseForFolder(const win::BROWSEINFO& request) override {
        mirror_.sync(false);
        return showFolderChooser(mirror_.gtkWindowOf(request.hwndOwner), request);
    }

    win::UINT popupMenu(win::HWND owner, const std::vector<win::MenuItem>& items, win::POINT at) override {
        return showPopupMenu(mirror_.gtkWindowOf(owner), items, at);
    }

    void menuBarChanged(win::HWND window) override { mirror_.menuBarChanged(window); }

    bool shellOpen(const std::string& operation, const std::string& target) override {
        if (operation != "open")
            return false;
        gchar* uri = target.find("://") != std::string::npos
                         ? g_strdup(target.c_str())
                         : g_filename_to_uri(target.c_str(), nullptr, nullptr);
        const bool opened = uri != nullptr && gtk_show_uri_on_window(nullptr, uri, GDK_CURRENT_TIME, nullptr);
        g_free(uri);
        return opened;
    }

    bool playSound(const std::string& file, win::UINT) override { return sound_.play(file); }
    void stopSound() override { sound_.stop(); }

    win::ScreenMetrics screen() const override {
        GdkDisplay* display = gdk_display_get_default();
        GdkMonitor* primary = gdk_display_get_primary_monitor(display);
        if (primary == nullptr)
            primary = gdk_display_get_monitor(display, 0);
        GdkRectangle area{0, 0, 0, 0};
        if (primary != nullptr)
            gdk_monitor_get_geometry(primary, &area);
        win::ScreenMetrics metrics{area.width, area.height,
                                   win::RECT{area.x, area.y, area.x + area.width, area.y + area.height}};
        for (int i = 0; i < gdk_display_get_n_monitors(display); ++i) {
            gdk_monitor_get_geometry(gdk_display_get_monitor(display, i), &area);
            win::RECT& all = metrics.virtualScreen;
            all = {std::min(all.left, area.x), std::min(all.top, area.y),
                   std::max(all.right, area.x + area.width), std::max(all.bottom, area.y + area.height)};
        }
        return metrics;
    }

private:
    WindowMirror mirror_;
    WavPlayer sound_;
};

} // namespace

bool openDisplay() {
    // X places windows where the model says (tool windows remember their places); Wayland is the
    // fallback.
    gdk_set_allowed_backends("x11,*");
    return gtk_init_check(nullptr, nullptr);
}

std::unique_ptr<win::Backend> makeDesktopBackend() {
    return std::make_unique<DesktopBackend>();
}

} // namespace desktop
