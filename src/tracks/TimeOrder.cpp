#include "tracks/TimeOrder.h"

bool TimeOrder::keep(double time, ImportReport& report, uint64_t line) {
    if (last_ && time <= *last_) {
        report.skipped(time == *last_ ? "the time stamp repeats the one before" : "the time stamp goes back",
                       line);
        return false;
    }
    last_ = time;
    report.kept();
    return true;
}
