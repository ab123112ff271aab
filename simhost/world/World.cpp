#include "world/World.h"

#include <algorithm>

#include "world/Earth.h"
#include "world/LiveTraffic.h"

namespace {

constexpr double kParkingSpacing = 40; // metres between aircraft parked beside the user's

} // namespace

struct World::Impl {
    Impl(SimContext& simContext, AircraftCatalog installed)
        : context(simContext), catalog(std::move(installed)) {}

    Aircraft& add(const AircraftType& type, const StartPosition& start) {
        const uint32_t id = nextId++;
        auto& slot = aircraft[id];
        slot = std::make_unique<Aircraft>(id, type, context, start);
        rebuildMap();
        return *slot;
    }

    void erase(uint32_t id) {
        aircraft.erase(id);
        traffic.left(id);
        rebuildMap();
    }

    void rebuildMap() {
        std::map<uint32_t, ZHostObject*> objects;
        for (const auto& [id, one] : aircraft)
            objects.emplace(id, one->object());
        tree.rebuild(objects);
    }

    Aircraft* user() {
        const auto it = aircraft.find(userId);
        return it == aircraft.end() ? nullptr : it->second.get();
    }

    // Where an aircraft is, as a start position for another.
    static StartPosition whereIs(const Aircraft& one) {
        StartPosition start;
        start.latitude = Earth::degrees(one.latitude());
        start.longitude = Earth::degrees(one.longitude());
        start.heading = Earth::headingDegrees(one.position().heading);
        const double rest = groundElevation(one.latitude(), one.longitude()) +
                            one.type().referenceAboveGround * Earth::kMetresPerFoot;
        start.altitudeAboveGround = std::max(0.0, one.altitude() - rest);
        return start;
    }

    SimContext& context;
    AircraftCatalog catalog;
    std::map<uint32_t, std::unique_ptr<Aircraft>> aircraft;
    uint32_t userId = 0;
    uint32_t nextId = 1;
    uint32_t parked = 0;
    LiveTraffic traffic;
    ObjectTree tree;
};

World::World(SimContext& context, AircraftCatalog catalog)
    : impl_(std::make_unique<Impl>(context, std::move(catalog))) {
    impl_->rebuildMap();
}

World::~World() = default;

const AircraftCatalog& World::catalog() const {
    return impl_->catalog;
}

bool World::setUser(const std::string& title, const StartPosition& start) {
    const AircraftType* type = impl_->catalog.find(title);
    if (type == nullptr)
        return false;
    const uint32_t old = impl_->userId;
    impl_->userId = impl_->add(*type, start).id();
    if (old != 0)
        impl_->erase(old);
    return true;
}

bool World::setUser(const std::string& title) {
    const Aircraft* old = user();
    return setUser(title, old != nullptr ? Impl::whereIs(*old) : StartPosition{});
}

Aircraft* World::user() {
    return impl_->user();
}

Aircraft* World::find(uint32_t id) {
    const auto it = impl_->aircraft.find(id);
    return it == impl_->aircraft.end() ? nullptr : it->second.get();
}

// On the ground to the user aircraft's right, each new one a little further out.
uint32_t World::createAi(const std::string& title, const std::string& tailNumber) {
    const AircraftType* type = impl_->catalog.find(title);
    if (type == nullptr)
        return 0;
    StartPosition start;
    if (const Aircraft* owner = user()) {
        start = Impl::whereIs(*owner);
        start.altitudeAboveGround = 0;
        const double spacing = kParkingSpacing * (1 + impl_->parked++ % 10);
        Earth::destination(start.latitude, start.longitude, start.heading + 90, spacing, start.latitude,
                           start.longitude);
    }
    Aircraft& created = impl_->add(*type, start);
    created.setTailNumber(tailNumber);
    return created.id();
}

bool World::remove(uint32_t id) {
    if (id == impl_->userId || impl_->aircraft.count(id) == 0)
        return false;
    impl_->erase(id);
    return true;
}

void World::setTrafficAmounts(uint32_t airlinePercent, uint32_t generalAviationPercent) {
    impl_->traffic.setAmounts(airlinePercent, generalAviationPercent);
}

std::size_t World::liveTrafficCount() const {
    return impl_->traffic.count();
}

void World::step(double seconds) {
    for (const auto& [id, one] : impl_->aircraft)
        one->step(seconds);
    for (uint32_t id : impl_->traffic.leaving(seconds))
        impl_->erase(id);
    const Aircraft* owner = user();
    if (owner == nullptr)
        return;
    if (const auto arrival = impl_->traffic.arriving(seconds, *owner, impl_->catalog)) {
        Aircraft& created = impl_->add(*arrival->type, arrival->start);
        created.setTailNumber(arrival->tailNumber);
        created.fly(arrival->order);
        impl_->traffic.joined(created.id(), *arrival);
    }
}

ZHostObjectMap* World::objectMap() {
    return impl_->tree.abi();
}

const std::map<uint32_t, std::unique_ptr<Aircraft>>& World::aircraft() const {
    return impl_->aircraft;
}

uint32_t World::aircraftSeen() const {
    return impl_->nextId - 1;
}
