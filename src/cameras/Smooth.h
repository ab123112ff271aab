#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// A camera's smoothing filter: advanced once per camera frame over a vector of doubles (zoom, eye
// position, view angles) with the frame's time step. Angular filters follow their components
// across the ±π seam and report them wrapped into (−π, π]. No allocation once constructed.
class Smooth {
public:
    Smooth(uint32_t size, bool angular, double timeConstant);
    virtual ~Smooth() = default;
    Smooth(const Smooth&) = default;
    Smooth& operator=(const Smooth&) = delete;

    // The same kind with the same size, angular flag, time constant and state.
    virtual std::unique_ptr<Smooth> clone() const = 0;
    // The kind number the camera settings store (1 to 5).
    virtual int kind() const = 0;
    // Advances by dt seconds with `size()` inputs and writes `size()` outputs (input and output may
    // be the same array). A time constant of 0 or less passes the input through untouched; dt 0 or
    // less holds the output.
    void update(double dt, const double* input, double* output);
    // The state of a filter that has rested at `value` (size() doubles) for ever.
    virtual void reset(const double* value) = 0;
    // The output state as a step of 0 would give it (size() doubles), whatever the time constant.
    void held(double* out) const;

    uint32_t size() const { return size_; }
    bool angular() const { return angular_; }
    double timeConstant() const { return timeConstant_; }
    void setTimeConstant(double seconds) { timeConstant_ = seconds; }

protected:
    // lastInput is kept by every angular filter, and by those whose step needs it.
    Smooth(uint32_t size, bool angular, double timeConstant, bool stepUsesLastInput);

    // One step over the whole vector with a = exp(−dt / T).
    virtual void step(double dt, const double* input) = 0;
    virtual const std::vector<double>& output() const = 0;
    // Component i's input crossed the seam: `turn` (±2π) is added to the arrays the class tracks.
    virtual void followSeam(uint32_t i, double turn) = 0;
    // Whether lastInput takes the new input as soon as the seam is followed (else the step does).
    virtual bool takesInputAtSeam() const = 0;

    std::vector<double> lastInput_;

private:
    uint32_t size_;
    bool angular_;
    double timeConstant_;
};

// What a camera smooths: each has its size, angular flag and default kind.
enum class SmoothRole { Position, ViewAngles, Zoom };

// Kind numbers 1 to 5 as the camera settings store them; any other number gives the role's
// default (positions 2, view angles 1, zoom 5). Time constant 0.
std::unique_ptr<Smooth> makeSmooth(int kind, SmoothRole role);
// The kind's name as the user sees it ("First Order Filter", ...); empty outside 1 to 5.
const char* smoothKindName(int kind);
