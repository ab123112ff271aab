#include "desktop/UserDialogs.h"

#include <filesystem>

#include "desktop/MenuWidgets.h"
#include "text/AsciiCase.h"
#include "winsys/Dialogs.h"
#include "winsys/FileDialogRules.h"
#include "winsys/MessageBoxKinds.h"

namespace desktop {

namespace {

GtkMessageType messageType(win::UINT type) {
    const std::string icon = win::model::messageBoxIcon(type);
    if (icon == "error")
        return GTK_MESSAGE_ERROR;
    if (icon == "question")
        return GTK_MESSAGE_QUESTION;
    if (icon == "warning")
        return GTK_MESSAGE_WARNING;
    if (icon == "information")
        return GTK_MESSAGE_INFO;
    return GTK_MESSAGE_OTHER;
}

// "*.zfl;*.xml": every pattern in both cases, as the original's file names ignore case.
GtkFileFilter* filterOf(const win::FileFilter& filter) {
    GtkFileFilter* gtkFilter = gtk_file_filter_new();
    gtk_file_filter_set_name(gtkFilter, filter.name.c_str());
    std::size_t start = 0;
    while (start <= filter.pattern.size()) {
        const std::size_t end = std::min(filter.pattern.find(';', start), filter.pattern.size());
        const std::string pattern = filter.pattern.substr(start, end - start);
        if (!pattern.empty()) {
            gtk_file_filter_add_pattern(gtkFilter, lowerAscii(pattern).c_str());
            gtk_file_filter_add_pattern(gtkFilter, upperAscii(pattern).c_str());
        }
        start = end + 1;
    }
    return gtkFilter;
}

std::vector<std::string> chosenFiles(GtkFileChooser* chooser) {
    std::vector<std::string> files;
    GSList* names = gtk_file_chooser_get_filenames(chooser);
    for (GSList* at = names; at != nullptr; at = at->next) {
        files.emplace_back(static_cast<const char*>(at->data));
        g_free(at->data);
    }
    g_slist_free(names);
    return files;
}

void onMenuHidden(GtkMenuShell*, GMainLoop* loop) {
    // After the item's own signal, which comes once the menu is hidden.
    g_idle_add_full(
        G_PRIORITY_DEFAULT_IDLE,
        [](gpointer data) {
            g_main_loop_quit(static_cast<GMainLoop*>(data));
            return G_SOURCE_REMOVE;
        },
        g_main_loop_ref(loop), [](gpointer data) { g_main_loop_unref(static_cast<GMainLoop*>(data)); });
}

} // namespace

int showMessageBox(GtkWindow* owner, const std::string& text, const std::string& caption, win::UINT type) {
    GtkWidget* box = gtk_message_dialog_new(owner, GTK_DIALOG_MODAL, messageType(type), GTK_BUTTONS_NONE,
                                            "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(box), caption.c_str());
    const std::vector<int> buttons = win::model::messageBoxButtons(type);
    for (int answer : buttons)
        gtk_dialog_add_button(GTK_DIALOG(box), win::model::answerName(answer).c_str(), answer);
    gtk_dialog_set_default_response(GTK_DIALOG(box), buttons.front());
    const int response = gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
    return response > 0 ? response : win::model::closingAnswer(type);
}

std::vector<std::string> showFileChooser(GtkWindow* owner, win::FileDialogKind kind,
                                         const win::OPENFILENAME& request) {
    const bool open = kind == win::FileDialogKind::Open;
    const std::string title = !request.title.empty() ? request.title : open ? "Open" : "Save As";
    GtkWidget* dialog = gtk_file_chooser_dialog_new(
        title.c_str(), owner, open ? GTK_FILE_CHOOSER_ACTION_OPEN : GTK_FILE_CHOOSER_ACTION_SAVE, "_Cancel",
        GTK_RESPONSE_CANCEL, open ? "_Open" : "_Save", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
    gtk_file_chooser_set_select_multiple(chooser, open && (request.flags & win::OFN_ALLOWMULTISELECT) != 0);
    for (const win::FileFilter& filter : request.filters)
        gtk_file_chooser_add_filter(chooser, filterOf(filter));
    const std::filesystem::path proposed(request.file);
    std::string folder = request.initialDir;
    if (proposed.has_parent_path() && win::isFolder(proposed.parent_path().string()))
        folder = proposed.parent_path().string();
    if (!folder.empty())
        gtk_file_chooser_set_current_folder(chooser, folder.c_str());
    if (!open && !request.file.empty())
        gtk_file_chooser_set_current_name(chooser, proposed.filename().c_str());
    std::vector<std::string> chosen;
    while (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        chosen.clear();
        std::string refusal;
        for (const std::string& file : chosenFiles(chooser)) {
            chosen.push_back(win::completedPath(file, request));
            if (refusal.empty())
                refusal = win::fileDialogRefusal(kind, chosen.back(), request);
        }
        if (!refusal.empty()) {
            showMessageBox(GTK_WINDOW(dialog), refusal, title, win::MB_OK | win::MB_ICONWARNING);
            continue;
        }
        if (!chosen.empty() && (open || win::overwriteAllowed(chosen.front(), request)))
            break;
        chosen.clear();
    }
    gtk_widget_destroy(dialog);
    return chosen;
}

std::string showFolderChooser(GtkWindow* owner, const win::BROWSEINFO& request) {
    GtkWidget* dialog =
        gtk_file_chooser_dialog_new(request.title.empty() ? "Browse For Folder" : request.title.c_str(),
                                    owner, GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, "_Cancel",
                                    GTK_RESPONSE_CANCEL, "_Select", GTK_RESPONSE_ACCEPT, nullptr);
    if (!request.initialFolder.empty())
        gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(dialog), request.initialFolder.c_str());
    std::string chosen;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        const std::vector<std::string> files = chosenFiles(GTK_FILE_CHOOSER(dialog));
        if (!files.empty())
            chosen = files.front();
    }
    gtk_widget_destroy(dialog);
    return chosen;
}

win::UINT showPopupMenu(GtkWindow* owner, const std::vector<win::MenuItem>& items, win::POINT at) {
    win::UINT chosen = 0;
    GtkWidget* menu = gtk_menu_new();
    fillMenu(menu, items, [&chosen](win::UINT command) { chosen = command; });
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    g_signal_connect(menu, "deactivate", G_CALLBACK(onMenuHidden), loop);
    GdkWindow* under = owner != nullptr ? gtk_widget_get_window(GTK_WIDGET(owner)) : nullptr;
    if (under != nullptr) {
        int x = 0, y = 0;
        gdk_window_get_origin(under, &x, &y);
        const GdkRectangle point{at.x - x, at.y - y, 1, 1};
        gtk_menu_popup_at_rect(GTK_MENU(menu), under, &point, GDK_GRAVITY_NORTH_WEST, GDK_GRAVITY_NORTH_WEST,
                               nullptr);
    } else {
        gtk_menu_popup_at_pointer(GTK_MENU(menu), nullptr);
    }
    // A menu that could not take the pointer is not shown and would never be dismissed.
    if (gtk_widget_get_visible(menu))
        g_main_loop_run(loop);
    g_main_loop_unref(loop);
    gtk_widget_destroy(menu);
    return chosen;
}

} // namespace desktop
