#include "FakeObject.h"

#include <cmath>
#include <cstring>

#include "host/HostState.h"
#include "modules/ObjectTree.h"

namespace {

using HostNumbers::Quantity;
using HostNumbers::Record;

constexpr double kUnset = -12345;

std::map<uint32_t, FakeObject*>& registry() {
    static std::map<uint32_t, FakeObject*> objects;
    return objects;
}

uint32_t userId = 0;
ZHostSimState simState{};
ZHostDateTime dateTime{}, appliedDateTime{};

} // namespace

const ZHostObjectOps FakeObject::kOps = {
    [](ZHostObject* o) { return of(o).id_; },
    [](ZHostObject* o, uint32_t property, char* buffer, uint32_t size) -> int32_t {
        const auto found = of(o).texts_.find(property);
        if (found == of(o).texts_.end() || size == 0)
            return 1;
        std::snprintf(buffer, size, "%s", found->second.c_str());
        return 0;
    },
    [](ZHostObject* o, uint32_t property, const char* text) -> int32_t {
        of(o).texts_[property] = text;
        return 0;
    },
    [](ZHostObject* o, uint32_t property, double out[3]) -> int32_t {
        FakeObject& self = of(o);
        if (property != HostNumbers::propertyId(self.buildTag_, HostNumbers::Property::ReferencePoint))
            return 1;
        std::memcpy(out, self.referencePoint, sizeof self.referencePoint);
        return 0;
    },
    [](ZHostObject* o, uint32_t property, void* out, uint32_t size) -> int32_t {
        FakeObject& self = of(o);
        if (property == HostNumbers::propertyId(self.buildTag_, HostNumbers::Property::Position) &&
            size == sizeof self.position)
            std::memcpy(out, &self.position, size);
        else if (property == HostNumbers::propertyId(self.buildTag_, HostNumbers::Property::Velocity) &&
                 size == sizeof self.velocity)
            std::memcpy(out, self.velocity, size);
        else
            return 1;
        return 0;
    },
    [](ZHostObject* o, uint32_t property, const void* in, uint32_t size) -> int32_t {
        FakeObject& self = of(o);
        if (property != HostNumbers::propertyId(self.buildTag_, HostNumbers::Property::Velocity) ||
            size != sizeof self.velocity)
            return 1;
        std::memcpy(self.velocity, in, size);
        return 0;
    },
    [](ZHostObject* o, uint32_t variable, uint32_t unit, double* value, uint32_t index) -> int32_t {
        FakeObject& self = of(o);
        if (self.answeredByRecord(variable, unit, *value))
            return 0;
        const auto found = self.variables_.find({variable, unit, index});
        if (found == self.variables_.end())
            return 1;
        *value = found->second;
        return 0;
    },
    [](ZHostObject* o, uint32_t variable, uint32_t unit, double value, uint32_t index) -> int32_t {
        of(o).variables_[{variable, unit, index}] = value;
        return 0;
    },
    [](ZHostObject* o, const ZHostPosition* position) -> int32_t {
        of(o).position = *position;
        of(o).positionWrites.push_back({false, 0, simState.positionWrite});
        return 0;
    },
    [](ZHostObject* o, const ZHostPosition* position, int32_t onGround, int32_t) -> int32_t {
        of(o).position = *position;
        of(o).positionWrites.push_back({true, onGround, simState.positionWrite});
        of(o).set(Quantity::OnGround, onGround);
        return 0;
    },
    [](ZHostObject* o, uint32_t event, uint32_t value, uint32_t) -> int32_t {
        of(o).events.push_back({event, value});
        of(o).keyEvent(event, value);
        return 0;
    },
    [](ZHostObject* o, uint32_t number) -> void* {
        const auto found = of(o).records_.find(number);
        return found != of(o).records_.end() ? found->second : nullptr;
    },
};

FakeObject::FakeObject(uint32_t id, int versionIndex)
    : id_(id), versionIndex_(versionIndex), buildTag_(versionIndex + 1), handle_{{&kOps}, this} {
    registry()[id] = this;
}

FakeObject::~FakeObject() {
    registry().erase(id_);
}

FakeObject::Key FakeObject::key(Quantity quantity, uint32_t index) const {
    return {HostNumbers::variableId(buildTag_, quantity),
            HostNumbers::unitId(buildTag_, HostNumbers::info(quantity).unit), index};
}

void FakeObject::set(Quantity quantity, double value, uint32_t index) {
    variables_[key(quantity, index)] = value;
}

double FakeObject::value(Quantity quantity, uint32_t index) const {
    double answer = kUnset;
    const auto [variable, unit, ignored] = key(quantity, index);
    if (answeredByRecord(variable, unit, answer))
        return answer;
    const auto found = variables_.find(key(quantity, index));
    return found != variables_.end() ? found->second : kUnset;
}

void FakeObject::setText(HostNumbers::Property property, const std::string& text) {
    texts_[HostNumbers::propertyId(buildTag_, property)] = text;
}

std::string FakeObject::text(HostNumbers::Property property) const {
    const auto found = texts_.find(HostNumbers::propertyId(buildTag_, property));
    return found != texts_.end() ? found->second : "";
}

