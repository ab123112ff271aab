#include "winsys/model/Record.h"

#include "winsys/model/WindowStore.h"

namespace win::model {

namespace {

ControlSnapshot snapshot(HWND control) {
    const WindowObject& window = *find(control);
    ControlSnapshot shot;
    shot.id = window.id;
    shot.className = window.windowClass->info.lpszClassName;
    shot.text = window.title;
    shot.enabled = (window.style & WS_DISABLED) == 0;
    shot.visible = (window.style & WS_VISIBLE) != 0;
    if (window.control)
        shot.state = window.control->describe();
    return shot;
}

} // namespace

void recordWindow(WindowEntry::What what, const WindowObject& window) {
    if (window.windowClass->control)
        return;
    CurrentTranscript().add(WindowEntry{what, window.windowClass->info.lpszClassName, window.title});
}

void recordDialog(DialogEntry::What what, HWND dialog) {
    const WindowObject* window = find(dialog);
    if (window == nullptr || !window->dialog)
        return;
    DialogEntry entry;
    entry.what = what;
    entry.templateId = window->dialog->templateId;
    entry.title = window->title;
    entry.modal = window->dialog->modal;
    entry.result = window->dialog->result;
    for (HWND child : window->children)
        entry.controls.push_back(snapshot(child));
    CurrentTranscript().add(std::move(entry));
}

} // namespace win::model
