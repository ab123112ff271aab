#include "desktop/WindowMirror.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "desktop/ControlWidget.h"
#include "desktop/MenuWidgets.h"
#include "desktop/VirtualKeys.h"
#include "desktop/WindowStyle.h"
#include "winsys/Backend.h"
#include "winsys/Controls.h"
#include "winsys/Dialogs.h"
#include "winsys/Input.h"
#include "winsys/Menus.h"
#include "winsys/Pixels.h"
#include "winsys/UserInput.h"
#include "winsys/WindowApi.h"
#include "winsys/controls/UserActions.h"

namespace desktop {

namespace {

// Nothing smaller than this is left of a window the user shrinks.
constexpr int kSmallestClient = 64;

std::vector<win::HWND> topLevelWindows() {
    std::vector<win::HWND> windows;
    for (win::HWND at = nullptr; (at = win::FindWindowEx(nullptr, at, nullptr, nullptr)) != nullptr;)
        windows.push_back(at);
    return windows;
}

std::vector<win::HWND> descendantsOf(win::HWND window) {
    std::vector<win::HWND> children;
    win::EnumChildWindows(
        window,
        [](win::HWND child, win::LPARAM list) {
            reinterpret_cast<std::vector<win::HWND>*>(list)->push_back(child);
            return true;
        },
        reinterpret_cast<win::LPARAM>(&children));
    return children;
}

// A point of a window's client area in a child's client area; false when it lies outside.
bool intoChild(win::HWND window, win::HWND child, win::POINT& point) {
    win::POINT inChild = point;
    win::ClientToScreen(window, &inChild);
    win::ScreenToClient(child, &inChild);
    win::RECT client;
    win::GetClientRect(child, &client);
    if (inChild.x < 0 || inChild.y < 0 || inChild.x >= client.right || inChild.y >= client.bottom)
        return false;
    point = inChild;
    return true;
}

} // namespace

struct WindowMirror::Shown {
    win::HWND hwnd = nullptr;
    GtkWidget* window = nullptr;
    GtkWidget* box = nullptr;
    GtkWidget* menuBar = nullptr;
    GtkWidget* fixed = nullptr;
    GtkWidget* picture = nullptr;
    cairo_surface_t* surface = nullptr;
    std::map<win::HWND, std::unique_ptr<ControlWidget>> controls;
    std::vector<win::HWND> views; // children without a widget: the picture shows them
    win::HMENU menu = nullptr;
    bool menuDirty = true;
    std::string title;
    win::POINT corner{-100000, -100000};
    int clientWidth = -1, clientHeight = -1;

    ~Shown() {
        controls.clear();
        if (surface != nullptr)
            cairo_surface_destroy(surface);
        if (window != nullptr)
            gtk_widget_destroy(window);
    }

    bool resizable() const { return (windowStyle(hwnd) & win::WS_THICKFRAME) != 0; }

    // The deepest view under a point of the client area, which the point is then in; the window
    // itself when no view is there. Views opened later lie above those before.
    win::HWND targetAt(win::POINT& point) const {
        for (auto view = views.rbegin(); view != views.rend(); ++view)
            if (win::IsWindowVisible(*view) && intoChild(hwnd, *view, point))
                return *view;
        return hwnd;
    }

    void drawPicture(cairo_t* cairo) {
        const win::ClientPixels* pixels = win::GetClientPixels(hwnd);
        if (pixels == nullptr || pixels->width <= 0 || pixels->height <= 0) {
            cairo_set_source_rgb(cairo, 0, 0, 0);
            cairo_paint(cairo);
            return;
        }
        if (surface == nullptr || cairo_image_surface_get_width(surface) != pixels->width ||
            cairo_image_surface_get_height(surface) != pixels->height) {
            if (surface != nullptr)
                cairo_surface_destroy(surface);
            surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixels->width, pixels->height);
        }
        cairo_surface_flush(surface);
        unsigned char* rows = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const uint8_t* rgb = pixels->rgb.data();
        for (int y = 0; y < pixels->height; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(rows + static_cast<std::ptrdiff_t>(y) * stride);
            for (int x = 0; x < pixels->width; ++x, rgb += 3)
                row[x] = (uint32_t{rgb[0]} << 16) | (uint32_t{rgb[1]} << 8) | rgb[2];
        }
        cairo_surface_mark_dirty(surface);
        cairo_set_source_surface(cairo, surface, 0, 0);
        cairo_paint(cairo);
    }
};