void FakeObject::setRecord(Record record, void* address) {
    records_[HostNumbers::recordNumber(versionIndex_, record)] = address;
}

void* FakeObject::record(Record record) const {
    const auto found = records_.find(HostNumbers::recordNumber(versionIndex_, record));
    return found != records_.end() ? found->second : nullptr;
}

// The simulator reports exits, tailhook and wing fold from the records that drive them.
bool FakeObject::answeredByRecord(uint32_t variable, uint32_t unit, double& value) const {
    Quantity quantity{};
    if (!HostNumbers::quantityOf(buildTag_, variable, quantity) ||
        unit != HostNumbers::unitId(buildTag_, HostNumbers::info(quantity).unit))
        return false;
    if (auto* exits = static_cast<ZHostExitRecord*>(record(Record::Exits));
        exits != nullptr && quantity == Quantity::MainExitOpen)
        value = exits->open[0];
    else if (auto* hook = static_cast<ZHostTailhookRecord*>(record(Record::Tailhook));
             hook != nullptr && quantity == Quantity::TailhookPosition)
        value = hook->position;
    else if (auto* fold = static_cast<ZHostWingFoldRecord*>(record(Record::WingFold));
             fold != nullptr && (quantity == Quantity::WingFoldLeft || quantity == Quantity::WingFoldRight))
        value = quantity == Quantity::WingFoldLeft ? fold->left : fold->right;
    else
        return false;
    return true;
}

// The key events that set one quantity: to the event's value, or (fixed >= 0) to a fixed value.
struct KeyEventEffect {
    uint32_t event;
    Quantity quantity;
    uint32_t index;
    double fixed;
};
constexpr KeyEventEffect kKeyEventEffects[] = {
    {0x100AC, Quantity::NavActiveFrequency, 1, -1}, {0x100B4, Quantity::NavObs, 1, -1},
    {0x100AD, Quantity::NavActiveFrequency, 2, -1}, {0x100B5, Quantity::NavObs, 2, -1},
    {0x100AB, Quantity::ComActiveFrequency, 1, -1}, {0x1038A, Quantity::ComActiveFrequency, 2, -1},
    {0x100B3, Quantity::TransponderCode, 0, -1},    {0x10201, Quantity::SmokeEnable, 0, 1},
    {0x10202, Quantity::SmokeEnable, 0, 0},         {0x10100, Quantity::AutopilotMaster, 0, 1},
    {0x100FF, Quantity::AutopilotMaster, 0, 0}};

void FakeObject::keyEvent(uint32_t event, uint32_t value) {
    const auto bitsOf = [value](int shift, uint32_t mask) { return static_cast<double>((value >> shift) & mask); };
    if (event == 0x103E6) // flaps axis, -16384 .. 16384
        set(Quantity::FlapHandleIndex, std::round((static_cast<int32_t>(value) + 16384) / 32768.0 *
                                                  this->value(Quantity::FlapPositions)));
    else if (event == 0x100D8)
        set(Quantity::ParkingBrakePosition, this->value(Quantity::ParkingBrakePosition) != 0 ? 0 : 1);
    else if (event == 0x103AF) {
        set(Quantity::AdfFrequency, bitsOf(16, 0x0FFF), 1);
        set(Quantity::AdfExtendedFrequency, bitsOf(20, 0x0F00) + bitsOf(12, 0x000F), 1);
    }
    for (const KeyEventEffect& effect : kKeyEventEffects)
        if (effect.event == event)
            set(effect.quantity, effect.fixed >= 0 ? effect.fixed : value, effect.index);
}

namespace {

ZHostObject* objectOf(uint32_t id) {
    const auto found = registry().find(id);
    return found != registry().end() ? found->second->abi() : nullptr;
}

} // namespace

ZHostDateTime& fakeDateTime() { return dateTime; }
const ZHostDateTime& fakeAppliedDateTime() { return appliedDateTime; }

void setFakeUser(uint32_t id) { userId = id; }

void useFakeHost(int versionIndex) {
    HostState& state = hostState();
    state = HostState{};
    state.versionIndex = versionIndex;
    state.buildTag = versionIndex + 1;
    userId = 0;
    simState = ZHostSimState{};
    dateTime = ZHostDateTime{};
    appliedDateTime = ZHostDateTime{};
    state.bound.objectById = objectOf;
    state.bound.userObject = [] { return objectOf(userId); };
    state.bound.userAircraft = state.bound.userObject;
    state.bound.objectMap = [] {
        static ObjectTree tree;
        std::map<uint32_t, ZHostObject*> objects;
        for (const auto& [id, fake] : registry())
            objects[id] = fake->abi();
        tree.rebuild(objects);
        return tree.abi();
    };
    state.bound.dateTime = &dateTime;
    state.bound.setDate = [](ZHostDateTime* record, uint16_t year, uint16_t month, uint16_t day) {
        record->year = year;
        record->month = month;
        record->day = day;
    };
    state.bound.applyDateTime = [](ZHostDateTime* record) { appliedDateTime = *record; };
    state.bound.simState = &simState;
}
