#include "ui/KeyboardDlg.h"

#include "ui/ModuleResources.h"

namespace {

constexpr uint16_t kVirtualKeyMask = 0x00FF;

constexpr std::array<KeyCommand, kKeyCommandCount> makeDisplayOrder() {
    using enum KeyCommand;
    constexpr KeyCommand kGrouped[] = {
        Beginning,    Back3,        Back2,      Back1,    Forward1, Forward2,      Forward3,   End,
        LoopIn,       LoopOut,      LoopToggle, SpeedInc, SpeedDec, SpeedReset,    Record,     Play,
        PlayAI,       AdvancedPlay, Replay,     Stop,     StopHere, ControlWindow, DataWindow, UserAcftNext,
        UserAcftPrev, HeightInc,    HeightDec,  PitchInc, PitchDec,
    };
    std::array<KeyCommand, kKeyCommandCount> order{};
    std::size_t at = 0;
    for (KeyCommand command : kGrouped)
        order[at++] = command;
    for (auto command = static_cast<std::size_t>(SetMarker); command < kKeyCommandCount; ++command)
        order[at++] = static_cast<KeyCommand>(command);
    return order;
}

constexpr std::array<KeyCommand, kKeyCommandCount> kDisplayOrder = makeDisplayOrder();

constexpr bool showsEveryCommandOnce() {
    std::array<int, kKeyCommandCount> seen{};
    for (KeyCommand command : kDisplayOrder)
        ++seen[static_cast<std::size_t>(command)];
    for (int count : seen)
        if (count != 1)
            return false;
    return true;
}
static_assert(showsEveryCommandOnce());

// The keys the hot-key field names as the navigation block's rather than the numeric pad's.
bool isExtendedKey(uint16_t virtualKey) {
    return (virtualKey >= win::VK_PRIOR && virtualKey <= win::VK_DOWN) || virtualKey == win::VK_INSERT ||
           virtualKey == win::VK_DELETE || virtualKey == win::VK_DIVIDE;
}

win::WPARAM hotKeyOf(uint16_t code) {
    const uint16_t virtualKey = code & kVirtualKeyMask;
    win::BYTE modifiers = 0;
    if ((code & kShiftKey) != 0)
        modifiers |= win::HOTKEYF_SHIFT;
    if ((code & kCtrlKey) != 0)
        modifiers |= win::HOTKEYF_CONTROL;
    if (isExtendedKey(virtualKey))
        modifiers |= win::HOTKEYF_EXT;
    return win::MAKEWORD(virtualKey, modifiers);
}

uint16_t codeOf(win::LRESULT hotKey) {
    const win::BYTE modifiers = win::HIBYTE(hotKey);
    uint16_t code = win::LOBYTE(hotKey);
    if ((modifiers & win::HOTKEYF_SHIFT) != 0)
        code |= kShiftKey;
    if ((modifiers & win::HOTKEYF_CONTROL) != 0)
        code |= kCtrlKey;
    return code;
}

} // namespace

KeyboardDlg::KeyboardDlg(KeyTable& keys)
    : Dialog(ModuleResources::kKeyboardDialog, ModuleResources::instance()), keys_(keys), edited_(keys) {}

const std::array<KeyCommand, kKeyCommandCount>& KeyboardDlg::displayOrder() { return kDisplayOrder; }

win::DialogTemplate KeyboardDlg::dialogTemplate() {
    win::DialogTemplate keyboard;
    keyboard.id = ModuleResources::kKeyboardDialog;
    keyboard.title = "Keyboard Controls";
    keyboard.width = 200;
    keyboard.height = 210;
    keyboard.controls = {
        {kListId, win::ControlKind::ListBox, "", {7, 7, 186, 170}, 0},
        {kKeyId, win::ControlKind::HotKey, "", {7, 188, 80, 14}, 0},
        {win::IDOK, win::ControlKind::DefPushButton, "OK", {96, 188, 46, 14}, 0},
        {win::IDCANCEL, win::ControlKind::PushButton, "Cancel", {147, 188, 46, 14}, 0},
    };
    return keyboard;
}

bool KeyboardDlg::onInitDialog() {
    for (KeyCommand command : kDisplayOrder)
        addItem(kListId, keyCommandInfo(command).description);
    // Alt combinations never reach the simulator's main window as key messages.
    win::SendDlgItemMessage(hwnd(), kKeyId, win::HKM_SETRULES,
                            win::HKCOMB_A | win::HKCOMB_SA | win::HKCOMB_CA | win::HKCOMB_SCA, 0);
    setSelection(kListId, 0);
    shown_ = 0;
    showSelected();
    return true;
}

bool KeyboardDlg::onCommand(int id, int notifyCode, win::LPARAM) {
    switch (id) {
    case kListId:
        if (notifyCode != win::LBN_SELCHANGE)
            return false;
        storeField();
        shown_ = getSelection(kListId);
        showSelected();
        return true;
    default:
        return false;
    }
}

bool KeyboardDlg::onOk() {
    storeField();
    keys_ = edited_;
    return true;
}

void KeyboardDlg::storeField() {
    if (shown_ < 0)
        return;
    const uint16_t code = codeOf(win::SendDlgItemMessage(hwnd(), kKeyId, win::HKM_GETHOTKEY, 0, 0));
    if ((code & kVirtualKeyMask) != 0)
        edited_[static_cast<std::size_t>(kDisplayOrder[static_cast<std::size_t>(shown_)])] = code;
}

void KeyboardDlg::showSelected() {
    const uint16_t code =
        shown_ < 0 ? 0 : edited_[static_cast<std::size_t>(kDisplayOrder[static_cast<std::size_t>(shown_)])];
    win::SendDlgItemMessage(hwnd(), kKeyId, win::HKM_SETHOTKEY, hotKeyOf(code), 0);
}
