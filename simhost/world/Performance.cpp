#include "world/Performance.h"

#include <algorithm>

#include "world/Earth.h"

Performance Performance::of(const AircraftType& type) {
    Performance p;
    p.cruiseSpeed = std::max(type.cruiseSpeed, 40.0);
    p.climbRate = std::clamp(p.cruiseSpeed * 5, 500.0, 2500.0);
    if (type.category == "Helicopter") {
        p.taxiSpeed = 10;
        p.rotateSpeed = 0;
        p.climbSpeed = std::min(60.0, p.cruiseSpeed);
        p.circuitSpeed = std::min(70.0, p.cruiseSpeed);
        p.approachSpeed = std::min(40.0, p.cruiseSpeed);
        p.touchdownSpeed = 5;
        return p;
    }
    p.rotateSpeed = std::clamp(20 + p.cruiseSpeed * 0.3, 40.0, 160.0);
    p.climbSpeed = p.rotateSpeed * 1.3;
    p.circuitSpeed = p.rotateSpeed * 1.3;
    p.approachSpeed = p.rotateSpeed * 1.05;
    p.touchdownSpeed = p.rotateSpeed * 0.95;
    return p;
}

double Performance::routeSpeed(double altitudeFeet) const {
    return altitudeFeet < 10000 ? std::min(cruiseSpeed, 250.0) : cruiseSpeed;
}

double Performance::turnRadius(double speedKnots) const {
    const double metresPerSecond = speedKnots * Earth::kFeetPerSecondPerKnot * Earth::kMetresPerFoot;
    return metresPerSecond / Earth::radians(airTurnRate);
}
