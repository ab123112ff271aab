#pragma once

// Converter test kit: recordings written from and read back into full records, text files, and
// the message string a conversion throws.

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "common/DataBuffer.h"
#include "common/FlightData.h"
#include "common/Marker.h"
#include "common/ZflFile.h"
#include "converter/ConversionError.h"
#include "support/TempDir.h"

namespace convtest {

// A track in full records: what the converter reads and writes through DataBuffer.
struct FullTrack {
    std::string title;
    std::string tailNumber;
    float staticCGtoGround = 0;
    DataFormat format{};
    std::vector<ContData> cont;
    std::vector<DiscData> disc;
};

struct FullRecording {
    std::vector<FullTrack> tracks;
    std::vector<Marker> markers;
};

inline void writeFullRecording(const std::string& path, const FullRecording& recording) {
    ZflFile file;
    file.open(path, ZflFile::Write);
    for (const FullTrack& track : recording.tracks) {
        TrackInfo info{};
        std::strncpy(info.title, track.title.c_str(), sizeof info.title - 1);
        std::strncpy(info.tailNumber, track.tailNumber.c_str(), sizeof info.tailNumber - 1);
        info.staticCGtoGround = track.staticCGtoGround;
        info.format = track.format;
        info.format.contRecordSize = contRecordSize(track.format.ContFlags, track.format.nEngines);
        info.format.discRecordSize = discRecordSize(track.format.DiscFlags);
        file.addTrack(info);
        std::vector<unsigned char> cont(info.format.contRecordSize), disc(info.format.discRecordSize);
        DataBuffer buffer(cont.data(), disc.data(), info.format);
        for (const ContData& record : track.cont) {
            buffer.setContData(0, record);
            file.writeContData(cont.data());
        }
        for (const DiscData& record : track.disc) {
            buffer.setDiscData(0, record);
            file.writeDiscData(disc.data());
        }
    }
    for (const Marker& marker : recording.markers)
        file.addMarker(marker);
    file.close();
}

inline FullRecording readFullRecording(const std::string& path) {
    ZflFile file;
    file.open(path, ZflFile::Read);
    FullRecording recording;
    for (uint32_t t = 0; t < file.getNTracks(); ++t) {
        const TrackInfo& info = file.getTrackInfo(t);
        FullTrack track;
        track.title = info.title;
        track.tailNumber = info.tailNumber;
        track.staticCGtoGround = info.staticCGtoGround;
        track.format = info.format;
        std::vector<unsigned char> cont(info.format.contRecordSize), disc(info.format.discRecordSize);
        DataBuffer buffer(cont.data(), disc.data(), info.format);
        for (uint32_t i = 0; i < info.nCont; ++i) {
            file.readContData(t, i, 1, cont.data());
            ContData record{};
            buffer.getContData(0, record);
            track.cont.push_back(record);
        }
        for (uint32_t i = 0; i < info.nDisc; ++i) {
            file.readDiscData(t, i, 1, disc.data());
            DiscData record{};
            buffer.getDiscData(0, record);
            track.disc.push_back(record);
        }
        recording.tracks.push_back(track);
    }
    for (uint32_t i = 0; i < file.getNMarkers(); ++i)
        recording.markers.push_back(file.readMarker(i));
    file.close();
    return recording;
}

inline void writeText(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, file) << path;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

// The message string a conversion threw; nullopt when it threw nothing of that kind.
template <typename F> std::optional<std::string> conversionMessage(F&& f) {
    try {
        f();
    } catch (const ConversionError& e) {
        return e.message;
    }
    return std::nullopt;
}

} // namespace convtest