namespace {

using Shown = WindowMirror::Shown;

gboolean onDelete(GtkWidget*, GdkEvent*, Shown* shown) {
    win::closeWindow(shown->hwnd);
    win::PumpPostedMessages();
    return TRUE; // the model decides whether the window goes
}

// The button a dialog's Enter presses: its default push button, else OK.
win::HWND defaultButton(win::HWND dialog) {
    for (win::HWND child : descendantsOf(dialog))
        if (win::GetClassName(child) == win::WC_BUTTON &&
            (windowStyle(child) & win::BS_TYPEMASK) == win::BS_DEFPUSHBUTTON && win::IsWindowEnabled(child))
            return child;
    return win::GetDlgItem(dialog, win::IDOK);
}

// Keys in a dialog are its widgets', but for Esc and Enter (on a push button Enter is the
// button's). In other windows they are the window's own (the simulator's keys, the module's hot
// keys), or those of the window the model gave the keyboard to: a tool window hands it to its
// owner.
gboolean onKey(GtkWidget* widget, GdkEventKey* event, Shown* shown) {
    const bool down = event->type == GDK_KEY_PRESS;
    const int virtualKey = virtualKeyOf(*event);
    if (win::GetDialogInfo(shown->hwnd)) {
        if (!down)
            return FALSE;
        GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(widget));
        if (virtualKey == 0x1B) {
            win::closeWindow(shown->hwnd);
        } else if (virtualKey == 0x0D &&
                   !(focus &&
                     (GTK_IS_TEXT_VIEW(focus) || (GTK_IS_BUTTON(focus) && !GTK_IS_TOGGLE_BUTTON(focus))))) {
            if (win::HWND button = defaultButton(shown->hwnd))
                win::controls::clickButton(button);
        } else {
            return FALSE;
        }
        win::PumpPostedMessages();
        return TRUE;
    }
    if (virtualKey == 0)
        return FALSE;
    const win::HWND focus = win::GetFocus();
    const bool owned = win::GetParent(shown->hwnd) != nullptr;
    win::sendKey(owned && win::IsWindow(focus) ? focus : shown->hwnd, virtualKey, down);
    win::PumpPostedMessages();
    return TRUE;
}

gboolean onFocusIn(GtkWidget*, GdkEventFocus*, Shown* shown) {
    win::activate(shown->hwnd);
    return FALSE;
}

// Keys held when the window loses the keyboard would stay down for ever.
gboolean onFocusOut(GtkWidget*, GdkEventFocus*, Shown* shown) {
    for (int key = 1; key < 256; ++key)
        if (win::GetAsyncKeyState(key) < 0 && key != win::VK_MBUTTON)
            win::sendKey(shown->hwnd, key, false);
    return FALSE;
}

// The user moved the window: the model's window follows, as when dragged by its caption. Only X
// tells where a window is (Wayland answers 0, 0).
gboolean onConfigure(GtkWidget* widget, GdkEventConfigure*, Shown* shown) {
    if (std::string_view(G_OBJECT_TYPE_NAME(gtk_widget_get_display(widget))) != "GdkX11Display")
        return FALSE;
    int x = 0, y = 0;
    gtk_window_get_position(GTK_WINDOW(widget), &x, &y);
    if (x != shown->corner.x || y != shown->corner.y) {
        shown->corner = {x, y};
        win::dragWindow(shown->hwnd, x, y);
    }
    return FALSE;
}

