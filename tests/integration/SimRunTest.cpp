#include <gtest/gtest.h>

#include <algorithm>

#include "SimRun.h"

namespace {

const char* const kVersions[] = {"10.0.60905.0", "10.0.61355.0", "10.0.61472.0", "10.0.61637.0", "1.0.195.0"};

// The log's lines of start-up, each after the one before.
void expectInOrder(const std::string& text, const std::vector<std::string>& parts) {
    std::size_t at = 0;
    for (const std::string& part : parts) {
        const std::size_t found = text.find(part, at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << part << "\n" << text;
        at = found + part.size();
    }
}

bool contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A twin jet in the air over the default airfield, with the probe's checks from second 5 on, a
// flight saved and loaded by the user, the probe's own save and load at second 3, two keys of
// which the probe handles one, and a pause.
const char* const kFlightScenario = "user-aircraft \"Twin Jet 737-800 House\"\n"
                                    "start 47.4582 8.5555 900 340\n"
                                    "frame-step 0.05\n"
                                    "duration 30\n"
                                    "at 0 fly circuit 3000\n"
                                    "at 1 save flight userflight \"User flight\"\n"
                                    "at 2 load flight userflight\n"
                                    "at 8 key press K\n"
                                    "at 8 key press J\n"
                                    "at 12 pause on\n"
                                    "at 16 pause off\n";

class SimRunVersionTest : public ::testing::TestWithParam<const char*> {};

TEST_P(SimRunVersionTest, TheModuleStartsExchangesStateAndStopsInTheSimulator) {
    SimRun::Options options;
    options.hostVersion = GetParam();
    options.probeKeys = "0x4B";
    options.probeChecks = "state,ownload";
    options.scenarioActions = kFlightScenario;
    const SimRun run(options);
    ASSERT_EQ(run.exitCode(), 0) << run.output();
    EXPECT_NE(run.output().find("add-ons loaded: 2\n"), std::string::npos) << run.output();
    EXPECT_NE(run.output().find("errors shown: 0\n"), std::string::npos) << run.output();
    // Every call the module made was in the form this host version takes.
    EXPECT_NE(run.output().find("wrong forms: 0\n"), std::string::npos) << run.output();

    expectInOrder(run.log(), {"Module Entry Point", std::string("FSX Version: ") + GetParam(),
                              "DLL functions imported", "Callbacks registered", "Initialization finished", "Exit"});

    const std::vector<std::string> report = run.report();
    ASSERT_FALSE(report.empty()) << "the probe wrote no report";
    EXPECT_TRUE(contains(report, "roundtrip user ok")) << ::testing::PrintToString(report);
    EXPECT_TRUE(contains(report, "ai 1"));
    EXPECT_TRUE(contains(report, "roundtrip ai ok")) << ::testing::PrintToString(report);
    EXPECT_TRUE(contains(report, "changed user ok")) << ::testing::PrintToString(report);
    EXPECT_TRUE(contains(report, "changed ai ok")) << ::testing::PrintToString(report);
    // The user's flaps go through the axis event, the AI's through the handle; both arrive.
    EXPECT_TRUE(contains(report, "flaps user 1 ai 1")) << ::testing::PrintToString(report);
    EXPECT_TRUE(contains(report, "parkbrake set twice 1"));
    EXPECT_TRUE(contains(report, "parkbrake without group 0"));

    // The user's load is announced, the module's own is not; both saves are.
    EXPECT_TRUE(contains(report, "ownflight saved 1 loaded 1"));
    EXPECT_TRUE(contains(report, "flightsaved " + run.flightsFolder() + "/ProbeFlight.flt"))
        << ::testing::PrintToString(report);
    EXPECT_EQ(linesStartingWith(report, "flightloaded "),
              std::vector<std::string>{"flightloaded " + run.flightsFolder() + "/userflight.flt"});

    // The handled key never reaches the simulator; the other one does.
    EXPECT_TRUE(contains(report, "keydown 0x4B handled"));
    EXPECT_TRUE(contains(report, "keydown 0x4A passed"));
    EXPECT_NE(run.output().find("keys reached: down 0x4A, up 0x4A\n"), std::string::npos) << run.output();
}

INSTANTIATE_TEST_SUITE_P(AcceptedHosts, SimRunVersionTest, ::testing::ValuesIn(kVersions),
                         [](const ::testing::TestParamInfo<const char*>& param) {
                             return "Version" + std::to_string(param.index);
                         });

// The frame time comes from the user aircraft's group clock (another group for a helicopter on
// the newer hosts) and stays within 0..10 s, also across a pause.
TEST(SimRunTest, FrameTimeStaysWithinItsRangeAcrossAPause) {
    for (const char* aircraft : {"Trainer 152 Aerobat", "Helicopter 206B JetRanger"}) {
        SimRun::Options options;
        options.hostVersion = "1.0.195.0";
        options.scenarioActions = std::string("user-aircraft \"") + aircraft +
                                  "\"\nframe-step 0.1\nduration 20\nat 1 rate 4\nat 5 pause on\nat 9 pause off\n";
        const SimRun run(options);
        ASSERT_EQ(run.exitCode(), 0) << run.output();
        const std::vector<std::string> frames = linesStartingWith(run.report(), "frames ");
        ASSERT_EQ(frames.size(), 1u) << aircraft;
        double lowest = -1, highest = -1;
        ASSERT_EQ(std::sscanf(frames[0].c_str(), "frames %*u frametime %lf %lf", &lowest, &highest), 2);
        EXPECT_GE(lowest, 0.0) << aircraft;
        // The frame time is the frame's own 0.1 s also at rate 4: whoever wants simulated time
        // applies the rate.
        EXPECT_NEAR(highest, 0.1, 1e-6) << aircraft;
    }
}

// A Level-D 767 flown by the user keeps its lights in its own switches; the round trip of every
// group still comes back unchanged.
TEST(SimRunTest, ALevelD767RoundTripsThroughItsOwnSwitches) {
    SimRun::Options options;
    options.probeChecks = "state";
    options.scenarioActions = "user-aircraft \"Level-D Simulations B767-300ER\"\nstart 47.4582 8.5555 900 340\n"
                              "frame-step 0.05\nduration 8\nat 0 fly circuit 3000\n";
    const SimRun run(options);
    ASSERT_EQ(run.exitCode(), 0) << run.output();
    EXPECT_TRUE(contains(run.report(), "roundtrip user ok")) << ::testing::PrintToString(run.report());
    EXPECT_TRUE(contains(run.report(), "changed user ok")) << ::testing::PrintToString(run.report());
    EXPECT_NE(run.output().find("wrong forms: 0\n"), std::string::npos) << run.output();
}

// A host whose version differs in the last part only is refused: the module says so once and
// stays inert, so keys go on to the simulator.
TEST(SimRunTest, AnUnacceptedHostVersionLeavesTheModuleInert) {
    SimRun::Options options;
    options.probe = false;
    options.hostVersion = "10.0.61637.1";
    options.scenarioActions = "duration 2\nat 1 key press J\n";
    const SimRun run(options);
    ASSERT_EQ(run.exitCode(), 0) << run.output();
    EXPECT_NE(run.output().find("errors shown: 1\n"), std::string::npos) << run.output();
    EXPECT_NE(run.log().find("10.0.61637.1"), std::string::npos) << run.log();
    EXPECT_EQ(run.log().find("Initialization finished"), std::string::npos);
    EXPECT_NE(run.output().find("keys reached: down 0x4A, up 0x4A\n"), std::string::npos) << run.output();
}

// The shipped module, with its symbols hidden, through a 10-minute flight among 20 AI aircraft.
TEST(SimRunTest, TheShippedModuleFliesTenMinutesAmongLiveTraffic) {
    SimRun::Options options;
    options.probe = false;
    options.scenarioActions = "user-aircraft \"Trainer 152 Aerobat\"\ntraffic 100\nduration 600\n"
                              "at 1 fly takeoff 1500\nat 120 fly circuit 1500\n";
    const SimRun run(options);
    ASSERT_EQ(run.exitCode(), 0) << run.output();
    EXPECT_NE(run.output().find("add-ons loaded: 1\n"), std::string::npos) << run.output();
    EXPECT_NE(run.output().find("frames: 18000\n"), std::string::npos) << run.output();
    unsigned seen = 0;
    const std::size_t at = run.output().find("aircraft seen: ");
    ASSERT_NE(at, std::string::npos);
    ASSERT_EQ(std::sscanf(run.output().c_str() + at, "aircraft seen: %u", &seen), 1);
    EXPECT_GT(seen, 20u) << run.output();
    expectInOrder(run.log(), {"Module Entry Point", "Initialization finished", "Exit"});
}

} // namespace
