// A user's steps in dialogs and tool windows.
#include <optional>
#include <utility>

#include "winsys/CommonControls.h"
#include "winsys/Controls.h"
#include "winsys/Dialogs.h"
#include "winsys/controls/ControlState.h"
#include "winsys/controls/UserActions.h"
#include "winsys/headless/ScriptState.h"

namespace win::headless {

namespace {

using namespace win::controls;

// A right-click at the control's centre; WM_CONTEXTMENU carries the point in screen coordinates.
std::string openContextMenu(HWND control, const std::string& item) {
    RECT box;
    GetWindowRect(control, &box);
    // A dialog the click opens may take its own steps with menus: this step's choice comes back after.
    std::optional<detail::MenuChoice> outer =
        std::exchange(detail::script().menuChoice, detail::MenuChoice{item, false, {}});
    SendMessage(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control),
                MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2));
    const std::optional<detail::MenuChoice> choice =
        std::exchange(detail::script().menuChoice, std::move(outer));
    if (!choice || !choice->shown)
        return "opened no pop-up menu";
    return choice->problem;
}

// Runs the step's action on its control once a user could reach the control.
class StepRunner {
  public:
    explicit StepRunner(HWND window) : window_(window) {}

    std::string operator()(const SetText& step) const {
        return onControl(step.id, [&](HWND c) { return typeIntoEdit(c, step.text); });
    }
    std::string operator()(const SetCheck& step) const {
        return onControl(step.id, [&](HWND c) { return setButtonCheck(c, step.checked); });
    }
    std::string operator()(const SelectIndex& step) const {
        return onControl(step.id, [&](HWND c) { return selectListIndex(c, step.index); });
    }
    std::string operator()(const SelectText& step) const {
        return onControl(step.id, [&](HWND c) { return selectListText(c, step.text); });
    }
    std::string operator()(const SetPosition& step) const {
        return onControl(step.id, [&](HWND c) {
            if (isClass(c, TRACKBAR_CLASS))
                return dragTrackbar(c, step.position);
            if (isClass(c, UPDOWN_CLASS))
                return clickUpDown(c, step.position);
            return std::string("not a trackbar or up-down control");
        });
    }
    std::string operator()(const SetHotKey& step) const {
        return onControl(step.id, [&](HWND c) { return enterHotKey(c, step.virtualKey, step.modifiers); });
    }
    std::string operator()(const SetTreeCheck& step) const {
        return onControl(step.id, [&](HWND c) { return checkTreeItem(c, step.path, step.checked); });
    }
    std::string operator()(const SelectTreeItem& step) const {
        return onControl(step.id, [&](HWND c) { return selectTreeItem(c, step.path); });
    }
    std::string operator()(const Press& step) const {
        return onControl(step.id, [](HWND c) {
            if (isClass(c, WC_BUTTON))
                return clickButton(c);
            if (isClass(c, WC_STATIC))
                return clickStatic(c);
            return std::string("not a button");
        });
    }
    std::string operator()(const Hold& step) const {
        return onControl(step.id,
                         [](HWND c) { return isClass(c, WC_BUTTON) ? holdButton(c) : "not a button"; });
    }
    std::string operator()(const Release& step) const {
        return onControl(step.id,
                         [](HWND c) { return isClass(c, WC_BUTTON) ? releaseButton(c) : "not a button"; });
    }
    std::string operator()(const ContextMenu& step) const {
        return onControl(step.id, [&](HWND c) { return openContextMenu(c, step.item); });
    }
    std::string operator()(const Close&) const {
        closeWindow(window_);
        return {};
    }

  private:
    template <typename Action> std::string onControl(int id, Action action) const {
        const HWND control = GetDlgItem(window_, id);
        const std::string name = "control " + std::to_string(id);
        if (control == nullptr)
            return "no " + name;
        if (!IsWindowVisible(control))
            return name + " is hidden";
        if (!IsWindowEnabled(control))
            return name + " is disabled";
        const std::string problem = action(control);
        return problem.empty() ? problem : name + ": " + problem;
    }

    HWND window_;
};

} // namespace

bool perform(HWND window, const Step& step) {
    if (!IsWindow(window)) {
        detail::noteFailure("a step for a window that does not exist");
        return false;
    }
    const std::string name = detail::nameOf(window);
    const std::string problem = std::visit(StepRunner(window), step);
    if (problem.empty())
        return true;
    detail::noteFailure(name + ": " + problem);
    return false;
}

} // namespace win::headless
