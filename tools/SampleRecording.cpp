#include "tools/SampleRecording.h"

#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "common/DataBuffer.h"
#include "common/Ticks.h"
#include "common/ZflFile.h"

namespace {

constexpr double kMetresPerDegreeLatitude = 111320.0;
constexpr double kFeetPerMetre = 3.28084;

struct Aircraft {
    const char* title;
    const char* tailNumber;
    uint8_t nEngines;
    uint32_t contFlags;
    uint32_t discFlags;
    bool digest;
    double seconds;
    double interval;
};

// Where an aircraft is at time t: a climbing left-hand circuit, a descending straight-in
// approach or a hover, all around one airfield.
struct Path {
    double latitude, longitude, altitude, heading, pitch, bank, groundSpeed, climb;
};

Path circuit(double t) {
    const double radius = 1500.0, speed = 55.0;
    const double angle = speed * t / radius;
    Path p{};
    p.latitude = 47.45 + radius * std::sin(angle) / kMetresPerDegreeLatitude;
    p.longitude = -122.31 + radius * (1 - std::cos(angle)) / (kMetresPerDegreeLatitude * std::cos(47.45 * std::numbers::pi / 180));
    p.climb = t < 120 ? 3.0 : 0.0;
    p.altitude = 130.0 + p.climb * std::min(t, 120.0);
    p.heading = std::fmod(360.0 - angle * 180.0 / std::numbers::pi, 360.0);
    p.pitch = t < 120 ? 5.0 : 0.0;
    p.bank = -20.0;
    p.groundSpeed = speed;
    return p;
}

Path approach(double t) {
    const double speed = 75.0;
    Path p{};
    const double distance = 12000.0 - speed * t;
    p.latitude = 47.45 + distance / kMetresPerDegreeLatitude;
    p.longitude = -122.30;
    p.climb = -distance > 0 ? 0.0 : -3.9;
    p.altitude = 130.0 + std::max(0.0, distance * 0.052);
    p.heading = 180.0;
    p.pitch = 2.5;
    p.groundSpeed = speed;
    return p;
}

Path hover(double t) {
    Path p{};
    p.latitude = 47.446;
    p.longitude = -122.315;
    p.altitude = 150.0 + 5.0 * std::sin(t / 10.0);
    p.heading = std::fmod(t * 3.0, 360.0);
    p.climb = 0.5 * std::cos(t / 10.0);
    return p;
}

ContData contSample(const Aircraft& a, Path (*path)(double), double t) {
    Path p = path(t);
    ContData c{};
    c.timestamp = static_cast<uint32_t>(std::lround(t * kTicksPerSecond));
    c.latitude = latitudeFromDegrees(p.latitude);
    c.longitude = longitudeFromDegrees(p.longitude);
    c.altitude = altitudeFromMetres(p.altitude);
    c.pitch = static_cast<int32_t>(angleFromDegrees(-p.pitch));
    c.bank = static_cast<int32_t>(angleFromDegrees(-p.bank));
    c.heading = angleFromDegrees(p.heading);
    const double rad = p.heading * std::numbers::pi / 180.0;
    c.velocityX = p.groundSpeed * std::sin(rad) * kFeetPerMetre;
    c.velocityY = p.climb * kFeetPerMetre;
    c.velocityZ = p.groundSpeed * std::cos(rad) * kFeetPerMetre;
    c.elevators = static_cast<int16_t>(-800 * std::sin(t / 7.0));
    c.ailerons = static_cast<int16_t>(1200 * std::sin(t / 5.0));
    for (int e = 0; e < a.nEngines; ++e) {
        c.throttle[e] = 14000;
        c.prop[e] = 16383;
        c.mix[e] = 16383;
    }
    c.IAS = static_cast<float>(p.groundSpeed * 1.94384);
    c.TAS = c.IAS * 1.02f;
    c.mach = c.TAS / 661.5f;
    c.windDir = 270;
    c.windSpd = 8;
    c.hour = 14;
    c.minute = static_cast<uint8_t>(30 + static_cast<int>(t) / 60);
    c.second = static_cast<uint8_t>(static_cast<int>(t) % 60);
    return c;
}

// The discrete state changes at a few moments: engines, lights, gear, flaps, radios.
DiscData discSample(double t, uint32_t nEngines) {
    DiscData d{};
    d.timestamp = static_cast<uint32_t>(std::lround(t * kTicksPerSecond));
    d.onground = t < 15 ? 1 : 0;
    d.flaps = t < 40 ? 1 : 0;
    d.gear = t < 30 ? 16383 : 0;
    d.lights = t < 5 ? 0x0001 : 0x0115;
    d.parkbrake = t < 2 ? 1 : 0;
    d.engines = static_cast<uint8_t>((1u << nEngines) - 1);
    d.nav1 = (90u << 16) | 0x1030; // 110.30 MHz, OBS 90
    d.nav2 = (270u << 16) | 0x1270;
    d.adf = 0x03500000;         // 350.0 kHz
    d.com = (0x2180u << 16) | 0x1890; // 118.90 / 121.80
    d.squawk = t < 60 ? 0x1200 : 0x4521;
    d.autopilot = t > 90 ? 1 : 0;
    d.day = 8;
    d.month = 12;
    d.year = 2026;
    return d;
}

void writeTrack(ZflFile& file, const Aircraft& a, Path (*path)(double)) {
    TrackInfo info{};
    std::strncpy(info.title, a.title, sizeof info.title - 1);
    std::strncpy(info.tailNumber, a.tailNumber, sizeof info.tailNumber - 1);
    info.staticCGtoGround = 1.2f;
    info.format = {a.nEngines, a.contFlags, a.discFlags, contRecordSize(a.contFlags, a.nEngines),
                   discRecordSize(a.discFlags)};
    info.originalRecording = a.digest ? 1 : 0;
    file.addTrack(info);

    const auto samples = static_cast<uint32_t>(a.seconds / a.interval) + 1;
    std::vector<unsigned char> cont(std::size_t{samples} * info.format.contRecordSize);
    std::vector<unsigned char> disc(std::size_t{samples} * info.format.discRecordSize);
    DataBuffer buffer(cont.data(), disc.data(), info.format);
    uint32_t kept = 0;
    DiscData last{};
    for (uint32_t i = 0; i < samples; ++i) {
        const double t = i * a.interval;
        buffer.setContData(i, contSample(a, path, t));
        DiscData d = discSample(t, a.nEngines);
        if (kept == 0 || !discDataEqual(d, last, a.discFlags, a.nEngines)) {
            buffer.setDiscData(kept++, d);
            last = d;
        }
    }
    file.writeContData(samples, cont.data());
    file.writeDiscData(kept, disc.data());
}

Marker marker(double seconds, uint32_t type, uint32_t flags, const char* text) {
    Marker m;
    m.time = static_cast<uint32_t>(std::lround(seconds * kTicksPerSecond));
    m.type = type;
    m.flags = flags;
    m.text = text;
    return m;
}

} // namespace

