// The script API's queues, results and reset.
#include "winsys/Backend.h"
#include "winsys/headless/ScriptState.h"
#include "winsys/model/WindowStore.h"

namespace win::headless {

namespace detail {

ScriptState& script() {
    static ScriptState state;
    return state;
}

void noteUnscripted(const std::string& what) {
    script().unscripted.push_back(what);
    if (script().policy == Unscripted::Fail)
        noteFailure("unscripted " + what);
}

void noteFailure(const std::string& what) {
    script().failures.push_back(what);
}

std::string nameOf(HWND window) {
    const std::string title = "\"" + GetWindowText(window) + "\"";
    if (const std::optional<DialogInfo> dialog = GetDialogInfo(window))
        return "dialog " + std::to_string(dialog->templateId) + " " + title;
    return "window " + GetClassName(window) + " " + title;
}

} // namespace detail

void setUnscriptedPolicy(Unscripted policy) {
    detail::script().policy = policy;
}

void answerMessageBox(int answer, MessageBoxMatch match) {
    detail::script().messageBoxes.push_back(detail::MessageBoxScript{answer, std::move(match)});
}

void answerFileDialog(std::vector<std::string> paths, std::string title) {
    detail::script().fileDialogs.push_back(detail::FileDialogScript{std::move(paths), std::move(title)});
}

void cancelFileDialog(std::string title) {
    answerFileDialog({}, std::move(title));
}

void answerFolderBrowser(std::string path, std::string title) {
    detail::script().folders.push_back(detail::FolderScript{std::move(path), std::move(title)});
}

void cancelFolderBrowser(std::string title) {
    answerFolderBrowser({}, std::move(title));
}

void scriptDialog(uint16_t templateId, std::vector<Step> steps) {
    detail::script().dialogs.push_back(detail::DialogScript{templateId, {}, std::move(steps)});
}

void scriptDialog(std::string title, std::vector<Step> steps) {
    detail::script().dialogs.push_back(
        detail::DialogScript{std::nullopt, std::move(title), std::move(steps)});
}

void setScreen(ScreenMetrics metrics) {
    detail::script().screen = metrics;
}

void setLocalTime(std::optional<SYSTEMTIME> time) {
    model::store().localTime = time;
}

size_t pumpMessages() {
    return PumpPostedMessages();
}

const Transcript& transcript() {
    return CurrentTranscript();
}

std::string transcriptText() {
    return CurrentTranscript().text();
}

const std::vector<std::string>& unscripted() {
    return detail::script().unscripted;
}

const std::vector<std::string>& failures() {
    return detail::script().failures;
}

size_t unusedAnswers() {
    const detail::ScriptState& state = detail::script();
    return state.messageBoxes.size() + state.fileDialogs.size() + state.folders.size() + state.dialogs.size();
}

void reset() {
    model::resetStore();
    CurrentTranscript().clear();
    detail::script() = detail::ScriptState{};
    SetBackend(nullptr);
}

} // namespace win::headless
