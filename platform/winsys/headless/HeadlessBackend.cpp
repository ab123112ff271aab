#include "winsys/headless/HeadlessBackend.h"

#include <thread>

#include "winsys/Dialogs.h"
#include "winsys/FileDialogRules.h"
#include "winsys/WindowApi.h"
#include "winsys/MessageBoxKinds.h"
#include "winsys/headless/ScriptState.h"

namespace win::headless {

namespace {

using detail::noteFailure;
using detail::noteUnscripted;
using detail::script;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

bool titleMatches(const std::string& wanted, const std::string& title) {
    return wanted.empty() || wanted == title;
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

    void runMessageLoop(std::chrono::steady_clock::time_point until) override {
        PumpPostedMessages();
        std::this_thread::sleep_until(until);
    }

    int messageBox(HWND, const std::string& text, const std::string& caption, UINT type) override {
        const std::string name = "message box \"" + caption + "\": " + text;
        const auto answer = detail::take(script().messageBoxes, [&](const detail::MessageBoxScript& s) {
            return contains(caption, s.match.captionContains) && contains(text, s.match.textContains);
        });
        if (!answer) {
            noteUnscripted(name);
            return model::closingAnswer(type);
        }
        const std::vector<int> buttons = model::messageBoxButtons(type);
        if (std::find(buttons.begin(), buttons.end(), answer->answer) == buttons.end()) {
            noteFailure(name + " has no button " + model::answerName(answer->answer));
            return model::closingAnswer(type);
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
            if (const std::string problem = fileDialogRefusal(kind, path, request); !problem.empty()) {
                noteFailure(name + ": " + problem);
                return {};
            }
            chosen.push_back(path);
        }
        if (kind == FileDialogKind::Save && !chosen.empty() && !overwriteAllowed(chosen.front(), request))
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
