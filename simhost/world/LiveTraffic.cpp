#include "world/LiveTraffic.h"

#include <algorithm>

#include "world/Earth.h"
#include "world/World.h"

namespace {

constexpr uint64_t kSeed = 0x5A45504852454C31; // the same traffic on every run
constexpr double kFeet = Earth::kMetresPerFoot;

bool isAirliner(const AircraftType& type) {
    return type.category == "Airplane" && !type.propAndMixture && type.engines >= 2;
}

std::size_t share(uint32_t percent) {
    return static_cast<std::size_t>(std::min<uint32_t>(percent, 100)) * World::kMaxLiveTraffic / 100;
}

} // namespace

LiveTraffic::LiveTraffic() : random_(kSeed) {}

void LiveTraffic::setAmounts(uint32_t airlinePercent, uint32_t generalAviationPercent) {
    maxAirline_ = share(airlinePercent);
    maxGeneral_ = share(generalAviationPercent);
}

// splitmix64, to a double in [low, high).
double LiveTraffic::uniform(double low, double high) {
    uint64_t z = (random_ += 0x9E3779B97F4A7C15);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
    z ^= z >> 31;
    return low + (high - low) * static_cast<double>(z >> 11) / 9007199254740992.0;
}

std::size_t LiveTraffic::members(bool airline) const {
    return static_cast<std::size_t>(std::count_if(members_.begin(), members_.end(),
                                                  [&](const Member& m) { return m.airline == airline; }));
}

std::vector<uint32_t> LiveTraffic::leaving(double seconds) {
    std::vector<uint32_t> ids;
    std::size_t kept[2] = {0, 0};
    for (Member& member : members_) {
        member.age += seconds;
        std::size_t& ofKind = kept[member.airline ? 1 : 0];
        // Members are in order of arrival: the newest beyond the amount go.
        if (member.age >= member.lifetime || ofKind >= allowed(member.airline))
            ids.push_back(member.id);
        else
            ++ofKind;
    }
    for (uint32_t id : ids)
        left(id);
    return ids;
}

std::optional<LiveTraffic::Arrival> LiveTraffic::arriving(double seconds, const Aircraft& user,
                                                          const AircraftCatalog& catalog) {
    untilArrival_ -= seconds;
    if (untilArrival_ > 0)
        return std::nullopt;
    untilArrival_ = uniform(5, 20);
    const std::size_t airlineShort = allowed(true) - std::min(allowed(true), members(true));
    const std::size_t generalShort = allowed(false) - std::min(allowed(false), members(false));
    if (airlineShort == 0 && generalShort == 0)
        return std::nullopt;
    const bool airline = airlineShort >= generalShort;
    std::vector<const AircraftType*> candidates;
    for (const AircraftType& type : catalog.types())
        if (isAirliner(type) == airline)
            candidates.push_back(&type);
    if (candidates.empty())
        return std::nullopt;

    Arrival arrival{};
    const auto pick = static_cast<std::size_t>(uniform(0, static_cast<double>(candidates.size())));
    arrival.type = candidates[std::min(pick, candidates.size() - 1)];
    arrival.airline = airline;
    arrival.tailNumber = "LT" + std::to_string(101 + arrivals_++);
    const double bearing = uniform(0, 360);
    const double distance = airline ? uniform(8000, 25000) : uniform(2000, 8000);
    Earth::destination(Earth::degrees(user.latitude()), Earth::degrees(user.longitude()), bearing, distance,
                       arrival.start.latitude, arrival.start.longitude);
    arrival.start.heading = uniform(0, 360);
    arrival.start.altitudeAboveGround = (airline ? uniform(3000, 8000) : uniform(2500, 4000)) * kFeet;
    if (airline || uniform(0, 1) < 0.5) {
        arrival.order = routeFrom(arrival.start, airline);
    } else {
        arrival.order.kind = ManoeuvreOrder::Circuit;
        arrival.order.altitude = 1000;
    }
    arrival.lifetime = uniform(240, 900);
    return arrival;
}

// Two waypoints ahead, turning a little each time, within a thousand feet of the start's level.
ManoeuvreOrder LiveTraffic::routeFrom(const StartPosition& start, bool airline) {
    ManoeuvreOrder order;
    order.kind = ManoeuvreOrder::Route;
    const double level =
        World::groundElevation(Earth::radians(start.latitude), Earth::radians(start.longitude)) / kFeet +
        start.altitudeAboveGround / kFeet;
    double latitude = start.latitude;
    double longitude = start.longitude;
    double heading = start.heading;
    for (int i = 0; i < 2; ++i) {
        heading += uniform(-40, 40);
        const double distance = airline ? uniform(15000, 30000) : uniform(5000, 12000);
        Earth::destination(latitude, longitude, heading, distance, latitude, longitude);
        order.route.push_back({latitude, longitude, level + uniform(-1000, 1000)});
    }
    return order;
}

void LiveTraffic::joined(uint32_t id, const Arrival& arrival) {
    members_.push_back({id, arrival.airline, 0, arrival.lifetime});
}

void LiveTraffic::left(uint32_t id) {
    std::erase_if(members_, [&](const Member& m) { return m.id == id; });
}
