#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>

#include "tracks/ImportReport.h"
#include "tracks/TimeOrder.h"
#include "tracks/TrackPoint.h"
#include "tracks/TrackSource.h"

// Reads the fixes (B records) of an IGC flight log as they come, with what the header says of
// the aircraft. The date is the header's (HFDTE DDMMYY, or HFDTEDATE:DDMMYY,NN); a time of day
// more than 12 hours before the previous one is the next day (a flight across UTC midnight).
// Fixes whose time does not advance (repeated or earlier time stamps), fixes without a 3-D fix
// (V) and malformed ones are skipped and counted; gaps in time are kept as they are. The altitude
// is the GNSS one, or the pressure one where the logger wrote no GNSS altitude.
class IgcReader final : public TrackSource {
public:
    // Reads the header up to the first fix; throws TrackError for a file that is no IGC log.
    IgcReader(std::istream& in, std::string name);

    // A log is one track.
    bool nextTrack() override;
    // The next fix kept; false at the end of the file.
    bool next(TrackPoint& point) override;

    // From HFGTY (the glider type) and HFGID (its registration); empty where the header has none.
    std::string aircraftType() const override { return aircraftType_; }
    std::string registration() const override { return registration_; }
    const ImportReport& report() const override { return report_; }

private:
    bool readLine();
    void readHeaderLine();
    // The fix of the B record in line_, or why it is skipped.
    std::optional<TrackPoint> fix(std::string& refusal) const;
    double secondsOfDay() const;

    std::istream& in_;
    std::string name_;
    std::string line_;
    uint64_t lineNumber_ = 0;
    bool pending_ = false;            // line_ holds a B record not read yet
    std::optional<int64_t> dayStart_; // the flight's first day, seconds since 1970
    std::string aircraftType_;
    std::string registration_;
    int64_t daysLater_ = 0;
    ImportReport report_;
    TimeOrder order_;
    bool trackGiven_ = false;
};
