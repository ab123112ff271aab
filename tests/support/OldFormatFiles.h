#pragma once

// First-generation recordings (version 1, sub-versions 4 to 6), built byte by byte from their
// documented layout.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace oldformat {

constexpr uint32_t kVersion4 = 0x01000004;
constexpr uint32_t kVersion5 = 0x01000005;
constexpr uint32_t kVersion6 = 0x01000006;

// Every field an old record can hold; which ones are stored depends on the old flags.
struct Sample {
    int64_t latitude = 0, longitude = 0, altitude = 0;
    int32_t pitch = 0, bank = 0;
    uint32_t heading = 0;
    double velocity[3] = {0, 0, 0};
    uint8_t onground = 1;
    int16_t throttle[4] = {}, elevators = 0, ailerons = 0, rudder = 0;
    uint16_t spoilers = 0;
    uint8_t flaps = 2;
    int16_t gear = 1;
    uint16_t lights = 0x0105;
    uint8_t parkbrake = 1;
    uint8_t engines[4] = {1, 0, 0xff, 0};
    uint32_t nav1 = 0x00b41080, nav2 = 0x01681150, adf = 0x03505000, com = 0x18502255;
    uint16_t squawk = 0x7000;
    int16_t mix[4] = {}, prop[4] = {};
    uint8_t skipped[6] = {};
    uint8_t smoke = 1;
    uint32_t timestamp = 0;
};

// Sample i: its continuous fields and skipped bytes are drawn from a generator seeded with i, so
// they differ from sample to sample; the discrete fields are the same for every i (callers change
// them where a test needs a change).
inline Sample sample(uint32_t i) {
    std::mt19937 random(i);
    auto draw = [&random](auto&... fields) {
        (std::generate_n(reinterpret_cast<unsigned char*>(&fields), sizeof fields,
                         [&random] { return static_cast<unsigned char>(random()); }),
         ...);
    };
    Sample s;
    draw(s.latitude, s.longitude, s.altitude, s.pitch, s.bank, s.heading, s.throttle, s.elevators, s.ailerons,
         s.rudder, s.spoilers, s.mix, s.prop, s.skipped);
    for (double& v : s.velocity)
        v = static_cast<double>(random() % 100000) / 8 - 5000;
    s.timestamp = 5000 + 2500 * i;
    return s;
}

inline std::vector<Sample> samples(uint32_t count) {
    std::vector<Sample> out;
    for (uint32_t i = 0; i < count; ++i)
        out.push_back(sample(i));
    return out;
}

// One old record in its stored order: the optional fields only where their old bit is set.
inline Bytes record(const Sample& s, uint32_t flags) {
    Bytes b;
    auto put = [&](uint32_t bit, const auto&... fields) { // bit 0: always stored
        if (bit == 0 || (flags & bit) != 0)
            (append(b, fields), ...);
    };
    put(0, s.latitude, s.longitude, s.altitude, s.pitch, s.bank, s.heading, s.velocity, s.onground);
    put(0x001, s.throttle);
    put(0x002, s.elevators, s.ailerons, s.rudder);
    put(0x004, s.spoilers);
    put(0x008, s.flaps);
    put(0x010, s.gear);
    put(0x020, s.lights);
    put(0, s.parkbrake);
    put(0x040, s.engines);
    put(0x080, s.nav1, s.nav2, s.adf);
    put(0x100, s.com, s.squawk);
    put(0x200, s.mix, s.prop);
    put(0x400, s.skipped);
    put(0x800, s.smoke);
    put(0, s.timestamp);
    return b;
}

// Fields the conversion does not use carry this value, so that reading them by mistake shows.
constexpr unsigned char kUnused = 0xa5;

inline void appendRecords(Bytes& b, const std::vector<Sample>& samples, uint32_t flags) {
    for (const Sample& s : samples) {
        const Bytes r = record(s, flags);
        b.insert(b.end(), r.begin(), r.end());
    }
}

// A single-track file of version 4 or 5. recordFlags decides the records' layout, storedFlags
// is what the header says (version 4 ignores it).
inline Bytes singleTrackFile(uint32_t version, uint32_t storedFlags, uint32_t recordFlags, float cg,
                             const std::vector<Sample>& samples, std::optional<uint32_t> nRecords = {}) {
    Bytes b;
    append(b, version);
    b.resize(4 + 24, kUnused);
    store<uint32_t>(b, 4, nRecords.value_or(static_cast<uint32_t>(samples.size())));
    store<uint32_t>(b, 12, storedFlags);
    store<float>(b, 16, cg);
    appendRecords(b, samples, recordFlags);
    return b;
}

struct Track {
    std::string title; // up to 100 characters; a 100-character title has no terminator
    uint32_t flags = 0;
    float cg = 0.0f;
    std::vector<Sample> samples;
};

inline Bytes multiTrackFile(const std::vector<Track>& tracks, std::optional<uint16_t> nTracks = {}) {
    Bytes b;
    append(b, kVersion6);
    b.resize(4 + 14, kUnused);
    store<uint16_t>(b, 16, nTracks.value_or(static_cast<uint16_t>(tracks.size())));
    for (const Track& track : tracks) {
        const std::size_t at = b.size();
        b.resize(at + 124, kUnused);
        store<uint32_t>(b, at, static_cast<uint32_t>(track.samples.size()));
        store<uint32_t>(b, at + 4, track.flags);
        std::fill(b.begin() + static_cast<std::ptrdiff_t>(at + 16), b.begin() + static_cast<std::ptrdiff_t>(at + 116), 0);
        std::copy_n(track.title.begin(), std::min<std::size_t>(track.title.size(), 100),
                    b.begin() + static_cast<std::ptrdiff_t>(at + 16));
        store<float>(b, at + 116, track.cg);
        appendRecords(b, track.samples, track.flags);
    }
    return b;
}

} // namespace oldformat
