#include <algorithm>
#include <set>

#include "winsys/CommonControls.h"
#include "winsys/controls/ControlProcs.h"
#include "winsys/controls/ControlState.h"
#include "winsys/controls/UserActions.h"

namespace win {

struct TreeItemObject {
    std::string text;
    UINT state = 0;
    int image = 0;
    int selectedImage = 0;
    LPARAM lParam = 0;
    HTREEITEM parent = nullptr;
    std::vector<std::unique_ptr<TreeItemObject>> children;
};

namespace controls {

namespace {

using Items = std::vector<std::unique_ptr<TreeItemObject>>;

UINT stateImageOf(UINT state) {
    return (state & TVIS_STATEIMAGEMASK) >> 12;
}

struct TreeViewState : model::ControlState {
    Items roots;
    std::set<HTREEITEM> live; // every handle given out and not deleted
    HTREEITEM caret = nullptr;

    bool valid(HTREEITEM item) const { return item != nullptr && live.count(item) != 0; }
    Items& siblingsOf(HTREEITEM item) { return item->parent == nullptr ? roots : item->parent->children; }
    size_t indexOf(HTREEITEM item) {
        Items& siblings = siblingsOf(item);
        return static_cast<size_t>(
            std::find_if(siblings.begin(), siblings.end(),
                         [item](const auto& sibling) { return sibling.get() == item; }) -
            siblings.begin());
    }

    void forget(HTREEITEM item) {
        for (const auto& child : item->children)
            forget(child.get());
        live.erase(item);
        if (caret == item)
            caret = nullptr;
    }

    std::string describe() const override { return describeItems(roots); }

