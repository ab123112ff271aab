// Flights saved and loaded through flight.dll, and changes of the user aircraft, as add-ons
// hear of them.
#include <cmath>

#include "SimulatorFixture.h"
#include "services/HostEvents.h"
#include "services/RecordFormats.h"

namespace {

using namespace HostNumbers;

// Which system events a call produced, with their texts.
std::vector<std::pair<uintptr_t, std::string>> systemEvents() {
    std::vector<std::pair<uintptr_t, std::string>> events;
    for (const HostCall& call : hostCalls())
        if (call.event == ZHOST_EVENT_SYSTEM)
            events.emplace_back(call.a, call.text);
    hostCalls().clear();
    return events;
}

class SimulatorFlightTest : public ::testing::TestWithParam<int> {
protected:
    SimulatorFlightTest() : f(GetParam()) {
        hostCalls().clear();
        f.entry<ZHostRegisterEventFn>("api.dll", Api::RegisterEvent)(ZHOST_EVENT_SYSTEM, &recordHostCall);
        f.sim->frame(); // the first user aircraft's report
        hostCalls().clear();
    }

    int32_t load(const std::string& path) {
        void* entry = zhostGetModule("flight.dll")
                          ->entry(zhostGetModule("flight.dll"), HostNumbers::entry(f.v, Flight::LoadFlight));
        return f.v <= 2 ? reinterpret_cast<ZHostLoadFlightOldFn>(entry)(path.c_str(), 0)
                        : reinterpret_cast<ZHostLoadFlightFn>(entry)(path.c_str(), 0, 0);
    }

    SimulatorFixture f;
};

TEST_P(SimulatorFlightTest, ASavedFlightLoadsBackWithItsAircraftPlaceAndTime) {
    Aircraft* user = f.sim->world().user();
    ZHostPosition placed = user->position();
    placed.latitude = RecordFormats::latitudeFromDegrees(46.25);
    placed.longitude = RecordFormats::longitudeFromDegrees(-7.5);
    placed.altitude = RecordFormats::altitudeFromMetres(1234.5);
    placed.heading = RecordFormats::angleFromDegrees(123);
    user->setPosition(placed);
    const ZHostDateTime savedTime = *f.data<ZHostDateTime>("main.dll", Main::DateTime);

    const std::string path = f.dir.file("Flights/circuit");
    ASSERT_EQ(
        0, f.entry<ZHostSaveFlightFn>("flight.dll", Flight::SaveFlight)(path.c_str(), "Circuit", "Around"));
    EXPECT_TRUE(std::filesystem::exists(path + ".flt"));
    EXPECT_EQ((std::vector<std::pair<uintptr_t, std::string>>{{ZHOST_SYSTEM_FLIGHT_SAVED, path}}),
              systemEvents())
        << "reported at once, without the extension";
    const ZHostPosition saved = user->position(); // as the world holds it

    ASSERT_TRUE(f.sim->changeUserAircraft(SimulatorFixture::kHelicopter));
    f.sim->setRate(4);
    for (int i = 0; i < 60; ++i)
        f.sim->frame();
    hostCalls().clear();

    ASSERT_EQ(0, load(path + ".flt"));
    EXPECT_EQ((std::vector<std::pair<uintptr_t, std::string>>{{ZHOST_SYSTEM_FLIGHT_LOADED, path + ".flt"}}),
              systemEvents());
    user = f.sim->world().user();
    EXPECT_EQ(SimulatorFixture::kAirplane, user->type().title);
    const ZHostPosition loaded = user->position();
    EXPECT_NEAR(RecordFormats::latitudeDegrees(saved.latitude),
                RecordFormats::latitudeDegrees(loaded.latitude), 1e-9);
    EXPECT_NEAR(RecordFormats::longitudeDegrees(saved.longitude),
                RecordFormats::longitudeDegrees(loaded.longitude), 1e-9);
    EXPECT_NEAR(RecordFormats::altitudeMetres(saved.altitude), RecordFormats::altitudeMetres(loaded.altitude),
                1e-6);
    EXPECT_NEAR(123, RecordFormats::angleDegrees(loaded.heading), 1e-6);
    const ZHostDateTime now = *f.data<ZHostDateTime>("main.dll", Main::DateTime);
    EXPECT_EQ(savedTime.hour, now.hour);
    EXPECT_EQ(savedTime.minute, now.minute);
    EXPECT_EQ(savedTime.second, now.second);

    f.sim->frame();
    const auto events = systemEvents();
    ASSERT_EQ(1u, events.size()) << "the aircraft changed: reported at the next frame";
    EXPECT_EQ(ZHOST_SYSTEM_AIRCRAFT_LOADED, events[0].first);
    EXPECT_EQ((std::filesystem::path(user->type().folder) / "aircraft.cfg").string(), events[0].second);
}

TEST_P(SimulatorFlightTest, AFlightThatCannotBeReadIsRefusedUnreported) {
    EXPECT_NE(0, load(f.dir.file("Flights/none.flt")));
    std::ofstream(f.dir.file("Flights/empty.flt")) << "[Main]\nTitle=Nothing\n";
    EXPECT_NE(0, load(f.dir.file("Flights/empty.flt")));
    EXPECT_TRUE(systemEvents().empty());
    EXPECT_EQ(2u, f.sim->errors().size());
    EXPECT_FALSE(f.sim->loadFlight("none"));
}

TEST_P(SimulatorFlightTest, ANewUserAircraftIsReportedOnceAtTheNextFrame) {
    const uint32_t before = f.sim->world().user()->id();
    f.entry<ZHostSelectUserAircraftFn>("acontain.dll",
                                       Acontain::SelectUserAircraft)(SimulatorFixture::kHelicopter);
    EXPECT_TRUE(systemEvents().empty());
    Aircraft* user = f.sim->world().user();
    EXPECT_NE(before, user->id());
    EXPECT_EQ(user->object(), f.entry<ZHostUserAircraftFn>("acontain.dll", Acontain::UserAircraft)());
    f.sim->frame();
    f.sim->frame();
    const auto events = systemEvents();
    ASSERT_EQ(1u, events.size());
    EXPECT_EQ(ZHOST_SYSTEM_AIRCRAFT_LOADED, events[0].first);
    EXPECT_NE(std::string::npos, events[0].second.find("Rotor")) << events[0].second;

    f.entry<ZHostSelectUserAircraftFn>("acontain.dll", Acontain::SelectUserAircraft)("No Such Aircraft");
    f.sim->frame();
    EXPECT_TRUE(systemEvents().empty());
    EXPECT_EQ(user, f.sim->world().user());
}

INSTANTIATE_TEST_SUITE_P(OlderAndNewer, SimulatorFlightTest, ::testing::Values(0, 3));

} // namespace
