#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/ZflFile.h"
#include "tracks/TrackSet.h"

// The tracks of a recording as points in time for the formats of other tools, read block by block
// from the file as they are written. All tracks share the recording's clock; where it stood in
// the day is told by the first track with a date, by its date and its first record's time of day
// (UTC for tracks imported from logs; the simulator's clock for its own recordings). A recording
// without a date counts from 2000-01-01, one without a time of day from midnight.
class RecordingTracks final : public TrackSet {
public:
    // Only the tracks chosen (0-based), or all of them when none are. Throws ZephrelException when
    // the file cannot be read, TrackError for a track it does not have.
    RecordingTracks(const std::string& path, std::vector<std::size_t> chosen);

    std::size_t count() const override { return tracks_.size(); }
    std::string title(std::size_t track) const override;
    std::string tailNumber(std::size_t track) const override;
    std::unique_ptr<PointCursor> points(std::size_t track, unsigned parts) const override;
    // Whether the recording says which day it was flown.
    bool dated() const { return dated_; }

private:
    // Sets the clock from the first track with a date, or else with a time of day.
    void setClock();

    mutable ZflFile file_;
    std::vector<uint32_t> tracks_;
    double clockStart_ = 0; // the UTC time of tick 0 of the recording's clock
    bool dated_ = false;
};
