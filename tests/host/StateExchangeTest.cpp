// The aircraft state exchange against fake simulation objects that are numbered by the
// simulator's own formulas: which quantity each field holds, and how writeData drives it back.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "FakeObject.h"
#include "host/FSinterface.h"
#include "support/Errors.h"
#include "support/Packed.h"

namespace {

using Q = HostNumbers::Quantity;
using R = HostNumbers::Record;

constexpr uint32_t kUser = 1;
constexpr uint32_t kRecorded = 10;
constexpr uint32_t kPlayed = 20;
constexpr double kUnset = -12345;

// A field that carries one host quantity, truncated toward zero or (float fields) as float.
struct Field {
    const char* name;
    Q quantity;
    uint32_t index;
    double value;
    bool asFloat;
    double (*stored)(const ContData&, const DiscData&);
};
#define CONT(f) [](const ContData& c, const DiscData&) { return static_cast<double>(c.f); }
#define DISC(f) [](const ContData&, const DiscData& d) { return static_cast<double>(d.f); }

const Field kFields[] = {
    {"elevators", Q::ElevatorPosition, 0, -1234.7, false, CONT(elevators)},
    {"ailerons", Q::AileronPosition, 0, -1500.9, false, CONT(ailerons)},
    {"rudder", Q::RudderPosition, 0, 5000.9, false, CONT(rudder)},
    {"throttle1", Q::ThrottleLever, 1, 16383.5, false, CONT(throttle[0])},
    {"throttle4", Q::ThrottleLever, 4, -4096.6, false, CONT(throttle[3])},
    {"prop2", Q::PropellerLever, 2, 9000.2, false, CONT(prop[1])},
    {"prop3", Q::PropellerLever, 3, 8000.2, false, CONT(prop[2])},
    {"mix1", Q::MixtureLever, 1, 7000.1, false, CONT(mix[0])},
    {"mix4", Q::MixtureLever, 4, 6000.3, false, CONT(mix[3])},
    {"spoilers", Q::SpoilerHandle, 0, 12000.8, false, CONT(spoilers)},
    {"IAS", Q::IndicatedAirspeed, 0, 251.25, true, CONT(IAS)},
    {"TAS", Q::TrueAirspeed, 0, 270.5, true, CONT(TAS)},
    {"mainexit", Q::MainExitOpen, 0, 0.75, true, CONT(mainexit)},
    {"tailhook", Q::TailhookPosition, 0, 0.5, true, CONT(tailhook)},
    {"wingfoldL", Q::WingFoldLeft, 0, 0.25, true, CONT(wingfoldL)},
    {"wingfoldR", Q::WingFoldRight, 0, 0.125, true, CONT(wingfoldR)},
    {"TE inner left", Q::TrailingEdgeFlapsInner, 1, 1000.5, false, CONT(extFlaps[0])},
    {"TE outer right", Q::TrailingEdgeFlapsOuter, 2, 2200.5, false, CONT(extFlaps[3])},
    {"LE inner left", Q::LeadingEdgeFlapsInner, 1, 3100.5, false, CONT(extFlaps[4])},
    {"LE outer right", Q::LeadingEdgeFlapsOuter, 2, 4200.5, false, CONT(extFlaps[7])},
    {"leg1", Q::GearLegPosition, 1, 0.375, true, CONT(extGear[0])},
    {"leg5", Q::GearLegPosition, 5, 0.625, true, CONT(extGear[4])},
    {"flaps", Q::FlapHandleIndex, 0, 2.7, false, DISC(flaps)},
    {"gear", Q::GearHandlePosition, 0, 16383.9, false, DISC(gear)},
    {"lights", Q::LightStates, 0, 0x1234, false, DISC(lights)},
    {"parkbrake", Q::ParkingBrakePosition, 0, 1, false, DISC(parkbrake)},
    {"squawk", Q::TransponderCode, 0, 0x1200, false, DISC(squawk)},
    {"smoke", Q::SmokeEnable, 0, 1, false, DISC(smoke)},
    {"autopilot", Q::AutopilotMaster, 0, 1, false, DISC(autopilot)},
    {"concnose", Q::NoseVisorPosition, 0, 75.5, false, DISC(concnose)},
};

// The quantities the fields of kFields and the radios, engines and wind take, times `factor`.
void fill(FakeObject& aircraft, double factor) {
    for (Q slots :
         {Q::ThrottleLever, Q::PropellerLever, Q::MixtureLever, Q::TrailingEdgeFlapsInner,
          Q::TrailingEdgeFlapsOuter, Q::LeadingEdgeFlapsInner, Q::LeadingEdgeFlapsOuter, Q::GearLegPosition})
        for (uint32_t i = 1; i <= static_cast<uint32_t>(HostNumbers::info(slots).maxIndex); ++i)
            aircraft.set(slots, (slots == Q::GearLegPosition ? 0.5 : 111.0 * i) * factor, i);
    for (const Field& field : kFields)
        aircraft.set(field.quantity, field.value * factor, field.index);
    const double engines[] = {1, 0, 1, 1};
    for (uint32_t i = 1; i <= 4; ++i)
        aircraft.set(Q::EngineRunning, engines[i - 1] * factor, i);
    aircraft.set(Q::NavActiveFrequency, 0x1130 * factor, 1);
    aircraft.set(Q::NavObs, 123 * factor, 1);
    aircraft.set(Q::NavActiveFrequency, 0x1095 * factor, 2);
    aircraft.set(Q::NavObs, 271 * factor, 2);
    aircraft.set(Q::AdfFrequency, 0x0345 * factor, 1);         // 1345.5 kHz: 345 below 1000,
    aircraft.set(Q::AdfExtendedFrequency, 0x0105 * factor, 1); // thousands 1, tenths 5
    aircraft.set(Q::ComActiveFrequency, 0x2290 * factor, 1);
    aircraft.set(Q::ComActiveFrequency, 0x1845 * factor, 2);
    aircraft.set(Q::OnGround, factor);
    aircraft.set(Q::WindDirection, 270.4 * factor);
    aircraft.set(Q::WindSpeed, 9.6 * factor);
    aircraft.set(Q::MachNumber, 0.45 * factor);
    aircraft.set(Q::FlapPositions, 4);
    aircraft.position = {static_cast<int64_t>(4e18 * factor), -3, 1000, -7, 8, 0x90000000u};
    aircraft.velocity[0] = 1.5 * factor;
    aircraft.velocity[2] = -2.5 * factor;
}

const ZHostDateTime kRecordedTime = {2011, 8, 15, 13, 45, 30};

DataFormat everything(uint8_t nEngines = 4) {
    return {nEngines, ContGroup::All, DiscGroup::All, 0, 0};
}

class StateExchangeTest : public FakeObjectTest {
protected:
    static void read(uint32_t id, ContData& cont, DiscData& disc) {
        cont = {};
        disc = {};
        FSinterface::readData(id, ContGroup::All, DiscGroup::All, &cont, &disc);
    }
};

TEST_F(StateExchangeTest, ReadTakesEachQuantityIntoItsFieldAtEveryVersion) {
    for (int version = 0; version < 5; ++version) {
        SCOPED_TRACE("version index " + std::to_string(version));
        useFakeHost(version);
        FakeObject aircraft(kRecorded, version);
        fill(aircraft, 1);
        ZHostControlRecord controls = {{0.25, -0.5, 0.75, 0.125}};
        ZHostChainControl rudder = {0.375};
        ZHostChainLink second = {&rudder}, first = {&second};
        aircraft.setRecord(R::Controls, &controls);
        aircraft.setRecord(R::ControlChain, &first);
        fakeDateTime() = kRecordedTime;
        ContData cont;
        DiscData disc;
        read(kRecorded, cont, disc);

        for (const Field& field : kFields) {
            const double expected = field.asFloat ? static_cast<float>(field.value) : std::trunc(field.value);
            EXPECT_EQ(expected, field.stored(cont, disc)) << field.name;
        }
        EXPECT_EQ(270, copyOf(cont.windDir));
        EXPECT_EQ(10, copyOf(cont.windSpd)); // 9.6 rounded
        EXPECT_FLOAT_EQ(0.45f, copyOf(cont.mach));
        EXPECT_EQ(0b1101, copyOf(disc.engines));
        EXPECT_EQ(123u << 16 | 0x1130, copyOf(disc.nav1));
        EXPECT_EQ(271u << 16 | 0x1095, copyOf(disc.nav2));
        EXPECT_EQ(0x13455000u, copyOf(disc.adf));
        EXPECT_EQ(0x18452290u, copyOf(disc.com));
        EXPECT_EQ(1, copyOf(disc.onground));
        const float extControls[] = {0.25f, -0.5f, 0.75f, 0.125f, 0.375f};
        EXPECT_EQ(0, std::memcmp(extControls,
                                 reinterpret_cast<const char*>(&cont) + offsetof(ContData, extControls),
                                 sizeof extControls));
        EXPECT_EQ(0, std::memcmp(&aircraft.position,
                                 reinterpret_cast<const char*>(&cont) + offsetof(ContData, latitude),
                                 sizeof aircraft.position));
        EXPECT_EQ(-2.5, copyOf(cont.velocityZ));
        aircraft.set(Q::AileronPosition, -0.9); // toward zero, not down
        aircraft.setRecord(R::Controls, nullptr);
        second.next = nullptr; // a chain that ends early
        read(kRecorded, cont, disc);
        EXPECT_EQ(0, copyOf(cont.ailerons));
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(0, copyOf(cont.extControls[i])) << i;
        EXPECT_EQ((std::vector<int>{13, 45, 30, 15, 8, 2011}),
                  (std::vector<int>{cont.hour, cont.minute, cont.second, disc.day, disc.month, disc.year}));
    }
}

TEST_F(StateExchangeTest, WriteThenReadReproducesEveryGroupButWindAndMachAtEveryVersion) {
    for (int version = 0; version < 5; ++version) {
        SCOPED_TRACE("version index " + std::to_string(version));
        useFakeHost(version);
        FakeObject recorded(kRecorded, version), played(kPlayed, version);
        fill(recorded, 1);
        fill(played, 0);
        played.set(Q::WindDirection, 90);
        played.set(Q::WindSpeed, 3);
        played.set(Q::MachNumber, 0.1);
        ZHostControlRecord controls[2] = {{{0.25, -0.5, 0.75, 0.125}}, {}};
        ZHostChainControl rudder[2] = {{0.375}, {0}};
        ZHostChainLink second[2] = {{&rudder[0]}, {&rudder[1]}}, first[2] = {{&second[0]}, {&second[1]}};
        ZHostExitRecord exits{};
        ZHostTailhookRecord tailhook{};
        ZHostWingFoldRecord wingFold{};
        recorded.setRecord(R::Controls, &controls[0]);
        recorded.setRecord(R::ControlChain, &first[0]);
        played.setRecord(R::Controls, &controls[1]);
        played.setRecord(R::ControlChain, &first[1]);
        played.setRecord(R::Exits, &exits);
        played.setRecord(R::Tailhook, &tailhook);
        played.setRecord(R::WingFold, &wingFold);

        ContData before, cont, after;
        DiscData discBefore, disc, discAfter;
        read(kPlayed, before, discBefore);
        fakeDateTime() = kRecordedTime;
        read(kRecorded, cont, disc);
        fakeDateTime() = {1999, 1, 2, 3, 4, 5};
        const DataFormat format = everything();
        FSinterface::writeData(kPlayed, &cont, &disc, &format, true);
        read(kPlayed, after, discAfter);

        ContData expected = cont;
        expected.windDir = before.windDir;
        expected.windSpd = before.windSpd;
        expected.mach = before.mach;
        DiscData expectedDisc = disc;
        const bool older = version <= 2; // these take the on-ground flag with the position
        if (!older)
            expectedDisc.onground = discBefore.onground;
        EXPECT_EQ(0, std::memcmp(&expected, &after, sizeof after));
        EXPECT_EQ(0, std::memcmp(&expectedDisc, &discAfter, sizeof discAfter));
        EXPECT_EQ(0.75f, exits.open[0]); // the record, not the variable that reports it
        // The older hosts' form carries the flag, inside the position word.
        ASSERT_EQ(1u, played.positionWrites.size());
        EXPECT_EQ(older, played.positionWrites[0].withOnGround);
        EXPECT_EQ(older ? 1 : 0, played.positionWrites[0].onGround);
        EXPECT_EQ(older ? 1u : 0u, played.positionWrites[0].positionWord);
        EXPECT_EQ(0u, copyOf(hostState().bound.simState->positionWrite));
    }
}

TEST_F(StateExchangeTest, AOneEngineRecordFillsFourSlotsAndDrivesEngineOneOnly) {
    FakeObject recorded(kRecorded, 3), played(kPlayed, 3);
    fill(recorded, 1);
    ContData cont;
    DiscData disc;
    read(kRecorded, cont, disc);
    EXPECT_EQ(111 * 2, copyOf(cont.throttle[1]));
    EXPECT_EQ(111 * 3, copyOf(cont.throttle[2]));
    const DataFormat format = everything(1);
    FSinterface::writeData(kPlayed, &cont, &disc, &format, false);
    for (Q quantity : {Q::ThrottleLever, Q::PropellerLever, Q::MixtureLever, Q::EngineRunning}) {
        EXPECT_EQ(std::trunc(recorded.value(quantity, 1)), played.value(quantity, 1));
        for (uint32_t engine = 2; engine <= 4; ++engine)
            EXPECT_EQ(kUnset, played.value(quantity, engine)) << engine;
    }
}

TEST_F(StateExchangeTest, TheUsersFlapsMoveByTheAxisEventAnAiAircraftsByTheHandle) {
    FakeObject user(kUser, 3), ai(kPlayed, 3);
    setFakeUser(kUser);
    user.set(Q::FlapPositions, 5);
    const DataFormat format = {1, 0, DiscGroup::Flaps, 0, 0};
    ContData cont{};
    DiscData disc{};
    disc.flaps = 3;
    FSinterface::writeData(kUser, &cont, &disc, &format, false);
    FSinterface::writeData(kPlayed, &cont, &disc, &format, false);
    // 3 of 5 positions: trunc(3/5 * 32768 - 16384) = 3276
    EXPECT_EQ((std::vector<FakeObject::Event>{{0x103E6, 3276}}), user.events);
    EXPECT_TRUE(ai.events.empty());
    EXPECT_EQ(3, ai.value(Q::FlapHandleIndex));
    user.set(Q::FlapPositions, 4);
    disc.flaps = 1;
    FSinterface::writeData(kUser, &cont, &disc, &format, false);
    EXPECT_EQ(static_cast<uint32_t>(-8192), user.events.back().value);
}

TEST_F(StateExchangeTest, ParkingBrakeIsToggledOnlyForAChangeAndReleasedWithoutItsGroup) {
    FakeObject played(kPlayed, 3);
    played.set(Q::ParkingBrakePosition, 1);
    ContData cont{};
    DiscData disc{};
    disc.parkbrake = 1;
    const DataFormat with = {1, 0, DiscGroup::ParkingBrake, 0, 0}, without = {1, 0, 0, 0, 0};
    FSinterface::writeData(kPlayed, &cont, &disc, &with, false);
    EXPECT_TRUE(played.events.empty());
    FSinterface::writeData(kPlayed, &cont, &disc, &without, false);
    FSinterface::writeData(kPlayed, &cont, &disc, &without, false);
    EXPECT_EQ((std::vector<FakeObject::Event>{{0x100D8, 0}}), played.events);
    EXPECT_EQ(0, played.value(Q::ParkingBrakePosition));
}

TEST_F(StateExchangeTest, GearLegsFollowTheHandleUnlessTheRecordHasThem) {
    struct Case {
        int16_t gear;
        bool moveLegs;
        uint32_t contFlags;
        double leg;
    };
    const Case cases[] = {{8191, true, 0, 8191 / 16383.0},
                          {16383, true, 0, 1.0},
                          {20000, true, 0, 1.0},
                          {16383, false, 0, kUnset},
                          {16383, true, ContGroup::ExtendedGear, 0.25}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.gear) + (c.moveLegs ? " moving legs" : "") +
                     (c.contFlags ? " recorded" : ""));
        FakeObject played(kPlayed, 3);
        ContData cont{};
        for (int leg = 0; leg < 5; ++leg)
            cont.extGear[leg] = 0.25f;
        DiscData disc{};
        disc.gear = c.gear;
        const DataFormat format = {1, c.contFlags, DiscGroup::Gear, 0, 0};
        FSinterface::writeData(kPlayed, &cont, &disc, &format, c.moveLegs);
        EXPECT_EQ(c.gear, played.value(Q::GearHandlePosition));
        for (uint32_t leg = 1; leg <= 5; ++leg)
            EXPECT_FLOAT_EQ(static_cast<float>(c.leg),
                            static_cast<float>(played.value(Q::GearLegPosition, leg)));
    }
}

