#pragma once

#include "cameras/Camera.h"

// A virtual-cockpit camera: an eye in the user aircraft looking in a direction relative to it, or
// held in the world while the aircraft turns (fixedDir), or turned to keep another aircraft in view
// (target).
class CameraVC : public Camera {
public:
    explicit CameraVC(const CameraSettings* settings);
    CameraVC(const CameraVC& other);

    void load(const std::string& section, const std::string& file) override;
    std::unique_ptr<Camera> create(const CameraSettings* settings) const override;
    std::unique_ptr<Camera> clone() const override;
    void process(CameraView* view) override;
    void moveEye(float dx, float dy, float dz) override;
    void rotateRate(float dPitch, float dBank, float dHeading) override;
    void setAngle(float value, int axis) override;
    void lookAt(float x, float y, float z) override;
    void mousePan(bool begin, float* a, float* b) override;
    void pan(float x, float y) override;
    void nextTarget(bool backward) override;
    void save(const std::string& section, const std::string& file) const override;
    void rebuildFilters() override;
    void getDlgParams(VCParams& params) const;
    void setDlgParams(const VCParams& params);
    int getType() const override { return kVC; }
    const char* getTypeName() const override { return "VC"; }

    // Metres in the aircraft's frame (right, up, forward) from its reference point.
    float eyeOffset[3] = {0, 0, 0};
    float pitch = 0, bank = 0, heading = 0; // radians
    float panRate = 1;                      // degrees a second at zoom 1
    bool fixedDir = false;
    std::unique_ptr<Smooth> panFilter;

private:
    void resetPanFilter();
};
