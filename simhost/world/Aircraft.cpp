#include "world/Aircraft.h"

#include "world/AircraftObject.h"
#include "world/AircraftState.h"
#include "world/Autopilot.h"
#include "world/Earth.h"
#include "world/FlightModel.h"

struct Aircraft::State {
    State(uint32_t id, const AircraftType& type, SimContext& context, const StartPosition& start)
        : data(id, type, context, start), object(data), autopilot(data) {}

    AircraftState data;
    AircraftObject object;
    Autopilot autopilot;
};

Aircraft::Aircraft(uint32_t id, const AircraftType& type, SimContext& context, const StartPosition& start)
    : state_(std::make_unique<State>(id, type, context, start)) {}

Aircraft::~Aircraft() = default;

uint32_t Aircraft::id() const {
    return state_->data.id();
}

const AircraftType& Aircraft::type() const {
    return state_->data.type();
}

const std::string& Aircraft::tailNumber() const {
    return state_->data.tailNumber();
}

void Aircraft::setTailNumber(const std::string& tailNumber) {
    state_->data.setTailNumber(tailNumber);
}

ZHostObject* Aircraft::object() {
    return state_->object.abi();
}

const ZHostPosition& Aircraft::position() const {
    return state_->data.position();
}

void Aircraft::setPosition(const ZHostPosition& position) {
    state_->data.place(position, std::nullopt);
}

double Aircraft::latitude() const {
    return Earth::radians(state_->data.latitude());
}

double Aircraft::longitude() const {
    return Earth::radians(state_->data.longitude());
}

double Aircraft::altitude() const {
    return state_->data.altitude();
}

bool Aircraft::onGround() const {
    return state_->data.quantity(HostNumbers::Quantity::OnGround) != 0;
}

std::array<double, 3> Aircraft::velocity() const {
    return state_->data.velocity();
}

double Aircraft::quantity(HostNumbers::Quantity quantity, int index) const {
    return state_->data.quantity(quantity, index);
}

void Aircraft::setQuantity(HostNumbers::Quantity quantity, int index, double value) {
    state_->data.write(quantity, index, value);
}

void Aircraft::keyEvent(uint32_t event, uint32_t value) {
    state_->data.keyEvent(event, value);
}

void Aircraft::fly(const ManoeuvreOrder& order) {
    state_->autopilot.fly(order);
}

void Aircraft::flyByHand(const HandControls& controls) {
    state_->autopilot.flyByHand(controls);
}

HandControls Aircraft::handControls() const {
    return state_->autopilot.handControls();
}

ManoeuvreOrder::Kind Aircraft::manoeuvre() const {
    return state_->autopilot.manoeuvre();
}

bool Aircraft::holding() const {
    return state_->autopilot.holding();
}

// A placed aircraft follows the add-on for this step; one whose velocity an add-on set keeps it.
void Aircraft::step(double seconds) {
    AircraftState& data = state_->data;
    if (data.velocityHeld() && !data.placed())
        FlightModel::coast(data, seconds);
    else if (!data.placed())
        FlightModel::fly(data, state_->autopilot.guide(seconds), seconds);
    FlightModel::moveSurfaces(data, seconds);
    data.finishStep();
}
