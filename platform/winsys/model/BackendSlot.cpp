#include "winsys/Backend.h"
#include "winsys/headless/HeadlessBackend.h"
#include "winsys/model/WindowStore.h"

namespace win {

namespace {

std::unique_ptr<Backend>& slot() {
    static std::unique_ptr<Backend> backend;
    return backend;
}

} // namespace

void SetBackend(std::unique_ptr<Backend> backend) {
    slot() = std::move(backend);
}

Backend& CurrentBackend() {
    std::unique_ptr<Backend>& backend = slot();
    if (!backend)
        backend = headless::makeHeadlessBackend();
    return *backend;
}

std::optional<DialogInfo> GetDialogInfo(HWND hwnd) {
    const WindowObject* window = model::find(hwnd);
    if (window == nullptr || !window->dialog)
        return std::nullopt;
    return DialogInfo{window->dialog->templateId, window->dialog->modal, window->dialog->ended};
}

bool ModalLoopDone(HWND dialog) {
    const std::optional<DialogInfo> info = GetDialogInfo(dialog);
    return !info || info->ended;
}

} // namespace win
