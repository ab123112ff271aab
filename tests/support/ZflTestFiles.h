#pragma once

// Recording-file test kit: sample tracks, a writer, where each part lands, checks of what a file holds.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "common/FlightData.h"
#include "common/Marker.h"
#include "common/ZflFile.h"
#include "common/ZflFormat.h"
#include "support/Errors.h"
#include "support/Packed.h"
#include "support/TempDir.h"

namespace zfltest {

inline TrackInfo trackInfo(const std::string& title, uint8_t nEngines, uint32_t contFlags, uint32_t discFlags,
                           uint32_t contSize = 0, uint32_t discSize = 0, uint8_t original = 0,
                           const std::string& tailNumber = "", float cg = 0.0f) {
    TrackInfo info{};
    std::strncpy(info.title, title.c_str(), sizeof info.title - 1);
    std::strncpy(info.tailNumber, tailNumber.c_str(), sizeof info.tailNumber - 1);
    info.staticCGtoGround = cg;
    info.format = {nEngines, contFlags, discFlags, contSize, discSize};
    info.originalRecording = original;
    return info;
}

// Stored records of recordSize bytes: timestamps firstTime, firstTime + step, ..., every other
// byte drawn from a generator seeded with seed.
inline Bytes makeRecords(uint32_t count, uint32_t recordSize, uint32_t firstTime, uint32_t step, uint32_t seed) {
    std::mt19937 random(seed);
    Bytes bytes(std::size_t{count} * recordSize);
    for (auto& b : bytes)
        b = static_cast<unsigned char>(random());
    for (uint32_t i = 0; i < count; ++i)
        store<uint32_t>(bytes, std::size_t{i} * recordSize, firstTime + i * step);
    return bytes;
}

// A track as handed to the writer: its header and the stored bytes of its records.
struct TrackData {
    TrackInfo info{};
    Bytes cont;
    Bytes disc;