// The user sized a resizable window: the model's client area takes the new size.
void onSized(GtkWidget* content, GdkRectangle* area, Shown* shown) {
    if (content != (shown->picture != nullptr ? shown->picture : shown->fixed) ||
        !gtk_widget_get_mapped(shown->window) || !shown->resizable() || area->width < kSmallestClient ||
        area->height < kSmallestClient ||
        (area->width == shown->clientWidth && area->height == shown->clientHeight))
        return;
    win::RECT rect{0, 0, area->width, area->height};
    win::AdjustWindowRectEx(&rect, windowStyle(shown->hwnd), windowStyle(shown->hwnd, win::GWL_EXSTYLE));
    shown->clientWidth = area->width;
    shown->clientHeight = area->height;
    win::SetWindowPos(shown->hwnd, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                      win::SWP_NOMOVE | win::SWP_NOZORDER);
}

gboolean onDraw(GtkWidget*, cairo_t* cairo, Shown* shown) {
    shown->drawPicture(cairo);
    return TRUE;
}

gboolean onMotion(GtkWidget*, GdkEventMotion* event, Shown* shown) {
    win::POINT point{static_cast<int>(event->x), static_cast<int>(event->y)};
    const win::HWND target = shown->targetAt(point);
    win::moveMouse(target, point);
    return FALSE;
}

gboolean onMouseButton(GtkWidget* picture, GdkEventButton* event, Shown* shown) {
    if (event->type == GDK_BUTTON_PRESS)
        gtk_widget_grab_focus(picture);
    if (event->button != GDK_BUTTON_MIDDLE ||
        (event->type != GDK_BUTTON_PRESS && event->type != GDK_BUTTON_RELEASE))
        return FALSE;
    win::POINT point{static_cast<int>(event->x), static_cast<int>(event->y)};
    win::pressMiddleButton(shown->targetAt(point), event->type == GDK_BUTTON_PRESS);
    return TRUE;
}

gboolean onScroll(GtkWidget*, GdkEventScroll* event, Shown* shown) {
    constexpr int kNotch = 120;
    int delta = 0;
    if (event->direction == GDK_SCROLL_UP)
        delta = kNotch;
    else if (event->direction == GDK_SCROLL_DOWN)
        delta = -kNotch;
    else if (event->direction == GDK_SCROLL_SMOOTH)
        delta = static_cast<int>(-event->delta_y * kNotch);
    if (delta == 0)
        return FALSE;
    win::POINT point{static_cast<int>(event->x), static_cast<int>(event->y)};
    win::turnWheel(shown->targetAt(point), delta);
    return TRUE;
}

std::unique_ptr<Shown> makeShown(win::HWND hwnd, GtkWindow* owner) {
    auto shown = std::make_unique<Shown>();
    shown->hwnd = hwnd;
    shown->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWindow* window = GTK_WINDOW(shown->window);
    const auto dialog = win::GetDialogInfo(hwnd);
    if (dialog)
        gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
    else if ((windowStyle(hwnd, win::GWL_EXSTYLE) & win::WS_EX_TOOLWINDOW) != 0)
        gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_UTILITY);
    if (owner != nullptr)
        gtk_window_set_transient_for(window, owner);
    gtk_window_set_modal(window, dialog && dialog->modal);
    // Tool windows and modeless dialogs come up without taking the keyboard from the simulator.
    const bool tool = (windowStyle(hwnd, win::GWL_EXSTYLE) & win::WS_EX_TOOLWINDOW) != 0;
    gtk_window_set_focus_on_map(window, !tool && !(dialog && !dialog->modal));
    gtk_window_set_resizable(window, shown->resizable());
    shown->box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    shown->fixed = gtk_fixed_new();
    gtk_box_pack_end(GTK_BOX(shown->box), shown->fixed, TRUE, TRUE, 0);
    gtk_container_add(GTK_CONTAINER(shown->window), shown->box);
    gtk_widget_add_events(shown->window, GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK | GDK_STRUCTURE_MASK |
                                             GDK_FOCUS_CHANGE_MASK);
    Shown* self = shown.get();
    g_signal_connect(shown->window, "delete-event", G_CALLBACK(onDelete), self);
    g_signal_connect(shown->window, "key-press-event", G_CALLBACK(onKey), self);
    g_signal_connect(shown->window, "key-release-event", G_CALLBACK(onKey), self);
    g_signal_connect(shown->window, "focus-in-event", G_CALLBACK(onFocusIn), self);
    g_signal_connect(shown->window, "focus-out-event", G_CALLBACK(onFocusOut), self);
    g_signal_connect(shown->window, "configure-event", G_CALLBACK(onConfigure), self);
    g_signal_connect(shown->fixed, "size-allocate", G_CALLBACK(onSized), self);
    gtk_widget_show_all(shown->box);
    return shown;
}

