#include <algorithm>

#include "text/AsciiCase.h"
#include "winsys/model/Geometry.h"
#include "winsys/model/Record.h"
#include "winsys/model/WindowStore.h"

namespace win {

namespace {

void unlink(HWND hwnd, const WindowObject& window) {
    model::Store& state = model::store();
    std::vector<HWND>* siblings = &state.topLevel;
    if (WindowObject* parent = model::find(window.parent))
        siblings = &parent->children;
    siblings->erase(std::remove(siblings->begin(), siblings->end(), hwnd), siblings->end());
    std::erase_if(state.posted, [hwnd](const model::PostedMessage& posted) { return posted.hwnd == hwnd; });
    if (state.focus == hwnd)
        state.focus = nullptr;
    state.windows.erase(hwnd);
}

// A child tells each ancestor of its creation or destruction unless it asked not to.
void notifyAncestors(HWND child, UINT event) {
    WindowObject* window = model::find(child);
    if (window == nullptr || !window->isChild() || (window->exStyle & WS_EX_NOPARENTNOTIFY) != 0)
        return;
    const WPARAM wParam = MAKEWPARAM(static_cast<int>(event), window->id);
    for (HWND ancestor = window->parent; ancestor != nullptr; ancestor = GetParent(ancestor)) {
        SendMessage(ancestor, WM_PARENTNOTIFY, wParam, reinterpret_cast<LPARAM>(child));
        WindowObject* ancestorWindow = model::find(ancestor);
        if (ancestorWindow == nullptr || !ancestorWindow->isChild())
            break;
    }
}

} // namespace

bool RegisterClass(const WNDCLASS& windowClass) {
    if (windowClass.lpfnWndProc == nullptr || windowClass.lpszClassName.empty() ||
        model::findClass(windowClass.lpszClassName) != nullptr)
        return false;
    model::store().classes[lowerAscii(windowClass.lpszClassName)] =
        model::WindowClass{windowClass, false};
    return true;
}

bool GetClassInfo(HINSTANCE, const std::string& className, WNDCLASS* windowClass) {
    const model::WindowClass* found = model::findClass(className);
    if (found == nullptr || windowClass == nullptr)
        return false;
    *windowClass = found->info;
    return true;
}

HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& title, DWORD style, int x,
                    int y, int width, int height, HWND parent, int id, HINSTANCE instance, void* param) {
    model::WindowClass* windowClass = model::findClass(className);
    const bool child = (style & WS_CHILD) != 0;
    if (windowClass == nullptr || (child && model::find(parent) == nullptr))
        return nullptr;
    // A top-level window created visible is shown once it exists, as ShowWindow would.
    const bool showAtEnd = !child && (style & WS_VISIBLE) != 0;

    auto object = std::make_unique<WindowObject>();
    object->windowClass = windowClass;
    object->instance = instance;
    object->parent = child ? parent : nullptr;
    object->owner = child ? nullptr : model::rootOf(parent);
    object->id = id;
    object->style = showAtEnd ? style & ~WS_VISIBLE : style;
    object->exStyle = exStyle;
    object->rect = RECT{x, y, x + width, y + height};
    object->frame = model::frameFor(style, exStyle);
    object->proc = windowClass->info.lpfnWndProc;
    const HWND hwnd = object.get();
    model::Store& state = model::store();
    state.windows.emplace(hwnd, std::move(object));
    if (child)
        model::find(parent)->children.push_back(hwnd);
    else
        state.topLevel.push_back(hwnd);

    CREATESTRUCT create{
        param,  instance, id, parent, height, width, y, x, style, title, windowClass->info.lpszClassName,
        exStyle};
    const LPARAM createParam = reinterpret_cast<LPARAM>(&create);
    if (SendMessage(hwnd, WM_NCCREATE, 0, createParam) == 0 ||
        SendMessage(hwnd, WM_CREATE, 0, createParam) == -1) {
        if (WindowObject* refused = model::find(hwnd))
            unlink(hwnd, *refused);
        return nullptr;
    }
    if (WindowObject* created = model::find(hwnd))
        model::recordWindow(WindowEntry::Created, *created);
    notifyAncestors(hwnd, WM_CREATE);
    if (showAtEnd)
        ShowWindow(hwnd, SW_SHOW);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

bool DestroyWindow(HWND hwnd) {
    WindowObject* window = model::find(hwnd);
    if (window == nullptr || window->destroying)
        return false;
    window->destroying = true;
    std::vector<HWND> owned;
    for (HWND topLevel : model::store().topLevel)
        if (model::find(topLevel)->owner == hwnd)
            owned.push_back(topLevel);
    for (HWND ownedWindow : owned)
        DestroyWindow(ownedWindow);

    notifyAncestors(hwnd, WM_DESTROY);
    if (WindowObject* destroyed = model::find(hwnd))
        model::recordWindow(WindowEntry::Destroyed, *destroyed);
    SendMessage(hwnd, WM_DESTROY, 0, 0);
    if (WindowObject* destroyed = model::find(hwnd)) {
        const std::vector<HWND> children = destroyed->children;
        for (HWND child : children)
            DestroyWindow(child);
    }
    SendMessage(hwnd, WM_NCDESTROY, 0, 0);
    if (WindowObject* destroyed = model::find(hwnd)) {
        if (destroyed->menu != nullptr)
            DestroyMenu(destroyed->menu);
        unlink(hwnd, *destroyed);
    }
    return true;
}

bool IsWindow(HWND hwnd) {
    return model::find(hwnd) != nullptr;
}

} // namespace win
