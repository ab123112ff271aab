#pragma once

#include "cameras/Smooth.h"

// The five smoothing filters, by kind number: first, second and third order, constant rate, and
// constant rate followed by a faster first-order stage. `y` is each one's output state.

class SmoothFilter1 : public Smooth {
public:
    SmoothFilter1(uint32_t size, bool angular, double timeConstant);
    std::unique_ptr<Smooth> clone() const override;
    int kind() const override { return 1; }
    void reset(const double* value) override;

protected:
    void step(double dt, const double* x) override;
    const std::vector<double>& output() const override { return y_; }
    void followSeam(uint32_t i, double turn) override { y_[i] += turn; }
    bool takesInputAtSeam() const override { return true; }

private:
    std::vector<double> y_;
};

class SmoothFilter2 : public Smooth {
public:
    SmoothFilter2(uint32_t size, bool angular, double timeConstant);
    std::unique_ptr<Smooth> clone() const override;
    int kind() const override { return 2; }
    void reset(const double* value) override;

protected:
    void step(double dt, const double* x) override;
    const std::vector<double>& output() const override { return y_; }
    void followSeam(uint32_t i, double turn) override;
    bool takesInputAtSeam() const override { return false; }

private:
    std::vector<double> y_, z_;
};

class SmoothFilter3 : public Smooth {
public:
    SmoothFilter3(uint32_t size, bool angular, double timeConstant);
    std::unique_ptr<Smooth> clone() const override;
    int kind() const override { return 3; }
    void reset(const double* value) override;

protected:
    void step(double dt, const double* x) override;
    const std::vector<double>& output() const override { return y_; }
    void followSeam(uint32_t i, double turn) override;
    bool takesInputAtSeam() const override { return false; }

private:
    std::vector<double> y_, u_, w_, s1_, s2_;
};

class SmoothConstRate : public Smooth {
public:
    SmoothConstRate(uint32_t size, bool angular, double timeConstant);
    std::unique_ptr<Smooth> clone() const override;
    int kind() const override { return 4; }
    void reset(const double* value) override;

protected:
    void step(double dt, const double* x) override;
    const std::vector<double>& output() const override { return y_; }
    void followSeam(uint32_t i, double turn) override { y_[i] += turn; }
    bool takesInputAtSeam() const override { return true; }
    // Moves y toward x by at most dt / T in Euclidean length, landing on x when nearer.
    void approach(double dt, const double* x);

    std::vector<double> y_;
};

class SmoothConstRateFilt : public SmoothConstRate {
public:
    SmoothConstRateFilt(uint32_t size, bool angular, double timeConstant);
    std::unique_ptr<Smooth> clone() const override;
    int kind() const override { return 5; }
    void reset(const double* value) override;

protected:
    void step(double dt, const double* x) override;
    const std::vector<double>& output() const override { return z_; }
    void followSeam(uint32_t i, double turn) override;

private:
    std::vector<double> z_;
};
