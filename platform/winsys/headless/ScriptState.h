#pragma once

#include <algorithm>
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "winsys/HeadlessScript.h"

// What the script API has queued and what the headless backend has noted.
namespace win::headless::detail {

// Where a queued script came from, and when it was queued: what to name it if nothing uses it.
struct ScriptOrigin {
    std::string origin;
    std::size_t serial = 0;
};

struct MessageBoxScript : ScriptOrigin {
    int answer;
    MessageBoxMatch match;
};

struct FileDialogScript : ScriptOrigin {
    std::vector<std::string> paths; // none: cancel
    std::string title;
};

struct FolderScript : ScriptOrigin {
    std::string path; // empty: cancel
    std::string title;
};

struct DialogScript : ScriptOrigin {
    std::optional<uint16_t> templateId;
    std::string title;
    std::vector<Step> steps;
};

// The item a ContextMenu step chooses in the pop-up menu its click opens (empty: dismisses it), and
// what became of it.
struct MenuChoice {
    std::string item;
    bool shown = false;
    std::string problem;
};

struct ScriptState {
    Unscripted policy = Unscripted::Default;
    std::deque<MessageBoxScript> messageBoxes;
    std::deque<FileDialogScript> fileDialogs;
    std::deque<FolderScript> folders;
    std::deque<DialogScript> dialogs;
    std::optional<MenuChoice> menuChoice;
    std::size_t queued = 0; // scripts queued so far, for their serial numbers
    std::vector<std::string> unscripted;
    std::vector<std::string> failures;
    ScreenMetrics screen{1920, 1080, RECT{0, 0, 1920, 1080}};
};

ScriptState& script();

// The origin of a script about to be queued: the caller's, or else `described`.
ScriptOrigin originOf(std::string origin, std::string described);

// Records an interaction no script answered; a failure too under Unscripted::Fail.
void noteUnscripted(const std::string& what);
void noteFailure(const std::string& what);

// How a window is named in failures: "dialog 101 "Title"" or "window CLASS "Title"".
std::string nameOf(HWND window);

// Removes and returns the first queued script that matches.
template <typename Script, typename Matches>
std::optional<Script> take(std::deque<Script>& queue, Matches matches) {
    const auto found = std::find_if(queue.begin(), queue.end(), matches);
    if (found == queue.end())
        return std::nullopt;
    Script taken = std::move(*found);
    queue.erase(found);
    return taken;
}

} // namespace win::headless::detail
