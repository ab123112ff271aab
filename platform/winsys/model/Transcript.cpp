#include "winsys/Transcript.h"

#include <cstdio>

#include "winsys/MessageBoxKinds.h"

namespace win {

namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : ", ") + part;
    return text;
}

std::string describeControl(const ControlSnapshot& control) {
    std::string text =
        "\n  " + std::to_string(control.id) + " " + control.className + " " + quoted(control.text);
    if (!control.state.empty())
        text += " " + control.state;
    if (!control.enabled)
        text += " disabled";
    if (!control.visible)
        text += " hidden";
    return text;
}

std::string describeEntry(const WindowEntry& entry) {
    static const char* const kWhat[] = {"created", "shown", "hidden", "destroyed"};
    return std::string("window ") + kWhat[entry.what] + " " + entry.className + " " + quoted(entry.title);
}

std::string describeEntry(const DialogEntry& entry) {
    std::string text = "dialog " + std::to_string(entry.templateId) + " " + quoted(entry.title);
    if (entry.what == DialogEntry::Initialised)
        text += entry.modal ? " initialised (modal)" : " initialised (modeless)";
    else
        text += " ended with " + std::to_string(entry.result);
    for (const ControlSnapshot& control : entry.controls)
        text += describeControl(control);
    return text;
}

std::string describeEntry(const MessageBoxEntry& entry) {
    std::string buttons;
    for (int answer : model::messageBoxButtons(entry.type))
        buttons += (buttons.empty() ? "" : "/") + model::answerName(answer);
    return "message box " + quoted(entry.caption) + " (" + model::messageBoxIcon(entry.type) + ", " +
           buttons + ") " + quoted(entry.text) + " -> " + model::answerName(entry.answer);
}

std::string describeEntry(const FileDialogEntry& entry) {
    std::vector<std::string> filters;
    for (const FileFilter& filter : entry.filters)
        filters.push_back(quoted(filter.name) + " " + filter.pattern);
    std::vector<std::string> chosen;
    for (const std::string& path : entry.chosen)
        chosen.push_back(quoted(path));
    return std::string(entry.kind == FileDialogKind::Open ? "open" : "save") + " file dialog " +
           quoted(entry.title) + " filters " + joined(filters) + ", folder " + quoted(entry.initialDir) +
           ", extension " + quoted(entry.defExt) + ", flags " + hex(entry.flags) + " -> " +
           (chosen.empty() ? "cancelled" : joined(chosen));
}

std::string describeEntry(const FolderBrowserEntry& entry) {
    return "folder browser " + quoted(entry.title) + " from " + quoted(entry.initialFolder) + " -> " +
           (entry.chosen.empty() ? "cancelled" : quoted(entry.chosen));
}

std::string describeEntry(const PopupMenuEntry& entry) {
    std::vector<std::string> items;
    std::string chosen = "dismissed";
    for (const MenuItem& item : entry.items) {
        if ((item.flags & MF_SEPARATOR) != 0) {
            items.push_back("-");
            continue;
        }
        items.push_back(quoted(item.text) + ((item.flags & MF_POPUP) != 0 ? " >" : "") +
                        ((item.flags & MF_CHECKED) != 0 ? " checked" : "") +
                        ((item.flags & (MF_GRAYED | MF_DISABLED)) != 0 ? " disabled" : ""));
        if (entry.chosen != 0 && item.id == entry.chosen)
            chosen = quoted(item.text);
    }
    return "pop-up menu at " + std::to_string(entry.at.x) + "," + std::to_string(entry.at.y) + " [" +
           joined(items) + "] -> " + chosen;
}

std::string describeEntry(const ShellOpenEntry& entry) {
    return "shell " + entry.operation + " " + quoted(entry.target);
}

std::string describeEntry(const SoundEntry& entry) {
    if (entry.file.empty())
        return "sound stopped";
    return "sound " + quoted(entry.file) + " flags " + hex(entry.flags) +
           (entry.played ? " played" : " not played");
}

std::string describeEntry(const CursorEntry& entry) {
    switch (entry.what) {
    case CursorEntry::Shape:
        return "cursor shape " + entry.shape;
    case CursorEntry::Visibility:
        return entry.visible ? "cursor shown" : "cursor hidden";
    case CursorEntry::Position:
        break;
    }
    return "cursor moved to " + std::to_string(entry.position.x) + "," + std::to_string(entry.position.y);
}

} // namespace

std::string describe(const TranscriptEntry& entry) {
    return std::visit([](const auto& typed) { return describeEntry(typed); }, entry);
}

std::string Transcript::text() const {
    std::string text;
    for (const TranscriptEntry& entry : entries_)
        text += describe(entry) + "\n";
    return text;
}

Transcript& CurrentTranscript() {
    static Transcript transcript;
    return transcript;
}

} // namespace win
