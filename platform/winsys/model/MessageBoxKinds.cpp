#include "winsys/MessageBoxKinds.h"

#include <algorithm>

#include "winsys/Dialogs.h"

namespace win::model {

std::vector<int> messageBoxButtons(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    default:
        return {IDOK};
    }
}

std::string messageBoxIcon(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR:
        return "error";
    case MB_ICONQUESTION:
        return "question";
    case MB_ICONWARNING:
        return "warning";
    case MB_ICONINFORMATION:
        return "information";
    default:
        return "plain";
    }
}

std::string answerName(int answer) {
    switch (answer) {
    case IDOK:
        return "OK";
    case IDCANCEL:
        return "Cancel";
    case IDYES:
        return "Yes";
    case IDNO:
        return "No";
    default:
        return std::to_string(answer);
    }
}

int closingAnswer(UINT type) {
    const std::vector<int> buttons = messageBoxButtons(type);
    for (int answer : {IDCANCEL, IDNO})
        if (std::find(buttons.begin(), buttons.end(), answer) != buttons.end())
            return answer;
    return IDOK;
}

} // namespace win::model
