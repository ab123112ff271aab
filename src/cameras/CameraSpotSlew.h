#pragma once

#include "cameras/CameraSpot.h"

// The free spot camera: it flies by itself at the velocity the keys give it, watching its target
// (auto-pan) or looking where it is turned, never below the ground.
class CameraSpotSlew : public CameraSpot {
public:
    explicit CameraSpotSlew(const CameraSettings* settings);
    CameraSpotSlew(const CameraSpotSlew& other);

    void load(const std::string& section, const std::string& file) override;
    std::unique_ptr<Camera> create(const CameraSettings* settings) const override;
    std::unique_ptr<Camera> clone() const override;
    void process(CameraView* view) override;
    void moveEye(float dx, float dy, float dz) override;
    void rotateRate(float dPitch, float dBank, float dHeading) override;
    void setAngle(float value, int axis) override;
    void command() override;
    void lookAt(float x, float y, float z) override;
    void zoomBy(float factor) override;
    void mousePan(bool begin, float* a, float* b) override;
    void rebuildFilters() override;
    int getSpotMode() const override { return kFree; }
    void getDlgParams(SpotParams& params) const override;
    void setDlgParams(const SpotParams& params) override;

    Geometry::WorldPosition eye{0, 0, 0};
    float pitch = 0, bank = 0, heading = 0;
    float velocity[3] = {0, 0, 0}; // metres a second right, up, forward along the heading
    float autoZoom = 0;
    float maxDistance = 10000;
    std::unique_ptr<Smooth> positionFilter;

protected:
    void loadMode(const std::string& section, const std::string& file) override;
    void saveMode(const std::string& section, const std::string& file) const override;

private:
    // Behind the target (or the user aircraft) by 50 m, flying along with it.
    void restart();
    void speedUp(float right, float up, float forward, double step);
};
