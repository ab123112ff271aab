// Combo boxes and list boxes: a list of texts with item data and one selection. The two differ
// only in their message numbers and in when a user's selection is reported.
#include <cstring>

#include "text/AsciiCase.h"
#include "winsys/controls/ControlProcs.h"
#include "winsys/controls/ControlState.h"
#include "winsys/controls/UserActions.h"

namespace win::controls {

namespace {

struct ListMessages {
    UINT add, insert, remove, reset, count, getSelection, setSelection, getText, getTextLength, findExact,
        setData, getData;
    int selectionChanged;
    LRESULT error;
};

constexpr ListMessages kComboMessages{
    CB_ADDSTRING,   CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT, CB_GETCOUNT,
    CB_GETCURSEL,   CB_SETCURSEL,    CB_GETLBTEXT,    CB_GETLBTEXTLEN, CB_FINDSTRINGEXACT,
    CB_SETITEMDATA, CB_GETITEMDATA,  CBN_SELCHANGE,   CB_ERR};
constexpr ListMessages kListMessages{
    LB_ADDSTRING,   LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT, LB_GETCOUNT,
    LB_GETCURSEL,   LB_SETCURSEL,    LB_GETTEXT,      LB_GETTEXTLEN,   LB_FINDSTRINGEXACT,
    LB_SETITEMDATA, LB_GETITEMDATA,  LBN_SELCHANGE,   LB_ERR};

struct Item {
    std::string text;
    LPARAM data = 0;
};

struct ItemListState : model::ControlState {
    std::vector<Item> items;
    int selection = -1;

    std::string describe() const override {
        std::string text = "items [";
        for (size_t i = 0; i < items.size(); ++i)
            text += (i == 0 ? "\"" : ", \"") + items[i].text + "\"";
        return text + "] selected " + std::to_string(selection);
    }
    bool valid(WPARAM index) const { return index < items.size(); }
};

std::string textOf(LPARAM lParam) {
    return lParam == 0 ? std::string() : reinterpret_cast<const char*>(lParam);
}

// Case-insensitive, starting after `start` (-1: from the top) and wrapping around.
LRESULT findExact(const ItemListState& state, WPARAM start, const std::string& text, LRESULT error) {
    const size_t count = state.items.size();
    const size_t first = state.valid(start) ? start + 1 : 0;
    for (size_t step = 0; step < count; ++step) {
        const size_t index = (first + step) % count;
        if (equalsIgnoringCase(state.items[index].text, text))
            return static_cast<LRESULT>(index);
    }
    return error;
}

LRESULT handle(const ListMessages& m, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ItemListState* state = stateOf<ItemListState>(hwnd);
    if (state == nullptr)
        return DefWindowProc(hwnd, message, wParam, lParam);
    std::vector<Item>& items = state->items;
    const auto index = static_cast<LRESULT>(static_cast<intptr_t>(wParam));
    if (message == m.add) {
        items.push_back(Item{textOf(lParam)});
        return static_cast<LRESULT>(items.size() - 1);
    }
    if (message == m.insert) {
        const size_t at = index < 0 || !state->valid(wParam) ? items.size() : wParam;
        items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), Item{textOf(lParam)});
        if (state->selection >= static_cast<int>(at))
            ++state->selection;
        return static_cast<LRESULT>(at);
    }
    if (message == m.remove) {
        if (!state->valid(wParam))
            return m.error;
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(wParam));
        if (state->selection == static_cast<int>(wParam))
            state->selection = -1;
        else if (state->selection > static_cast<int>(wParam))
            --state->selection;
        return static_cast<LRESULT>(items.size());
    }
    if (message == m.reset) {
        items.clear();
        state->selection = -1;
        return 0;
    }
    if (message == m.count)
        return static_cast<LRESULT>(items.size());
    if (message == m.getSelection)
        return state->selection < 0 ? m.error : state->selection;
    if (message == m.setSelection) {
        state->selection = state->valid(wParam) ? static_cast<int>(wParam) : -1;
        return state->selection < 0 ? m.error : state->selection;
    }
    if (message == m.getTextLength)
        return state->valid(wParam) ? static_cast<LRESULT>(items[wParam].text.size()) : m.error;
    if (message == m.getText) {
        if (!state->valid(wParam) || lParam == 0)
            return m.error;
        const std::string& text = items[wParam].text;
        std::memcpy(reinterpret_cast<char*>(lParam), text.c_str(), text.size() + 1);
        return static_cast<LRESULT>(text.size());
    }
    if (message == m.findExact)
        return findExact(*state, wParam, textOf(lParam), m.error);
    if (message == m.setData) {
        if (!state->valid(wParam))
            return m.error;
        items[wParam].data = lParam;
        return 0;
    }
    if (message == m.getData)
        return state->valid(wParam) ? items[wParam].data : m.error;
    return DefWindowProc(hwnd, message, wParam, lParam);
}

const ListMessages* messagesOf(HWND hwnd) {
    if (isClass(hwnd, WC_COMBOBOX))
        return &kComboMessages;
    if (isClass(hwnd, WC_LISTBOX))
        return &kListMessages;
    return nullptr;
}

// A list box reports a user's selection only when asked to (LBS_NOTIFY); a combo box always does.
void reportSelection(HWND hwnd, const ListMessages& m) {
    if (&m == &kComboMessages || (styleOf(hwnd) & LBS_NOTIFY) != 0)
        notifyParent(hwnd, m.selectionChanged);
}

} // namespace

LRESULT ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return handle(kComboMessages, hwnd, message, wParam, lParam);
}

LRESULT ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return handle(kListMessages, hwnd, message, wParam, lParam);
}

std::string selectListIndex(HWND list, int index) {
    const ListMessages* m = messagesOf(list);
    if (m == nullptr)
        return "not a combo or list box";
    const LRESULT count = SendMessage(list, m->count, 0, 0);
    if (index < 0 || index >= count)
        return "no item " + std::to_string(index) + " among " + std::to_string(count);
    SendMessage(list, m->setSelection, static_cast<WPARAM>(index), 0);
    reportSelection(list, *m);
    return {};
}

std::string selectListText(HWND list, const std::string& text) {
    const ListMessages* m = messagesOf(list);
    if (m == nullptr)
        return "not a combo or list box";
    const LRESULT count = SendMessage(list, m->count, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        std::string item(
            static_cast<size_t>(SendMessage(list, m->getTextLength, static_cast<WPARAM>(index), 0)) + 1,
            '\0');
        SendMessage(list, m->getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.data()));
        item.pop_back();
        if (item == text)
            return selectListIndex(list, static_cast<int>(index));
    }
    return "no item \"" + text + "\"";
}

} // namespace win::controls
