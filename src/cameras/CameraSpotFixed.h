#pragma once

#include "cameras/CameraSpot.h"

// A spot camera fixed to the aircraft: an eye at an offset in its frame, looking in a direction
// relative to it.
class CameraSpotFixed : public CameraSpot {
public:
    explicit CameraSpotFixed(const CameraSettings* settings);

    std::unique_ptr<Camera> create(const CameraSettings* settings) const override;
    std::unique_ptr<Camera> clone() const override;
    void process(CameraView* view) override;
    void moveEye(float dx, float dy, float dz) override;
    void rotateRate(float dPitch, float dBank, float dHeading) override;
    void setAngle(float value, int axis) override;
    void lookAt(float x, float y, float z) override;
    void mousePan(bool begin, float* a, float* b) override;
    int getSpotMode() const override { return kFixed; }
    void getDlgParams(SpotParams& params) const override;
    void setDlgParams(const SpotParams& params) override;

    float offset[3] = {0, 0, 0}; // metres right, up, forward
    float pitch = 0, bank = 0, heading = 0;

protected:
    void loadMode(const std::string& section, const std::string& file) override;
    void saveMode(const std::string& section, const std::string& file) const override;
};
