#pragma once

#include "ui/CameraEditDlg.h"

// "Edit VC Camera": the eye's place in the aircraft (metres or feet), the view's angles, the fixed
// direction, and the common title, scope, zoom and panning values.
class CameraVCDlg : public CameraEditDlg {
public:
    static constexpr int kLeftRightId = 1100;
    static constexpr int kUpDownId = 1101;
    static constexpr int kFrontBackId = 1102;
    static constexpr int kUnitId = 1103;
    static constexpr int kPitchId = 1104;
    static constexpr int kBankId = 1105;
    static constexpr int kHeadingId = 1106;
    static constexpr int kFixedDirId = 1107;

    explicit CameraVCDlg(VCParams& params);
    static win::DialogTemplate dialogTemplate();

protected:
    void fill() override;
    void read() override;

private:
    VCParams& params_;
};
