#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "winsys/Transcript.h"
#include "winsys/UserInput.h"

// The script that drives the headless backend: queued answers for the interactions that need a
// user, the steps a user takes in dialogs and tool windows, keyboard and mouse input, and what
// happened (the transcript, the unscripted interactions and the failures).
//
// Queued answers are taken in queue order by the first interaction they match. An interaction
// that no answer matches is unscripted: it is recorded, and answered as a user who only closes
// things would answer (message boxes OK, No or Cancel; file dialogs and the folder browser
// cancelled; dialogs closed with IDCANCEL). With Unscripted::Fail each is also a failure.
namespace win::headless {

enum class Unscripted { Default, Fail };
void setUnscriptedPolicy(Unscripted policy);

// Each queued answer and dialog script may name its origin: how unusedAnswerOrigins() names it if
// nothing uses it (by default, what it answers).

// Empty strings match anything; the others must occur in the caption and the text.
struct MessageBoxMatch {
    std::string captionContains;
    std::string textContains;
};
// An answer that is not one of the box's buttons is a failure; the box then gets the default answer.
void answerMessageBox(int answer, MessageBoxMatch match = {}, std::string origin = {});

// `title`, when not empty, must equal the dialog's title. An empty list of paths cancels; more
// than one needs OFN_ALLOWMULTISELECT.
void answerFileDialog(std::vector<std::string> paths, std::string title = {}, std::string origin = {});
void cancelFileDialog(std::string title = {});
// The folder must exist; an empty path cancels.
void answerFolderBrowser(std::string path, std::string title = {}, std::string origin = {});
void cancelFolderBrowser(std::string title = {});

// The steps of a user in a dialog or tool window, each on the control with the given id. A step
// on a missing, hidden or disabled control, or one that control cannot take, is a failure.

// Types into an edit field.
struct SetText {
    int id;
    std::string text;
};
// Clicks a check box or radio button when its state differs.
struct SetCheck {
    int id;
    bool checked;
};
// Chooses an item of a combo or list box by position...
struct SelectIndex {
    int id;
    int index;
};
// ...or by its exact text.
struct SelectText {
    int id;
    std::string text;
};
// Drags a trackbar, or clicks an up-down control until it shows the position.
struct SetPosition {
    int id;
    int position;
};
// Presses a key with HOTKEYF_ modifiers in a hot-key field.
struct SetHotKey {
    int id;
    BYTE virtualKey;
    BYTE modifiers;
};
// Clicks the check box of a tree item, named by the item texts from the top level down.
struct SetTreeCheck {
    int id;
    std::vector<std::string> path;
    bool checked;
};
struct SelectTreeItem {
    int id;
    std::vector<std::string> path;
};
// Clicks a button, or a static with SS_NOTIFY.
struct Press {
    int id;
};
// Presses a button and keeps it down; Release lets it go, which completes its click.
struct Hold {
    int id;
};
struct Release {
    int id;
};
// Right-clicks the control (WM_CONTEXTMENU, which goes up to the window unless the control handles
// it) and chooses the item of that text in the pop-up menu it opens; an empty text dismisses the
// menu. A click that opens no menu, or a menu without that item enabled, is a failure.
struct ContextMenu {
    int id;
    std::string item;
};
// A dialog: WM_COMMAND IDCANCEL, as the Esc key sends it; any other window: WM_CLOSE.
struct Close {};

using Step = std::variant<SetText, SetCheck, SelectIndex, SelectText, SetPosition, SetHotKey, SetTreeCheck,
                          SelectTreeItem, Press, Hold, Release, ContextMenu, Close>;

// The steps run in order once WM_INITDIALOG is done; steps left when EndDialog comes are a
// failure, and a dialog still open after its last step is unscripted from there on. A dialog
// matches by template id or by its title after WM_INITDIALOG.
void scriptDialog(uint16_t templateId, std::vector<Step> steps, std::string origin = {});
void scriptDialog(std::string title, std::vector<Step> steps, std::string origin = {});

// Takes one step at once in a modeless dialog or tool window; false (and a failure) when it
// cannot be taken.
bool perform(HWND window, const Step& step);

void setScreen(ScreenMetrics metrics);

// GetLocalTime answers this time until it is set again; nullopt: the machine's clock again.
void setLocalTime(std::optional<SYSTEMTIME> time);

// Delivers the posted messages (see PumpPostedMessages); modal loops pump after every step.
size_t pumpMessages();

const Transcript& transcript();
std::string transcriptText();
// Every unscripted interaction, described.
const std::vector<std::string>& unscripted();
const std::vector<std::string>& failures();
// Queued answers and dialog scripts that nothing has used yet: how many, and the origins of those
// queued after the first `queuedBefore` (see queuedAnswers), in the order they were queued.
size_t unusedAnswers();
std::vector<std::string> unusedAnswerOrigins(size_t queuedBefore = 0);
// How many answers and dialog scripts have been queued so far, used or not.
size_t queuedAnswers();

// Empties the transcript and the list of unscripted interactions, leaving the windows, the queued
// answers and the failures as they are: a long run keeps no record of what is done with.
void forgetHistory();

// Back to the start: no windows (dropped without messages), no classes or templates of modules,
// no queued messages, keys up, cursor shown as an arrow at (0, 0), empty transcript and script,
// policy Default, a 1920 x 1080 screen, the machine's clock, the headless backend.
void reset();

} // namespace win::headless
