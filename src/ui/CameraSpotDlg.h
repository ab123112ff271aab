#pragma once

#include "ui/CameraEditDlg.h"

// "Edit Spot Camera": the spot mode, the eye's place in the mode's terms (an offset from the
// aircraft, or a direction and a distance), panning by hand or automatically, the free camera's
// maximum distance, the focus point, and the common title, scope, zoom and panning values.
class CameraSpotDlg : public CameraEditDlg {
public:
    static constexpr int kModeId = 1100;
    static constexpr int kFirstLabelId = 1101;
    static constexpr int kFirstId = 1102;  // "Left/Right:" or "Direction:"
    static constexpr int kSecondLabelId = 1103;
    static constexpr int kSecondId = 1104; // "Front/Back:" or "Distance:"
    static constexpr int kUpDownId = 1105;
    static constexpr int kPositionUnitId = 1106;
    static constexpr int kSmoothPositionId = 1107;
    static constexpr int kSmoothPositionSecondsId = 1108;

    explicit CameraSpotDlg(SpotParams& params);
    static win::DialogTemplate dialogTemplate();

protected:
    bool onCommand(int id, int notifyCode, win::LPARAM lParam) override;
    void fill() override;
    void read() override;

private:
    // The spot mode of the list's selection, and the list's row of a mode.
    int selectedMode() const;
    // The fields as the mode names them, and back into the record.
    void showMode(int mode);
    void readMode(int mode);

    SpotParams& params_;
    int shownMode_ = 1;
};
