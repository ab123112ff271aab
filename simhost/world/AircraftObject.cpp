#include "world/AircraftObject.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>


using HostNumbers::Property;
using HostNumbers::Quantity;
using HostNumbers::Unit;

namespace {

constexpr int32_t kDone = 0;
constexpr int32_t kRefused = 1;

constexpr uint32_t kPositionSize = sizeof(ZHostPosition);
constexpr uint32_t kVelocitySize = 3 * sizeof(double);
static_assert(kPositionSize == 36);

__attribute__((format(printf, 2, 3))) void reportWrongForm(AircraftState& state, const char* format, ...) {
    char text[160];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    state.context().wrongForms.report(text);
}

bool propertyOf(const AircraftState& state, uint32_t id, Property& property) {
    return HostNumbers::propertyOf(state.context().buildTag, id, property);
}

// The text of a text property; false for a property that is not one.
bool textOf(const AircraftState& state, Property property, std::string& text) {
    switch (property) {
    case Property::Title:
        text = state.type().title;
        return true;
    case Property::TailNumber:
        text = state.tailNumber();
        return true;
    case Property::Category:
        text = state.type().category;
        return true;
    default:
        return false;
    }
}

// The quantity a variable call names, in the form the host takes: its own unit, and an index in
// its range (0 where it has none).
bool variableOf(AircraftState& state, const char* call, uint32_t variable, uint32_t unit, uint32_t index,
                Quantity& quantity) {
    const int tag = state.context().buildTag;
    if (!HostNumbers::quantityOf(tag, variable, quantity))
        return false;
    const HostNumbers::QuantityInfo info = HostNumbers::info(quantity);
    Unit given{};
    if (!HostNumbers::unitOf(tag, unit, given) || given != info.unit) {
        reportWrongForm(state, "%s of variable 0x%X in unit 0x%X; it takes unit 0x%X", call, variable, unit,
                        HostNumbers::unitId(tag, info.unit));
        return false;
    }
    const auto maxIndex = static_cast<uint32_t>(info.maxIndex);
    return maxIndex == 0 ? index == 0 : index >= 1 && index <= maxIndex;
}

} // namespace

const ZHostObjectOps AircraftObject::kOps = {
    id,          getText,     setText,     getDoubles,          getBlock,  setBlock,
    getVariable, setVariable, setPosition, setPositionOnGround, sendEvent, record,
};

AircraftObject::AircraftObject(AircraftState& state) : object_{&kOps}, state_(&state) {
    static_assert(std::is_standard_layout_v<AircraftObject>, "the object's address must be its table's");
}

AircraftState& AircraftObject::stateOf(ZHostObject* object) {
    return *reinterpret_cast<AircraftObject*>(object)->state_;
}

uint32_t AircraftObject::id(ZHostObject* object) {
    return stateOf(object).id();
}

int32_t AircraftObject::getText(ZHostObject* object, uint32_t property, char* buffer, uint32_t size) {
    const AircraftState& state = stateOf(object);
    Property which{};
    std::string text;
    if (buffer == nullptr || size == 0 || !propertyOf(state, property, which) || !textOf(state, which, text))
        return kRefused;
    const std::size_t length = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return kDone;
}

int32_t AircraftObject::setText(ZHostObject* object, uint32_t property, const char* text) {
    AircraftState& state = stateOf(object);
    Property which{};
    if (text == nullptr || !propertyOf(state, property, which) || which != Property::TailNumber)
        return kRefused;
    state.setTailNumber(text);
    return kDone;
}

int32_t AircraftObject::getDoubles(ZHostObject* object, uint32_t property, double out[3]) {
    const AircraftState& state = stateOf(object);
    Property which{};
    if (out == nullptr || !propertyOf(state, property, which))
        return kRefused;
    if (which == Property::EyePoint) {
        state.type().eyeMetres(out[0], out[1], out[2]);
        return kDone;
    }
    if (which != Property::ReferencePoint)
        return kRefused;
    // The stand-in measures eye points and camera offsets from the reference point itself.
    out[0] = out[1] = out[2] = 0;
    return kDone;
}

