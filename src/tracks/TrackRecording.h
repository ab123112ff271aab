#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/DataBuffer.h"
#include "common/FlightData.h"
#include "common/ZflFile.h"
#include "tracks/PathMotion.h"
#include "tracks/TrackPoint.h"

// A recording written from tracks of points, one track after the other and each as it comes: a
// continuous record per point (place, attitude, velocity, the ground speed as the airspeeds, the
// UTC time of day), and at the track's end its few discrete records: the date, and whether it is
// on the ground (slower than 15 m/s and neither climbing nor sinking by 1.5 m/s; airborne again
// above those, on the ground again below 10 and 0.5).
class TrackRecording {
public:
    // Times count from `start` (UTC seconds), which no track may come before. The recording takes
    // its name only when closed whole: until then it is "<path>.part", gone when this goes first.
    TrackRecording(const std::string& path, double start);
    TrackRecording(const TrackRecording&) = delete;
    TrackRecording& operator=(const TrackRecording&) = delete;
    ~TrackRecording();

    // What add throws for a point before the start.
    struct BeforeStart {};

    void beginTrack(const std::string& title, const std::string& tailNumber);
    // TrackError for a point more than 119 hours after the start (more than a recording's clock
    // holds), BeforeStart for one before it.
    void add(const TrackPoint& point, const Motion& motion);
    void endTrack();
    // Writes the file's header; the file is complete only then.
    void close();

    static constexpr uint32_t kContGroups = ContGroup::Airspeeds | ContGroup::TimeOfDay;
    static constexpr uint32_t kDiscGroups = DiscGroup::Date;

private:
    uint32_t ticksOf(double time) const;

    ZflFile file_;
    std::string path_;
    double start_;
    uint32_t points_ = 0;
    bool onGround_ = false;
    std::vector<DiscData> disc_;
    // Continuous records written a batch at a time: 150 KB, beyond the file's stream buffer, so
    // that the batch goes to the system as it is instead of through that buffer, and few enough
    // that it is still in the processor's cache when the system copies it.
    static constexpr uint32_t kBatch = 2048;
    void writeBatch();
    std::unique_ptr<unsigned char[]> contRecords_;
    DataBuffer contBuffer_;
    ContData cont_{};
    uint32_t batched_ = 0;
    std::vector<unsigned char> discRecords_;
};
