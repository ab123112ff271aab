#pragma once

#include <array>

#include "settings/KeyCommands.h"
#include "ui/Dialog.h"

// "Keyboard Controls": the commands in a list, the selected command's key in a hot-key field
// that takes no Alt combinations. Works on a copy of the key table; OK copies it back.
class KeyboardDlg : public Dialog {
public:
    static constexpr int kListId = 1001;
    static constexpr int kKeyId = 1002;

    explicit KeyboardDlg(KeyTable& keys);

    static win::DialogTemplate dialogTemplate();
    // The commands in the order the list shows them: the transport first, then the recording and
    // playback commands, the corrections, and the markers, cameras and rendering in table order.
    static const std::array<KeyCommand, kKeyCommandCount>& displayOrder();

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int notifyCode, win::LPARAM lParam) override;
    bool onOk() override;

private:
    // The field's key into the command it shows, unless the field holds no key.
    void storeField();
    void showSelected();

    KeyTable& keys_;
    KeyTable edited_;
    int shown_ = -1; // the list position whose key the field shows
};
