#pragma once

#include <map>
#include <span>
#include <string>
#include <vector>

#include "cameras/CameraParams.h"
#include "ui/Dialog.h"
#include "ui/LengthUnits.h"

// The part every camera edit dialog has: "Title:", "Type:" (the camera's scope), the zoom group
// and the panning speed with its smoothing; and length fields whose unit a button beside them
// cycles. Each dialog adds its own controls and fills and reads them around these.
class CameraEditDlg : public Dialog {
public:
    static constexpr int kTitleId = 1001;
    static constexpr int kScopeId = 1002;
    static constexpr int kZoomId = 1003;
    static constexpr int kMinZoomId = 1004;
    static constexpr int kMaxZoomId = 1005;
    static constexpr int kSmoothZoomId = 1006;
    static constexpr int kSmoothZoomSecondsId = 1007;
    static constexpr int kPanSpeedId = 1008;
    static constexpr int kSmoothPanId = 1009;
    static constexpr int kSmoothPanSecondsId = 1010;
    // The panning group of the tower and spot dialogs.
    static constexpr int kManualPanId = 1020;
    static constexpr int kAutoPanId = 1021;
    static constexpr int kMaxDistanceId = 1022;
    static constexpr int kMaxDistanceUnitId = 1023;
    static constexpr int kFocusXId = 1024;
    static constexpr int kFocusYId = 1025;
    static constexpr int kFocusZId = 1026;

protected:
    CameraEditDlg(uint16_t templateId, CameraParams& params);

    // The common controls, the zoom group from `top` down (dialog units); returns the y below them.
    static int addCommonControls(std::vector<win::ControlTemplate>& controls, int zoomTop);
    // "Manual Panning" / "Automatic Panning", the maximum distance with its unit button (labelled
    // `distanceLabel`) and the focus point, from `top` down.
    static void addPanningGroup(std::vector<win::ControlTemplate>& controls, int top, const char* distanceLabel);
    void showFocus(const float focus[3]);
    void readFocus(float focus[3]) const;

    bool onInitDialog() override;
    bool onCommand(int id, int notifyCode, win::LPARAM lParam) override;
    bool onOk() override;
    // The dialog's own controls, after the common ones are filled or read ("OK").
    virtual void fill() = 0;
    virtual void read() = 0;

    // A smoothing box and its seconds: checked with the time constant when it is not 0, else
    // unchecked with 1.0; read back, an unchecked box is 0 whatever the field holds.
    void showSmoothing(int checkId, int secondsId, double seconds);
    double readSmoothing(int checkId, int secondsId) const;

    // Length fields in metres behind a unit button: shown in the button's unit with 3 decimals.
    struct LengthGroup {
        int buttonId;
        std::vector<int> fieldIds;
        std::span<const LengthUnit> units;
        std::size_t unit = 0;
    };
    void addLengthGroup(LengthGroup group) { lengthGroups_.push_back(std::move(group)); }
    // The fields a unit button converts from now on.
    void setLengthFields(int buttonId, std::vector<int> fieldIds);
    void showLength(int fieldId, double metres);
    double readLength(int fieldId) const;

private:
    const LengthGroup* groupOf(int fieldId) const;
    void cycleUnit(LengthGroup& group);

    CameraParams& params_;
    std::vector<LengthGroup> lengthGroups_;
    // What each length field shows and the metres behind it: a field the user left alone keeps its
    // metres exactly, however often its unit is changed.
    struct ShownLength {
        double metres;
        std::string text;
    };
    std::map<int, ShownLength> shownLengths_;
};
