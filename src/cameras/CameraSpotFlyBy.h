#pragma once

#include "cameras/CameraSpot.h"

// A spot camera that waits ahead of the aircraft, off its path, and watches it pass; once the
// aircraft is further away than `distance` it waits ahead again.
class CameraSpotFlyBy : public CameraSpot {
public:
    explicit CameraSpotFlyBy(const CameraSettings* settings);

    std::unique_ptr<Camera> create(const CameraSettings* settings) const override;
    std::unique_ptr<Camera> clone() const override;
    void process(CameraView* view) override;
    void moveEye(float dx, float dy, float dz) override;
    void rotateRate(float dPitch, float dBank, float dHeading) override;
    void setAngle(float value, int axis) override;
    void lookAt(float x, float y, float z) override;
    void zoomBy(float factor) override;
    void zoomStep(int direction) override;
    void mousePan(bool begin, float* a, float* b) override;
    void pan(float x, float y) override;
    int getSpotMode() const override { return kFlyBy; }
    void getDlgParams(SpotParams& params) const override;
    void setDlgParams(const SpotParams& params) override;

    float heading = 0;  // radians from the direction of travel, within ±80°
    float pitch = 0;    // radians; negative above the path, within ±80°
    float distance = 0; // metres
    float focus[3] = {0, 0, 0};
    float autoZoom = 0;
    Geometry::WorldPosition eye{0, 0, 0}; // all 0: waits anew at the next frame

protected:
    void loadMode(const std::string& section, const std::string& file) override;
    void saveMode(const std::string& section, const std::string& file) const override;

private:
    void limitAngles();
    void clearEye() { eye = {0, 0, 0}; }
    bool eyeCleared() const { return eye.latitude == 0 && eye.longitude == 0 && eye.altitude == 0; }
    Geometry::WorldPosition lookedAt(const AircraftPose& aircraft) const;
    // The aircraft's direction of travel: along its heading on the ground, along its path above.
    Geometry::Attitude travel(const AircraftPose& aircraft) const;
};
