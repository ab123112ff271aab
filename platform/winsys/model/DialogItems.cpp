#include <cctype>
#include <limits>
#include <optional>

#include "winsys/Controls.h"
#include "winsys/Dialogs.h"
#include "winsys/model/WindowStore.h"

namespace win {

namespace {

// The number in `text`, or nothing when it is not one number in range.
std::optional<long long> parseInteger(const std::string& text, bool isSigned) {
    size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    const bool negative = isSigned && at < text.size() && text[at] == '-';
    if (negative)
        ++at;
    if (at == text.size())
        return std::nullopt;
    const long long limit = isSigned ? (negative ? -static_cast<long long>(std::numeric_limits<int>::min())
                                                 : std::numeric_limits<int>::max())
                                     : std::numeric_limits<UINT>::max();
    long long value = 0;
    for (; at < text.size(); ++at) {
        if (!std::isdigit(static_cast<unsigned char>(text[at])))
            return std::nullopt;
        value = value * 10 + (text[at] - '0');
        if (value > limit)
            return std::nullopt;
    }
    return negative ? -value : value;
}

} // namespace

HWND GetDlgItem(HWND dialog, int id) {
    const WindowObject* window = model::find(dialog);
    if (window == nullptr)
        return nullptr;
    for (HWND child : window->children)
        if (model::find(child)->id == id)
            return child;
    return nullptr;
}

int GetDlgCtrlID(HWND control) {
    const WindowObject* window = model::find(control);
    return window == nullptr ? 0 : window->id;
}

bool SetDlgItemText(HWND dialog, int id, const std::string& text) {
    return SetWindowText(GetDlgItem(dialog, id), text);
}

std::string GetDlgItemText(HWND dialog, int id) {
    return GetWindowText(GetDlgItem(dialog, id));
}

bool SetDlgItemInt(HWND dialog, int id, UINT value, bool isSigned) {
    const std::string text = isSigned ? std::to_string(static_cast<int>(value)) : std::to_string(value);
    return SetDlgItemText(dialog, id, text);
}

UINT GetDlgItemInt(HWND dialog, int id, bool* translated, bool isSigned) {
    const HWND control = GetDlgItem(dialog, id);
    const std::optional<long long> value =
        control == nullptr ? std::nullopt : parseInteger(GetWindowText(control), isSigned);
    if (translated != nullptr)
        *translated = value.has_value();
    return value ? static_cast<UINT>(*value) : 0;
}

bool CheckDlgButton(HWND dialog, int id, UINT check) {
    const HWND button = GetDlgItem(dialog, id);
    if (button == nullptr)
        return false;
    SendMessage(button, BM_SETCHECK, check, 0);
    return true;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    return static_cast<UINT>(SendMessage(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessage(GetDlgItem(dialog, id), message, wParam, lParam);
}

} // namespace win
