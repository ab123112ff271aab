#pragma once

#include <cstdint>
#include <optional>

#include "tracks/ImportReport.h"

// Keeps a track's points in time: a point whose time does not advance past the last one kept is
// skipped and counted ("the time stamp repeats the one before", "the time stamp goes back").
class TimeOrder {
public:
    // True when the point at `time` (read from `line`) is kept; it is then counted as kept too.
    bool keep(double time, ImportReport& report, uint64_t line);
    std::optional<double> last() const { return last_; }
    void restart() { last_.reset(); }

private:
    std::optional<double> last_;
};
