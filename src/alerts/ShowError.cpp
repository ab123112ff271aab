#include "alerts/ShowError.h"

#include "common/ZephrelException.h"

MessageBoxRequest errorBoxFor(const std::string& userText, uint32_t severity) {
    MessageBoxRequest box;
    box.buttons = MessageButtons::Ok;
    box.text = userText;
    switch (severity) {
    case ZephrelException::Warning:
        box.caption = "Zephrel Warning";
        box.icon = MessageIcon::Warning;
        break;
    case ZephrelException::Error:
        box.caption = "Zephrel Error";
        box.icon = MessageIcon::Error;
        break;
    case ZephrelException::StopsRecordingAndPlayback:
        box.caption = "Zephrel Error";
        box.icon = MessageIcon::Error;
        box.text += " Recording/playback will be stopped now!";
        break;
    case ZephrelException::DisablesModule:
        box.caption = "Zephrel Critical Error";
        box.icon = MessageIcon::Error;
        box.text += " Zephrel will be disabled now, please restart FS to use it again!";
        break;
    default:
        box.caption = "Zephrel Error";
        box.icon = MessageIcon::None;
        break;
    }
    return box;
}

void showError(const std::string& userText, uint32_t severity) noexcept {
    try {
        showMessageBox(errorBoxFor(userText, severity));
    } catch (...) {
        // An error about an error has nowhere left to go.
    }
}
