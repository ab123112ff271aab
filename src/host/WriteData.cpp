#include <algorithm>
#include <array>
#include <cmath>

#include "host/FSinterface.h"
#include "host/HostState.h"
#include "host/LevelDLights.h"
#include "host/SimObject.h"
#include "host/StateExchange.h"

namespace V = HostVariables;

namespace {

namespace Event {
constexpr uint32_t FlapsAxis = 0x103E6;
constexpr uint32_t ParkingBrakeToggle = 0x100D8;
constexpr uint32_t Nav1 = 0x100AC;
constexpr uint32_t Nav1Obs = 0x100B4;
constexpr uint32_t Nav2 = 0x100AD;
constexpr uint32_t Nav2Obs = 0x100B5;
constexpr uint32_t Adf = 0x103AF;
constexpr uint32_t Com1 = 0x100AB;
constexpr uint32_t Com2 = 0x1038A;
constexpr uint32_t Transponder = 0x100B3;
constexpr uint32_t SmokeOn = 0x10201;
constexpr uint32_t SmokeOff = 0x10202;
constexpr uint32_t AutopilotOn = 0x10100;
constexpr uint32_t AutopilotOff = 0x100FF;
} // namespace Event

// The gear handle's full travel; the legs follow it as a ratio.
constexpr double kGearDown = 16383;

uint32_t lowHalf(uint32_t word) {
    return word & 0xFFFF;
}
uint32_t highHalf(uint32_t word) {
    return word >> 16;
}

// Engines 1 to nEngines only: the aircraft may have fewer engines than the record has slots.
void writeLevers(const SimObject& object, const V::PerTag& lever, const ContData& cont,
                 const StateExchange::Levers ContData::*levers, uint32_t nEngines) {
    for (uint32_t engine = 0; engine < nEngines; ++engine)
        object.set(lever, (cont.*levers)[engine], engine + 1);
}

void writeExtendedControls(const SimObject& object, const ContData& cont) {
    if (auto* controls = object.record<ZHostControlRecord>(HostRecords::kControls); controls != nullptr)
        for (int i = 0; i < 4; ++i)
            controls->values[i] = cont.extControls[i];
    if (ZHostChainControl* chained = object.chainedControl(); chained != nullptr)
        chained->control = cont.extControls[4];
}

void writeExtendedFlaps(const SimObject& object, const ContData& cont) {
    for (uint32_t surface = 0; surface < StateExchange::kFlapSurfaces.size(); ++surface)
        for (uint32_t side = 0; side < StateExchange::kSides; ++side)
            object.set(*StateExchange::kFlapSurfaces[surface],
                       cont.extFlaps[StateExchange::kSides * surface + side], side + 1);
}

using GearLegs = std::array<float, StateExchange::kGearLegs>;

void writeGearLegs(const SimObject& object, const GearLegs& legs) {
    for (uint32_t leg = 0; leg < StateExchange::kGearLegs; ++leg)
        object.set(V::kGearLegPosition, legs[leg], leg + 1);
}

// Exits, tailhook and wing fold are driven in the object's own records: their variables only
// report them.
void writeDoors(const SimObject& object, const ContData& cont, uint32_t flags) {
    if (flags & ContGroup::MainExit)
        if (auto* exits = object.record<ZHostExitRecord>(HostRecords::kExits); exits != nullptr)
            exits->open[0] = cont.mainexit;
    if (flags & ContGroup::Tailhook)
        if (auto* tailhook = object.record<ZHostTailhookRecord>(HostRecords::kTailhook); tailhook != nullptr)
            tailhook->position = cont.tailhook;
    if (flags & ContGroup::WingFold)
        if (auto* wingFold = object.record<ZHostWingFoldRecord>(HostRecords::kWingFold);
            wingFold != nullptr) {
            wingFold->left = cont.wingfoldL;
            wingFold->right = cont.wingfoldR;
        }
}

// Wind and Mach are recorded only: playback never changes the simulator's weather.
void writeCont(const SimObject& object, const ContData& cont, uint32_t flags, uint32_t nEngines) {
    if (flags & ContGroup::FlightControls) {
        object.set(V::kElevatorPosition, cont.elevators);
        object.set(V::kAileronPosition, cont.ailerons);
        object.set(V::kRudderPosition, cont.rudder);
    }
    if (flags & ContGroup::Throttles)
        writeLevers(object, V::kThrottleLever, cont, &ContData::throttle, nEngines);
    if (flags & ContGroup::Propellers)
        writeLevers(object, V::kPropellerLever, cont, &ContData::prop, nEngines);
    if (flags & ContGroup::Mixtures)
        writeLevers(object, V::kMixtureLever, cont, &ContData::mix, nEngines);
    if (flags & ContGroup::Spoilers)
        object.set(V::kSpoilerHandle, cont.spoilers);
    if (flags & ContGroup::ExtendedFlaps)
        writeExtendedFlaps(object, cont);
    if (flags & ContGroup::ExtendedGear) {
        GearLegs legs;
        for (uint32_t leg = 0; leg < StateExchange::kGearLegs; ++leg)
            legs[leg] = cont.extGear[leg];
        writeGearLegs(object, legs);
    }
    if (flags & ContGroup::ExtendedControls)
        writeExtendedControls(object, cont);
    writeDoors(object, cont, flags);
}

// The user aircraft's flaps follow its flaps axis; an AI aircraft's handle is set directly.
void writeFlaps(uint32_t id, const SimObject& object, uint8_t flaps) {
    if (id != FSinterface::getUserAcftID()) {
        object.set(V::kFlapHandleIndex, flaps);
        return;
    }
    const double positions = object.get(V::kFlapPositions);
    if (positions <= 0)
        return;
    const auto axis = static_cast<int32_t>(std::trunc(flaps / positions * 32768 - 16384));
    object.sendEvent(Event::FlapsAxis, static_cast<uint32_t>(axis));
}

// Without the legs of the record the legs follow the handle.
void writeGear(const SimObject& object, int16_t gear, bool moveGearLegs, uint32_t contFlags) {
    object.set(V::kGearHandlePosition, gear);
    if (!moveGearLegs || (contFlags & ContGroup::ExtendedGear))
        return;
    GearLegs legs;
    legs.fill(static_cast<float>(std::min(gear / kGearDown, 1.0)));
    writeGearLegs(object, legs);
}

// A record without the parking brake releases it; the toggle is sent only for a change.
void writeParkingBrake(const SimObject& object, const DiscData& disc, uint32_t flags) {
    const bool wanted = (flags & DiscGroup::ParkingBrake) && disc.parkbrake != 0;
    const bool set = object.get(V::kParkingBrakePosition) != 0;
    if (wanted != set)
        object.sendEvent(Event::ParkingBrakeToggle);
}

void writeRadios(const SimObject& object, const DiscData& disc, uint32_t flags) {
    if (flags & DiscGroup::NavRadios) {
        object.sendEvent(Event::Nav1, lowHalf(disc.nav1));
        object.sendEvent(Event::Nav1Obs, highHalf(disc.nav1));
        object.sendEvent(Event::Nav2, lowHalf(disc.nav2));
        object.sendEvent(Event::Nav2Obs, highHalf(disc.nav2));
        object.sendEvent(Event::Adf, disc.adf);
    }
    if (flags & DiscGroup::ComRadios) {
        object.sendEvent(Event::Com1, lowHalf(disc.com));
        object.sendEvent(Event::Com2, highHalf(disc.com));
        object.sendEvent(Event::Transponder, disc.squawk);
    }
}

void writeDisc(uint32_t id, const SimObject& object, const DiscData& disc, uint32_t flags, uint32_t contFlags,
               uint32_t nEngines, bool moveGearLegs) {
    if (flags & DiscGroup::Flaps)
        writeFlaps(id, object, disc.flaps);
    if (flags & DiscGroup::Gear)
        writeGear(object, disc.gear, moveGearLegs, contFlags);
    if (flags & DiscGroup::Lights) {
        if (StateExchange::usesLevelDLights(id))
            LevelDLights::write(*hostState().panels, disc.lights);
        else
            object.set(V::kLightStates, disc.lights);
    }
    writeParkingBrake(object, disc, flags);
    if (flags & DiscGroup::Engines)
        for (uint32_t engine = 0; engine < nEngines; ++engine)
            object.set(V::kEngineRunning, (disc.engines >> engine) & 1, engine + 1);
    writeRadios(object, disc, flags);
    if (flags & DiscGroup::Smoke)
        object.sendEvent(disc.smoke != 0 ? Event::SmokeOn : Event::SmokeOff);
    if (flags & DiscGroup::Autopilot)
        object.sendEvent(disc.autopilot != 0 ? Event::AutopilotOn : Event::AutopilotOff);
    if (flags & DiscGroup::NoseVisor)
        object.set(V::kNoseVisorPosition, disc.concnose);
}

// The parts the record holds replace those of the simulator's clock.
void writeDateTime(const ContData& cont, const DiscData& disc, uint32_t contFlags, uint32_t discFlags) {
    if (!(contFlags & ContGroup::TimeOfDay) && !(discFlags & DiscGroup::Date))
        return;
    ZHostDateTime dateTime = FSinterface::getDateTime();
    if (contFlags & ContGroup::TimeOfDay) {
        dateTime.hour = cont.hour;
        dateTime.minute = cont.minute;
        dateTime.second = cont.second;
    }
    if (discFlags & DiscGroup::Date) {
        dateTime.day = disc.day;
        dateTime.month = disc.month;
        dateTime.year = disc.year;
    }
    FSinterface::setDateTime(dateTime);
}

} // namespace

void FSinterface::writeData(uint32_t id, const ContData* cont, const DiscData* disc, const DataFormat* fmt,
                            bool moveGearLegs) {
    if (hostState().stopping)
        return;
    const SimObject object = SimObject::byId(id, "FSinterface::writeData");
    const uint32_t contFlags = fmt->ContFlags;
    const uint32_t discFlags = fmt->DiscFlags;
    const uint32_t nEngines = std::min<uint32_t>(fmt->nEngines, kMaxEngines);

    object.setPosition(
        {cont->latitude, cont->longitude, cont->altitude, cont->pitch, cont->bank, cont->heading},
        disc->onground);
    if (contFlags & ContGroup::Airspeeds) {
        object.set(V::kIndicatedAirspeed, cont->IAS);
        object.set(V::kTrueAirspeed, cont->TAS);
    }
    const double velocity[3] = {cont->velocityX, cont->velocityY, cont->velocityZ};
    object.setVelocity(velocity);

    writeCont(object, *cont, contFlags, nEngines);
    writeDisc(id, object, *disc, discFlags, contFlags, nEngines, moveGearLegs);
    writeDateTime(*cont, *disc, contFlags, discFlags);
}
