#include "ProbeChecks.h"

#include <cstring>

#include "host/FSinterface.h"

namespace {

// Fields at which two records differ, timestamps aside.
template <typename Record> std::string differences(const Record& a, const Record& b) {
    const auto* x = reinterpret_cast<const unsigned char*>(&a);
    const auto* y = reinterpret_cast<const unsigned char*>(&b);
    std::string offsets;
    for (std::size_t i = sizeof(uint32_t); i < sizeof(Record); ++i)
        if (x[i] != y[i])
            offsets += " " + std::to_string(i);
    return offsets;
}

void read(uint32_t id, ContData& cont, DiscData& disc) {
    std::memset(&cont, 0, sizeof cont);
    std::memset(&disc, 0, sizeof disc);
    FSinterface::readData(id, ContGroup::All, DiscGroup::All, &cont, &disc);
}

DataFormat formatOf(uint32_t id, uint32_t contFlags, uint32_t discFlags) {
    AcftData data;
    FSinterface::getAcftData(id, data);
    return DataFormat{data.nEngines, contFlags, discFlags, 0, 0};
}

// Other values for every field that every aircraft can take: all but the tailhook, the wing
// fold and the water rudder (which only some have), the wind and the Mach number (never
// written), and the levers of engines the aircraft lacks.
void change(ContData& cont, DiscData& disc, uint8_t engines) {
    cont.latitude += int64_t{1} << 36;
    cont.longitude -= int64_t{1} << 50;
    cont.altitude += int64_t{150} << 32;
    cont.pitch = 0x01000000;
    cont.bank = -0x02000000;
    cont.heading = 0x40000000;
    cont.velocityX = 12.5;
    cont.velocityY = -3.25;
    cont.velocityZ = 150.75;
    cont.elevators = 1234;
    cont.ailerons = -2345;
    cont.rudder = 345;
    for (uint8_t i = 0; i < engines && i < kMaxEngines; ++i) {
        cont.throttle[i] = static_cast<int16_t>(3000 + 1000 * i);
        cont.prop[i] = static_cast<int16_t>(9000 + 500 * i);
        cont.mix[i] = static_cast<int16_t>(12000 + 700 * i);
    }
    cont.spoilers = 5000;
    cont.IAS = 123.5f;
    cont.TAS = 140.25f;
    cont.mainexit = 0.5f;
    cont.hour = 7;
    cont.minute = 8;
    cont.second = 9;
    for (int i = 0; i < 4; ++i)
        cont.extControls[i] = 0.125f * static_cast<float>(i + 1);
    for (int i = 0; i < 8; ++i)
        cont.extFlaps[i] = static_cast<uint16_t>(1000 * (i + 1));
    for (int i = 0; i < 5; ++i)
        cont.extGear[i] = 0.25f * static_cast<float>(i % 4);
    disc.flaps = 1;
    disc.gear = disc.gear == 0 ? 16383 : 0;
    disc.lights = 0x0123;
    disc.parkbrake = disc.parkbrake == 0 ? 1 : 0;
    disc.engines = static_cast<uint8_t>((disc.engines & 0xF0) | (engines > 1 ? 0x2 : 0x0));
    disc.nav1 = (45u << 16) | 0x1130;
    disc.nav2 = (270u << 16) | 0x0890;
    disc.adf = (0x0350u << 16) | (0x1u << 28) | (0x5u << 12);
    disc.com = 0x2345u | (0x1800u << 16);
    disc.squawk = 0x4567;
    disc.smoke = disc.smoke == 0 ? 1 : 0;
    disc.autopilot = disc.autopilot == 0 ? 1 : 0;
    disc.concnose = 50;
    disc.day = 15;
    disc.month = 3;
    disc.year = 2025;
}

// Every group written and read again within one frame must come back as written: first as read
// (what the host already holds), then changed (so that a write that does nothing shows).
void roundTrip(const char* who, uint32_t id, const ProbeChecks::Report& report) {
    const DataFormat format = formatOf(id, ContGroup::All, DiscGroup::All);
    for (const bool changed : {false, true}) {
        ContData written{}, back{};
        DiscData writtenDisc{}, backDisc{};
        read(id, written, writtenDisc);
        if (changed)
            change(written, writtenDisc, format.nEngines);
        FSinterface::writeData(id, &written, &writtenDisc, &format, false);
        read(id, back, backDisc);
        // On the ground or not follows from where the aircraft now is, on the newer hosts.
        writtenDisc.onground = backDisc.onground;
        const std::string cont = differences(written, back);
        const std::string disc = differences(writtenDisc, backDisc);
        report(std::string(changed ? "changed " : "roundtrip ") + who +
               (cont.empty() && disc.empty() ? " ok" : " mismatch cont" + cont + " disc" + disc));
    }
}

void writeDisc(uint32_t id, uint32_t discFlags, const DiscData& disc) {
    ContData cont{};
    DiscData unused{};
    FSinterface::readData(id, 0, 0, &cont, &unused);
    const DataFormat format = formatOf(id, 0, discFlags);
    FSinterface::writeData(id, &cont, &disc, &format, false);
}

std::string titleOf(uint32_t id) {
    AcftData data;
    FSinterface::getAcftData(id, data);
    return data.title;
}

uint8_t flapsOf(uint32_t id) {
    ContData cont{};
    DiscData disc{};
    read(id, cont, disc);
    return disc.flaps;
}

uint8_t parkingBrakeOf(uint32_t id) {
    ContData cont{};
    DiscData disc{};
    read(id, cont, disc);
    return disc.parkbrake;
}

} // namespace

void ProbeChecks::frame(const Report& report) {
    const uint32_t user = FSinterface::getUserAcftID();
    DiscData disc{};
    switch (step_++) {
    case 0:
        roundTrip("user", user, report);
        aiId_ = FSinterface::createAicraft(titleOf(user), "PROBE1");
        report("ai " + std::to_string(aiId_ != 0 ? 1 : 0));
        break;
    case 1:
        if (aiId_ != 0)
            roundTrip("ai", aiId_, report);
        disc.flaps = 1;
        writeDisc(user, DiscGroup::Flaps, disc);
        if (aiId_ != 0)
            writeDisc(aiId_, DiscGroup::Flaps, disc);
        break;
    case 2:
        report("flaps user " + std::to_string(flapsOf(user)) +
               (aiId_ != 0 ? " ai " + std::to_string(flapsOf(aiId_)) : std::string()));
        disc.parkbrake = 1;
        writeDisc(user, DiscGroup::ParkingBrake, disc);
        writeDisc(user, DiscGroup::ParkingBrake, disc);
        report("parkbrake set twice " + std::to_string(parkingBrakeOf(user)));
        writeDisc(user, DiscGroup::Flaps, disc);
        report("parkbrake without group " + std::to_string(parkingBrakeOf(user)));
        break;
    default:
        break;
    }
}

void ProbeChecks::ownFlight(const Report& report) {
    const std::string path = FSinterface::getFlightsFolder() + "/ProbeFlight";
    const bool saved = FSinterface::saveFlight(path, "Probe flight", "saved by the probe");
    const bool loaded = FSinterface::loadFlight(path);
    report(std::string("ownflight saved ") + (saved ? "1" : "0") + " loaded " + (loaded ? "1" : "0"));
}
