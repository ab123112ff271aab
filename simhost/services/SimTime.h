#pragma once

#include <cstdint>

#include "host/hostabi.h"
#include "services/SimDate.h"
#include "services/SimGroups.h"
#include "services/TickCounter.h"
#include "world/SimContext.h"

// The simulator's time: date and time of day, the simulation rate, the simulation groups'
// clock and the timing words of main.dll and api.dll that add-ons read and write. The rate word
// is the one rate there is (256 = 1.0); while it is 0 the simulation moves only by the fixed
// step's idle calls, each by one tick (1 / ticks-per-second seconds).
class SimTime {
public:
    static constexpr uint32_t kUnitRate = 256;

    // `start` must be SimDate::valid().
    SimTime(SimContext& context, const ZHostDateTime& start);
    SimTime(const SimTime&) = delete;
    SimTime& operator=(const SimTime&) = delete;

    // ---- the words add-ons reach ----
    ZHostDateTime* dateTimeWord() { return &dateTimeWord_; }
    uint32_t* accumulatedTimeWord() { return &accumulatedTime_; }
    uint32_t* rateWord() { return &rateWord_; }
    double* frameTimeWord() { return &frameTime_; }
    double* frameTimeA() { return &frameTimeA_; }
    double* frameTimeB() { return &frameTimeB_; }
    SimGroups& groups() { return groups_; }

    // ---- main.dll's date functions; a date that does not exist is refused as a wrong form ----
    void setDate(ZHostDateTime* record, uint16_t year, uint16_t month, uint16_t day);
    void applyDateTime(const ZHostDateTime* record);
    ZHostDateTime dateTime() const { return date_.record(); }
    // The simulator's own setting, e.g. from a loaded flight; false for a date that does not exist.
    bool setDateTime(const ZHostDateTime& dateTime);

    uint32_t rate() const { return rateWord_; }
    void setRate(uint32_t rate) { rateWord_ = rate; }
    // api.dll's tick: how many ticks make a second of the fixed step.
    void setTicksPerSecond(uint32_t ticks);
    double idleStep() const { return 1.0 / ticksPerSecond_; }

    // At the start of a frame: its real duration into the two frame-time doubles.
    void beginFrame(double realSeconds);
    // Moves date and time by simulated seconds and the group clock by the frame's own time, from
    // which add-ons measure their frame time and then apply the rate themselves. A frame's own
    // step also goes into the frame-time double and the accumulated-time word; the fixed step's
    // idle steps do not, as the add-on that drives them accounts for its fixed frame time in that
    // word itself.
    void advance(double seconds, double clockSeconds, bool frameStep);

private:
    WrongForms& wrongForms_;
    SimDate date_;
    SimGroups groups_;
    ZHostDateTime dateTimeWord_{};
    uint32_t accumulatedTime_ = 0;
    TickCounter accumulatedTicks_;
    uint32_t rateWord_ = kUnitRate;
    double frameTime_ = 0;
    double frameTimeA_ = 0;
    double frameTimeB_ = 0;
    uint32_t ticksPerSecond_ = 1000;
};
