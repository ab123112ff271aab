#pragma once

#include "cameras/Camera.h"
#include "cameras/Geometry.h"

// A camera at a fixed place in the world, like an observer on a control tower: it keeps its own
// view direction or, with auto-pan (a target), turns to follow an aircraft and may zoom with the
// distance. It moves in three step sizes and can be put on the simulator's tower or the aircraft.
class CameraTower : public Camera {
public:
    static constexpr float kFocusLimit = 50;

    explicit CameraTower(const CameraSettings* settings);
    CameraTower(const CameraTower& other);

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
    void pan(float x, float y) override;
    void save(const std::string& section, const std::string& file) const override;
    void rebuildFilters() override;
    void getDlgParams(TowerParams& params) const;
    void setDlgParams(const TowerParams& params);
    int getType() const override { return kTower; }
    const char* getTypeName() const override { return "Tower"; }

    // At the user aircraft's place, zoom 1.
    void toAircraft();

    Geometry::WorldPosition position{0, 0, 0}; // radians, metres
    float pitch = 0, bank = 0, heading = 0;     // radians
    float focus[3] = {0, 0, 0};                 // metres in the target's frame
    float panRate = 1;
    std::unique_ptr<Smooth> panFilter;
    float maxDistance = 10000;
    float autoZoom = 0;
    float mouseX = 0, mouseY = 0;

private:
    // Moves the tower by `step` metres per unit along its heading, sideways and up.
    void move(float dx, float dy, float dz, float step);
    // Adds the vector (in the tower's view) to the focus, turned into the target's frame.
    void moveFocus(float x, float y);
    void clampFocus();
    // The point looked at: the target moved by the focus; false without a target.
    bool lookedAt(Geometry::WorldPosition& point, Geometry::Attitude* attitude = nullptr) const;
    void resetPanFilter();
};
