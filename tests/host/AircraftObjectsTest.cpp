// Identifying, describing, creating and removing aircraft, and the flight files, against fake
// simulation objects and host functions that record how they were called.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeObject.h"
#include "host/FSinterface.h"
#include "host/HostState.h"
#include "support/Errors.h"

namespace {

using Q = HostNumbers::Quantity;
using P = HostNumbers::Property;

// What the host functions below were called with.
struct HostCalls {
    std::vector<std::string> texts;
    std::vector<int32_t> numbers;
    std::vector<uint8_t> initialState;
    bool loadingDuringCall = false;
    int32_t result = 0;
};
HostCalls calls;

// The host's loadFlight in either form.
int32_t loading(const char* path, std::vector<int32_t> zeros) {
    calls.texts.push_back(path);
    calls.numbers = std::move(zeros);
    calls.loadingDuringCall = hostState().loadingFlight;
    return calls.result;
}

class AircraftObjectsTest : public FakeObjectTest {
protected:
    void SetUp() override {
        FakeObjectTest::SetUp();
        calls = {};
    }
};

TEST_F(AircraftObjectsTest, TheWalkWrapsAndFallsBackToTheUserAircraft) {
    EXPECT_EQ(0u, FSinterface::getUserAcftID());
    FakeObject a(3, 3), b(12, 3), c(900, 3), user(777, 3);
    setFakeUser(777);
    EXPECT_EQ(777u, FSinterface::getUserAcftID());
    EXPECT_EQ(3u, FSinterface::getNextAcftID(900));
    EXPECT_EQ(12u, FSinterface::getNextAcftID(3));
    EXPECT_EQ(900u, FSinterface::getPrevAcftID(3));
    EXPECT_EQ(777u, FSinterface::getNextAcftID(55)); // no longer simulated
    EXPECT_EQ(777u, FSinterface::getPrevAcftID(55));

    hostState().bound.objectMap = [] { return static_cast<ZHostObjectMap*>(nullptr); };
    for (const auto& [place, walk] : {std::pair{"FSinterface::getNextAcftID", &FSinterface::getNextAcftID},
                                      {"FSinterface::getPrevAcftID", &FSinterface::getPrevAcftID}})
        expectMisuse(thrown([walk] { walk(3); }), place, "NULL pointer returned");
}

TEST_F(AircraftObjectsTest, AircraftDataComesFromTheObjectsTextsAndQuantities) {
    FakeObject aircraft(40, 3);
    aircraft.setText(P::Title, "Piper Cub");
    aircraft.setText(P::TailNumber, "N3918K");
    aircraft.set(Q::StaticCgHeight, 4.5);
    aircraft.set(Q::EngineCount, 0.6);
    aircraft.set(Q::HasFlaps, 1);
    aircraft.set(Q::HasRetractableGear, 0);
    aircraft.set(Q::HasSpoilers, 1);
    aircraft.set(Q::HasPropAndMixture, 0);
    AcftData data;
    FSinterface::getAcftData(40, data);
    EXPECT_EQ("Piper Cub", data.title);
    EXPECT_EQ("N3918K", data.tailNumber);
    EXPECT_EQ(4.5f, data.staticCGtoGround);
    EXPECT_EQ(1, data.nEngines); // rounded
    EXPECT_EQ((std::vector<bool>{true, false, true, false}),
              (std::vector<bool>{data.hasFlaps, data.hasRetractableGear, data.hasSpoilers,
                                 data.hasPropAndMixture}));
    aircraft.set(Q::EngineCount, 0);
    FSinterface::getAcftData(40, data);
    EXPECT_EQ(0, data.nEngines);

    FSinterface::setRegistration(40, "HB-OFK");
    EXPECT_EQ("HB-OFK", aircraft.text(P::TailNumber));
}

TEST_F(AircraftObjectsTest, AiAircraftAreCreatedByTheHostsCreatorAndRemovedByTheirId) {
    hostState().bound.aiCreator = [] { return static_cast<ZHostAiCreator*>(nullptr); };
    expectMisuse(thrown([] { FSinterface::createAicraft("Piper Cub", "N1"); }), "FSinterface::createAicraft",
                 "NULL pointer returned");

    static const ZHostAiCreatorOps ops = {[](ZHostAiCreator*, const char* title, const char* tail,
                                             int32_t mode, const uint8_t state[36]) -> uint32_t {
        calls.texts = {title, tail};
        calls.numbers = {mode};
        calls.initialState.assign(state, state + 36);
        return calls.texts[0] == "Piper Cub" ? 41 : 0;
    }};
    static ZHostAiCreator creator = {&ops};
    hostState().bound.aiCreator = [] { return &creator; };
    EXPECT_EQ(41u, FSinterface::createAicraft("Piper Cub", "N1"));
    EXPECT_EQ((std::vector<std::string>{"Piper Cub", "N1"}), calls.texts);
    EXPECT_EQ(std::vector<int32_t>{1}, calls.numbers);
    EXPECT_EQ(std::vector<uint8_t>(36, 0), calls.initialState);
    EXPECT_EQ(0u, FSinterface::createAicraft("Unknown", "N2"));

    hostState().bound.removeObject = [](uint32_t id, int32_t zero) {
        calls.numbers = {static_cast<int32_t>(id), zero};
    };
    FSinterface::removeAircraft(41);
    EXPECT_EQ((std::vector<int32_t>{41, 0}), calls.numbers);
}

TEST_F(AircraftObjectsTest, FlightFilesGetFltAppendedAndTheFormOfTheHostVersion) {
    const std::string longPath = std::string(258, 'x');
    struct Case {
        std::string path;
        std::string loaded;
    };
    const Case cases[] = {{"C:\\Flights\\Zurich", "C:\\Flights\\Zurich.flt"},
                          {"C:\\Flights\\Zurich.flt", "C:\\Flights\\Zurich.flt.flt"},
                          {longPath, longPath + ".f"}}; // at most 260 characters
    for (int version = 0; version < 5; ++version) {
        useFakeHost(version);
        if (version <= 2)
            hostState().bound.loadFlight = reinterpret_cast<void*>(
                +[](const char* path, int32_t zero) { return loading(path, {zero}); });
        else
            hostState().bound.loadFlight =
                reinterpret_cast<void*>(+[](const char* path, int32_t zero, int32_t zero2) {
                    return loading(path, {zero, zero2});
                });
        for (const Case& c : cases) {
            calls = {};
            EXPECT_TRUE(FSinterface::loadFlight(c.path));
            EXPECT_EQ(std::vector<std::string>{c.loaded}, calls.texts) << version;
            EXPECT_EQ(std::vector<int32_t>(version <= 2 ? 1 : 2, 0), calls.numbers) << version;
            EXPECT_TRUE(calls.loadingDuringCall); // the module's own flight is not announced
            EXPECT_FALSE(hostState().loadingFlight);
        }
        calls.result = 7;
        EXPECT_FALSE(FSinterface::loadFlight("C:\\Flights\\Zurich"));
    }
}

TEST_F(AircraftObjectsTest, SavingLoadingAndChoosingTheUserAircraftStopWithTheModule) {
    hostState().bound.saveFlight = [](const char* path, const char* title, const char* description) {
        calls.texts = {path, title, description};
        return calls.result;
    };
    hostState().bound.loadFlight = reinterpret_cast<void*>(+[](const char* path, int32_t, int32_t) {
        calls.texts = {path};
        return 0;
    });
    hostState().bound.selectUserAircraft = [](const char* title) { calls.texts = {title}; };
    const std::string longPath(300, 'y');
    EXPECT_TRUE(FSinterface::saveFlight(longPath, "Zurich", "A circuit"));
    EXPECT_EQ((std::vector<std::string>{std::string(260, 'y'), "Zurich", "A circuit"}), calls.texts);
    calls.result = 1;
    EXPECT_FALSE(FSinterface::saveFlight("a", "b", "c"));
    FSinterface::setUserAircraft("Piper Cub");
    EXPECT_EQ(std::vector<std::string>{"Piper Cub"}, calls.texts);

    hostState().stopping = true;
    calls = {};
    EXPECT_FALSE(FSinterface::saveFlight("a", "b", "c"));
    EXPECT_FALSE(FSinterface::loadFlight("a"));
    FSinterface::setUserAircraft("Piper Cub");
    EXPECT_TRUE(calls.texts.empty());
}

} // namespace
