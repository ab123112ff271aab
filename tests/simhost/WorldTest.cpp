// The world: aircraft by id, the user aircraft, AI aircraft, live traffic, the object map and
// the terrain.

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

#include "world/World.h"

namespace {

constexpr double kEarthRadius = 2 * 10001750.0 / M_PI;
const char* const kTrainer = "Trainer 152 Aerobat";
const char* const kTwinJet = "Twin Jet 737-800 House";

double metresBetween(const Aircraft& a, const Aircraft& b) {
    const double north = (b.latitude() - a.latitude()) * kEarthRadius;
    const double east = (b.longitude() - a.longitude()) * kEarthRadius * std::cos(a.latitude());
    return std::hypot(north, east);
}

class WorldTest : public ::testing::Test {
protected:
    WorldTest() : world(context, AircraftCatalog::load(ZEPHREL_SAMPLE_SIM_ROOT)) {}

    std::set<uint32_t> ids() const {
        std::set<uint32_t> result;
        for (const auto& [id, aircraft] : world.aircraft())
            result.insert(id);
        return result;
    }

    // The object map in key order; false when a node breaks the order or names another object.
    bool walk(const ZHostMapNode* node, std::vector<uint32_t>& keys) const {
        if (node == nullptr)
            return true;
        if (!walk(node->left, keys))
            return false;
        if ((!keys.empty() && keys.back() >= node->key) || node->object->ops->id(node->object) != node->key)
            return false;
        keys.push_back(node->key);
        return walk(node->right, keys);
    }
    void expectMapMatches() {
        std::vector<uint32_t> keys;
        ASSERT_TRUE(walk(world.objectMap()->root, keys));
        EXPECT_EQ(ids(), std::set<uint32_t>(keys.begin(), keys.end()));
        EXPECT_EQ(world.aircraft().size(), keys.size());
    }

