#pragma once

#include <vector>

#include "alerts/MessageBox.h"
#include "winsys/Dialogs.h"
#include "winsys/HeadlessScript.h"

// The message boxes the headless window system has shown, in the file layer's terms.
inline std::vector<MessageBoxRequest> shownMessageBoxes() {
    std::vector<MessageBoxRequest> shown;
    for (const win::MessageBoxEntry& entry : win::headless::transcript().all<win::MessageBoxEntry>()) {
        MessageBoxRequest box{entry.text, entry.caption, MessageIcon::None, MessageButtons::Ok};
        switch (entry.type & win::MB_ICONMASK) {
        case win::MB_ICONWARNING:
            box.icon = MessageIcon::Warning;
            break;
        case win::MB_ICONERROR:
            box.icon = MessageIcon::Error;
            break;
        case win::MB_ICONQUESTION:
            box.icon = MessageIcon::Question;
            break;
        default:
            break;
        }
        if ((entry.type & win::MB_TYPEMASK) == win::MB_YESNO)
            box.buttons = MessageButtons::YesNo;
        shown.push_back(box);
    }
    return shown;
}
