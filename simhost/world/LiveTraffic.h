#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "world/Aircraft.h"
#include "world/AircraftCatalog.h"

// The live traffic's comings and goings around the user aircraft, decided by a pseudo-random
// sequence with a fixed seed, so that the same run brings the same traffic. Airliners (jets of
// two engines or more) arrive further out and higher, flying routes; general aviation (all
// others) nearer and lower, flying routes or circuits. Each stays for a few minutes.
class LiveTraffic {
public:
    struct Arrival {
        const AircraftType* type;
        std::string tailNumber;
        StartPosition start;
        ManoeuvreOrder order;
        bool airline;
        double lifetime; // seconds
    };

    LiveTraffic();

    // Each amount is a share (percent) of World::kMaxLiveTraffic aircraft.
    void setAmounts(uint32_t airlinePercent, uint32_t generalAviationPercent);
    std::size_t count() const { return members_.size(); }

    // Ages the members by `seconds`; hands back, and forgets, those whose time is up and the
    // latest arrivals beyond what the amounts allow.
    std::vector<uint32_t> leaving(double seconds);
    // The aircraft to bring in now, when one is due and the traffic is short of its amounts.
    std::optional<Arrival> arriving(double seconds, const Aircraft& user, const AircraftCatalog& catalog);
    void joined(uint32_t id, const Arrival& arrival);
    // An aircraft that left otherwise (removed on request).
    void left(uint32_t id);

private:
    struct Member {
        uint32_t id;
        bool airline;
        double age;
        double lifetime;
    };

    std::size_t members(bool airline) const;
    std::size_t allowed(bool airline) const { return airline ? maxAirline_ : maxGeneral_; }
    double uniform(double low, double high);
    ManoeuvreOrder routeFrom(const StartPosition& start, bool airline);

    uint64_t random_;
    std::vector<Member> members_;
    std::size_t maxAirline_ = 0;
    std::size_t maxGeneral_ = 0;
    double untilArrival_ = 0;
    uint32_t arrivals_ = 0;
};