    SimContext context{HostVersion::accepted(1)};
    World world;
};

TEST_F(WorldTest, IdsCountUpAndAreNeverReused) {
    EXPECT_EQ(nullptr, world.user());
    EXPECT_EQ(nullptr, world.objectMap()->root);
    ASSERT_TRUE(world.setUser(kTrainer, StartPosition{}));
    EXPECT_EQ(1u, world.user()->id());
    EXPECT_EQ(2u, world.createAi(kTwinJet, "HB-AI1"));
    EXPECT_EQ("HB-AI1", world.find(2)->tailNumber());
    EXPECT_EQ(0u, world.createAi("No Such Aircraft", "X"));
    EXPECT_TRUE(world.remove(2));
    EXPECT_EQ(nullptr, world.find(2));
    EXPECT_FALSE(world.remove(2));
    EXPECT_FALSE(world.remove(1)) << "the user aircraft stays";
    EXPECT_EQ(3u, world.createAi("twin jet 737-800 house", "HB-AI2"));

    const double latitude = world.user()->latitude();
    ASSERT_TRUE(world.setUser(kTwinJet));
    EXPECT_EQ(4u, world.user()->id());
    EXPECT_EQ(kTwinJet, world.user()->type().title);
    EXPECT_NEAR(latitude, world.user()->latitude(), 1e-12) << "where the old user aircraft was";
    EXPECT_EQ(nullptr, world.find(1));
    EXPECT_FALSE(world.setUser("No Such Aircraft"));
    EXPECT_EQ(4u, world.user()->id());
    EXPECT_EQ((std::set<uint32_t>{3, 4}), ids());
    EXPECT_EQ(4u, world.aircraftSeen());
    expectMapMatches();
}

TEST_F(WorldTest, AiAircraftParkBesideTheUserAircraft) {
    ASSERT_TRUE(world.setUser(kTwinJet, StartPosition{}));
    Aircraft* first = world.find(world.createAi(kTrainer, "A"));
    Aircraft* second = world.find(world.createAi(kTrainer, "B"));
    ASSERT_TRUE(first != nullptr && second != nullptr);
    for (const Aircraft* ai : {first, second}) {
        EXPECT_TRUE(ai->onGround());
        EXPECT_GT(metresBetween(*world.user(), *ai), 10);
        EXPECT_LT(metresBetween(*world.user(), *ai), 500);
    }
    EXPECT_GT(metresBetween(*first, *second), 10);
}

TEST_F(WorldTest, LiveTrafficComesAndGoesWithinTheAmounts) {
    ASSERT_TRUE(world.setUser(kTrainer, StartPosition{}));
    world.setTrafficAmounts(50, 50);
    const std::size_t limit = 2 * 50 * World::kMaxLiveTraffic / 100;
    std::set<uint32_t> seen;
    std::size_t most = 0;
    for (int second = 0; second < 40 * 60; ++second) {
        world.step(1);
        ASSERT_LE(world.liveTrafficCount(), limit);
        ASSERT_EQ(world.aircraft().size(), 1 + world.liveTrafficCount());
        most = std::max(most, world.liveTrafficCount());
        for (const auto& [id, aircraft] : world.aircraft()) {
            if (id != world.user()->id() && seen.insert(id).second) {
                EXPECT_LT(metresBetween(*world.user(), *aircraft), 30000) << "appears near the user";
                EXPECT_FALSE(aircraft->onGround());
            }
        }
        if (second % 300 == 0)
            expectMapMatches();
    }
    EXPECT_GE(most, limit / 2);
    EXPECT_GT(seen.size(), world.liveTrafficCount()) << "some have left";

    world.setTrafficAmounts(10, 0);
    world.step(1);
    EXPECT_LE(world.liveTrafficCount(), 10u * World::kMaxLiveTraffic / 100);
    world.setTrafficAmounts(0, 0);
    world.step(1);
    EXPECT_EQ(0u, world.liveTrafficCount());
    EXPECT_EQ(1u, world.aircraft().size());
    expectMapMatches();
}

TEST_F(WorldTest, LiveTrafficIsTheSameOnEveryRun) {
    const auto run = [this](World& w) {
        w.setUser(kTrainer, StartPosition{});
        w.setTrafficAmounts(40, 60);
        for (int second = 0; second < 10 * 60; ++second)
            w.step(1);
        std::vector<std::tuple<uint32_t, std::string, int64_t, int64_t>> traffic;
        for (const auto& [id, aircraft] : w.aircraft())
            traffic.emplace_back(id, aircraft->type().title, aircraft->position().latitude,
                                 aircraft->position().altitude);
        return traffic;
    };
    World other(context, AircraftCatalog::load(ZEPHREL_SAMPLE_SIM_ROOT));
    const auto first = run(world);
    EXPECT_GT(first.size(), 1u);
    EXPECT_EQ(first, run(other));
}

TEST(WorldTerrainTest, FlatAroundTheDefaultStartAndSmoothElsewhere) {
    const StartPosition start;
    const double latitude = start.latitude * M_PI / 180;
    const double longitude = start.longitude * M_PI / 180;
    const double field = World::groundElevation(latitude, longitude);
    double lowest = field;
    double highest = field;
    double previous = field;
    for (double metres = 50; metres <= 60000; metres += 50) {
        const double elevation = World::groundElevation(latitude + metres / kEarthRadius, longitude);
        if (metres <= 5000) {
            EXPECT_DOUBLE_EQ(field, elevation) << metres;
        }
        EXPECT_LT(std::abs(elevation - previous), 5) << metres;
        EXPECT_GE(elevation, 0);
        previous = elevation;
        lowest = std::min(lowest, elevation);
        highest = std::max(highest, elevation);
    }
    EXPECT_GT(highest - lowest, 20) << "hills away from the airfield";
    EXPECT_LT(std::abs(World::magneticVariation(latitude, longitude)), 30);
    double direction = -1;
    double speed = -1;
    World::wind(latitude, longitude, 1000, direction, speed);
    EXPECT_TRUE(direction >= 0 && direction < 360);
    EXPECT_GE(speed, 0);
}

} // namespace
