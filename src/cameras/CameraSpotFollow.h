#pragma once

#include "cameras/CameraSpot.h"

// A spot camera that trails the aircraft at a distance, from a bearing relative to its heading
// (mode 1) or a true bearing (mode 2), looking at it or, panned by hand, where it was turned.
class CameraSpotFollow : public CameraSpot {
public:
    CameraSpotFollow(const CameraSettings* settings, bool headingFixed);
    CameraSpotFollow(const CameraSpotFollow& other);

    std::unique_ptr<Camera> create(const CameraSettings* settings) const override;
    std::unique_ptr<Camera> clone() const override;
    void process(CameraView* view) override;
    void moveEye(float dx, float dy, float dz) override;
    void rotateRate(float dPitch, float dBank, float dHeading) override;
    void setAngle(float value, int axis) override;
    void lookAt(float x, float y, float z) override;
    void zoomStep(int direction) override;
    void mousePan(bool begin, float* a, float* b) override;
    void rebuildFilters() override;
    int getSpotMode() const override { return fixedHeading ? kFollowHeading : kFollowDirection; }
    void getDlgParams(SpotParams& params) const override;
    void setDlgParams(const SpotParams& params) override;

    float headingOffset = 0; // radians
    float elevation = 0;     // radians; negative above the aircraft
    float distance = 0;      // metres
    bool fixedHeading = false;
    bool manualPan = false;
    float panPitch = 0, panBank = 0, panHeading = 0;
    float focus[3] = {0, 0, 0};
    std::unique_ptr<Smooth> positionFilter;

protected:
    void loadMode(const std::string& section, const std::string& file) override;
    void saveMode(const std::string& section, const std::string& file) const override;

private:
    void limitAngles();
};
