#include "converter/ConverterDialog.h"

#include <string>

#include "converter/ZflConverter.h"

namespace ConverterDialog {
namespace {

// Its address identifies the program to the window system.
const char programIdentity = 0;

const win::FileFilter kRecordings{"Flight Recordings", "*.zfl"};
const win::FileFilter kTexts{"Text Files", "*.txt"};

struct FileChoice {
    const char* title;
    const win::FileFilter& filter;
    const char* defaultExtension;
};

struct Action {
    ZflConverter::Direction direction;
    FileChoice input;
    FileChoice output;
};

const Action kToText{ZflConverter::Direction::ToText,
                     {"Input ZFL File", kRecordings, "zfl"},
                     {"Output Text File", kTexts, "txt"}};
const Action kToRecording{ZflConverter::Direction::ToRecording,
                          {"Input Text File", kTexts, "txt"},
                          {"Output ZFL File", kRecordings, "zfl"}};

// The chosen path; empty when the user cancelled.
std::string choose(win::HWND owner, const FileChoice& choice, bool forSaving) {
    win::OPENFILENAME request;
    request.hwndOwner = owner;
    request.filters = {choice.filter};
    request.title = choice.title;
    request.defExt = choice.defaultExtension;
    request.flags = win::OFN_EXPLORER | win::OFN_HIDEREADONLY | win::OFN_PATHMUSTEXIST |
                    (forSaving ? win::OFN_OVERWRITEPROMPT : win::OFN_FILEMUSTEXIST);
    const bool chosen = forSaving ? win::GetSaveFileName(request) : win::GetOpenFileName(request);
    return chosen ? request.file : std::string();
}

void run(win::HWND dialog, const Action& action) {
    // The option counts as it stands when the button is pressed.
    const bool altitudeInMeters = win::IsDlgButtonChecked(dialog, kMetresCheckBox) == win::BST_CHECKED;
    const std::string input = choose(dialog, action.input, false);
    if (input.empty())
        return;
    const std::string output = choose(dialog, action.output, true);
    if (output.empty())
        return;
    ZflConverter::convert(action.direction, input, output, altitudeInMeters, dialog);
}

win::INT_PTR dialogProc(win::HWND dialog, win::UINT message, win::WPARAM wParam, win::LPARAM) {
    switch (message) {
    case win::WM_INITDIALOG:
        return 1;
    case win::WM_COMMAND:
        switch (win::LOWORD(wParam)) {
        case kToTextButton:
            run(dialog, kToText);
            return 1;
        case kToRecordingButton:
            run(dialog, kToRecording);
            return 1;
        case win::IDCANCEL:
            win::EndDialog(dialog, win::IDCANCEL);
            return 1;
        default:
            return 0;
        }
    default:
        return 0;
    }
}

} // namespace

win::HINSTANCE instance() { return &programIdentity; }

win::DialogTemplate dialogTemplate() {
    win::DialogTemplate converter;
    converter.id = kTemplateId;
    converter.title = ZflConverter::kCaption;
    converter.width = 127;
    converter.height = 90;
    converter.font = "MS Shell Dlg 2";
    converter.fontSize = 8;
    converter.controls = {
        {kToTextButton, win::ControlKind::PushButton, "Zephrel (.zfl) --> Text", {7, 7, 113, 20}, 0},
        {kToRecordingButton, win::ControlKind::PushButton, "Text --> Zephrel (.zfl)", {7, 32, 113, 20}, 0},
        {kMetresCheckBox, win::ControlKind::AutoCheckBox, "Altitude in Meters", {29, 67, 70, 10}, 0},
    };
    return converter;
}

void show() {
    win::RegisterDialogTemplate(instance(), dialogTemplate());
    win::DialogBoxParam(instance(), kTemplateId, nullptr, dialogProc, 0);
}

} // namespace ConverterDialog
