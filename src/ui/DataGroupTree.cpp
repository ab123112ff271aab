#include "ui/DataGroupTree.h"

#include <vector>

namespace DataGroupTree {

namespace {
constexpr win::UINT kUnchecked = 1; // the tree's state images
constexpr win::UINT kChecked = 2;
constexpr uint32_t kExtendedDataGroup = 22;

bool held(const DataGroup& group, uint32_t contFlags, uint32_t discFlags) {
    return (group.contBits & contFlags) != 0 || (group.discBits & discFlags) != 0;
}
} // namespace

void show(win::HWND tree, uint32_t contFlags, uint32_t discFlags) {
    win::SendMessage(tree, win::TVM_DELETEITEM, 0, reinterpret_cast<win::LPARAM>(win::TVI_ROOT));
    for (const uint32_t id : dataGroupSelectionOrder()) {
        const DataGroup& group = dataGroup(id);
        win::TVINSERTSTRUCT insert;
        insert.hParent = win::TVI_ROOT;
        insert.hInsertAfter = win::TVI_LAST;
        insert.item.mask = win::TVIF_TEXT | win::TVIF_PARAM | win::TVIF_STATE;
        insert.item.text = group.name;
        insert.item.lParam = static_cast<win::LPARAM>(id);
        insert.item.state =
            win::INDEXTOSTATEIMAGEMASK(held(group, contFlags, discFlags) ? kChecked : kUnchecked);
        insert.item.stateMask = win::TVIS_STATEIMAGEMASK;
        win::SendMessage(tree, win::TVM_INSERTITEM, 0, reinterpret_cast<win::LPARAM>(&insert));
    }
}

DataMasks edited(win::HWND tree, uint32_t contFlags, uint32_t discFlags) {
    DataMasks masks{contFlags, discFlags};
    std::vector<uint32_t> selected;
    auto item =
        reinterpret_cast<win::HTREEITEM>(win::SendMessage(tree, win::TVM_GETNEXTITEM, win::TVGN_ROOT, 0));
    while (item != nullptr) {
        win::TVITEM fields;
        fields.mask = win::TVIF_PARAM | win::TVIF_STATE;
        fields.hItem = item;
        fields.stateMask = win::TVIS_STATEIMAGEMASK;
        win::SendMessage(tree, win::TVM_GETITEM, 0, reinterpret_cast<win::LPARAM>(&fields));
        const DataGroup& group = dataGroup(static_cast<uint32_t>(fields.lParam));
        const bool checked =
            (fields.state & win::TVIS_STATEIMAGEMASK) == win::INDEXTOSTATEIMAGEMASK(kChecked);
        if (checked)
            selected.push_back(group.id);
        if (checked != held(group, contFlags, discFlags)) {
            masks.contFlags = checked ? masks.contFlags | group.contBits : masks.contFlags & ~group.contBits;
            masks.discFlags = checked ? masks.discFlags | group.discBits : masks.discFlags & ~group.discBits;
        }
        item = reinterpret_cast<win::HTREEITEM>(win::SendMessage(tree, win::TVM_GETNEXTITEM, win::TVGN_NEXT,
                                                                 reinterpret_cast<win::LPARAM>(item)));
    }
    // The selection's own masks say which extended bits their base groups allow.
    const uint32_t extended = dataGroup(kExtendedDataGroup).contBits;
    const uint32_t allowed = masksFromSelection(selected).contFlags | ~extended;
    masks.contFlags &= allowed;
    return masks;
}

} // namespace DataGroupTree
