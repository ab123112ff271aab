#pragma once

#include <cstdint>
#include <optional>

#include "tracks/ImportReport.h"

// Keeps a track's points in time: a point whose time does not advance past the last one kept is
// skipped and counted ("the time stamp repeats the one before", "the time stamp goes back").
class TimeOrder {
public:
    // True when the point at `time` is kept; it is then counted as kept too. `lineOf()` is the
    // line it was read from, asked for only where it is skipped (counting lines costs).
    template <class LineOf>
    bool keep(double time, ImportReport& report, const LineOf& lineOf) {
        if (last_ && time <= *last_) {
            report.skipped(time == *last_ ? "the time stamp repeats the one before" : "the time stamp goes back",
                           lineOf());
            return false;
        }
        last_ = time;
        report.kept();
        return true;
    }
    bool keep(double time, ImportReport& report, uint64_t line) {
        return keep(time, report, [line] { return line; });
    }
    std::optional<double> last() const { return last_; }
    void restart() { last_.reset(); }

private:
    std::optional<double> last_;
};