void addPicture(Shown& shown) {
    shown.picture = gtk_drawing_area_new();
    gtk_widget_set_can_focus(shown.picture, TRUE);
    gtk_widget_add_events(shown.picture, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK |
                                             GDK_BUTTON_RELEASE_MASK | GDK_SCROLL_MASK);
    g_signal_connect(shown.picture, "draw", G_CALLBACK(onDraw), &shown);
    g_signal_connect(shown.picture, "motion-notify-event", G_CALLBACK(onMotion), &shown);
    g_signal_connect(shown.picture, "button-press-event", G_CALLBACK(onMouseButton), &shown);
    g_signal_connect(shown.picture, "button-release-event", G_CALLBACK(onMouseButton), &shown);
    g_signal_connect(shown.picture, "scroll-event", G_CALLBACK(onScroll), &shown);
    g_signal_connect(shown.picture, "size-allocate", G_CALLBACK(onSized), &shown);
    gtk_box_pack_end(GTK_BOX(shown.box), shown.picture, TRUE, TRUE, 0);
    gtk_widget_show(shown.picture);
    shown.clientWidth = shown.clientHeight = -1; // the picture takes the client size from now on
}

void rebuildMenuBar(Shown& shown) {
    shown.menuDirty = false;
    shown.menu = win::GetMenu(shown.hwnd);
    if (shown.menuBar != nullptr)
        gtk_widget_destroy(shown.menuBar);
    shown.menuBar = nullptr;
    if (shown.menu == nullptr)
        return;
    shown.menuBar = gtk_menu_bar_new();
    const win::HWND hwnd = shown.hwnd;
    // Posted, as the original's menu commands reach the window through its message loop.
    fillMenu(shown.menuBar, menuItems(shown.menu), [hwnd](win::UINT command) {
        win::PostMessage(hwnd, win::WM_COMMAND, win::MAKEWPARAM(static_cast<int>(command), 0), 0);
    });
    gtk_box_pack_start(GTK_BOX(shown.box), shown.menuBar, FALSE, FALSE, 0);
}

} // namespace

WindowMirror::WindowMirror() = default;
WindowMirror::~WindowMirror() = default;

void WindowMirror::sync(bool pictures) {
    const std::vector<win::HWND> windows = topLevelWindows();
    for (auto at = shown_.begin(); at != shown_.end();)
        at = std::find(windows.begin(), windows.end(), at->first) == windows.end() ? shown_.erase(at)
                                                                                   : std::next(at);
    for (win::HWND hwnd : windows) {
        auto at = shown_.find(hwnd);
        if (!win::IsWindowVisible(hwnd)) {
            if (at != shown_.end())
                gtk_widget_hide(at->second->window);
            continue;
        }
        if (at == shown_.end())
            at = shown_.emplace(hwnd, makeShown(hwnd, gtkWindowOf(win::GetParent(hwnd)))).first;
        syncWindow(hwnd, *at->second, pictures);
    }
}

