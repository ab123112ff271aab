// Walking the simulator's aircraft by descents of its object map, against the plain order of ids.

#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <random>
#include <set>

#include "host/AircraftWalk.h"
#include "modules/ObjectTree.h"
#include "support/TempLog.h"

namespace {

using AircraftWalkTest = TempLogTest;

constexpr uint32_t kUser = 777;

// What the walk must give, from the ids in order.
uint32_t expectedNext(const std::set<uint32_t>& ids, uint32_t id) {
    if (ids.count(id) == 0)
        return kUser;
    const auto after = ids.upper_bound(id);
    return after == ids.end() ? *ids.begin() : *after;
}

uint32_t expectedPrevious(const std::set<uint32_t>& ids, uint32_t id) {
    if (ids.count(id) == 0)
        return kUser;
    const auto at = ids.find(id);
    return at == ids.begin() ? *ids.rbegin() : *std::prev(at);
}

TEST_F(AircraftWalkTest, FollowsTheIdOrderWithWrapAroundOnTreesOfEverySize) {
    std::mt19937 random(5);
    for (std::size_t size : {0u, 1u, 2u, 3u, 7u, 8u, 31u, 200u}) {
        std::set<uint32_t> ids;
        while (ids.size() < size)
            ids.insert(static_cast<uint32_t>(random() % 5000 + 1));
        std::map<uint32_t, ZHostObject*> objects;
        for (uint32_t id : ids)
            objects[id] = nullptr;
        ObjectTree tree;
        tree.rebuild(objects);
        // Every id of the map, its neighbours that are not in it, and the ends of the range.
        std::set<uint32_t> probes = {0, 1, 4999, 5000, 5001, 0xFFFFFFFFu};
        for (uint32_t id : ids)
            probes.insert({id - 1, id, id + 1});
        for (uint32_t id : probes) {
            SCOPED_TRACE("size " + std::to_string(size) + ", id " + std::to_string(id));
            EXPECT_EQ(expectedNext(ids, id), AircraftWalk::next(tree.abi(), id, kUser, "FSinterface::getNextAcftID"));
            EXPECT_EQ(expectedPrevious(ids, id),
                      AircraftWalk::previous(tree.abi(), id, kUser, "FSinterface::getPrevAcftID"));
        }
    }
}

} // namespace
