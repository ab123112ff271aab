#include "alerts/MessageBox.h"

#include "alerts/HostWindow.h"
#include "winsys/Dialogs.h"

namespace {

win::UINT iconStyle(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Warning:
        return win::MB_ICONWARNING;
    case MessageIcon::Error:
        return win::MB_ICONERROR;
    case MessageIcon::Question:
        return win::MB_ICONQUESTION;
    case MessageIcon::None:
        break;
    }
    return 0;
}

} // namespace

int showMessageBox(const MessageBoxRequest& request) {
    const win::UINT type = (request.buttons == MessageButtons::YesNo ? win::MB_YESNO : win::MB_OK) | iconStyle(request.icon);
    ModalBracket modal;
    return win::MessageBox(HostWindow::mainWindow(), request.text, request.caption, type);
}