void WindowMirror::syncWindow(win::HWND hwnd, Shown& shown, bool pictures) {
    win::UpdateWindow(hwnd);
    const std::string title = win::GetWindowText(hwnd);
    if (title != shown.title) {
        shown.title = title;
        gtk_window_set_title(GTK_WINDOW(shown.window), title.c_str());
    }
    gtk_window_set_decorated(GTK_WINDOW(shown.window),
                             (windowStyle(hwnd) & win::WS_CAPTION) == win::WS_CAPTION);
    if (shown.menuDirty || win::GetMenu(hwnd) != shown.menu)
        rebuildMenuBar(shown);

    win::RECT rect{}, client{};
    win::GetWindowRect(hwnd, &rect);
    win::GetClientRect(hwnd, &client);
    if (rect.left != shown.corner.x || rect.top != shown.corner.y) {
        shown.corner = {rect.left, rect.top};
        gtk_window_move(GTK_WINDOW(shown.window), rect.left, rect.top);
    }
    if (shown.picture == nullptr && win::GetClientPixels(hwnd) != nullptr)
        addPicture(shown);
    if (client.right != shown.clientWidth || client.bottom != shown.clientHeight) {
        shown.clientWidth = client.right;
        shown.clientHeight = client.bottom;
        // A resizable window may be made smaller than it is: its content asks for little, and the
        // window itself is sized.
        GtkWidget* content = shown.picture != nullptr ? shown.picture : shown.fixed;
        if (shown.resizable()) {
            gtk_widget_set_size_request(content, kSmallestClient, kSmallestClient);
            int menuHeight = 0;
            if (shown.menuBar != nullptr)
                gtk_widget_get_preferred_height(shown.menuBar, nullptr, &menuHeight);
            gtk_window_resize(GTK_WINDOW(shown.window), client.right, client.bottom + menuHeight);
        } else {
            gtk_widget_set_size_request(content, client.right, client.bottom);
        }
    }
    if (shown.picture != nullptr && pictures)
        gtk_widget_queue_draw(shown.picture);
    syncControls(shown);
    // Under a picture the controls' layer takes room only when there are controls.
    gtk_widget_set_visible(shown.fixed, shown.picture == nullptr || !shown.controls.empty());
    const bool enabled = win::IsWindowEnabled(hwnd);
    gtk_widget_set_sensitive(shown.fixed, enabled);
    if (shown.menuBar != nullptr)
        gtk_widget_set_sensitive(shown.menuBar, enabled);
    if (!gtk_widget_get_visible(shown.window))
        gtk_widget_show(shown.window);
}

void WindowMirror::syncControls(Shown& shown) {
    const std::vector<win::HWND> children = descendantsOf(shown.hwnd);
    for (auto at = shown.controls.begin(); at != shown.controls.end();)
        at = std::find(children.begin(), children.end(), at->first) == children.end()
                 ? shown.controls.erase(at)
                 : std::next(at);
    shown.views.clear();
    for (win::HWND child : children) {
        auto at = shown.controls.find(child);
        if (at == shown.controls.end()) {
            std::unique_ptr<ControlWidget> widget = makeControlWidget(child);
            if (widget == nullptr) {
                shown.views.push_back(child);
                continue;
            }
            gtk_fixed_put(GTK_FIXED(shown.fixed), widget->widget(), 0, 0);
            at = shown.controls.emplace(child, std::move(widget)).first;
        }
        at->second->refresh();
    }
}

void WindowMirror::menuBarChanged(win::HWND window) {
    if (auto at = shown_.find(window); at != shown_.end())
        at->second->menuDirty = true;
}

GtkWindow* WindowMirror::gtkWindowOf(win::HWND window) const {
    const auto at = shown_.find(topLevelOf(window));
    return at == shown_.end() ? nullptr : GTK_WINDOW(at->second->window);
}

} // namespace desktop
