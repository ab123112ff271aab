#pragma once

#include "ui/AngleText.h"
#include "ui/CameraEditDlg.h"

// "Edit Tower Camera": the tower's latitude and longitude in a format the button cycles, its
// altitude in metres or feet, the buttons that put it on the simulator's tower or at the aircraft,
// manual or automatic panning, the maximum distance, the focus point, and the common title,
// scope, zoom and panning values.
class CameraTowerDlg : public CameraEditDlg {
public:
    static constexpr int kLatitudeId = 1100;
    static constexpr int kLongitudeId = 1101;
    static constexpr int kFormatId = 1102;
    static constexpr int kAltitudeId = 1103;
    static constexpr int kHeightUnitId = 1104;
    static constexpr int kSimulatorTowerId = 1105;
    static constexpr int kAircraftId = 1106;

    explicit CameraTowerDlg(TowerParams& params);
    static win::DialogTemplate dialogTemplate();

protected:
    bool onCommand(int id, int notifyCode, win::LPARAM lParam) override;
    bool onOk() override;
    void fill() override;
    void read() override;

private:
    void showPlace(double latitude, double longitude, double altitude);
    // The field's angle, or a warning naming it and nullopt.
    std::optional<double> readAngle(int id, const char* what, double limit) const;

    TowerParams& params_;
    AngleText::Format format_ = AngleText::Format::Degrees;
};
