// The autopilot's manoeuvres as plans of phases, and the circuit's legs.

#include "world/Autopilot.h"

#include <algorithm>

#include "world/Earth.h"

bool parseManoeuvre(const std::string& word, ManoeuvreOrder::Kind& kind) {
    static const char* const kWords[ManoeuvreOrder::Count] = {"park",    "start-engines", "shutdown", "taxi",
                                                              "takeoff", "circuit",       "route",    "land"};
    for (int i = 0; i < ManoeuvreOrder::Count; ++i) {
        if (word == kWords[i]) {
            kind = static_cast<ManoeuvreOrder::Kind>(i);
            return true;
        }
    }
    return false;
}

void Autopilot::fly(const ManoeuvreOrder& order) {
    order_ = order;
    originLatitude_ = state_.latitude();
    originLongitude_ = state_.longitude();
    fieldElevation_ = state_.groundAltitude() / Earth::kMetresPerFoot;
    track_ = state_.heading();
    targetAltitude_ = fieldElevation_ + order.altitude;
    touchdownPoint_ = false;
    legs_.clear();

    const bool ground = state_.touching();
    bool allRunning = true;
    for (int engine = 1; engine <= state_.type().engines; ++engine)
        allRunning = allRunning && state_.engineRunning(engine);
    plan_.clear();
    // Anything that moves on the ground starts the engines first.
    const auto startFirst = [&] {
        if (ground && !allRunning)
            plan_.push_back(Phase::StartEngines);
    };
    switch (order.kind) {
    case ManoeuvreOrder::Park:
        plan_ = {Phase::Stop};
        break;
    case ManoeuvreOrder::StartEngines:
        plan_ = {Phase::StartEngines};
        break;
    case ManoeuvreOrder::ShutDown:
        plan_ = {Phase::Stop, Phase::ShutDown};
        break;
    case ManoeuvreOrder::Taxi:
        if (ground) {
            startFirst();
            plan_.push_back(Phase::Taxi);
        }
        break;
    case ManoeuvreOrder::TakeOff:
        startFirst();
        if (ground)
            plan_.push_back(Phase::TakeoffRoll);
        plan_.push_back(Phase::Climb);
        break;
    case ManoeuvreOrder::Circuit:
        startFirst();
        planCircuit(ground);
        break;
    case ManoeuvreOrder::Route:
        for (const Waypoint& waypoint : order.route)
            legs_.push_back({waypoint.latitude, waypoint.longitude, waypoint.altitude,
                             performance_.routeSpeed(waypoint.altitude), Configuration::Clean});
        startFirst();
        if (ground)
            plan_.push_back(Phase::TakeoffRoll);
        plan_.push_back(Phase::Legs);
        break;
    case ManoeuvreOrder::Land:
        if (!ground)
            plan_.push_back(Phase::Approach);
        plan_.push_back(Phase::Rollout);
        break;
    case ManoeuvreOrder::Count:
        break;
    }
    planned_ = 0;
    next();
}

// A left-hand rectangle on the line the aircraft points along, back to where it started:
// upwind past the lift-off, crosswind, downwind, base, and the final to the start point.
void Autopilot::planCircuit(bool fromGround) {
    const double radius = performance_.turnRadius(performance_.circuitSpeed);
    const double rotate = performance_.rotateSpeed * Earth::kFeetPerSecondPerKnot * Earth::kMetresPerFoot;
    const double acceleration =
        performance_.acceleration * Earth::kFeetPerSecondPerKnot * Earth::kMetresPerFoot;
    const double roll = fromGround ? rotate * rotate / (2 * acceleration) : 0;
    const double width = std::max(1500.0, 2.5 * radius);
    const double upwind = roll + std::max(2000.0, 2 * radius);
    const double base = std::max(3000.0, 3 * radius);
    const double pattern = fieldElevation_ + order_.altitude;
    const double baseAltitude = fieldElevation_ + 0.6 * order_.altitude;
    const double left = track_ - 90;
    const double speed = performance_.circuitSpeed;

    double latitude = 0;
    double longitude = 0;
    const auto add = [&](double altitude, Configuration configuration) {
        legs_.push_back({latitude, longitude, altitude, speed, configuration});
    };
    Earth::destination(originLatitude_, originLongitude_, track_, upwind, latitude, longitude);
    add(pattern, Configuration::Clean);
    Earth::destination(latitude, longitude, left, width, latitude, longitude);
    add(pattern, Configuration::Clean);
    double baseLatitude = 0;
    double baseLongitude = 0;
    Earth::destination(originLatitude_, originLongitude_, track_ + 180, base, baseLatitude, baseLongitude);
    Earth::destination(baseLatitude, baseLongitude, left, width, latitude, longitude);
    add(pattern, Configuration::Approach);
    latitude = baseLatitude;
    longitude = baseLongitude;
    add(baseAltitude, Configuration::Approach);
    touchdownPoint_ = true;

    if (fromGround)
        plan_.push_back(Phase::TakeoffRoll);
    plan_.insert(plan_.end(), {Phase::Legs, Phase::Approach, Phase::Rollout});
}
