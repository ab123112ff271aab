// Tree views, with check boxes where the control has them.
#include <string>
#include <string_view>
#include <vector>

#include "desktop/ControlKinds.h"
#include "desktop/WindowStyle.h"
#include "winsys/Backend.h"
#include "winsys/CommonControls.h"
#include "winsys/WindowApi.h"
#include "winsys/controls/UserActions.h"

namespace desktop {

namespace {

enum Column { kText, kChecked, kSelected };

// One item of the control as shown: depth-first, parents before their children.
struct ShownItem {
    int depth;
    std::string text;
    bool checked;
    bool selected;
    bool operator==(const ShownItem&) const = default;
};

void readItems(win::HWND tree, win::HTREEITEM first, int depth, std::vector<ShownItem>& items) {
    for (win::HTREEITEM item = first; item != nullptr;
         item = reinterpret_cast<win::HTREEITEM>(win::SendMessage(tree, win::TVM_GETNEXTITEM, win::TVGN_NEXT,
                                                                  reinterpret_cast<win::LPARAM>(item)))) {
        win::TVITEM fields;
        fields.mask = win::TVIF_TEXT | win::TVIF_STATE;
        fields.stateMask = win::TVIS_STATEIMAGEMASK | win::TVIS_SELECTED;
        fields.hItem = item;
        win::SendMessage(tree, win::TVM_GETITEM, 0, reinterpret_cast<win::LPARAM>(&fields));
        const bool checked = (fields.state & win::TVIS_STATEIMAGEMASK) == win::INDEXTOSTATEIMAGEMASK(2);
        items.push_back({depth, fields.text, checked, (fields.state & win::TVIS_SELECTED) != 0});
        const auto child = reinterpret_cast<win::HTREEITEM>(win::SendMessage(
            tree, win::TVM_GETNEXTITEM, win::TVGN_CHILD, reinterpret_cast<win::LPARAM>(item)));
        readItems(tree, child, depth + 1, items);
    }
}

class TreeView final : public ControlWidget {
public:
    explicit TreeView(win::HWND control)
        : ControlWidget(control, gtk_scrolled_window_new(nullptr, nullptr)),
          store_(gtk_tree_store_new(3, G_TYPE_STRING, G_TYPE_BOOLEAN, G_TYPE_BOOLEAN)),
          view_(gtk_tree_view_new_with_model(GTK_TREE_MODEL(store_))) {
        GtkTreeViewColumn* column = gtk_tree_view_column_new();
        if ((windowStyle(control) & win::TVS_CHECKBOXES) != 0) {
            GtkCellRenderer* check = gtk_cell_renderer_toggle_new();
            gtk_tree_view_column_pack_start(column, check, FALSE);
            gtk_tree_view_column_add_attribute(column, check, "active", kChecked);
            g_signal_connect(check, "toggled", G_CALLBACK(onToggled), this);
        }
        GtkCellRenderer* text = gtk_cell_renderer_text_new();
        gtk_tree_view_column_pack_start(column, text, TRUE);
        gtk_tree_view_column_add_attribute(column, text, "text", kText);
        gtk_tree_view_append_column(GTK_TREE_VIEW(view_), column);
        gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(view_), FALSE);
        gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(widget_), GTK_SHADOW_IN);
        gtk_container_add(GTK_CONTAINER(widget_), view_);
        gtk_widget_show(view_);
        // A right-click on an item reaches the control, which offers its window's menu.
        offerContextMenu(view_);
        g_signal_connect(gtk_tree_view_get_selection(GTK_TREE_VIEW(view_)), "changed", G_CALLBACK(onSelected),
                         this);
    }
    ~TreeView() override { g_object_unref(store_); }

private:
    void refreshState() override {
        std::vector<ShownItem> items;
        readItems(control_,
                  reinterpret_cast<win::HTREEITEM>(
                      win::SendMessage(control_, win::TVM_GETNEXTITEM, win::TVGN_ROOT, 0)),
                  0, items);
        if (items == items_)
            return;
        items_ = std::move(items);
        gtk_tree_store_clear(store_);
        std::vector<GtkTreeIter> parents;
        GtkTreePath* selected = nullptr;
        for (const ShownItem& item : items_) {
            parents.resize(static_cast<std::size_t>(item.depth));
            GtkTreeIter row;
            gtk_tree_store_insert_with_values(store_, &row, parents.empty() ? nullptr : &parents.back(), -1,
                                              kText, item.text.c_str(), kChecked, item.checked, kSelected,
                                              item.selected, -1);
            if (item.selected && selected == nullptr)
                selected = gtk_tree_model_get_path(GTK_TREE_MODEL(store_), &row);
            parents.push_back(row);
        }
        gtk_tree_view_expand_all(GTK_TREE_VIEW(view_));
        if (selected != nullptr) {
            gtk_tree_selection_select_path(gtk_tree_view_get_selection(GTK_TREE_VIEW(view_)), selected);
            gtk_tree_path_free(selected);
        }
    }

    // The texts from the top level down to the row, which is how a user's action names an item.
    std::vector<std::string> textsTo(GtkTreeIter row) const {
        std::vector<std::string> texts;
        GtkTreeModel* model = GTK_TREE_MODEL(store_);
        for (GtkTreeIter at = row, parent;; at = parent) {
            GValue text = G_VALUE_INIT;
            gtk_tree_model_get_value(model, &at, kText, &text);
            const char* shown = g_value_get_string(&text);
            texts.emplace(texts.begin(), shown != nullptr ? std::string_view(shown) : std::string_view());
            g_value_unset(&text);
            if (!gtk_tree_model_iter_parent(model, &parent, &at))
                break;
        }
        return texts;
    }

    static void onToggled(GtkCellRendererToggle*, gchar* path, TreeView* self) {
        GtkTreeIter row;
        if (!gtk_tree_model_get_iter_from_string(GTK_TREE_MODEL(self->store_), &row, path))
            return;
        gboolean checked = FALSE;
        gtk_tree_model_get(GTK_TREE_MODEL(self->store_), &row, kChecked, &checked, -1);
        actionDone(win::controls::checkTreeItem(self->control_, self->textsTo(row), !checked));
    }
    static void onSelected(GtkTreeSelection* selection, TreeView* self) {
        GtkTreeIter row;
        if (self->refreshing() || !gtk_tree_selection_get_selected(selection, nullptr, &row))
            return;
        actionDone(win::controls::selectTreeItem(self->control_, self->textsTo(row)));
    }

    GtkTreeStore* store_;
    GtkWidget* view_;
    std::vector<ShownItem> items_;
};

} // namespace

std::unique_ptr<ControlWidget> makeTreeView(win::HWND control) {
    return std::make_unique<TreeView>(control);
}

} // namespace desktop
