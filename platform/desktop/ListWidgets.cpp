// Combo boxes and list boxes: the items and the selection of the control.
#include <string>
#include <vector>

#include "desktop/ControlKinds.h"
#include "winsys/Backend.h"
#include "winsys/Controls.h"
#include "winsys/WindowApi.h"
#include "winsys/controls/UserActions.h"

namespace desktop {

namespace {

// The messages that read one kind of list.
struct ListReading {
    win::UINT count, textLength, text, selection;
};
constexpr ListReading kCombo{win::CB_GETCOUNT, win::CB_GETLBTEXTLEN, win::CB_GETLBTEXT, win::CB_GETCURSEL};
constexpr ListReading kList{win::LB_GETCOUNT, win::LB_GETTEXTLEN, win::LB_GETTEXT, win::LB_GETCURSEL};

std::vector<std::string> itemsOf(win::HWND control, const ListReading& reading) {
    std::vector<std::string> items;
    const auto count = win::SendMessage(control, reading.count, 0, 0);
    for (win::LRESULT i = 0; i < count; ++i) {
        const auto index = static_cast<win::WPARAM>(i);
        const auto length = win::SendMessage(control, reading.textLength, index, 0);
        std::string text(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, '\0');
        win::SendMessage(control, reading.text, index, reinterpret_cast<win::LPARAM>(text.data()));
        text.resize(text.size() - 1);
        items.push_back(std::move(text));
    }
    return items;
}

int selectionOf(win::HWND control, const ListReading& reading) {
    return static_cast<int>(win::SendMessage(control, reading.selection, 0, 0));
}

class ComboBox final : public ControlWidget {
public:
    explicit ComboBox(win::HWND control) : ControlWidget(control, gtk_combo_box_text_new()) {
        g_signal_connect(widget_, "changed", G_CALLBACK(onChanged), this);
    }

private:
    // A combo box's rectangle holds its dropped-down list too.
    int shownHeight(int) const override { return -1; }
    void refreshState() override {
        std::vector<std::string> items = itemsOf(control_, kCombo);
        if (items != items_) {
            items_ = std::move(items);
            gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(widget_));
            for (const std::string& item : items_)
                gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(widget_), item.c_str());
        }
        const int selection = selectionOf(control_, kCombo);
        if (selection != gtk_combo_box_get_active(GTK_COMBO_BOX(widget_)))
            gtk_combo_box_set_active(GTK_COMBO_BOX(widget_), selection);
    }
    static void onChanged(GtkComboBox* box, ComboBox* self) {
        const int chosen = gtk_combo_box_get_active(box);
        if (self->refreshing() || chosen < 0)
            return;
        actionDone(win::controls::selectListIndex(self->control_, chosen));
    }

    std::vector<std::string> items_;
};

// A list box: a one-column tree view in a scrolled window.
class ListBox final : public ControlWidget {
public:
    explicit ListBox(win::HWND control)
        : ControlWidget(control, gtk_scrolled_window_new(nullptr, nullptr)),
          store_(gtk_list_store_new(1, G_TYPE_STRING)),
          view_(gtk_tree_view_new_with_model(GTK_TREE_MODEL(store_))) {
        gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(view_), FALSE);
        gtk_tree_view_insert_column_with_attributes(GTK_TREE_VIEW(view_), -1, "",
                                                    gtk_cell_renderer_text_new(), "text", 0, nullptr);
        gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(widget_), GTK_SHADOW_IN);
        gtk_container_add(GTK_CONTAINER(widget_), view_);
        gtk_widget_show(view_);
        g_signal_connect(gtk_tree_view_get_selection(GTK_TREE_VIEW(view_)), "changed", G_CALLBACK(onChanged),
                         this);
    }
    ~ListBox() override { g_object_unref(store_); }

private:
    void refreshState() override {
        std::vector<std::string> items = itemsOf(control_, kList);
        if (items != items_) {
            items_ = std::move(items);
            gtk_list_store_clear(store_);
            for (const std::string& item : items_)
                gtk_list_store_insert_with_values(store_, nullptr, -1, 0, item.c_str(), -1);
        }
        const int selection = selectionOf(control_, kList);
        GtkTreeSelection* selected = gtk_tree_view_get_selection(GTK_TREE_VIEW(view_));
        if (selection < 0) {
            gtk_tree_selection_unselect_all(selected);
            return;
        }
        GtkTreePath* path = gtk_tree_path_new_from_indices(selection, -1);
        if (!gtk_tree_selection_path_is_selected(selected, path)) {
            gtk_tree_selection_select_path(selected, path);
            gtk_tree_view_scroll_to_cell(GTK_TREE_VIEW(view_), path, nullptr, FALSE, 0, 0);
        }
        gtk_tree_path_free(path);
    }
    static void onChanged(GtkTreeSelection* selection, ListBox* self) {
        GtkTreeIter row;
        GtkTreeModel* model = nullptr;
        if (self->refreshing() || !gtk_tree_selection_get_selected(selection, &model, &row))
            return;
        GtkTreePath* path = gtk_tree_model_get_path(model, &row);
        const int index = gtk_tree_path_get_indices(path)[0];
        gtk_tree_path_free(path);
        actionDone(win::controls::selectListIndex(self->control_, index));
    }

    GtkListStore* store_;
    GtkWidget* view_;
    std::vector<std::string> items_;
};

} // namespace

std::unique_ptr<ControlWidget> makeComboBox(win::HWND control) {
    return std::make_unique<ComboBox>(control);
}

std::unique_ptr<ControlWidget> makeListBox(win::HWND control) {
    return std::make_unique<ListBox>(control);
}

} // namespace desktop
