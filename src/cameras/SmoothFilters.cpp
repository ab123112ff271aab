#include "cameras/SmoothFilters.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kRootThree = 1.732050807568877;
// The constant-rate filter's second stage is this much faster than its time constant.
constexpr double kFastStage = 3.5;

double decay(double dt, double timeConstant) {
    return std::exp(-dt / timeConstant);
}

void fill(std::vector<double>& state, const double* value) {
    std::copy(value, value + state.size(), state.begin());
}

} // namespace

// ---- first order ----

SmoothFilter1::SmoothFilter1(uint32_t size, bool angular, double timeConstant)
    : Smooth(size, angular, timeConstant), y_(size, 0.0) {}

std::unique_ptr<Smooth> SmoothFilter1::clone() const {
    return std::make_unique<SmoothFilter1>(*this);
}

void SmoothFilter1::reset(const double* value) {
    fill(y_, value);
    fill(lastInput_, value);
}

void SmoothFilter1::step(double dt, const double* x) {
    const double a = decay(dt, timeConstant());
    for (uint32_t i = 0; i < size(); ++i)
        y_[i] = a * y_[i] + (1 - a) * x[i];
}

// ---- second order ----

SmoothFilter2::SmoothFilter2(uint32_t size, bool angular, double timeConstant)
    : Smooth(size, angular, timeConstant, true), y_(size, 0.0), z_(size, 0.0) {}

std::unique_ptr<Smooth> SmoothFilter2::clone() const {
    return std::make_unique<SmoothFilter2>(*this);
}

void SmoothFilter2::reset(const double* value) {
    fill(z_, value);
    fill(y_, value);
    fill(lastInput_, value);
}

void SmoothFilter2::followSeam(uint32_t i, double turn) {
    lastInput_[i] += turn;
    y_[i] += turn;
    z_[i] += turn;
}

void SmoothFilter2::step(double dt, const double* x) {
    const double a = decay(dt, timeConstant());
    for (uint32_t i = 0; i < size(); ++i) {
        z_[i] = a * z_[i] - 2 * a * lastInput_[i] + (1 + a) * x[i];
        y_[i] = a * y_[i] + (1 - a) * z_[i];
        lastInput_[i] = x[i];
    }
}

// ---- third order ----

SmoothFilter3::SmoothFilter3(uint32_t size, bool angular, double timeConstant)
    : Smooth(size, angular, timeConstant, true), y_(size, 0.0), u_(size, 0.0), w_(size, 0.0), s1_(size, 0.0),
      s2_(size, 0.0) {}

std::unique_ptr<Smooth> SmoothFilter3::clone() const {
    return std::make_unique<SmoothFilter3>(*this);
}

void SmoothFilter3::reset(const double* value) {
    for (std::vector<double>* state : {&s2_, &s1_, &u_, &y_, &lastInput_})
        fill(*state, value);
    std::fill(w_.begin(), w_.end(), 0.0);
}

// w is a difference of inputs: a whole turn added to both leaves it as it is.
void SmoothFilter3::followSeam(uint32_t i, double turn) {
    for (std::vector<double>* state : {&lastInput_, &y_, &u_, &s1_, &s2_})
        (*state)[i] += turn;
}

void SmoothFilter3::step(double dt, const double* x) {
    const double a = decay(dt, timeConstant());
    const double c = 1 / (2 * (1 - a));
    const double p = (a + 2) * c;
    const double q = a * kRootThree * c;
    for (uint32_t i = 0; i < size(); ++i) {
        const double d = (1 - p) * lastInput_[i] + p * x[i];
        const double e = q * (x[i] - lastInput_[i]);
        s1_[i] = a * s1_[i] + (1 - a) * (-q * w_[i] + (1 - p) * u_[i] + q * e + p * d);
        s2_[i] = a * s2_[i] + (1 - a) * s1_[i];
        y_[i] = a * y_[i] + (1 - a) * s2_[i];
        lastInput_[i] = x[i];
        u_[i] = d;
        w_[i] = e;
    }
}

// ---- constant rate ----

SmoothConstRate::SmoothConstRate(uint32_t size, bool angular, double timeConstant)
    : Smooth(size, angular, timeConstant), y_(size, 0.0) {}

std::unique_ptr<Smooth> SmoothConstRate::clone() const {
    return std::make_unique<SmoothConstRate>(*this);
}

void SmoothConstRate::reset(const double* value) {
    fill(y_, value);
    fill(lastInput_, value);
}

void SmoothConstRate::approach(double dt, const double* x) {
    const double stepLength = dt / timeConstant();
    double squares = 0;
    for (uint32_t i = 0; i < size(); ++i)
        squares += (x[i] - y_[i]) * (x[i] - y_[i]);
    const double distance = std::sqrt(squares);
    if (distance <= stepLength) {
        std::copy(x, x + size(), y_.begin());
        return;
    }
    const double k = stepLength / distance;
    for (uint32_t i = 0; i < size(); ++i)
        y_[i] += k * (x[i] - y_[i]);
}

void SmoothConstRate::step(double dt, const double* x) {
    approach(dt, x);
}

// ---- constant rate and a first-order stage ----

SmoothConstRateFilt::SmoothConstRateFilt(uint32_t size, bool angular, double timeConstant)
    : SmoothConstRate(size, angular, timeConstant), z_(size, 0.0) {}

std::unique_ptr<Smooth> SmoothConstRateFilt::clone() const {
    return std::make_unique<SmoothConstRateFilt>(*this);
}

void SmoothConstRateFilt::reset(const double* value) {
    fill(z_, value);
    SmoothConstRate::reset(value);
}

void SmoothConstRateFilt::followSeam(uint32_t i, double turn) {
    y_[i] += turn;
    z_[i] += turn;
}

void SmoothConstRateFilt::step(double dt, const double* x) {
    approach(dt, x);
    const double b = std::exp(-kFastStage * dt / timeConstant());
    for (uint32_t i = 0; i < size(); ++i)
        z_[i] = b * z_[i] + (1 - b) * y_[i];
}
