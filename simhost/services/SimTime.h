#pragma once

#include <cstdint>

#include "host/hostabi.h"
#include "services/SimDate.h"
#include "services/SimGroups.h"
#include "services/TickCounter.h"
#include "world/SimContext.h"

// The simulator's time: date and time of day, the simulation rate, the simulation groups'
// clock and the timing words of main.dll and api.dll that add-ons read and write
// (docs/simhost/time.md). While main.dll's rate word is not 0 the simulator times its frames
// itself: real time by the rate (256 = 1.0). A rate word of 0 hands the timing to an add-on (the
// fixed step): a frame then moves by the frame-time double A as the add-on set it in host event
// 36, and the rate the user chose is kept aside for those who ask for it.
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

    // The simulation rate as simscheduler.dll answers it: the rate word, or while that is 0 the
    // last rate that was not.
    uint32_t rate() const { return rateWord_ != 0 ? rateWord_ : chosenRate_; }
    // simscheduler.dll's set-rate: while the rate word is 0 the add-on that holds it there keeps
    // it, and only the rate kept aside changes.
    void setRate(uint32_t rate);
    // The rate word is 0: an add-on times the frames.
    bool fixedStep() const { return rateWord_ == 0; }

    // At the start of a frame, before host event 36: the frame's real duration into the two
    // frame-time doubles, or 0 while an add-on times the frames.
    void beginFrame(double realSeconds);
    // The simulated seconds of this frame, unless paused: real time by the rate, or the
    // frame-time double A as the add-on left it (nothing when it is not a positive number).
    double frameSeconds(double realSeconds) const;
    // Moves date and time by the simulated seconds and the groups' clock by the frame's own
    // time, from which add-ons measure their frame time (and then apply the rate themselves):
    // the real seconds under the host's own timing, the simulated ones under the fixed step. The
    // host's own timing also puts the step into the frame-time double and the accumulated-time
    // word; an add-on that times the frames keeps those words itself.
    void advance(double seconds, double realSeconds);

private:
    WrongForms& wrongForms_;
    SimDate date_;
    SimGroups groups_;
    ZHostDateTime dateTimeWord_{};
    uint32_t accumulatedTime_ = 0;
    TickCounter accumulatedTicks_;
    uint32_t rateWord_ = kUnitRate;
    uint32_t chosenRate_ = kUnitRate;
    double frameTime_ = 0;
    double frameTimeA_ = 0;
    double frameTimeB_ = 0;
};