    static std::string describeItems(const Items& items) {
        std::string text;
        for (const auto& item : items) {
            text += (text.empty() ? "\"" : ", \"") + item->text + "\"";
            const UINT stateImage = stateImageOf(item->state);
            if (stateImage != 0)
                text += stateImage == 2 ? " [x]" : " [ ]";
            if ((item->state & TVIS_BOLD) != 0)
                text += " bold";
            if ((item->state & TVIS_SELECTED) != 0)
                text += " selected";
            if (!item->children.empty())
                text += " (" + describeItems(item->children) + ")";
        }
        return text;
    }
};

void applyItem(TreeItemObject& item, const TVITEM& fields) {
    if ((fields.mask & TVIF_TEXT) != 0)
        item.text = fields.text;
    if ((fields.mask & TVIF_STATE) != 0)
        item.state = (item.state & ~fields.stateMask) | (fields.state & fields.stateMask);
    if ((fields.mask & TVIF_IMAGE) != 0)
        item.image = fields.iImage;
    if ((fields.mask & TVIF_SELECTEDIMAGE) != 0)
        item.selectedImage = fields.iSelectedImage;
    if ((fields.mask & TVIF_PARAM) != 0)
        item.lParam = fields.lParam;
}

void fillItem(const TreeItemObject& item, TVITEM& fields) {
    if ((fields.mask & TVIF_TEXT) != 0)
        fields.text = item.text;
    if ((fields.mask & TVIF_STATE) != 0)
        fields.state = item.state & fields.stateMask;
    if ((fields.mask & TVIF_IMAGE) != 0)
        fields.iImage = item.image;
    if ((fields.mask & TVIF_SELECTEDIMAGE) != 0)
        fields.iSelectedImage = item.selectedImage;
    if ((fields.mask & TVIF_PARAM) != 0)
        fields.lParam = item.lParam;
}

HTREEITEM insert(HWND hwnd, TreeViewState& tree, const TVINSERTSTRUCT& request) {
    const bool atRoot = request.hParent == nullptr || request.hParent == TVI_ROOT;
    if (!atRoot && !tree.valid(request.hParent))
        return nullptr;
    auto item = std::make_unique<TreeItemObject>();
    item->parent = atRoot ? nullptr : request.hParent;
    applyItem(*item, request.item);
    if ((styleOf(hwnd) & TVS_CHECKBOXES) != 0 && stateImageOf(item->state) == 0)
        item->state |= INDEXTOSTATEIMAGEMASK(1);
    Items& siblings = atRoot ? tree.roots : request.hParent->children;
    size_t at = siblings.size();
    if (request.hInsertAfter == TVI_FIRST)
        at = 0;
    else if (tree.valid(request.hInsertAfter) && request.hInsertAfter->parent == item->parent)
        at = tree.indexOf(request.hInsertAfter) + 1;
    const HTREEITEM handle = item.get();
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
    tree.live.insert(handle);
    return handle;
}

void removeItem(TreeViewState& tree, HTREEITEM item) {
    if (item == nullptr || item == TVI_ROOT) {
        for (const auto& root : tree.roots)
            tree.forget(root.get());
        tree.roots.clear();
        return;
    }
    if (!tree.valid(item))
        return;
    tree.forget(item);
    Items& siblings = tree.siblingsOf(item);
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(tree.indexOf(item)));
}

HTREEITEM nextItem(TreeViewState& tree, WPARAM relation, HTREEITEM item) {
    if (relation == TVGN_ROOT)
        return tree.roots.empty() ? nullptr : tree.roots.front().get();
    if (relation == TVGN_CARET)
        return tree.caret;
    if (relation == TVGN_CHILD && (item == nullptr || item == TVI_ROOT))
        return nextItem(tree, TVGN_ROOT, nullptr);
    if (!tree.valid(item))
        return nullptr;
    const Items& siblings = tree.siblingsOf(item);
    const size_t index = tree.indexOf(item);
    switch (relation) {
    case TVGN_NEXT:
        return index + 1 < siblings.size() ? siblings[index + 1].get() : nullptr;
    case TVGN_PREVIOUS:
        return index > 0 ? siblings[index - 1].get() : nullptr;
    case TVGN_PARENT:
        return item->parent;
    case TVGN_CHILD:
        return item->children.empty() ? nullptr : item->children.front().get();
    default:
        return nullptr;
    }
}

TVITEM notifiedItem(HTREEITEM item) {
    TVITEM fields;
    fields.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
    fields.hItem = item;
    if (item != nullptr) {
        fields.state = item->state;
        fields.lParam = item->lParam;
    }
    return fields;
}

void select(HWND hwnd, TreeViewState& tree, HTREEITEM item, UINT action) {
    if (item == tree.caret || (item != nullptr && !tree.valid(item)))
        return;
    const HTREEITEM old = tree.caret;
    if (old != nullptr)
        old->state &= ~TVIS_SELECTED;
    if (item != nullptr)
        item->state |= TVIS_SELECTED;
    tree.caret = item;
    NMTREEVIEW change;
    change.action = action;
    change.itemOld = notifiedItem(old);
    change.itemNew = notifiedItem(item);
    notifyParent(hwnd, TVN_SELCHANGED, change);
}

HTREEITEM itemAt(TreeViewState& tree, const std::vector<std::string>& path) {
    HTREEITEM found = nullptr;
    const Items* level = &tree.roots;
    for (const std::string& text : path) {
        auto match =
            std::find_if(level->begin(), level->end(), [&](const auto& item) { return item->text == text; });
        if (match == level->end())
            return nullptr;
        found = match->get();
        level = &found->children;
    }
    return found;
}

TreeViewState* treeOf(HWND hwnd) {
    return isClass(hwnd, WC_TREEVIEW) ? stateOf<TreeViewState>(hwnd) : nullptr;
}

std::string pathText(const std::vector<std::string>& path) {
    std::string text;
    for (const std::string& part : path)
        text += (text.empty() ? "\"" : " > \"") + part + "\"";
    return text;
}

} // namespace

LRESULT TreeViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    TreeViewState* tree = stateOf<TreeViewState>(hwnd);
    if (tree == nullptr)
        return DefWindowProc(hwnd, message, wParam, lParam);
    const auto item = reinterpret_cast<HTREEITEM>(lParam);
    switch (message) {
    case TVM_INSERTITEM:
        return reinterpret_cast<LRESULT>(
            insert(hwnd, *tree, *reinterpret_cast<const TVINSERTSTRUCT*>(lParam)));
    case TVM_DELETEITEM:
        removeItem(*tree, item);
        return 1;
    case TVM_GETCOUNT:
        return static_cast<LRESULT>(tree->live.size());
    case TVM_GETNEXTITEM:
        return reinterpret_cast<LRESULT>(nextItem(*tree, wParam, item));
    case TVM_SELECTITEM:
        if (wParam != TVGN_CARET)
            return 0;
        select(hwnd, *tree, item, TVC_UNKNOWN);
        return 1;
    case TVM_EXPAND: {
        if (!tree->valid(item))
            return 0;
        const bool expanded = (item->state & TVIS_EXPANDED) != 0;
        const bool expand = wParam == TVE_EXPAND || (wParam == TVE_TOGGLE && !expanded);
        item->state = expand ? item->state | TVIS_EXPANDED : item->state & ~TVIS_EXPANDED;
        return 1;
    }
    case TVM_GETITEM:
    case TVM_SETITEM: {
        auto* fields = reinterpret_cast<TVITEM*>(lParam);
        if (fields == nullptr || !tree->valid(fields->hItem))
            return 0;
        if (message == TVM_GETITEM)
            fillItem(*fields->hItem, *fields);
        else
            applyItem(*fields->hItem, *fields);
        return 1;
    }
    case TVM_GETITEMSTATE: {
        const auto asked = reinterpret_cast<HTREEITEM>(wParam);
        return tree->valid(asked) ? static_cast<LRESULT>(asked->state & static_cast<UINT>(lParam)) : 0;
    }
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

std::string checkTreeItem(HWND hwnd, const std::vector<std::string>& path, bool checked) {
    TreeViewState* tree = treeOf(hwnd);
    if (tree == nullptr || (styleOf(hwnd) & TVS_CHECKBOXES) == 0)
        return "not a tree with check boxes";
    const HTREEITEM item = itemAt(*tree, path);
    if (item == nullptr)
        return "no tree item " + pathText(path);
    const UINT wanted = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    const UINT old = item->state;
    if ((old & TVIS_STATEIMAGEMASK) == wanted)
        return {};
    item->state = (old & ~TVIS_STATEIMAGEMASK) | wanted;
    NMTVITEMCHANGE change;
    change.hItem = item;
    change.uStateNew = item->state;
    change.uStateOld = old;
    change.lParam = item->lParam;
    notifyParent(hwnd, TVN_ITEMCHANGED, change);
    return {};
}

std::string selectTreeItem(HWND hwnd, const std::vector<std::string>& path) {
    TreeViewState* tree = treeOf(hwnd);
    if (tree == nullptr)
        return "not a tree";
    const HTREEITEM item = itemAt(*tree, path);
    if (item == nullptr)
        return "no tree item " + pathText(path);
    select(hwnd, *tree, item, TVC_BYMOUSE);
    return {};
}

} // namespace controls

} // namespace win
