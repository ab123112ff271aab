#include "services/SimTime.h"

#include <cmath>
#include <string>

namespace {

std::string describe(const ZHostDateTime& dateTime) {
    const ZHostDateTime d = dateTime;
    return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day) + " " +
           std::to_string(d.hour) + ":" + std::to_string(d.minute) + ":" + std::to_string(d.second);
}

} // namespace

SimTime::SimTime(SimContext& context, const ZHostDateTime& start)
    : wrongForms_(context.wrongForms), date_(start), groups_(context.olderHost()),
      dateTimeWord_(date_.record()) {}

void SimTime::setDate(ZHostDateTime* record, uint16_t year, uint16_t month, uint16_t day) {
    if (record == nullptr) {
        wrongForms_.report("setDate without a date-and-time record");
        return;
    }
    ZHostDateTime changed = *record;
    changed.year = year;
    changed.month = month;
    changed.day = day;
    if (!SimDate::valid(changed)) {
        wrongForms_.report("setDate to " + describe(changed) + ", a date that does not exist");
        return;
    }
    *record = changed;
}

void SimTime::applyDateTime(const ZHostDateTime* record) {
    if (record == nullptr)
        wrongForms_.report("applyDateTime without a date-and-time record");
    else if (!setDateTime(*record))
        wrongForms_.report("applyDateTime of " + describe(*record) + ", a time that does not exist");
}

bool SimTime::setDateTime(const ZHostDateTime& dateTime) {
    if (!SimDate::valid(dateTime))
        return false;
    date_ = SimDate(dateTime);
    dateTimeWord_ = date_.record();
    return true;
}

void SimTime::setRate(uint32_t rate) {
    if (rate != 0)
        chosenRate_ = rate;
    if (!fixedStep())
        rateWord_ = rate;
}

// An add-on may have written the rate word itself since the last frame; a rate that is not 0 is
// the one to keep aside for when it writes 0.
void SimTime::beginFrame(double realSeconds) {
    if (!fixedStep())
        chosenRate_ = rateWord_;
    const double step = fixedStep() ? 0 : realSeconds;
    frameTimeA_ = step;
    frameTimeB_ = step;
}

double SimTime::frameSeconds(double realSeconds) const {
    if (!fixedStep())
        return realSeconds * rateWord_ / kUnitRate;
    // Time does not run backwards, whatever an add-on wrote.
    return std::isfinite(frameTimeA_) && frameTimeA_ > 0 ? frameTimeA_ : 0;
}

void SimTime::advance(double seconds, double realSeconds) {
    date_.advance(seconds);
    dateTimeWord_ = date_.record();
    groups_.advance(fixedStep() ? seconds : realSeconds);
    if (fixedStep())
        return;
    frameTime_ = seconds;
    accumulatedTime_ += accumulatedTicks_.add(seconds);
}
