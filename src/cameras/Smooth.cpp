#include "cameras/Smooth.h"

#include <algorithm>
#include <numbers>

#include "cameras/Geometry.h"
#include "cameras/SmoothFilters.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTurn = 2 * kPi;

struct RoleShape {
    uint32_t size;
    bool angular;
    int defaultKind;
};

RoleShape shapeOf(SmoothRole role) {
    switch (role) {
    case SmoothRole::Position:
        return {3, false, 2};
    case SmoothRole::ViewAngles:
        return {3, true, 1};
    case SmoothRole::Zoom:
        break;
    }
    return {1, false, 5};
}

constexpr const char* kKindNames[] = {"First Order Filter", "Second Order Filter", "Third Order Filter",
                                      "Constant Rate", "Constant Rate + Filter"};

} // namespace

Smooth::Smooth(uint32_t size, bool angular, double timeConstant) : Smooth(size, angular, timeConstant, false) {}

Smooth::Smooth(uint32_t size, bool angular, double timeConstant, bool stepUsesLastInput)
    : lastInput_(angular || stepUsesLastInput ? size : 0, 0.0), size_(size), angular_(angular),
      timeConstant_(timeConstant) {}

void Smooth::update(double dt, const double* input, double* output) {
    if (timeConstant_ <= 0) {
        if (input != output)
            std::copy(input, input + size_, output);
        return;
    }
    if (dt <= 0) {
        std::copy(this->output().begin(), this->output().end(), output);
        return;
    }
    if (angular_)
        for (uint32_t i = 0; i < size_; ++i) {
            if (input[i] - lastInput_[i] > kPi)
                followSeam(i, kTurn);
            else if (lastInput_[i] - input[i] > kPi)
                followSeam(i, -kTurn);
            if (takesInputAtSeam())
                lastInput_[i] = input[i];
        }
    step(dt, input);
    const std::vector<double>& state = this->output();
    for (uint32_t i = 0; i < size_; ++i)
        output[i] = angular_ ? Geometry::wrapAngle(state[i]) : state[i];
}

void Smooth::held(double* out) const {
    const std::vector<double>& state = output();
    for (uint32_t i = 0; i < size_; ++i)
        out[i] = angular_ ? Geometry::wrapAngle(state[i]) : state[i];
}

std::unique_ptr<Smooth> makeSmooth(int kind, SmoothRole role) {
    const RoleShape shape = shapeOf(role);
    switch (kind >= 1 && kind <= 5 ? kind : shape.defaultKind) {
    case 1:
        return std::make_unique<SmoothFilter1>(shape.size, shape.angular, 0);
    case 2:
        return std::make_unique<SmoothFilter2>(shape.size, shape.angular, 0);
    case 3:
        return std::make_unique<SmoothFilter3>(shape.size, shape.angular, 0);
    case 4:
        return std::make_unique<SmoothConstRate>(shape.size, shape.angular, 0);
    default:
        return std::make_unique<SmoothConstRateFilt>(shape.size, shape.angular, 0);
    }
}

const char* smoothKindName(int kind) {
    return kind >= 1 && kind <= 5 ? kKindNames[kind - 1] : "";
}
