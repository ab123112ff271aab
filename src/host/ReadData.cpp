#include <cmath>

#include "host/FSinterface.h"
#include "host/HostState.h"
#include "host/LevelDLights.h"
#include "host/SimObject.h"
#include "host/StateExchange.h"

namespace V = HostVariables;
using StateExchange::truncated;

namespace {

// All four levers, whatever the engine count.
void readLevers(const SimObject& object, const V::PerTag& lever, ContData& cont,
                StateExchange::Levers ContData::*levers) {
    for (uint32_t engine = 0; engine < kMaxEngines; ++engine)
        (cont.*levers)[engine] = truncated<int16_t>(object.get(lever, engine + 1));
}

uint16_t rounded(double value) {
    return truncated<uint16_t>(value + 0.5);
}

void readExtendedControls(const SimObject& object, ContData& cont) {
    const ZHostControlRecord* controls = object.record<ZHostControlRecord>(HostRecords::kControls);
    for (int i = 0; i < 4; ++i)
        cont.extControls[i] = controls != nullptr ? static_cast<float>(controls->values[i]) : 0.0f;
    const ZHostChainControl* chained = object.chainedControl();
    cont.extControls[4] = chained != nullptr ? static_cast<float>(chained->control) : 0.0f;
}

void readExtendedFlaps(const SimObject& object, ContData& cont) {
    for (uint32_t surface = 0; surface < StateExchange::kFlapSurfaces.size(); ++surface)
        for (uint32_t side = 0; side < StateExchange::kSides; ++side)
            cont.extFlaps[StateExchange::kSides * surface + side] =
                truncated<uint16_t>(object.get(*StateExchange::kFlapSurfaces[surface], side + 1));
}

void readExtendedGear(const SimObject& object, ContData& cont) {
    for (uint32_t leg = 0; leg < StateExchange::kGearLegs; ++leg)
        cont.extGear[leg] = static_cast<float>(object.get(V::kGearLegPosition, leg + 1));
}

// Active frequency in the low half, OBS in the high half.
uint32_t navRadio(const SimObject& object, uint32_t radio) {
    const auto frequency = truncated<uint16_t>(object.get(V::kNavActiveFrequency, radio));
    const auto obs = truncated<uint16_t>(object.get(V::kNavObs, radio));
    return static_cast<uint32_t>(obs) << 16 | frequency;
}

// BCD kHz below 1000 in bits 16..27, the thousands in bits 28..31, the tenths in bits 12..15.
uint32_t adfRadio(const SimObject& object) {
    const auto frequency = truncated<uint32_t>(object.get(V::kAdfFrequency, 1));
    const auto extended = truncated<uint32_t>(object.get(V::kAdfExtendedFrequency, 1));
    return frequency << 16 | (extended & 0x0F00) << 20 | (extended & 0x000F) << 12;
}

uint8_t runningEngines(const SimObject& object) {
    uint32_t bits = 0;
    for (uint32_t engine = 0; engine < kMaxEngines; ++engine)
        if (object.get(V::kEngineRunning, engine + 1) != 0)
            bits |= 1u << engine;
    return static_cast<uint8_t>(bits);
}

void readCont(const SimObject& object, uint32_t flags, ContData& cont) {
    if (flags & ContGroup::FlightControls) {
        cont.elevators = truncated<int16_t>(object.get(V::kElevatorPosition));
        cont.ailerons = truncated<int16_t>(object.get(V::kAileronPosition));
        cont.rudder = truncated<int16_t>(object.get(V::kRudderPosition));
    }
    if (flags & ContGroup::Throttles)
        readLevers(object, V::kThrottleLever, cont, &ContData::throttle);
    if (flags & ContGroup::Propellers)
        readLevers(object, V::kPropellerLever, cont, &ContData::prop);
    if (flags & ContGroup::Mixtures)
        readLevers(object, V::kMixtureLever, cont, &ContData::mix);
    if (flags & ContGroup::Spoilers)
        cont.spoilers = truncated<uint16_t>(object.get(V::kSpoilerHandle));
    if (flags & ContGroup::Airspeeds) {
        cont.IAS = static_cast<float>(object.get(V::kIndicatedAirspeed));
        cont.TAS = static_cast<float>(object.get(V::kTrueAirspeed));
    }
    if (flags & ContGroup::MainExit)
        cont.mainexit = static_cast<float>(object.get(V::kMainExitOpen));
    if (flags & ContGroup::Tailhook)
        cont.tailhook = static_cast<float>(object.get(V::kTailhookPosition));
    if (flags & ContGroup::WingFold) {
        cont.wingfoldL = static_cast<float>(object.get(V::kWingFoldLeft));
        cont.wingfoldR = static_cast<float>(object.get(V::kWingFoldRight));
    }
    if (flags & ContGroup::AmbientWind) {
        cont.windDir = rounded(object.get(V::kWindDirection));
        cont.windSpd = rounded(object.get(V::kWindSpeed));
    }
    if (flags & ContGroup::Mach)
        cont.mach = static_cast<float>(object.get(V::kMachNumber));
    if (flags & ContGroup::ExtendedControls)
        readExtendedControls(object, cont);
    if (flags & ContGroup::ExtendedFlaps)
        readExtendedFlaps(object, cont);
    if (flags & ContGroup::ExtendedGear)
        readExtendedGear(object, cont);
}

void readDisc(uint32_t id, const SimObject& object, uint32_t flags, DiscData& disc) {
    if (flags & DiscGroup::Flaps)
        disc.flaps = truncated<uint8_t>(object.get(V::kFlapHandleIndex));
    if (flags & DiscGroup::Gear)
        disc.gear = truncated<int16_t>(object.get(V::kGearHandlePosition));
    if (flags & DiscGroup::Lights)
        disc.lights = StateExchange::usesLevelDLights(id) ? LevelDLights::read(*hostState().panels)
                                                          : truncated<uint16_t>(object.get(V::kLightStates));
    if (flags & DiscGroup::ParkingBrake)
        disc.parkbrake = truncated<uint8_t>(object.get(V::kParkingBrakePosition));
    if (flags & DiscGroup::Engines) {
        // The bits above the four engines belong to nobody and stay as they are.
        const uint8_t others = disc.engines & 0xF0;
        disc.engines = static_cast<uint8_t>(others | runningEngines(object));
    }
    if (flags & DiscGroup::NavRadios) {
        disc.nav1 = navRadio(object, 1);
        disc.nav2 = navRadio(object, 2);
        disc.adf = adfRadio(object);
    }
    if (flags & DiscGroup::ComRadios) {
        const auto com1 = truncated<uint16_t>(object.get(V::kComActiveFrequency, 1));
        const auto com2 = truncated<uint16_t>(object.get(V::kComActiveFrequency, 2));
        disc.com = static_cast<uint32_t>(com2) << 16 | com1;
        disc.squawk = truncated<uint16_t>(object.get(V::kTransponderCode));
    }
    if (flags & DiscGroup::Smoke)
        disc.smoke = truncated<uint8_t>(object.get(V::kSmokeEnable));
    if (flags & DiscGroup::Autopilot)
        disc.autopilot = truncated<uint8_t>(object.get(V::kAutopilotMaster));
    if (flags & DiscGroup::NoseVisor)
        disc.concnose = truncated<uint8_t>(object.get(V::kNoseVisorPosition));
}

void readDateTime(uint32_t contFlags, uint32_t discFlags, ContData& cont, DiscData& disc) {
    if (!(contFlags & ContGroup::TimeOfDay) && !(discFlags & DiscGroup::Date))
        return;
    const ZHostDateTime now = FSinterface::getDateTime();
    if (contFlags & ContGroup::TimeOfDay) {
        cont.hour = static_cast<uint8_t>(now.hour);
        cont.minute = static_cast<uint8_t>(now.minute);
        cont.second = static_cast<uint8_t>(now.second);
    }
    if (discFlags & DiscGroup::Date) {
        disc.day = static_cast<uint8_t>(now.day);
        disc.month = static_cast<uint8_t>(now.month);
        disc.year = now.year;
    }
}

} // namespace

void FSinterface::readData(uint32_t id, uint32_t contFlags, uint32_t discFlags, ContData* cont,
                           DiscData* disc) {
    const SimObject object = SimObject::byId(id, "FSinterface::readData");
    const ZHostPosition position = object.position();
    cont->latitude = position.latitude;
    cont->longitude = position.longitude;
    cont->altitude = position.altitude;
    cont->pitch = position.pitch;
    cont->bank = position.bank;
    cont->heading = position.heading;
    double velocity[3];
    object.velocity(velocity);
    cont->velocityX = velocity[0];
    cont->velocityY = velocity[1];
    cont->velocityZ = velocity[2];
    disc->onground = truncated<uint8_t>(object.get(V::kOnGround));

    readCont(object, contFlags, *cont);
    readDisc(id, object, discFlags, *disc);
    readDateTime(contFlags, discFlags, *cont, *disc);
}