void writeSampleRecording(const std::string& path) {
    const Aircraft user{"Cessna Skyhawk 172SP Paint1", "N172ZP", 1, 0x7fff, 0x7ff, true, 300.0, 0.1};
    const Aircraft airliner{"Boeing 737-800 Paint2", "N737ZL", 2, 0x0037, 0x05f, true, 180.0, 0.5};
    const Aircraft helicopter{"Bell 206B JetRanger", "", 1, 0x0001, 0x000, false, 120.0, 1.0};

    ZflFile file;
    file.open(path, ZflFile::Write);
    writeTrack(file, user, circuit);
    writeTrack(file, airliner, approach);
    writeTrack(file, helicopter, hover);

    file.addMarker(marker(0.0, Marker::None, Marker::kChapter, "Engine start"));
    file.addMarker(marker(15.0, Marker::DisplayText, Marker::kChapter | 5, "Lift-off"));
    file.addMarker(marker(60.0, Marker::PlaySound, 0, "sounds/atc-handoff.wav"));
    Marker camera = marker(90.0, Marker::SwitchCamera, 0, "Tower view of the circuit");
    for (uint8_t i = 0; i < camera.cameraId.size(); ++i)
        camera.cameraId[i] = static_cast<uint8_t>(0xa0 + i);
    file.addMarker(camera);
    file.addMarker(marker(120.0, Marker::Pause, Marker::kChapter, "Top of climb"));
    file.close();
}
