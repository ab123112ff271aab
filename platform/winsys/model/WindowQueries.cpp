#include <algorithm>

#include "text/AsciiCase.h"
#include "winsys/model/WindowStore.h"

namespace win {

namespace {

bool matches(HWND hwnd, const char* className, const char* title) {
    const WindowObject* window = model::find(hwnd);
    return window != nullptr &&
           (className == nullptr ||
            equalsIgnoringCase(window->windowClass->info.lpszClassName, className)) &&
           (title == nullptr || equalsIgnoringCase(window->title, title));
}

bool enumerate(const std::vector<HWND>& children, WNDENUMPROC callback, LPARAM lParam) {
    for (HWND child : children) {
        if (!IsWindow(child))
            continue;
        if (!callback(child, lParam))
            return false;
        if (const WindowObject* window = model::find(child)) {
            const std::vector<HWND> grandChildren = window->children;
            if (!enumerate(grandChildren, callback, lParam))
                return false;
        }
    }
    return true;
}

LONG_PTR procAsLong(WNDPROC proc) {
    return reinterpret_cast<LONG_PTR>(proc);
}
WNDPROC longAsProc(LONG_PTR value) {
    return reinterpret_cast<WNDPROC>(value);
}

} // namespace

HWND FindWindow(const char* className, const char* title) {
    return FindWindowEx(nullptr, nullptr, className, title);
}

HWND FindWindowEx(HWND parent, HWND childAfter, const char* className, const char* title) {
    const std::vector<HWND>* candidates = &model::store().topLevel;
    if (parent != nullptr) {
        const WindowObject* parentWindow = model::find(parent);
        if (parentWindow == nullptr)
            return nullptr;
        candidates = &parentWindow->children;
    }
    auto start = candidates->begin();
    if (childAfter != nullptr) {
        start = std::find(candidates->begin(), candidates->end(), childAfter);
        if (start == candidates->end())
            return nullptr;
        ++start;
    }
    auto found = std::find_if(start, candidates->end(),
                              [&](HWND candidate) { return matches(candidate, className, title); });
    return found == candidates->end() ? nullptr : *found;
}

HWND GetParent(HWND hwnd) {
    const WindowObject* window = model::find(hwnd);
    if (window == nullptr)
        return nullptr;
    return window->isChild() ? window->parent : window->owner;
}

bool EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM lParam) {
    const WindowObject* window = model::find(parent);
    if (window == nullptr || callback == nullptr)
        return false;
    const std::vector<HWND> children = window->children;
    return enumerate(children, callback, lParam);
}

bool SetWindowText(HWND hwnd, const std::string& text) {
    return IsWindow(hwnd) && SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

std::string GetWindowText(HWND hwnd) {
    const LRESULT length = SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied = SendMessage(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

int GetWindowTextLength(HWND hwnd) {
    return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

std::string GetClassName(HWND hwnd) {
    const WindowObject* window = model::find(hwnd);
    return window == nullptr ? std::string() : window->windowClass->info.lpszClassName;
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
    const WindowObject* window = model::find(hwnd);
    if (window == nullptr)
        return 0;
    switch (index) {
    case GWLP_WNDPROC:
        return procAsLong(window->proc);
    case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(window->instance);
    case GWLP_ID:
        return window->id;
    case GWL_STYLE:
        return static_cast<LONG_PTR>(window->style);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(window->exStyle);
    case GWLP_USERDATA:
        return window->userData;
    case DWLP_MSGRESULT:
        return window->dialog ? window->dialog->messageResult : 0;
    default:
        return 0;
    }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
    WindowObject* window = model::find(hwnd);
    if (window == nullptr)
        return 0;
    const LONG_PTR previous = GetWindowLongPtr(hwnd, index);
    switch (index) {
    case GWLP_WNDPROC:
        window->proc = longAsProc(value);
        break;
    case GWLP_ID:
        window->id = static_cast<int>(value);
        break;
    case GWL_STYLE:
        window->style = static_cast<DWORD>(value);
        break;
    case GWL_EXSTYLE:
        window->exStyle = static_cast<DWORD>(value);
        break;
    case GWLP_USERDATA:
        window->userData = value;
        break;
    case DWLP_MSGRESULT:
        if (window->dialog)
            window->dialog->messageResult = value;
        break;
    default:
        return 0;
    }
    return previous;
}

LONG_PTR GetClassLongPtr(HWND hwnd, int index) {
    const WindowObject* window = model::find(hwnd);
    if (window == nullptr)
        return 0;
    const WNDCLASS& info = window->windowClass->info;
    switch (index) {
    case GCLP_WNDPROC:
        return procAsLong(info.lpfnWndProc);
    case GCLP_HCURSOR:
        return reinterpret_cast<LONG_PTR>(info.hCursor);
    default:
        return 0;
    }
}

LONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value) {
    WindowObject* window = model::find(hwnd);
    if (window == nullptr)
        return 0;
    const LONG_PTR previous = GetClassLongPtr(hwnd, index);
    WNDCLASS& info = window->windowClass->info;
    switch (index) {
    case GCLP_WNDPROC:
        if (value == 0)
            return 0;
        info.lpfnWndProc = longAsProc(value);
        return previous;
    case GCLP_HCURSOR:
        info.hCursor = reinterpret_cast<HCURSOR>(value);
        return previous;
    default:
        return 0;
    }
}

} // namespace win
