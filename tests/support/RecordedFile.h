#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/DataBuffer.h"
#include "common/Marker.h"
#include "common/ZflFile.h"
#include "support/Packed.h"

// What a recording file holds, read back through the file layer: per track its header, the time
// stamps of its continuous records and its discrete records; the markers.
struct RecordedTrack {
    TrackInfo info;
    std::vector<uint32_t> contTimes;
    std::vector<DiscData> disc;

    std::vector<uint32_t> discTimes() const {
        std::vector<uint32_t> times;
        for (const DiscData& record : disc)
            times.push_back(copyOf(record.timestamp));
        return times;
    }
};

struct RecordedFile {
    std::vector<RecordedTrack> tracks;
    std::vector<Marker> markers;
};

inline RecordedFile readRecordedFile(const std::string& path) {
    ZflFile zfl;
    zfl.open(path, ZflFile::Read);
    RecordedFile file;
    for (uint32_t t = 0; t < zfl.getNTracks(); ++t) {
        RecordedTrack track{zfl.getTrackInfo(t), {}, {}};
        const DataFormat format = track.info.format;
        std::vector<unsigned char> cont(std::size_t{track.info.nCont} * format.contRecordSize);
        std::vector<unsigned char> disc(std::size_t{track.info.nDisc} * format.discRecordSize);
        EXPECT_EQ(track.info.nCont, zfl.readContData(t, 0, track.info.nCont, cont.data()));
        EXPECT_EQ(track.info.nDisc, zfl.readDiscData(t, 0, track.info.nDisc, disc.data()));
        const DataBuffer records(cont.data(), disc.data(), format);
        for (uint32_t i = 0; i < track.info.nCont; ++i)
            track.contTimes.push_back(records.getContTimestamp(i));
        track.disc.resize(track.info.nDisc);
        for (uint32_t i = 0; i < track.info.nDisc; ++i)
            records.getDiscData(i, track.disc[i]);
        file.tracks.push_back(std::move(track));
    }
    for (uint32_t m = 0; m < zfl.getNMarkers(); ++m)
        file.markers.push_back(zfl.readMarker(m));
    return file;
}
