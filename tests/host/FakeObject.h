#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "host/HostState.h"
#include "host/hostabi.h"
#include "modules/HostNumbers.h"
#include "support/TempLog.h"

// A simulation object as the simulator offers it, numbered by the simulator's own formulas
// (HostNumbers), not by the module's tables: variables are kept under the (variable id, unit id,
// index) the module sends, so a wrong id or unit in the module lands beside the quantity a test
// looks at. Like the simulator it answers the exit, tailhook and wing-fold variables from their
// records and applies the key events of the numbering document; every event and position write
// is logged.
class FakeObject {
public:
    using Quantity = HostNumbers::Quantity;

    struct Event {
        uint32_t event;
        uint32_t value;
        bool operator==(const Event&) const = default;
    };
    struct PositionWrite {
        bool withOnGround; // the older hosts' form
        int32_t onGround;
        uint32_t positionWord; // the host's position-write word during the call
    };

    FakeObject(uint32_t id, int versionIndex);
    ~FakeObject();
    FakeObject(const FakeObject&) = delete;
    FakeObject& operator=(const FakeObject&) = delete;

    ZHostObject* abi() { return &handle_.object; }

    // Index: the engine, radio, side or leg (1-based), 0 where the quantity has none.
    void set(Quantity quantity, double value, uint32_t index = 0);
    // The value under the quantity's own numbering; -12345 when it was never set.
    double value(Quantity quantity, uint32_t index = 0) const;
    void setText(HostNumbers::Property property, const std::string& text);
    std::string text(HostNumbers::Property property) const;
    void setRecord(HostNumbers::Record record, void* address);

    ZHostPosition position{};
    double velocity[3] = {};
    double referencePoint[3] = {};
    std::vector<Event> events;
    std::vector<PositionWrite> positionWrites;

private:
    using Key = std::tuple<uint32_t, uint32_t, uint32_t>;
    struct Handle {
        ZHostObject object;
        FakeObject* self;
    };
    static const ZHostObjectOps kOps;
    static FakeObject& of(ZHostObject* object) { return *reinterpret_cast<Handle*>(object)->self; }

    Key key(Quantity quantity, uint32_t index) const;
    void* record(HostNumbers::Record record) const;
    bool answeredByRecord(uint32_t variable, uint32_t unit, double& value) const;
    void keyEvent(uint32_t event, uint32_t value);

    uint32_t id_;
    int versionIndex_;
    int buildTag_;
    Handle handle_;
    std::map<Key, double> variables_;
    std::map<uint32_t, std::string> texts_;
    std::map<uint32_t, void*> records_;
};

// hostState() as one host version with the fake objects as its simulation objects: objects by id,
// the user aircraft (sim1.dll's and acontain.dll's), the object map, the date-and-time record
// with its set-date and apply functions, and the position-write word.
void useFakeHost(int versionIndex);
// The user aircraft's id; 0: the host has none.
void setFakeUser(uint32_t id);
ZHostDateTime& fakeDateTime();
// The record as the host was last asked to apply it.
const ZHostDateTime& fakeAppliedDateTime();

// A test against the fake objects at version index 3, leaving a fresh host state behind.
class FakeObjectTest : public TempLogTest {
protected:
    void SetUp() override {
        TempLogTest::SetUp();
        useFakeHost(3);
    }
    void TearDown() override {
        hostState() = HostState{};
        TempLogTest::TearDown();
    }
};
