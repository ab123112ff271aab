#include "winsys/headless/HeadlessBackend.h"

#include <filesystem>

#include "winsys/Dialogs.h"
#include "winsys/WindowApi.h"
#include "winsys/headless/ScriptState.h"
#include "winsys/model/MessageBoxKinds.h"

namespace win::headless {

namespace {

namespace fs = std::filesystem;
using detail::noteFailure;
using detail::noteUnscripted;
using detail::script;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

bool titleMatches(const std::string& wanted, const std::string& title) {
    return wanted.empty() || wanted == title;
}

// The answer of a user who only closes things: Cancel if there is one, else No, else OK.
int closingAnswer(UINT type) {
    const std::vector<int> buttons = model::messageBoxButtons(type);
    for (int answer : {IDCANCEL, IDNO})
        if (std::find(buttons.begin(), buttons.end(), answer) != buttons.end())
            return answer;
    return IDOK;
}

// What the dialog makes of a name the user typed: taken in the start folder, given the default
// extension when it has none.
std::string completedPath(const std::string& typed, const OPENFILENAME& request) {
    fs::path path(typed);
    if (path.is_relative() && !request.initialDir.empty())
        path = fs::path(request.initialDir) / path;
    if (!path.has_extension() && !request.defExt.empty())
        path += "." + request.defExt;
    return path.string();
}

// A path the file system refuses (too long, say) counts as one that does not exist.
bool isFolder(const fs::path& path) {
    std::error_code refused;
    return fs::is_directory(path, refused);
}
bool isFile(const fs::path& path) {
    std::error_code refused;
    return fs::is_regular_file(path, refused);
}
bool exists(const fs::path& path) {
    std::error_code refused;
    return fs::exists(path, refused);
}

// Why the dialog would not accept the path; empty when it would.
std::string refusal(FileDialogKind kind, const std::string& path, const OPENFILENAME& request) {
    const fs::path folder = fs::path(path).parent_path();
    if ((request.flags & OFN_PATHMUSTEXIST) != 0 && !folder.empty() && !isFolder(folder))
        return "the folder of " + path + " does not exist";
    if (kind == FileDialogKind::Open && (request.flags & OFN_FILEMUSTEXIST) != 0 && !isFile(path))
        return path + " does not exist";
    return {};
}

bool confirmOverwrite(const std::string& path, const OPENFILENAME& request) {
    const std::string caption = request.title.empty() ? "Save As" : request.title;
    const std::string text =
        fs::path(path).filename().string() + " already exists.\nDo you want to replace it?";
    return MessageBox(request.hwndOwner, text, caption, MB_YESNO | MB_ICONWARNING) == IDYES;
}

class HeadlessBackend final : public Backend {
public:
    void runModalLoop(HWND dialog) override {
        PumpPostedMessages();
        if (ModalLoopDone(dialog))
            return;
        const std::string name = detail::nameOf(dialog);
        const uint16_t templateId = GetDialogInfo(dialog)->templateId;
        const std::string title = GetWindowText(dialog);
        std::optional<detail::DialogScript> steps =
            detail::take(script().dialogs, [&](const detail::DialogScript& s) {
                return s.templateId ? *s.templateId == templateId : s.title == title;
            });
        if (steps) {
            for (size_t done = 0; done < steps->steps.size(); ++done) {
                if (ModalLoopDone(dialog)) {
                    noteFailure(name + " ended before its last " +
                                std::to_string(steps->steps.size() - done) + " step(s)");
                    return;
                }
                perform(dialog, steps->steps[done]);
                PumpPostedMessages();
            }
        }
        if (ModalLoopDone(dialog))
            return;
        noteUnscripted(steps ? name + " still open after its script" : name);
        perform(dialog, Close{});
        PumpPostedMessages();
        if (!ModalLoopDone(dialog)) {
            noteFailure(name + " did not end when closed; ended with IDCANCEL");
            EndDialog(dialog, IDCANCEL);
        }
    }

