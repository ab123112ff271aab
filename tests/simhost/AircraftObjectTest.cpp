// An aircraft's simulation object as add-ons call it, under each host version's numbers.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "modules/HostNumbers.h"
#include "world/Aircraft.h"

namespace {

using namespace HostNumbers;

AircraftType carrierJet() {
    AircraftType type;
    type.title = "Carrier Jet";
    type.tailNumber = "NAVY1";
    type.engines = 2;
    type.flapPositions = 2;
    type.retractableGear = true;
    type.propAndMixture = false;
    type.tailhook = true;
    type.wingFold = true;
    type.waterRudder = true;
    type.eyeForward = 20;
    type.eyeRight = -1;
    type.eyeUp = 6;
    return type;
}

AircraftType trainer() {
    AircraftType type;
    type.title = "Trainer";
    type.tailNumber = "N1";
    type.flapPositions = 3;
    return type;
}

// One aircraft under one host version, called through its operation table.
class AircraftObjectTest : public ::testing::TestWithParam<int> {
protected:
    explicit AircraftObjectTest(const AircraftType& type = carrierJet(), double altitudeAboveGround = 0)
        : context(HostVersion::accepted(GetParam())),
          aircraft(7, type, context, StartPosition{47.4582, 8.5555, altitudeAboveGround, 340}),
          object(aircraft.object()), ops(*object->ops) {}

    int tag() const { return context.buildTag; }
    uint32_t property(Property p) const { return propertyId(tag(), p); }
    uint32_t variable(Quantity q) const { return variableId(tag(), q); }
    uint32_t unitOf(Quantity q) const { return unitId(tag(), info(q).unit); }
    int32_t get(Quantity q, double& value, uint32_t index = 0) {
        return ops.getVariable(object, variable(q), unitOf(q), &value, index);
    }
    int32_t set(Quantity q, double value, uint32_t index = 0) {
        return ops.setVariable(object, variable(q), unitOf(q), value, index);
    }
    double read(Quantity q, uint32_t index = 0) {
        double value = -1;
        EXPECT_EQ(0, get(q, value, index)) << static_cast<int>(q);
        return value;
    }
    std::string text(Property p, uint32_t size = 64) {
        std::vector<char> buffer(size + 1, 'x');
        EXPECT_EQ(0, ops.getText(object, property(p), buffer.data(), size));
        EXPECT_EQ('x', buffer[size]) << "wrote past the buffer";
        return buffer.data();
    }

