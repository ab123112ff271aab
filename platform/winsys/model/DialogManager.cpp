#include <optional>

#include "winsys/Backend.h"
#include "winsys/Controls.h"
#include "winsys/Dialogs.h"
#include "winsys/controls/StandardClasses.h"
#include "winsys/model/ModalOwner.h"
#include "winsys/model/Record.h"
#include "winsys/model/WindowStore.h"

namespace win {

namespace {

int mulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>((product >= 0 ? product + half : product - half) / denominator);
}

struct BaseUnits {
    int x;
    int y;
};

BaseUnits baseUnitsFor(int fontSize) {
    return BaseUnits{mulDiv(6, fontSize, 8), mulDiv(13, fontSize, 8)};
}

HWND firstTabStop(HWND dialog) {
    for (HWND child = FindWindowEx(dialog, nullptr, nullptr, nullptr); child != nullptr;
         child = FindWindowEx(dialog, child, nullptr, nullptr)) {
        const auto style = static_cast<DWORD>(GetWindowLongPtr(child, GWL_STYLE));
        if ((style & WS_TABSTOP) != 0 && (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0)
            return child;
    }
    return nullptr;
}

void createControls(HWND dialog, const DialogTemplate& dialogTemplate, BaseUnits units, HINSTANCE instance) {
    for (const ControlTemplate& control : dialogTemplate.controls) {
        const controls::KindClass kind = controls::classOfKind(control.kind);
        const DialogRect& r = control.rect;
        CreateWindowEx(WS_EX_NOPARENTNOTIFY, kind.className, control.text,
                       WS_CHILD | WS_VISIBLE | kind.style | control.style, mulDiv(r.x, units.x, 4),
                       mulDiv(r.y, units.y, 8), mulDiv(r.width, units.x, 4), mulDiv(r.height, units.y, 8),
                       dialog, control.id, instance, nullptr);
    }
}

// A copy: the dialog procedure may register templates while the dialog is made.
std::optional<DialogTemplate> templateFor(HINSTANCE instance, uint16_t templateId) {
    const auto& templates = model::store().templates;
    const auto found = templates.find({instance, templateId});
    if (found == templates.end())
        return std::nullopt;
    return found->second;
}

HWND createDialog(const DialogTemplate& dialogTemplate, HINSTANCE instance, HWND parent, DLGPROC dialogProc,
                  LPARAM initParam, bool modal) {
    const BaseUnits units = baseUnitsFor(dialogTemplate.fontSize);
    RECT rect{0, 0, mulDiv(dialogTemplate.width, units.x, 4), mulDiv(dialogTemplate.height, units.y, 8)};
    AdjustWindowRectEx(&rect, dialogTemplate.style, dialogTemplate.exStyle);
    RECT ownerRect;
    const HWND owner = model::rootOf(parent);
    const POINT corner = GetWindowRect(owner, &ownerRect) ? POINT{ownerRect.left, ownerRect.top} : POINT{};
    const std::string className = dialogTemplate.className.empty() ? WC_DIALOG : dialogTemplate.className;
    const HWND dialog = CreateWindowEx(
        dialogTemplate.exStyle, className, dialogTemplate.title, dialogTemplate.style & ~WS_VISIBLE, corner.x,
        corner.y, rect.right - rect.left, rect.bottom - rect.top, owner, 0, instance, nullptr);
    WindowObject* window = model::find(dialog);
    if (window == nullptr)
        return nullptr;
    auto state = std::make_unique<model::DialogState>();
    state->proc = dialogProc;
    state->templateId = dialogTemplate.id;
    state->modal = modal;
    state->baseUnitX = units.x;
    state->baseUnitY = units.y;
    window->dialog = std::move(state);

    SendMessage(dialog, WM_SETFONT, 0, 0);
    createControls(dialog, dialogTemplate, units, instance);
    const HWND defaultFocus = firstTabStop(dialog);
    const LRESULT setFocus =
        SendMessage(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(defaultFocus), initParam);
    if (!IsWindow(dialog))
        return nullptr;
    if (setFocus != 0 && IsWindow(defaultFocus))
        SetFocus(defaultFocus);
    model::recordDialog(DialogEntry::Initialised, dialog);
    return dialog;
}

} // namespace

void RegisterDialogTemplate(HINSTANCE instance, DialogTemplate dialogTemplate) {
    const uint16_t id = dialogTemplate.id;
    model::store().templates[{instance, id}] = std::move(dialogTemplate);
}

INT_PTR DialogBoxParam(HINSTANCE instance, uint16_t templateId, HWND parent, DLGPROC dialogProc,
                       LPARAM initParam) {
    const std::optional<DialogTemplate> dialogTemplate = templateFor(instance, templateId);
    const HWND dialog = dialogTemplate
                            ? createDialog(*dialogTemplate, instance, parent, dialogProc, initParam, true)
                            : nullptr;
    if (dialog == nullptr)
        return -1;
    {
        model::ModalOwner disabled(parent);
        if (!ModalLoopDone(dialog))
            ShowWindow(dialog, SW_SHOW);
        CurrentBackend().runModalLoop(dialog);
    }
    const std::optional<DialogInfo> info = GetDialogInfo(dialog);
    if (!info)
        return -1;
    const INT_PTR result = model::find(dialog)->dialog->result;
    model::recordDialog(DialogEntry::Ended, dialog);
    DestroyWindow(dialog);
    return result;
}

HWND CreateDialogParam(HINSTANCE instance, uint16_t templateId, HWND parent, DLGPROC dialogProc,
                       LPARAM initParam) {
    const std::optional<DialogTemplate> dialogTemplate = templateFor(instance, templateId);
    if (!dialogTemplate)
        return nullptr;
    const HWND dialog = createDialog(*dialogTemplate, instance, parent, dialogProc, initParam, false);
    if (dialog != nullptr && (dialogTemplate->style & WS_VISIBLE) != 0)
        ShowWindow(dialog, SW_SHOW);
    return dialog;
}

bool EndDialog(HWND dialog, INT_PTR result) {
    WindowObject* window = model::find(dialog);
    if (window == nullptr || !window->dialog)
        return false;
    window->dialog->ended = true;
    window->dialog->result = result;
    return true;
}

LRESULT DefDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowObject* window = model::find(hwnd);
    if (window != nullptr && window->dialog && window->dialog->proc != nullptr) {
        const DLGPROC proc = window->dialog->proc;
        window->dialog->messageResult = 0;
        const INT_PTR handled = proc(hwnd, message, wParam, lParam);
        if (handled != 0) {
            if (message == WM_INITDIALOG)
                return handled;
            const WindowObject* after = model::find(hwnd);
            return after != nullptr && after->dialog ? after->dialog->messageResult : 0;
        }
    }
    if (message == WM_CLOSE)
        return SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                           reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDCANCEL)));
    return DefWindowProc(hwnd, message, wParam, lParam);
}

bool MapDialogRect(HWND dialog, RECT* rect) {
    const WindowObject* window = model::find(dialog);
    if (window == nullptr || !window->dialog || rect == nullptr)
        return false;
    const int x = window->dialog->baseUnitX;
    const int y = window->dialog->baseUnitY;
    *rect = RECT{mulDiv(rect->left, x, 4), mulDiv(rect->top, y, 8), mulDiv(rect->right, x, 4),
                 mulDiv(rect->bottom, y, 8)};
    return true;
}

} // namespace win
