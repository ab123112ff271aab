#pragma once

// Building blocks for the recording-file tests: sample tracks with recognisable records, a writer
// for them, where each part of such a file lands, little-endian byte patching, and first-generation
// files built byte by byte from their documented layout.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FlightData.h"
#include "Marker.h"
#include "ZephrelException.h"
#include "ZflFile.h"
#include "ZflFormat.h"

namespace zfltest {

using Bytes = std::vector<unsigned char>;

// ---- little-endian access to a file image ----

template <typename T> T load(const Bytes& bytes, std::size_t offset) {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

template <typename T> void store(Bytes& bytes, std::size_t offset, const T& value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

template <typename T> void append(Bytes& bytes, const T& value) {
    const std::size_t at = bytes.size();
    bytes.resize(at + sizeof value);
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

inline void insertFill(Bytes& bytes, std::size_t offset, std::size_t count, unsigned char fill) {
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(offset), count, fill);
}

// Writes a file image under a name that is first removed: rewriting a file in place by truncating
// it makes some file systems flush it to disk on close, which is slow when done a thousand times.
inline void replaceFile(const std::string& path, const Bytes& bytes) {
    std::remove(path.c_str());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Runs f and hands back the ZephrelException it threw, if it threw one.
template <typename F> std::optional<ZephrelException> thrown(F&& f) {
    try {
        f();
    } catch (const ZephrelException& e) {
        return e;
    }
    return std::nullopt;
}

// Names the cases of a table-driven test after their name field.
template <typename T> std::string caseName(const ::testing::TestParamInfo<T>& param) {
    return param.param.name;
}

// ---- current-format recordings ----

inline TrackInfo trackInfo(const std::string& title, uint8_t nEngines, uint32_t contFlags, uint32_t discFlags,
                           uint32_t contSize = 0, uint32_t discSize = 0, uint8_t original = 0,
                           const std::string& tailNumber = "", float cg = 0.0f) {
    TrackInfo info{};
    std::strncpy(info.title, title.c_str(), sizeof info.title - 1);
    std::strncpy(info.tailNumber, tailNumber.c_str(), sizeof info.tailNumber - 1);
    info.staticCGtoGround = cg;
    info.format.nEngines = nEngines;
    info.format.ContFlags = contFlags;
    info.format.DiscFlags = discFlags;
    info.format.contRecordSize = contSize;
    info.format.discRecordSize = discSize;
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
        return info.format.contRecordSize != 0 ? info.format.contRecordSize
                                               : contRecordSize(info.format.ContFlags, info.format.nEngines);
    }
    uint32_t discSize() const {
        return info.format.discRecordSize != 0 ? info.format.discRecordSize : discRecordSize(info.format.DiscFlags);
    }
    uint32_t nCont() const { return static_cast<uint32_t>(cont.size() / contSize()); }
    uint32_t nDisc() const { return static_cast<uint32_t>(disc.size() / discSize()); }
    bool empty() const { return cont.empty() && disc.empty(); }
};

inline TrackData makeTrack(const TrackInfo& info, uint32_t nCont, uint32_t nDisc, uint32_t seed) {
    TrackData track;
    track.info = info;
    track.cont = makeRecords(nCont, track.contSize(), 10000, 1000, seed);
    track.disc = makeRecords(nDisc, track.discSize(), 15000, 3000, seed + 1);
    return track;
}

inline void writeRecording(const std::string& path, const std::vector<TrackData>& tracks,
                           const std::vector<Marker>& markers = {}) {
    std::remove(path.c_str());
    ZflFile file;
    file.open(path, ZflFile::Write);
    for (const TrackData& track : tracks) {
        file.addTrack(track.info);
        file.writeContData(track.nCont(), track.cont.data());
        file.writeDiscData(track.nDisc(), track.disc.data());
    }
    for (const Marker& marker : markers)
        file.addMarker(marker);
    file.close();
}

// The length field a writer gives a marker.
inline uint32_t markerLength(const Marker& marker) {
    return 13 + static_cast<uint32_t>(std::min<std::size_t>(marker.text.size(), 255)) +
           (marker.type == Marker::SwitchCamera ? 16 : 0);
}

// Where the parts of a file written by writeRecording lie (empty tracks leave no trace).
struct Layout {
    std::vector<std::size_t> trackHeader; // one per stored track
    std::vector<std::size_t> trackData;
    std::vector<std::size_t> marker;
    std::size_t markers = 0; // start of the markers part
    std::size_t size = 0;    // whole file
    uint32_t tracksSize = 0;
    uint32_t markersSize = 0;
};

inline Layout layoutOf(const std::vector<TrackData>& tracks, const std::vector<Marker>& markers = {}) {
    Layout layout;
    std::size_t at = sizeof(Zfl::FileHeader);
    for (const TrackData& track : tracks) {
        if (track.empty())
            continue;
        layout.trackHeader.push_back(at);
        at += sizeof(Zfl::TrackHeader);
        layout.trackData.push_back(at);
        at += track.cont.size() + track.disc.size();
    }
    layout.tracksSize = static_cast<uint32_t>(at - sizeof(Zfl::FileHeader));
    layout.markers = at;
    for (const Marker& marker : markers) {
        layout.marker.push_back(at);
        at += 2 + markerLength(marker);
    }
    layout.markersSize = static_cast<uint32_t>(at - layout.markers);
    layout.size = at;
    return layout;
}

inline Marker marker(uint32_t time, uint32_t type, uint32_t flags, const std::string& text) {
    Marker m;
    m.time = time;
    m.type = type;
    m.flags = flags;
    m.text = text;
    if (type == Marker::SwitchCamera)
        for (std::size_t i = 0; i < m.cameraId.size(); ++i)
            m.cameraId[i] = static_cast<unsigned char>(0xc0 + i);
    return m;
}

// Reads every record of every track and every marker, as a player going through the file would.
inline void readEverything(ZflFile& file) {
    Bytes buffer;
    for (uint32_t t = 0; t < file.getNTracks(); ++t) {
        const TrackInfo& info = file.getTrackInfo(t);
        buffer.resize(std::max<std::size_t>(std::size_t{info.nCont} * info.format.contRecordSize,
                                            std::size_t{info.nDisc} * info.format.discRecordSize));
        file.readContData(t, 0, info.nCont, buffer.data());
        file.readDiscData(t, 0, info.nDisc, buffer.data());
    }
    for (uint32_t m = 0; m < file.getNMarkers(); ++m)
        file.readMarker(m);
}

inline Bytes readCont(ZflFile& file, uint32_t track) {
    const TrackInfo& info = file.getTrackInfo(track);
    Bytes out(std::size_t{info.nCont} * info.format.contRecordSize);
    file.readContData(track, 0, info.nCont, out.data());
    return out;
}

inline Bytes readDisc(ZflFile& file, uint32_t track) {
    const TrackInfo& info = file.getTrackInfo(track);
    Bytes out(std::size_t{info.nDisc} * info.format.discRecordSize);
    file.readDiscData(track, 0, info.nDisc, out.data());
    return out;
}

// ---- first-generation recordings, built from their documented layout ----

namespace v1 {

constexpr uint32_t kVersion4 = 0x01000004;
constexpr uint32_t kVersion5 = 0x01000005;
constexpr uint32_t kVersion6 = 0x01000006;

// Every field an old record can hold; which ones are stored depends on the old flags.
struct OldSample {
    int64_t latitude = 0, longitude = 0, altitude = 0;
    int32_t pitch = 0, bank = 0;
    uint32_t heading = 0;
    double velocity[3] = {0, 0, 0};
    uint8_t onground = 0;
    int16_t throttle[4] = {0, 0, 0, 0};
    int16_t elevators = 0, ailerons = 0, rudder = 0;
    uint16_t spoilers = 0;
    uint8_t flaps = 0;
    int16_t gear = 0;
    uint16_t lights = 0;
    uint8_t parkbrake = 0;
    uint8_t engines[4] = {0, 0, 0, 0};
    uint32_t nav1 = 0, nav2 = 0, adf = 0, com = 0;
    uint16_t squawk = 0;
    int16_t mix[4] = {0, 0, 0, 0};
    int16_t prop[4] = {0, 0, 0, 0};
    uint8_t skipped[6] = {0, 0, 0, 0, 0, 0};
    uint8_t smoke = 0;
    uint32_t timestamp = 0;
};

// A sample whose every field differs from the same field of sample i + 1; the discrete fields
// are the same for every i (callers change them where a test needs a change).
inline OldSample sample(uint32_t i) {
    OldSample s;
    const auto n = static_cast<int32_t>(i);
    s.latitude = 0x0000123400000000LL + n;
    s.longitude = -0x0000567800000000LL - n;
    s.altitude = 0x0000002000000000LL + 7 * n;
    s.pitch = 1000 + n;
    s.bank = -2000 - n;
    s.heading = 0x40000000u + i;
    s.velocity[0] = 10.5 + i;
    s.velocity[1] = -1.25 - i;
    s.velocity[2] = 100.0 + 2 * i;
    for (int e = 0; e < 4; ++e) {
        s.throttle[e] = static_cast<int16_t>(100 * (e + 1) + n);
        s.mix[e] = static_cast<int16_t>(-100 * (e + 1) - n);
        s.prop[e] = static_cast<int16_t>(5000 + 10 * e + n);
    }
    s.elevators = static_cast<int16_t>(-300 + n);
    s.ailerons = static_cast<int16_t>(400 + n);
    s.rudder = static_cast<int16_t>(-500 - n);
    s.spoilers = static_cast<uint16_t>(600 + i);
    s.skipped[0] = static_cast<uint8_t>(0x5a + i);
    s.onground = 1;
    s.flaps = 2;
    s.gear = 1;
    s.lights = 0x0105;
    s.parkbrake = 1;
    s.engines[0] = 1;
    s.engines[2] = 0xff;
    s.nav1 = 0x00b41080;
    s.nav2 = 0x01681150;
    s.adf = 0x03505000;
    s.com = 0x18502255;
    s.squawk = 0x7000;
    s.smoke = 1;
    s.timestamp = 5000 + 2500 * i;
    return s;
}

// One old record in its stored order: the optional fields only where their old bit is set.
inline Bytes record(const OldSample& s, uint32_t flags) {
    Bytes b;
    append(b, s.latitude);
    append(b, s.longitude);
    append(b, s.altitude);
    append(b, s.pitch);
    append(b, s.bank);
    append(b, s.heading);
    for (double v : s.velocity)
        append(b, v);
    append(b, s.onground);
    if (flags & 0x001)
        for (int16_t v : s.throttle)
            append(b, v);
    if (flags & 0x002) {
        append(b, s.elevators);
        append(b, s.ailerons);
        append(b, s.rudder);
    }
    if (flags & 0x004)
        append(b, s.spoilers);
    if (flags & 0x008)
        append(b, s.flaps);
    if (flags & 0x010)
        append(b, s.gear);
    if (flags & 0x020)
        append(b, s.lights);
    append(b, s.parkbrake);
    if (flags & 0x040)
        for (uint8_t v : s.engines)
            append(b, v);
    if (flags & 0x080) {
        append(b, s.nav1);
        append(b, s.nav2);
        append(b, s.adf);
    }
    if (flags & 0x100) {
        append(b, s.com);
        append(b, s.squawk);
    }
    if (flags & 0x200) {
        for (int16_t v : s.mix)
            append(b, v);
        for (int16_t v : s.prop)
            append(b, v);
    }
    if (flags & 0x400)
        for (uint8_t v : s.skipped)
            append(b, v);
    if (flags & 0x800)
        append(b, s.smoke);
    append(b, s.timestamp);
    return b;
}

// Fields the conversion does not use carry this value, so that reading them by mistake shows.
constexpr unsigned char kUnused = 0xa5;

// A single-track file of version 4 or 5. recordFlags decides the records' layout, storedFlags
// is what the header says (version 4 ignores it).
inline Bytes singleTrackFile(uint32_t version, uint32_t storedFlags, uint32_t recordFlags, float cg,
                             const std::vector<OldSample>& samples, std::optional<uint32_t> nRecords = {}) {
    Bytes b;
    append(b, version);
    Bytes header(24, kUnused);
    store<uint32_t>(header, 0, nRecords.value_or(static_cast<uint32_t>(samples.size())));
    store<uint32_t>(header, 8, storedFlags);
    store<float>(header, 12, cg);
    b.insert(b.end(), header.begin(), header.end());
    for (const OldSample& s : samples) {
        Bytes r = record(s, recordFlags);
        b.insert(b.end(), r.begin(), r.end());
    }
    return b;
}

struct OldTrack {
    std::string title; // up to 100 characters; a 100-character title has no terminator
    uint32_t flags = 0;
    float cg = 0.0f;
    std::vector<OldSample> samples;
};

inline Bytes multiTrackFile(const std::vector<OldTrack>& tracks, std::optional<uint16_t> nTracks = {}) {
    Bytes b;
    append(b, kVersion6);
    Bytes header(14, kUnused);
    store<uint16_t>(header, 12, nTracks.value_or(static_cast<uint16_t>(tracks.size())));
    b.insert(b.end(), header.begin(), header.end());
    for (const OldTrack& track : tracks) {
        Bytes th(124, kUnused);
        store<uint32_t>(th, 0, static_cast<uint32_t>(track.samples.size()));
        store<uint32_t>(th, 4, track.flags);
        std::fill(th.begin() + 16, th.begin() + 116, 0);
        std::memcpy(th.data() + 16, track.title.data(), std::min<std::size_t>(track.title.size(), 100));
        store<float>(th, 116, track.cg);
        b.insert(b.end(), th.begin(), th.end());
        for (const OldSample& s : track.samples) {
            Bytes r = record(s, track.flags);
            b.insert(b.end(), r.begin(), r.end());
        }
    }
    return b;
}

inline std::vector<OldSample> samples(uint32_t count) {
    std::vector<OldSample> out;
    for (uint32_t i = 0; i < count; ++i)
        out.push_back(sample(i));
    return out;
}

} // namespace v1

} // namespace zfltest