    int messageBox(HWND, const std::string& text, const std::string& caption, UINT type) override {
        const std::string name = "message box \"" + caption + "\": " + text;
        const auto answer = detail::take(script().messageBoxes, [&](const detail::MessageBoxScript& s) {
            return contains(caption, s.match.captionContains) && contains(text, s.match.textContains);
        });
        if (!answer) {
            noteUnscripted(name);
            return closingAnswer(type);
        }
        const std::vector<int> buttons = model::messageBoxButtons(type);
        if (std::find(buttons.begin(), buttons.end(), answer->answer) == buttons.end()) {
            noteFailure(name + " has no button " + model::answerName(answer->answer));
            return closingAnswer(type);
        }
        return answer->answer;
    }

    std::vector<std::string> fileDialog(FileDialogKind kind, const OPENFILENAME& request) override {
        const std::string name = std::string(kind == FileDialogKind::Open ? "open" : "save") +
                                 " file dialog \"" + request.title + "\"";
        const auto answer = detail::take(script().fileDialogs, [&](const detail::FileDialogScript& s) {
            return titleMatches(s.title, request.title);
        });
        if (!answer) {
            noteUnscripted(name);
            return {};
        }
        if (answer->paths.size() > 1 && (request.flags & OFN_ALLOWMULTISELECT) == 0) {
            noteFailure(name + " takes one file only");
            return {};
        }
        std::vector<std::string> chosen;
        for (const std::string& typed : answer->paths) {
            const std::string path = completedPath(typed, request);
            if (const std::string problem = refusal(kind, path, request); !problem.empty()) {
                noteFailure(name + ": " + problem);
                return {};
            }
            chosen.push_back(path);
        }
        if (kind == FileDialogKind::Save && (request.flags & OFN_OVERWRITEPROMPT) != 0 && !chosen.empty() &&
            exists(chosen.front()) && !confirmOverwrite(chosen.front(), request))
            return {};
        return chosen;
    }

    std::string browseForFolder(const BROWSEINFO& request) override {
        const std::string name = "folder browser \"" + request.title + "\"";
        const auto answer = detail::take(script().folders, [&](const detail::FolderScript& s) {
            return titleMatches(s.title, request.title);
        });
        if (!answer) {
            noteUnscripted(name);
            return {};
        }
        if (!answer->path.empty() && !isFolder(answer->path)) {
            noteFailure(name + ": " + answer->path + " is not a folder");
            return {};
        }
        return answer->path;
    }

    // Pop-up menus open only from a ContextMenu step, which names the item to choose.
    UINT popupMenu(HWND, const std::vector<MenuItem>& items, POINT) override {
        std::optional<detail::MenuChoice>& choice = script().menuChoice;
        if (!choice || choice->shown) {
            noteUnscripted("pop-up menu");
            return 0;
        }
        choice->shown = true;
        if (choice->item.empty())
            return 0;
        const auto item = std::find_if(items.begin(), items.end(), [&](const MenuItem& i) {
            return (i.flags & MF_SEPARATOR) == 0 && i.text == choice->item;
        });
        if (item == items.end())
            choice->problem = "the pop-up menu has no item \"" + choice->item + "\"";
        else if ((item->flags & MF_POPUP) != 0)
            choice->problem = "the pop-up menu's item \"" + choice->item + "\" opens a menu";
        else if (!item->choosable())
            choice->problem = "the pop-up menu's item \"" + choice->item + "\" is disabled";
        return choice->problem.empty() ? item->id : 0;
    }

    // Nothing to redraw: the model's menus are all there is.
    void menuBarChanged(HWND) override {}

    bool shellOpen(const std::string&, const std::string&) override { return true; }

    bool playSound(const std::string& file, UINT) override { return isFile(file); }

    void stopSound() override {}

    ScreenMetrics screen() const override { return script().screen; }
};

} // namespace

std::unique_ptr<Backend> makeHeadlessBackend() {
    return std::make_unique<HeadlessBackend>();
}

} // namespace win::headless
