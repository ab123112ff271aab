#pragma once

#include "ui/Dialog.h"

// "Instant Replay": how many of the seconds the instant replay holds to play again or to save.
class InstantReplayDlg : public Dialog {
public:
    static constexpr int kTimeId = 1001; // "Replay Time:" ... "sec"
    static constexpr int kSpinId = 1002;
    static constexpr int kSaveId = 1003; // "Save..."

    explicit InstantReplayDlg(int availableSeconds);

    static win::DialogTemplate dialogTemplate();

    // Shows the dialog: the seconds to replay ("OK"), their negation to save them ("Save..."),
    // 0 for "Cancel". The seconds are limited to those available.
    static int choose(int availableSeconds);

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int notifyCode, win::LPARAM lParam) override;

private:
    // The field's seconds, limited to those available.
    int chosenSeconds() const;

    int available_;
    int result_ = 0;
};
