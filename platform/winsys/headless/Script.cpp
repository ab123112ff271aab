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

ScriptOrigin originOf(std::string origin, std::string described) {
    return ScriptOrigin{origin.empty() ? std::move(described) : std::move(origin), script().queued++};
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

namespace {

std::string titled(const char* what, const std::string& title) {
    return title.empty() ? what : std::string(what) + " \"" + title + "\"";
}

} // namespace

void answerMessageBox(int answer, MessageBoxMatch match, std::string origin) {
    const std::string described = "answer " + std::to_string(answer) + " to a message box";
    detail::script().messageBoxes.push_back(
        detail::MessageBoxScript{detail::originOf(std::move(origin), described), answer, std::move(match)});
}

void answerFileDialog(std::vector<std::string> paths, std::string title, std::string origin) {
    const std::string described =
        titled(paths.empty() ? "cancel of a file dialog" : "answer to a file dialog", title);
    detail::script().fileDialogs.push_back(detail::FileDialogScript{
        detail::originOf(std::move(origin), described), std::move(paths), std::move(title)});
}

void cancelFileDialog(std::string title) {
    answerFileDialog({}, std::move(title));
}

void answerFolderBrowser(std::string path, std::string title, std::string origin) {
    const std::string described =
        titled(path.empty() ? "cancel of a folder browser" : "answer to a folder browser", title);
    detail::script().folders.push_back(detail::FolderScript{detail::originOf(std::move(origin), described),
                                                            std::move(path), std::move(title)});
}

void cancelFolderBrowser(std::string title) {
    answerFolderBrowser({}, std::move(title));
}

void scriptDialog(uint16_t templateId, std::vector<Step> steps, std::string origin) {
    const std::string described = "steps for dialog " + std::to_string(templateId);
    detail::script().dialogs.push_back(detail::DialogScript{
        detail::originOf(std::move(origin), described), templateId, {}, std::move(steps)});
}

void scriptDialog(std::string title, std::vector<Step> steps, std::string origin) {
    const std::string described = titled("steps for dialog", title);
    detail::script().dialogs.push_back(detail::DialogScript{
        detail::originOf(std::move(origin), described), std::nullopt, std::move(title), std::move(steps)});
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

size_t queuedAnswers() {
    return detail::script().queued;
}

size_t unusedAnswers() {
    const detail::ScriptState& state = detail::script();
    return state.messageBoxes.size() + state.fileDialogs.size() + state.folders.size() + state.dialogs.size();
}

std::vector<std::string> unusedAnswerOrigins(size_t queuedBefore) {
    const detail::ScriptState& state = detail::script();
    std::vector<const detail::ScriptOrigin*> unused;
    const auto add = [&](const auto& queue) {
        for (const detail::ScriptOrigin& script : queue)
            if (script.serial >= queuedBefore)
                unused.push_back(&script);
    };
    add(state.messageBoxes);
    add(state.fileDialogs);
    add(state.folders);
    add(state.dialogs);
    std::sort(unused.begin(), unused.end(), [](const detail::ScriptOrigin* a, const detail::ScriptOrigin* b) {
        return a->serial < b->serial;
    });
    std::vector<std::string> origins;
    for (const detail::ScriptOrigin* script : unused)
        origins.push_back(script->origin);
    return origins;
}

void forgetHistory() {
    CurrentTranscript().clear();
    detail::script().unscripted.clear();
}

void reset() {
    model::resetStore();
    CurrentTranscript().clear();
    detail::script() = detail::ScriptState{};
    SetBackend(nullptr);
}

} // namespace win::headless