    SimContext context;
    Aircraft aircraft;
    ZHostObject* object;
    const ZHostObjectOps& ops;
};

class AircraftObjectOfTrainerTest : public AircraftObjectTest {
protected:
    AircraftObjectOfTrainerTest() : AircraftObjectTest(trainer(), 300) {}
};

TEST_P(AircraftObjectTest, AnswersTextsInTheBufferItIsGiven) {
    EXPECT_EQ(7u, ops.id(object));
    EXPECT_EQ("Carrier Jet", text(Property::Title));
    EXPECT_EQ("Airplane", text(Property::Category));
    EXPECT_EQ("Carr", text(Property::Title, 5));
    EXPECT_EQ("", text(Property::Title, 1));
    char buffer[8];
    EXPECT_NE(0, ops.getText(object, property(Property::Title), buffer, 0));
    EXPECT_NE(0, ops.getText(object, property(Property::Position), buffer, sizeof buffer));
    EXPECT_NE(0, ops.getText(object, 0x1FF, buffer, sizeof buffer));

    EXPECT_EQ(0, ops.setText(object, property(Property::TailNumber), "D-EFGH"));
    EXPECT_EQ("D-EFGH", text(Property::TailNumber));
    EXPECT_EQ("D-EFGH", aircraft.tailNumber());
    EXPECT_NE(0, ops.setText(object, property(Property::Title), "Other"));
    EXPECT_EQ("Carrier Jet", text(Property::Title));
}

TEST_P(AircraftObjectTest, AnswersPositionAndVelocityBlocksOfTheirOwnSize) {
    ZHostPosition position{};
    ASSERT_EQ(0, ops.getBlock(object, property(Property::Position), &position, 36));
    EXPECT_EQ(0, std::memcmp(&position, &aircraft.position(), sizeof position));
    double reference[3];
    ASSERT_EQ(0, ops.getDoubles(object, property(Property::ReferencePoint), reference));
    for (const double metres : reference)
        EXPECT_EQ(0.0, metres);
    // The eye point from aircraft.cfg in metres, right, up, forward.
    ASSERT_EQ(0, ops.getDoubles(object, property(Property::EyePoint), reference));
    EXPECT_DOUBLE_EQ(-0.3048, reference[0]);
    EXPECT_DOUBLE_EQ(6 * 0.3048, reference[1]);
    EXPECT_DOUBLE_EQ(20 * 0.3048, reference[2]);
    EXPECT_NE(0, ops.getDoubles(object, property(Property::Velocity), reference));

    const double velocity[3] = {10, -2, 30};
    ASSERT_EQ(0, ops.setBlock(object, property(Property::Velocity), velocity, 24));
    double back[3] = {};
    ASSERT_EQ(0, ops.getBlock(object, property(Property::Velocity), back, 24));
    EXPECT_EQ(0, std::memcmp(velocity, back, sizeof back));
    EXPECT_EQ(0u, context.wrongForms.count());

    EXPECT_NE(0, ops.getBlock(object, property(Property::Position), &position, 32));
    EXPECT_NE(0, ops.getBlock(object, property(Property::Velocity), back, 36));
    EXPECT_NE(0, ops.setBlock(object, property(Property::Velocity), velocity, 16));
    EXPECT_NE(0, ops.setBlock(object, property(Property::Position), &position, 36));
    EXPECT_EQ(4u, context.wrongForms.count());
}

TEST_P(AircraftObjectTest, TakesVariablesOnlyInTheirUnitAndIndexRange) {
    ASSERT_EQ(0, set(Quantity::ThrottleLever, 8000, 2));
    EXPECT_EQ(8000, read(Quantity::ThrottleLever, 2));
    EXPECT_EQ(0, read(Quantity::ThrottleLever, 3)) << "a twin has no third engine";
    EXPECT_EQ(2, read(Quantity::EngineCount));
    EXPECT_EQ(2, read(Quantity::FlapPositions));
    EXPECT_EQ(0, read(Quantity::HasPropAndMixture));

    // Another quantity's unit: refused and reported, the value left alone.
    const Unit knots = Unit::Knots;
    double value = 0;
    EXPECT_NE(0, ops.getVariable(object, variable(Quantity::ThrottleLever), unitId(tag(), knots), &value, 2));
    EXPECT_NE(0, ops.setVariable(object, variable(Quantity::ThrottleLever), unitId(tag(), knots), 1, 2));
    EXPECT_EQ(8000, read(Quantity::ThrottleLever, 2));
    EXPECT_EQ(2u, context.wrongForms.count());

    // Out of range indexes and ids that are no variables: refused.
    EXPECT_NE(0, get(Quantity::ThrottleLever, value, 0));
    EXPECT_NE(0, get(Quantity::ThrottleLever, value, 5));
    EXPECT_NE(0, get(Quantity::ElevatorPosition, value, 1));
    EXPECT_NE(0, get(Quantity::AdfFrequency, value, 0));
    EXPECT_NE(0, get(Quantity::GearLegPosition, value, 6));
    EXPECT_NE(0, ops.getVariable(object, 0x3FF, unitOf(Quantity::ElevatorPosition), &value, 0));
    EXPECT_EQ(2u, context.wrongForms.count());
}

TEST_P(AircraftObjectTest, RefusesWritesOfReadOnlyVariables) {
    for (int q = static_cast<int>(Quantity::ReferenceAboveGround); q < static_cast<int>(Quantity::Count);
         ++q) {
        const auto quantity = static_cast<Quantity>(q);
        const double before = read(quantity);
        EXPECT_NE(0, set(quantity, before + 5)) << q;
        EXPECT_EQ(before, read(quantity)) << q;
    }
}

TEST_P(AircraftObjectTest, RecordsAreLiveStorageOfItsVariables) {
    const int v = context.versionIndex;
    for (int r = 0; r < static_cast<int>(Record::Count); ++r)
        EXPECT_NE(nullptr, ops.record(object, recordNumber(v, static_cast<Record>(r)))) << r;
    const int other = (v + 1) % HostVersion::kAccepted;
    EXPECT_EQ(nullptr, ops.record(object, recordNumber(other, Record::Controls)));

    auto* tailhook = static_cast<ZHostTailhookRecord*>(ops.record(object, recordNumber(v, Record::Tailhook)));
    tailhook->position = 0.75f;
    EXPECT_DOUBLE_EQ(0.75, read(Quantity::TailhookPosition));
    auto* fold = static_cast<ZHostWingFoldRecord*>(ops.record(object, recordNumber(v, Record::WingFold)));
    ASSERT_EQ(0, set(Quantity::WingFoldRight, 0.5));
    EXPECT_EQ(0.5f, fold->right);
    auto* exits = static_cast<ZHostExitRecord*>(ops.record(object, recordNumber(v, Record::Exits)));
    ASSERT_EQ(0, set(Quantity::MainExitOpen, 0.25));
    EXPECT_EQ(0.25f, exits->open[0]);

    auto* first = static_cast<ZHostChainLink*>(ops.record(object, recordNumber(v, Record::ControlChain)));
    auto* second = static_cast<ZHostChainLink*>(first->next);
    auto* waterRudder = static_cast<ZHostChainControl*>(second->next);
    ASSERT_NE(nullptr, waterRudder);
    EXPECT_EQ(0.0, waterRudder->control);
    EXPECT_NE(static_cast<void*>(waterRudder), ops.record(object, recordNumber(v, Record::Controls)));
}

TEST_P(AircraftObjectOfTrainerTest, HasNoRecordsOfWhatItLacks) {
    const int v = context.versionIndex;
    EXPECT_NE(nullptr, ops.record(object, recordNumber(v, Record::Controls)));
    EXPECT_NE(nullptr, ops.record(object, recordNumber(v, Record::Exits)));
    for (Record absent : {Record::ControlChain, Record::Tailhook, Record::WingFold})
        EXPECT_EQ(nullptr, ops.record(object, recordNumber(v, absent))) << static_cast<int>(absent);
}

// Older hosts take the position with the on-ground flag inside the position-write word, newer
// ones without; the other form is refused and reported.
TEST_P(AircraftObjectOfTrainerTest, TakesThePositionInTheHostsForm) {
    ZHostPosition wanted = aircraft.position();
    wanted.altitude += static_cast<int64_t>(50.0 * 4294967296.0);
    wanted.heading += 0x10000000;
    const bool older = GetParam() <= 2;
    if (older) {
        EXPECT_NE(0, ops.setPosition(object, &wanted));
        EXPECT_NE(0, ops.setPositionOnGround(object, &wanted, 1, 0)) << "outside the position-write word";
        context.simState.positionWrite = 1;
        EXPECT_NE(0, ops.setPositionOnGround(object, &wanted, 1, 5));
        EXPECT_EQ(3u, context.wrongForms.count());
        ASSERT_EQ(0, ops.setPositionOnGround(object, &wanted, 1, 0));
        EXPECT_EQ(1, read(Quantity::OnGround)) << "the flag given is kept";
    } else {
        EXPECT_NE(0, ops.setPositionOnGround(object, &wanted, 1, 0));
        EXPECT_EQ(1u, context.wrongForms.count());
        ASSERT_EQ(0, ops.setPosition(object, &wanted));
        EXPECT_EQ(0, read(Quantity::OnGround));
    }
    // A placed aircraft follows the add-on for the step, then flies on from there.
    aircraft.step(1);
    EXPECT_EQ(0, std::memcmp(&wanted, &aircraft.position(), sizeof wanted));
    aircraft.step(1);
    EXPECT_NE(wanted.latitude, aircraft.position().latitude);
    EXPECT_EQ(older ? 3u : 1u, context.wrongForms.count());
}

// What an add-on writes stays as written for the frame; the simulation takes over after it.
TEST_P(AircraftObjectOfTrainerTest, KeepsWhatAnAddOnWroteForTheStep) {
    ASSERT_EQ(0, set(Quantity::GearLegPosition, 0.25, 1));
    ASSERT_EQ(0, set(Quantity::IndicatedAirspeed, 33));
    ASSERT_EQ(0, set(Quantity::TrailingEdgeFlapsInner, 9000, 2));
    aircraft.step(0.5);
    EXPECT_EQ(0.25, read(Quantity::GearLegPosition, 1));
    EXPECT_EQ(33, read(Quantity::IndicatedAirspeed));
    EXPECT_EQ(9000, read(Quantity::TrailingEdgeFlapsInner, 2));
    aircraft.step(0.5);
    EXPECT_GT(read(Quantity::GearLegPosition, 1), 0.25) << "fixed gear returns down";
    EXPECT_GT(read(Quantity::IndicatedAirspeed), 40) << "airspeed from the motion again";
    EXPECT_LT(read(Quantity::TrailingEdgeFlapsInner, 2), 9000) << "flaps back toward the raised handle";
}

TEST_P(AircraftObjectTest, SendsKeyEventsOnlyWithAZeroLastArgument) {
    EXPECT_NE(0, ops.sendEvent(object, 0x10201, 0, 1));
    EXPECT_EQ(0, read(Quantity::SmokeEnable));
    EXPECT_EQ(1u, context.wrongForms.count());
    EXPECT_EQ(0, ops.sendEvent(object, 0x10201, 0, 0));
    EXPECT_EQ(1, read(Quantity::SmokeEnable));
}

INSTANTIATE_TEST_SUITE_P(EveryHost, AircraftObjectTest, ::testing::Range(0, HostVersion::kAccepted));
INSTANTIATE_TEST_SUITE_P(EveryHost, AircraftObjectOfTrainerTest, ::testing::Range(0, HostVersion::kAccepted));

} // namespace
