#pragma once

#include <string>
#include <variant>
#include <vector>

#include "winsys/Backend.h"
#include "winsys/CommonDialogs.h"

// Everything the window system showed, in order, whatever the backend: windows (not the
// controls, which appear in their dialog's entries), dialogs with the state of their controls,
// message boxes, file dialogs, the folder browser, pop-up menus, shell opens, sounds and cursor
// changes.
namespace win {

struct WindowEntry {
    enum What { Created, Shown, Hidden, Destroyed } what = Created;
    std::string className;
    std::string title;
};

struct ControlSnapshot {
    int id = 0;
    std::string className;
    std::string text;
    bool enabled = true;
    bool visible = true;
    std::string state; // kind-specific: "checked", "items [...] selected 1", "position 10 range 0..350", ...
};

// Initialised: when WM_INITDIALOG is done; Ended: when a modal dialog's loop has ended.
struct DialogEntry {
    enum What { Initialised, Ended } what = Initialised;
    uint16_t templateId = 0;
    std::string title;
    bool modal = true;
    INT_PTR result = 0; // Ended only
    std::vector<ControlSnapshot> controls;
};

struct MessageBoxEntry {
    std::string caption;
    std::string text;
    UINT type = 0; // MB_ buttons and icon
    int answer = 0;
};

struct FileDialogEntry {
    FileDialogKind kind = FileDialogKind::Open;
    std::string title;
    std::vector<FileFilter> filters;
    std::string initialDir;
    std::string defExt;
    DWORD flags = 0;
    std::vector<std::string> chosen; // none: cancelled
};

struct FolderBrowserEntry {
    std::string title;
    std::string initialFolder;
    std::string chosen; // empty: cancelled
};

struct PopupMenuEntry {
    std::vector<MenuItem> items;
    POINT at; // screen coordinates
    UINT chosen = 0; // the command; 0: dismissed
};

struct ShellOpenEntry {
    std::string operation;
    std::string target;
};

struct SoundEntry {
    std::string file; // empty: the sound was stopped
    UINT flags = 0;
    bool played = false;
};

struct CursorEntry {
    enum What { Shape, Visibility, Position } what = Shape;
    std::string shape; // "arrow", "cross", "none"
    bool visible = true;
    POINT position;
};

using TranscriptEntry = std::variant<WindowEntry, DialogEntry, MessageBoxEntry, FileDialogEntry,
                                     FolderBrowserEntry, PopupMenuEntry, ShellOpenEntry, SoundEntry, CursorEntry>;

// One line per entry; a dialog entry adds one indented line per control.
std::string describe(const TranscriptEntry& entry);

class Transcript {
  public:
    void add(TranscriptEntry entry) { entries_.push_back(std::move(entry)); }
    void clear() { entries_.clear(); }
    const std::vector<TranscriptEntry>& entries() const { return entries_; }

    // The entries of one kind, e.g. all<MessageBoxEntry>().
    template <typename Entry> std::vector<Entry> all() const {
        std::vector<Entry> found;
        for (const TranscriptEntry& entry : entries_)
            if (const Entry* typed = std::get_if<Entry>(&entry))
                found.push_back(*typed);
        return found;
    }

    std::string text() const;

  private:
    std::vector<TranscriptEntry> entries_;
};

// The process's transcript.
Transcript& CurrentTranscript();

} // namespace win
