#include "winsys/model/WindowStore.h"

#include "text/AsciiCase.h"
#include "winsys/Input.h"
#include "winsys/controls/StandardClasses.h"

namespace win::model {

namespace {

void registerStandardClasses(Store& state) {
    for (const WindowClass& standard : controls::standardClasses())
        state.classes[lowerAscii(standard.info.lpszClassName)] = standard;
}

Store makeStore() {
    Store state;
    registerStandardClasses(state);
    state.cursor.shape = LoadCursor(nullptr, IDC_ARROW);
    return state;
}

} // namespace

Store& store() {
    static Store state = makeStore();
    return state;
}

WindowObject* find(HWND hwnd) {
    if (hwnd == nullptr)
        return nullptr;
    auto& windows = store().windows;
    auto found = windows.find(hwnd);
    return found == windows.end() ? nullptr : found->second.get();
}

MenuObject* findMenu(HMENU menu) {
    auto& menus = store().menus;
    const auto found = menus.find(menu);
    return found == menus.end() ? nullptr : found->second.get();
}

WindowClass* findClass(const std::string& name) {
    auto& classes = store().classes;
    auto found = classes.find(lowerAscii(name));
    return found == classes.end() ? nullptr : &found->second;
}

HWND rootOf(HWND hwnd) {
    WindowObject* window = find(hwnd);
    while (window != nullptr && window->isChild()) {
        hwnd = window->parent;
        window = find(hwnd);
    }
    return window == nullptr ? nullptr : hwnd;
}

void resetStore() {
    store() = makeStore();
}

} // namespace win::model
