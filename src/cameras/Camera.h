#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "cameras/CameraParams.h"
#include "cameras/Geometry.h"
#include "cameras/Smooth.h"
#include "host/CameraView.h"
#include "settings/Settings.h"
#include "system/Guid.h"

// A camera of the module: it fills the view of the simulator's 3D view it is current in, once per
// frame, and answers the view commands, keys and mouse. The kinds (VC, tower, spot) add their
// geometry; the base keeps the identity, the zoom and its filter, and the target aircraft.
class Camera {
public:
    static constexpr int kVC = 1;
    static constexpr int kTower = 2;
    static constexpr int kSpot = 3;

    explicit Camera(const CameraSettings* settings);
    Camera(const Camera& other);
    Camera& operator=(const Camera&) = delete;
    virtual ~Camera() = default;

    // Reads the camera from a section of an INI-format file (the kind's keys after the base's).
    virtual void load(const std::string& section, const std::string& file);
    // A camera of the same kind with default values, bound to `settings`.
    virtual std::unique_ptr<Camera> create(const CameraSettings* settings) const = 0;
    virtual std::unique_ptr<Camera> clone() const = 0;
    // Fills the view; the base does the zoom. Throws on a missing view.
    virtual void process(CameraView* view);
    // The simulator's eye-move commands, one step per axis; (0, 0, 0) puts the eye back.
    virtual void moveEye(float dx, float dy, float dz) = 0;
    // Turns the view at a rate; (0, 0, 0) resets the angles.
    virtual void rotateRate(float dPitch, float dBank, float dHeading) = 0;
    // Radians; axis 0 pitch, 1 bank, 2 heading.
    virtual void setAngle(float value, int axis) = 0;
    // The kind's key command.
    virtual void command() {}
    // The simulator's look commands as a direction (x right, y up, z ahead).
    virtual void lookAt(float x, float y, float z) = 0;
    // 0 resets the zoom to 1, a positive factor multiplies it; a negative one is the kind's.
    virtual void zoomBy(float factor);
    // Begin: stores *a, *b as the mouse point a pan starts from; otherwise gives it back.
    virtual void mousePan(bool begin, float* a, float* b);
    // The mouse at (x, y) of the window, each −1 … 1: heading x·π (x·2π with Pan360), pitch −y·π/2.
    virtual void pan(float x, float y);
    // The mouse wheel: in below 1, out from 1.
    virtual void zoomStep(int direction);
    // The next (or previous) aircraft of the simulator's list; from none, the user aircraft.
    virtual void nextTarget(bool backward);
    virtual void save(const std::string& section, const std::string& file) const;
    // The filter kinds of the camera settings changed: each filter is made anew with its time
    // constant and reset to the value it smooths.
    virtual void rebuildFilters();
    virtual int getType() const = 0;
    virtual const char* getTypeName() const = 0;

    Guid guid{};
    int32_t flightSet = 0; // 0 global, 1 flight, 2 aircraft
    std::string title;
    float zoom = 1;
    float minZoom = 0.25f;
    float maxZoom = 256;
    uint32_t target = 0; // aircraft id; 0 none
    uint32_t menuId = 0;

protected:
    // Seconds the filters advance in this frame: frame time × simulation rate, 0 while paused
    // when the settings hold smoothing in a pause.
    double filterStep() const;
    // Keyboard turning: input × panRate (degrees a second), in radians for this frame; panning
    // divides it by the zoom.
    static float turnStep(float input, float panRate);
    float panStep(float input, float panRate) const;
    // The keys' panning of a view's angles at `panRate`, then the pitch limit and the wraps.
    void panAngles(float& pitch, float& bank, float& heading, float dPitch, float dBank, float dHeading,
                   float panRate) const;
    // The zoom commands of cameras that may zoom with the distance: 0 resets both, a positive
    // factor multiplies both, a negative one toggles auto-zoom (on: the zoom shown over the
    // distance to what is looked at; `distance` 0 or less when nothing is).
    void zoomWithDistance(float factor, float& autoZoom, float distance);
    // The dialog values every kind has (the pan values from the kind's own), and back: the title,
    // the scope (0 for one that is none of the three), the zoom within its limits (the maximum 0.2
    // to 256, the minimum 0.2 to the maximum, the zoom between them) with its smoothing, after
    // which the zoom filter starts again at the zoom.
    void getCommonParams(CameraParams& params, float panRate, const Smooth& panFilter) const;
    void setCommonParams(const CameraParams& params, float& panRate, Smooth& panFilter);
    // A dialog's time constant: 0 stays off, others within 0.1 to 30 s.
    static double limitedTimeConstant(double seconds);
    // At least a metre above the ground under it.
    static void aboveGround(Geometry::WorldPosition& position);
    // The filter made anew in the kind the settings now name, keeping its time constant.
    static void remake(std::unique_ptr<Smooth>& filter, int kind, SmoothRole role);
    // The zoom shown now: 2 to the power of the zoom filter's held output, or the zoom itself
    // when it is not smoothed.
    float shownZoom() const;
    void resetZoomFilter();
    const CameraSettings& settings() const { return *settings_; }

    std::unique_ptr<Smooth> zoomFilter;
    float mousePanX = 0;
    float mousePanY = 0;

private:
    const CameraSettings* settings_;
};
