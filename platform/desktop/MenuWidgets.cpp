#include "desktop/MenuWidgets.h"

#include <memory>
#include <string>

#include "desktop/ControlWidget.h"

namespace desktop {

namespace {

struct ItemCommand {
    win::UINT command;
    std::shared_ptr<MenuChosen> chosen;
};

void onActivate(GtkMenuItem*, ItemCommand* item) {
    (*item->chosen)(item->command);
}

void freeCommand(gpointer item, GClosure*) {
    delete static_cast<ItemCommand*>(item);
}

// "Record...\tCtrl+R": the text, and the key shown at the right.
GtkWidget* itemFor(const win::MenuItem& item) {
    const std::size_t tab = item.text.find('\t');
    const std::string label = mnemonicText(item.text.substr(0, tab));
    GtkWidget* widget = (item.flags & win::MF_CHECKED) != 0
                            ? gtk_check_menu_item_new_with_mnemonic(label.c_str())
                            : gtk_menu_item_new_with_mnemonic(label.c_str());
    if ((item.flags & win::MF_CHECKED) != 0)
        gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(widget), TRUE);
    if (tab != std::string::npos) {
        GtkWidget* text = gtk_bin_get_child(GTK_BIN(widget));
        if (GTK_IS_ACCEL_LABEL(text))
            gtk_accel_label_set_accel_widget(GTK_ACCEL_LABEL(text), nullptr);
        GtkWidget* key = gtk_label_new(item.text.substr(tab + 1).c_str());
        gtk_style_context_add_class(gtk_widget_get_style_context(key), "dim-label");
        GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 24);
        g_object_ref(text);
        gtk_container_remove(GTK_CONTAINER(widget), text);
        gtk_box_pack_start(GTK_BOX(row), text, TRUE, TRUE, 0);
        g_object_unref(text);
        gtk_box_pack_end(GTK_BOX(row), key, FALSE, FALSE, 0);
        gtk_container_add(GTK_CONTAINER(widget), row);
    }
    gtk_widget_set_sensitive(widget, (item.flags & (win::MF_GRAYED | win::MF_DISABLED)) == 0);
    return widget;
}

void fill(GtkWidget* shell, const std::vector<win::MenuItem>& items,
          const std::shared_ptr<MenuChosen>& chosen) {
    for (const win::MenuItem& item : items) {
        if ((item.flags & win::MF_SEPARATOR) != 0) {
            gtk_menu_shell_append(GTK_MENU_SHELL(shell), gtk_separator_menu_item_new());
            continue;
        }
        GtkWidget* widget = itemFor(item);
        if ((item.flags & win::MF_POPUP) != 0) {
            GtkWidget* submenu = gtk_menu_new();
            fill(submenu, menuItems(item.submenu), chosen);
            gtk_menu_item_set_submenu(GTK_MENU_ITEM(widget), submenu);
        } else {
            g_signal_connect_data(widget, "activate", G_CALLBACK(onActivate),
                                  new ItemCommand{item.id, chosen}, freeCommand, GConnectFlags{});
        }
        gtk_menu_shell_append(GTK_MENU_SHELL(shell), widget);
    }
}

} // namespace

void fillMenu(GtkWidget* shell, const std::vector<win::MenuItem>& items, const MenuChosen& chosen) {
    fill(shell, items, std::make_shared<MenuChosen>(chosen));
    gtk_widget_show_all(shell);
}

std::vector<win::MenuItem> menuItems(win::HMENU menu) {
    std::vector<win::MenuItem> items;
    const int count = win::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        win::MenuItem item;
        if (win::GetMenuItem(menu, i, &item))
            items.push_back(item);
    }
    return items;
}

} // namespace desktop