// The Level-D 767's light switches with their bits of the light mask.
const std::pair<const char*, int> kLevelDSwitches[] = {
    {"LVLDLightNavSwitch", 0},     {"LVLDLightBeaconSwitch", 1}, {"LVLDLightLLNoseSwitch", 2},
    {"LVLDLightTaxiSwitch", 3},    {"LVLDLightStrobeSwitch", 4}, {"LVLDLightPanelSwitch", 5},
    {"LVLDLightWingSwitch", 7},    {"LVLDLightRecogSwitch", 8},  {"LVLDLightOvrdSwitch", 10},
    {"LVLDLightTurnLSwitch", 11},  {"LVLDLightTurnRSwitch", 12}, {"LVLDLightLLLeftSwitch", 13},
    {"LVLDLightLLRightSwitch", 14}};

// The panel variables, ids by position in kLevelDSwitches (-1: no such variable).
double switches[std::size(kLevelDSwitches)];
const ZHostPanels kPanels = {[](const char* name) -> int32_t {
                                 for (std::size_t i = 0; i < std::size(kLevelDSwitches); ++i)
                                     if (std::strcmp(kLevelDSwitches[i].first, name) == 0)
                                         return static_cast<int32_t>(i);
                                 return -1;
                             },
                             [](int32_t id) { return id >= 0 ? switches[id] : 0.0; },
                             [](int32_t id, double value) {
                                 if (id >= 0)
                                     switches[id] = value;
                             },
                             nullptr};

