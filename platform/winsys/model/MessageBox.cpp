#include <cstdio>

#include "winsys/Backend.h"
#include "winsys/Dialogs.h"
#include "winsys/Transcript.h"
#include "winsys/model/ModalOwner.h"
#include "winsys/model/WindowStore.h"

namespace win {

int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    // A program on the command line has no window to show the box over; its user reads stderr.
    if (model::store().topLevel.empty())
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    int answer = 0;
    {
        model::ModalOwner disabled(owner);
        answer = CurrentBackend().messageBox(owner, text, caption, type);
    }
    CurrentTranscript().add(MessageBoxEntry{caption, text, type, answer});
    return answer;
}

} // namespace win