int32_t AircraftObject::getBlock(ZHostObject* object, uint32_t property, void* out, uint32_t size) {
    AircraftState& state = stateOf(object);
    Property which{};
    if (out == nullptr || !propertyOf(state, property, which))
        return kRefused;
    const uint32_t expected = which == Property::Position   ? kPositionSize
                              : which == Property::Velocity ? kVelocitySize
                                                            : 0;
    if (expected == 0)
        return kRefused;
    if (size != expected) {
        reportWrongForm(state, "getBlock of property 0x%X with %u bytes; it has %u", property, size,
                        expected);
        return kRefused;
    }
    if (which == Property::Position)
        std::memcpy(out, &state.position(), kPositionSize);
    else
        std::memcpy(out, state.velocity().data(), kVelocitySize);
    return kDone;
}

int32_t AircraftObject::setBlock(ZHostObject* object, uint32_t property, const void* in, uint32_t size) {
    AircraftState& state = stateOf(object);
    Property which{};
    if (in == nullptr || !propertyOf(state, property, which))
        return kRefused;
    if (which == Property::Position) {
        reportWrongForm(state, "setBlock of the position 0x%X; it is set with the set-position call",
                        property);
        return kRefused;
    }
    if (which != Property::Velocity)
        return kRefused;
    if (size != kVelocitySize) {
        reportWrongForm(state, "setBlock of property 0x%X with %u bytes; it has %u", property, size,
                        kVelocitySize);
        return kRefused;
    }
    std::array<double, 3> velocity{};
    std::memcpy(velocity.data(), in, kVelocitySize);
    state.writeVelocity(velocity);
    return kDone;
}

int32_t AircraftObject::getVariable(ZHostObject* object, uint32_t variable, uint32_t unit, double* value,
                                    uint32_t index) {
    AircraftState& state = stateOf(object);
    Quantity quantity{};
    if (value == nullptr || !variableOf(state, "getVariable", variable, unit, index, quantity))
        return kRefused;
    *value = state.quantity(quantity, static_cast<int>(index));
    return kDone;
}

int32_t AircraftObject::setVariable(ZHostObject* object, uint32_t variable, uint32_t unit, double value,
                                    uint32_t index) {
    AircraftState& state = stateOf(object);
    Quantity quantity{};
    if (!variableOf(state, "setVariable", variable, unit, index, quantity) ||
        HostNumbers::info(quantity).readOnly || !std::isfinite(value))
        return kRefused;
    state.write(quantity, static_cast<int>(index), value);
    return kDone;
}

int32_t AircraftObject::setPosition(ZHostObject* object, const ZHostPosition* position) {
    AircraftState& state = stateOf(object);
    if (state.context().olderHost()) {
        reportWrongForm(state, "setPosition on host %s, which takes the on-ground form",
                        state.context().version.text().c_str());
        return kRefused;
    }
    if (position == nullptr)
        return kRefused;
    ZHostPosition copy{};
    std::memcpy(&copy, position, sizeof copy);
    state.place(copy, std::nullopt);
    return kDone;
}

int32_t AircraftObject::setPositionOnGround(ZHostObject* object, const ZHostPosition* position,
                                            int32_t onGround, int32_t zero) {
    AircraftState& state = stateOf(object);
    const SimContext& context = state.context();
    if (!context.olderHost()) {
        reportWrongForm(state, "setPositionOnGround on host %s, which takes the form without the flag",
                        context.version.text().c_str());
        return kRefused;
    }
    const uint32_t positionWrite = context.simState.positionWrite;
    if (positionWrite != 1 || zero != 0) {
        reportWrongForm(state, "setPositionOnGround with position-write word %u and last argument %d",
                        positionWrite, zero);
        return kRefused;
    }
    if (position == nullptr)
        return kRefused;
    ZHostPosition copy{};
    std::memcpy(&copy, position, sizeof copy);
    state.place(copy, onGround != 0);
    return kDone;
}

int32_t AircraftObject::sendEvent(ZHostObject* object, uint32_t event, uint32_t value, uint32_t zero) {
    AircraftState& state = stateOf(object);
    if (zero != 0) {
        reportWrongForm(state, "sendEvent 0x%X with last argument %u", event, zero);
        return kRefused;
    }
    state.keyEvent(event, value);
    return kDone;
}

void* AircraftObject::record(ZHostObject* object, uint32_t number) {
    AircraftState& state = stateOf(object);
    HostNumbers::Record which{};
    if (!HostNumbers::recordOf(state.context().versionIndex, number, which))
        return nullptr;
    return state.record(which);
}
