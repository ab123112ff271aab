#pragma once

#include "cameras/AircraftPose.h"
#include "cameras/Camera.h"
#include "cameras/CameraParams.h"

// A camera that looks at an aircraft from outside; the spot mode is the concrete class (fixed to
// the aircraft, following it, waiting for it to fly by, or flying by itself).
class CameraSpot : public Camera {
public:
    static constexpr int kFixed = 0;
    static constexpr int kFollowDirection = 1;
    static constexpr int kFollowHeading = 2;
    static constexpr int kFree = 3;
    static constexpr int kFlyBy = 4;

    explicit CameraSpot(const CameraSettings* settings);
    CameraSpot(const CameraSpot& other);

    // The camera of the section's "SpotMode", loaded from it; null for a mode that is none of them.
    static std::unique_ptr<Camera> loadFrom(const std::string& section, const std::string& file,
                                            const CameraSettings* settings);
    // A camera of that mode with default values; null for a mode that is none of them.
    static std::unique_ptr<CameraSpot> ofMode(int mode, const CameraSettings* settings);
    // The mode's name as the dialog shows it; empty for none.
    static const char* modeName(int mode);

    void load(const std::string& section, const std::string& file) override;
    void save(const std::string& section, const std::string& file) const override;
    void rebuildFilters() override;
    int getType() const override { return kSpot; }
    const char* getTypeName() const override { return "Spot"; }

    void nextTarget(bool backward) override;
    virtual int getSpotMode() const = 0;
    virtual void getDlgParams(SpotParams& params) const;
    virtual void setDlgParams(const SpotParams& params);

    float panRate = 1;
    std::unique_ptr<Smooth> panFilter;

protected:
    // The mode's own keys, after the common ones; load checks the section's mode first.
    virtual void loadMode(const std::string& section, const std::string& file) = 0;
    virtual void saveMode(const std::string& section, const std::string& file) const = 0;
    // The aircraft watched: a target that is none or gone becomes the user aircraft.
    AircraftPose resolveTarget();
    // `process` of a mode: refuses a missing view with the mode's place.
    static void requireView(const CameraView* view, const char* place);
    // The mode refused: "Invalid spot mode" (dialog) or "Invalid spot camera type" (file) at place.
    [[noreturn]] static void refuseMode(const char* text, const char* place);
    void smoothAngles(double angles[3]);
    void resetPanFilter(float pitch, float bank, float heading);
    // The eye smoothed by `filter`; a smoothed eye more than 10 km from the eye given (after a jump
    // of the aircraft) is let go and the filter starts again there.
    Geometry::WorldPosition smoothPosition(Smooth& filter, const Geometry::WorldPosition& eye) const;
    static void resetPosition(Smooth& filter, const Geometry::WorldPosition& eye);
    void fillView(CameraView& view, const Geometry::WorldPosition& eye, const double angles[3]) const;

    // Set when the view jumps (a new target, edited values, a new camera): the filters start again
    // where the view now is instead of gliding there.
    bool jumped_ = true;
};
