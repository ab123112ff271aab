#include "host/SimObject.h"

#include "common/ZephrelException.h"
#include "host/HostState.h"

namespace {
constexpr uint32_t kTextSize = 256;
} // namespace

SimObject::SimObject(ZHostObject* object)
    : object_(object), buildTag_(hostState().buildTag), versionIndex_(hostState().versionIndex) {}

SimObject SimObject::found(ZHostObject* object, const char* place, uint32_t line) {
    if (object == nullptr)
        throw ZephrelException(ErrorCode::InvalidAircraftId, ZephrelException::StopsRecordingAndPlayback, place, line);
    return SimObject(object);
}

SimObject SimObject::byId(uint32_t id, const char* place) {
    return found(hostState().bound.objectById(id), place, __LINE__);
}

SimObject SimObject::user(const char* place) {
    return found(hostState().bound.userObject(), place, __LINE__);
}

double SimObject::get(const HostVariables::PerTag& variable, uint32_t index) const {
    const HostVariables::Variable v = HostVariables::of(variable, buildTag_);
    double value = 0;
    if (object_->ops->getVariable(object_, v.id, v.unit, &value, index) != 0)
        return 0;
    return value;
}

void SimObject::set(const HostVariables::PerTag& variable, double value, uint32_t index) const {
    const HostVariables::Variable v = HostVariables::of(variable, buildTag_);
    object_->ops->setVariable(object_, v.id, v.unit, value, index);
}

void SimObject::sendEvent(uint32_t event, uint32_t value) const {
    object_->ops->sendEvent(object_, event, value, 0);
}

ZHostPosition SimObject::position() const {
    ZHostPosition position{};
    object_->ops->getBlock(object_, HostProperties::of(HostProperties::kPosition, buildTag_), &position,
                           sizeof position);
    return position;
}

void SimObject::setPosition(const ZHostPosition& position, int32_t onGround) const {
    HostState& state = hostState();
    if (!state.olderHost()) {
        object_->ops->setPosition(object_, &position);
        return;
    }
    // Older hosts accept a position from outside their own simulation only inside this word.
    state.bound.simState->positionWrite = 1;
    object_->ops->setPositionOnGround(object_, &position, onGround, 0);
    state.bound.simState->positionWrite = 0;
}

void SimObject::velocity(double velocity[3]) const {
    velocity[0] = velocity[1] = velocity[2] = 0;
    object_->ops->getBlock(object_, HostProperties::of(HostProperties::kVelocity, buildTag_), velocity,
                           3 * sizeof(double));
}

void SimObject::setVelocity(const double velocity[3]) const {
    object_->ops->setBlock(object_, HostProperties::of(HostProperties::kVelocity, buildTag_), velocity,
                           3 * sizeof(double));
}

std::string SimObject::text(const HostProperties::PerTag& property) const {
    char buffer[kTextSize] = {};
    object_->ops->getText(object_, HostProperties::of(property, buildTag_), buffer, kTextSize);
    buffer[kTextSize - 1] = '\0';
    return buffer;
}

void SimObject::setText(const HostProperties::PerTag& property, const std::string& text) const {
    object_->ops->setText(object_, HostProperties::of(property, buildTag_), text.c_str());
}

void SimObject::doubles(const HostProperties::PerTag& property, double out[3]) const {
    out[0] = out[1] = out[2] = 0;
    object_->ops->getDoubles(object_, HostProperties::of(property, buildTag_), out);
}

ZHostChainControl* SimObject::chainedControl() const {
    const auto* first = record<ZHostChainLink>(HostRecords::kControlChain);
    const auto* second = first != nullptr ? static_cast<const ZHostChainLink*>(first->next) : nullptr;
    return second != nullptr ? static_cast<ZHostChainControl*>(second->next) : nullptr;
}
