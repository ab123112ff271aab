#pragma once

// The stored record layout, told independently of the code under test: a stored record holds the
// fixed fields, then the fields of each present group in bit order; the engine groups hold one
// 2-byte value per engine.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <span>
#include <vector>

#include "common/FlightData.h"

namespace packing {

struct Field {
    uint32_t bit; // 0: the fixed fields, always stored
    std::size_t offset;
    std::size_t size; // per engine for the engine groups
    bool perEngine = false;
};

inline constexpr Field kContFields[] = {
    {0, 0, 64},
    {ContGroup::FlightControls, offsetof(ContData, elevators), 6},
    {ContGroup::Throttles, offsetof(ContData, throttle), 2, true},
    {ContGroup::Propellers, offsetof(ContData, prop), 2, true},
    {ContGroup::Mixtures, offsetof(ContData, mix), 2, true},
    {ContGroup::Spoilers, offsetof(ContData, spoilers), 2},
    {ContGroup::Airspeeds, offsetof(ContData, IAS), 8},
    {ContGroup::MainExit, offsetof(ContData, mainexit), 4},
    {ContGroup::Tailhook, offsetof(ContData, tailhook), 4},
    {ContGroup::WingFold, offsetof(ContData, wingfoldL), 8},
    {ContGroup::AmbientWind, offsetof(ContData, windDir), 4},
    {ContGroup::Mach, offsetof(ContData, mach), 4},
    {ContGroup::TimeOfDay, offsetof(ContData, hour), 3},
    {ContGroup::ExtendedControls, offsetof(ContData, extControls), 20},
    {ContGroup::ExtendedFlaps, offsetof(ContData, extFlaps), 16},
    {ContGroup::ExtendedGear, offsetof(ContData, extGear), 20},
};

inline constexpr Field kDiscFields[] = {
    {0, 0, 5},
    {DiscGroup::Flaps, offsetof(DiscData, flaps), 1},
    {DiscGroup::Gear, offsetof(DiscData, gear), 2},
    {DiscGroup::Lights, offsetof(DiscData, lights), 2},
    {DiscGroup::ParkingBrake, offsetof(DiscData, parkbrake), 1},
    {DiscGroup::Engines, offsetof(DiscData, engines), 1},
    {DiscGroup::NavRadios, offsetof(DiscData, nav1), 12},
    {DiscGroup::ComRadios, offsetof(DiscData, com), 6},
    {DiscGroup::Smoke, offsetof(DiscData, smoke), 1},
    {DiscGroup::Autopilot, offsetof(DiscData, autopilot), 1},
    {DiscGroup::NoseVisor, offsetof(DiscData, concnose), 1},
    {DiscGroup::Date, offsetof(DiscData, day), 4},
};

inline std::span<const Field> fieldsOf(const ContData&) { return kContFields; }
inline std::span<const Field> fieldsOf(const DiscData&) { return kDiscFields; }

// Calls f(field, bytes) for every stored field of a record with these flags, in stored order
// (nEngines up to 4: the full record has four engine slots).
template <typename Record, typename F> void forEachStored(const Record& r, uint32_t flags, uint32_t nEngines, F f) {
    for (const Field& field : fieldsOf(r))
        if (field.bit == 0 || (flags & field.bit) != 0)
            f(field, field.perEngine ? field.size * nEngines : field.size);
}

// The stored form of a full record.
template <typename Record> std::vector<unsigned char> pack(const Record& r, uint32_t flags, uint32_t nEngines) {
    std::vector<unsigned char> out;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&r);
    forEachStored(r, flags, nEngines, [&](const Field& field, std::size_t size) {
        out.insert(out.end(), bytes + field.offset, bytes + field.offset + size);
    });
    return out;
}

// Copies the fields of a stored record into a full one, leaving every other byte as it was.
template <typename Record> void unpackInto(Record& r, const unsigned char* stored, uint32_t flags, uint32_t nEngines) {
    auto* bytes = reinterpret_cast<unsigned char*>(&r);
    forEachStored(r, flags, nEngines, [&](const Field& field, std::size_t size) {
        std::memcpy(bytes + field.offset, stored, size);
        stored += size;
    });
}

template <typename T> T randomRecord(std::mt19937& random) {
    unsigned char bytes[sizeof(T)];
    for (auto& b : bytes)
        b = static_cast<unsigned char>(random());
    T value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

} // namespace packing