    uint32_t contSize() const {
        const DataFormat& f = info.format;
        return f.contRecordSize != 0 ? f.contRecordSize : contRecordSize(f.ContFlags, f.nEngines);
    }
    uint32_t discSize() const {
        const DataFormat& f = info.format;
        return f.discRecordSize != 0 ? f.discRecordSize : discRecordSize(f.DiscFlags);
    }
    uint32_t nCont() const { return static_cast<uint32_t>(cont.size() / contSize()); }
    uint32_t nDisc() const { return static_cast<uint32_t>(disc.size() / discSize()); }
    bool empty() const { return cont.empty() && disc.empty(); }
};

// Continuous records from 10000 in steps of 1000, discrete ones from 15000 in steps of 3000.
inline TrackData makeTrack(const TrackInfo& info, uint32_t nCont, uint32_t nDisc, uint32_t seed) {
    TrackData track;
    track.info = info;
    track.cont = makeRecords(nCont, track.contSize(), 10000, 1000, seed);
    track.disc = makeRecords(nDisc, track.discSize(), 15000, 3000, seed + 1);
    return track;
}

// Writes into a file open for writing; the caller closes it (or not).
inline void writeTracks(ZflFile& file, const std::vector<TrackData>& tracks, const std::vector<Marker>& markers) {
    for (const TrackData& track : tracks) {
        file.addTrack(track.info);
        file.writeContData(track.nCont(), track.cont.data());
        file.writeDiscData(track.nDisc(), track.disc.data());
    }
    for (const Marker& marker : markers)
        file.addMarker(marker);
}

inline void writeRecording(const std::string& path, const std::vector<TrackData>& tracks,
                           const std::vector<Marker>& markers = {}, ZflFile::Mode mode = ZflFile::Write) {
    std::remove(path.c_str());
    ZflFile file;
    file.open(path, mode);
    writeTracks(file, tracks, markers);
    file.close();
}

inline Marker marker(uint32_t time, uint32_t type, uint32_t flags, const std::string& text) {
    Marker m{time, type, flags, text};
    if (type == Marker::SwitchCamera)
        for (std::size_t i = 0; i < m.cameraId.size(); ++i)
            m.cameraId[i] = static_cast<unsigned char>(0xc0 + i);
    return m;
}

// The length field a writer gives a marker: its fixed fields, at most 255 text bytes, a camera id.
inline uint32_t markerLength(const Marker& m) {
    return 13 + static_cast<uint32_t>(std::min<std::size_t>(m.text.size(), 255)) +
           (m.type == Marker::SwitchCamera ? 16 : 0);
}

// Where the parts of a file written by writeRecording lie (empty tracks leave no trace).
struct Layout {
    std::vector<std::size_t> trackHeader; // one per stored track
    std::vector<std::size_t> trackData;
    std::vector<std::size_t> marker;
    std::size_t markers = 0; // start of the markers part
    std::size_t size = 0;    // whole file
    uint32_t tracksSize = 0, markersSize = 0;
};

inline Layout layoutOf(const std::vector<TrackData>& tracks, const std::vector<Marker>& markers = {}) {
    Layout layout;
    std::size_t at = 26;
    for (const TrackData& track : tracks) {
        if (track.empty())
            continue;
        layout.trackHeader.push_back(at);
        layout.trackData.push_back(at + 309);
        at += 309 + track.cont.size() + track.disc.size();
    }
    layout.tracksSize = static_cast<uint32_t>(at - 26);
    layout.markers = at;
    for (const Marker& m : markers) {
        layout.marker.push_back(at);
        at += 2 + markerLength(m);
    }
    layout.markersSize = static_cast<uint32_t>(at - layout.markers);
    layout.size = at;
    return layout;
}

template <typename Track> std::vector<const Track*> storedTracks(const std::vector<Track>& tracks) {
    std::vector<const Track*> stored;
    for (const Track& t : tracks)
        if (!t.empty())
            stored.push_back(&t);
    return stored;
}

struct Opened : ZflFile { // a recording opened for reading
    explicit Opened(const std::string& path) { open(path, ZflFile::Read); }
};

// All stored continuous (or discrete) records of a track.
inline Bytes readRecords(ZflFile& file, uint32_t track, bool cont) {
    const TrackInfo& info = file.getTrackInfo(track);
    Bytes out(cont ? std::size_t{info.nCont} * info.format.contRecordSize
                   : std::size_t{info.nDisc} * info.format.discRecordSize);
    cont ? file.readContData(track, 0, info.nCont, out.data()) : file.readDiscData(track, 0, info.nDisc, out.data());
    return out;
}
inline Bytes readCont(ZflFile& file, uint32_t track) { return readRecords(file, track, true); }
inline Bytes readDisc(ZflFile& file, uint32_t track) { return readRecords(file, track, false); }

// Reads every record of every track and every marker, as a player going through the file would.
inline void readEverything(ZflFile& file) {
    for (uint32_t t = 0; t < file.getNTracks(); ++t) {
        readCont(file, t);
        readDisc(file, t);
    }
    for (uint32_t m = 0; m < file.getNMarkers(); ++m)
        file.readMarker(m);
}

// A marker reads back as written: text cut to 255 characters, camera id only for a camera switch.
inline void expectSameMarker(const Marker& written, const Marker& read) {
    EXPECT_EQ(copyOf(written.time), copyOf(read.time));
    EXPECT_EQ(copyOf(written.type), copyOf(read.type));
    EXPECT_EQ(copyOf(written.flags), copyOf(read.flags));
    EXPECT_EQ(written.text.substr(0, 255), read.text);
    EXPECT_EQ(written.type == Marker::SwitchCamera ? written.cameraId : decltype(read.cameraId){}, read.cameraId);
    EXPECT_EQ(0, read.include);
}

// A track reads back as written: header fields, record sizes in use, counts, digest flag, records.
inline void expectTrack(ZflFile& file, uint32_t index, const TrackData& expected) {
    const TrackInfo& info = file.getTrackInfo(index);
    EXPECT_STREQ(expected.info.title, info.title);
    EXPECT_EQ(std::string(expected.info.tailNumber).substr(0, 10), info.tailNumber); // at most 10 are stored
    EXPECT_EQ(copyOf(expected.info.staticCGtoGround), copyOf(info.staticCGtoGround));
    DataFormat format = expected.info.format; // record sizes as in use
    format.contRecordSize = expected.contSize();
    format.discRecordSize = expected.discSize();
    EXPECT_EQ(0, std::memcmp(&format, &info.format, sizeof format)) << "engines, flags or record sizes differ";
    ASSERT_EQ(expected.nCont(), copyOf(info.nCont));
    ASSERT_EQ(expected.nDisc(), copyOf(info.nDisc));
    EXPECT_EQ(expected.info.originalRecording, info.originalRecording);
    EXPECT_EQ(expected.cont, readCont(file, index));
    EXPECT_EQ(expected.disc, readDisc(file, index));
}

// Every part of the file reads back as it was written; empty tracks are not there.
inline void expectRecording(const std::string& path, const std::vector<TrackData>& tracks,
                            const std::vector<Marker>& markers) {
    Opened file(path);
    const auto stored = storedTracks(tracks);
    ASSERT_EQ(stored.size(), file.getNTracks());
    for (uint32_t t = 0; t < stored.size(); ++t) {
        SCOPED_TRACE("track " + std::to_string(t));
        expectTrack(file, t, *stored[t]);
    }
    ASSERT_EQ(markers.size(), file.getNMarkers());
    for (uint32_t m = 0; m < markers.size(); ++m) {
        SCOPED_TRACE("marker " + std::to_string(m));
        expectSameMarker(markers[m], file.readMarker(m));
    }
    file.close();
}

// The bytes on disk: a file header of the current version with the sizes and counts, then each
// stored track's header and records, with a digest exactly where originalRecording asks for one.
inline void expectFileBytes(const std::string& path, const std::vector<TrackData>& tracks,
                            const std::vector<Marker>& markers) {
    const Bytes bytes = readBytes(path);
    const Layout layout = layoutOf(tracks, markers);
    ASSERT_EQ(layout.size, bytes.size());
    const auto stored = storedTracks(tracks);
    const Zfl::FileHeader fileHeader{{'Z', 'F', 'L', '2'}, 0x00010003, 26, layout.tracksSize,
                                     static_cast<uint32_t>(stored.size()), layout.markersSize,
                                     static_cast<uint32_t>(markers.size())};
    EXPECT_EQ(0, std::memcmp(&fileHeader, bytes.data(), sizeof fileHeader)) << "file header";
    for (std::size_t t = 0; t < stored.size(); ++t) {
        SCOPED_TRACE("track " + std::to_string(t));
        const TrackData& track = *stored[t];
        const auto th = load<Zfl::TrackHeader>(bytes, layout.trackHeader[t]);
        EXPECT_EQ(309, copyOf(th.headerSize));
        EXPECT_EQ(track.cont.size() + track.disc.size(), copyOf(th.dataSize));
        EXPECT_EQ(track.contSize(), copyOf(th.format.contRecordSize));
        EXPECT_EQ(track.discSize(), copyOf(th.format.discRecordSize));
        EXPECT_EQ(track.nCont(), copyOf(th.nCont));
        EXPECT_EQ(track.nDisc(), copyOf(th.nDisc));
        EXPECT_EQ(track.info.originalRecording != 0, copyOf(th.trackDigest) != 0);
        Bytes data = track.cont;
        data.insert(data.end(), track.disc.begin(), track.disc.end());
        EXPECT_TRUE(std::equal(data.begin(), data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(layout.trackData[t])));
    }
}

} // namespace zfltest
