#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "modules/ObjectTree.h"
#include "world/Aircraft.h"
#include "world/AircraftCatalog.h"
#include "world/SimContext.h"

// The simulated world: every aircraft by id (the user aircraft, and the AI aircraft created on
// request or by the live traffic), the terrain and the weather. Advanced in steps of simulated
// time; deterministic for the same inputs.
class World {
public:
    World(SimContext& context, AircraftCatalog catalog);
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    const AircraftCatalog& catalog() const;

    // Makes the aircraft of that title the user aircraft (a new object with a new id), placed at
    // `start`, or where the old user aircraft was when no start is given; false when no installed
    // aircraft has the title (the old user aircraft stays).
    bool setUser(const std::string& title, const StartPosition& start);
    bool setUser(const std::string& title);
    Aircraft* user();
    Aircraft* find(uint32_t id);

    // An AI aircraft of that title with that tail number, parked beside the user aircraft; 0 when
    // no installed aircraft has the title.
    uint32_t createAi(const std::string& title, const std::string& tailNumber);
    // false when there is no such aircraft or it is the user's.
    bool remove(uint32_t id);

    // Live traffic: aircraft of the catalogue that appear around the user aircraft, fly and leave
    // again. Each amount (percent, 0..100) is a share of kMaxLiveTraffic aircraft.
    static constexpr int kMaxLiveTraffic = 20;
    void setTrafficAmounts(uint32_t airlinePercent, uint32_t generalAviationPercent);
    std::size_t liveTrafficCount() const;

    // Advances every aircraft, then the live traffic, by `seconds` of simulated time.
    void step(double seconds);

    // The object map as add-ons read it; current after every change.
    ZHostObjectMap* objectMap();
    const std::map<uint32_t, std::unique_ptr<Aircraft>>& aircraft() const;
    // How many aircraft this world has created so far.
    uint32_t aircraftSeen() const;

    // Metres above mean sea level; positions in radians.
    static double groundElevation(double latitude, double longitude);
    // Degrees, east positive.
    static double magneticVariation(double latitude, double longitude);
    static void wind(double latitude, double longitude, double altitude, double& directionDegrees,
                     double& speedKnots);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
