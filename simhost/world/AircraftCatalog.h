#pragma once

#include <optional>
#include <string>
#include <vector>

#include "world/AircraftType.h"

// The aircraft installed in the simulator: every "fltsim.N" section (titles up to the first
// empty one) of "<root>/SimObjects/Airplanes/<folder>/aircraft.cfg", folders in name order.
class AircraftCatalog {
public:
    static AircraftCatalog load(const std::string& root);

    const std::vector<AircraftType>& types() const { return types_; }
    // Titles compare without regard to case, as the simulator's do.
    const AircraftType* find(const std::string& title) const;

private:
    std::vector<AircraftType> types_;
};