TEST_F(StateExchangeTest, ALevelD767FlownByTheUserKeepsItsLightsInItsPanelSwitches) {
    FakeObject user(kUser, 3), ai(kPlayed, 3);
    setFakeUser(kUser);
    hostState().levelD767 = true;
    hostState().panels = &kPanels;
    user.set(Q::LightStates, 0x0FFF);
    ai.set(Q::LightStates, 0x0041);
    uint32_t all = 0, even = 0; // every switch; those at even places of the list
    for (std::size_t i = 0; i < std::size(kLevelDSwitches); ++i) {
        switches[i] = 1;
        all |= 1u << kLevelDSwitches[i].second;
        even |= i % 2 == 0 ? 1u << kLevelDSwitches[i].second : 0;
    }
    ContData cont;
    DiscData disc;
    read(kUser, cont, disc);
    EXPECT_EQ(all, copyOf(disc.lights));
    read(kPlayed, cont, disc);
    EXPECT_EQ(0x0041, copyOf(disc.lights));

    const DataFormat format = {1, 0, DiscGroup::Lights, 0, 0};
    disc.lights = static_cast<uint16_t>(even);
    FSinterface::writeData(kUser, &cont, &disc, &format, false);
    for (std::size_t i = 0; i < std::size(kLevelDSwitches); ++i)
        EXPECT_EQ(i % 2 == 0 ? 1.0 : 0.0, switches[i]) << kLevelDSwitches[i].first;
    EXPECT_EQ(0x0FFF, user.value(Q::LightStates));
    FSinterface::writeData(kPlayed, &cont, &disc, &format, false);
    EXPECT_EQ(even, ai.value(Q::LightStates));

    hostState().levelD767 = false;
    read(kUser, cont, disc);
    EXPECT_EQ(0x0FFF, copyOf(disc.lights));
}

} // namespace
