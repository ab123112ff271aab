// The fixed step of video rendering with the module's own handlers in the stand-in simulator:
// what the simulation and the module's frame time do, whatever the scenery factor.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "harness/ModuleInSimulator.h"
#include "host/FSinterface.h"

namespace {

constexpr double kVideoFrame = 1.0 / 25;

// The module measures a frame's time in the frame event, from how far the frame before moved the
// simulation groups' clock: its frame time follows the simulation one frame behind.
struct Advance {
    double simulated = 0;
    uint64_t idleTurns = 0;
};
Advance frame(Simulator& sim) {
    const double seconds = sim.simulatedSeconds();
    const uint64_t turns = sim.idleTurns();
    sim.frame();
    return {sim.simulatedSeconds() - seconds, sim.idleTurns() - turns};
}

TEST(FixedStepInSimulatorTest, EveryFrameAdvancesTheSimulationAndTheModulesFrameTimeByTheStep) {
    for (const double factor : {0.0, 0.5, 1.0, 3.0}) {
        SCOPED_TRACE("scenery factor " + std::to_string(factor));
        ModuleInSimulator module{SimulatorSetup{}};
        Simulator& sim = module.sim();
        for (int i = 0; i < 3; ++i)
            sim.frame();
        EXPECT_FLOAT_EQ(static_cast<float>(sim.frameStep()), FSinterface::getFrameTime())
            << "real time first";

        FSinterface::setFixedFrameTime(kVideoFrame, factor, false);
        frame(sim);
        // The tick and both idle functions, trunc(1000 x step x factor) times a frame.
        const uint64_t turnsPerFrame = 2 * static_cast<uint64_t>(std::trunc(1000 * kVideoFrame * factor));
        for (int i = 0; i < 5; ++i) {
            const Advance advance = frame(sim);
            EXPECT_NEAR(kVideoFrame, advance.simulated, 1e-12);
            EXPECT_FLOAT_EQ(static_cast<float>(kVideoFrame), FSinterface::getFrameTime());
            EXPECT_EQ(turnsPerFrame, advance.idleTurns);
        }
        EXPECT_FLOAT_EQ(1.0f, FSinterface::getSimRate()) << "the rate the user chose, while the word is 0";
        EXPECT_EQ(0u, sim.context().wrongForms.count());
    }
}

TEST(FixedStepInSimulatorTest, AZeroStepDrawsFramesWithoutAdvancingAndANegativeStepGivesRealTimeBack) {
    ModuleInSimulator module{SimulatorSetup{}};
    Simulator& sim = module.sim();
    sim.setRate(2);
    sim.frame();
    FSinterface::setFixedFrameTime(kVideoFrame, 1, false);
    frame(sim);
    FSinterface::setSimRate(4); // a player at another speed during rendering
    EXPECT_FLOAT_EQ(4.0f, FSinterface::getSimRate());
    EXPECT_NEAR(kVideoFrame, frame(sim).simulated, 1e-12) << "the step, not the rate, times the frame";

    FSinterface::setFixedFrameTime(0, 1, false);
    const uint64_t frames = sim.frames();
    for (int i = 0; i < 3; ++i) {
        const Advance advance = frame(sim);
        EXPECT_EQ(0.0, advance.simulated);
        EXPECT_EQ(0u, advance.idleTurns);
    }
    EXPECT_EQ(frames + 3, sim.frames());
    EXPECT_EQ(0.0f, FSinterface::getFrameTime());

    FSinterface::setFixedFrameTime(kVideoFrame, 1, false);
    EXPECT_NEAR(kVideoFrame, frame(sim).simulated, 1e-12);

    FSinterface::setFixedFrameTime(-1, 1, false);
    EXPECT_FLOAT_EQ(2.0f, FSinterface::getSimRate()) << "the rate word saved when the step came on";
    EXPECT_NEAR(2 * sim.frameStep(), frame(sim).simulated, 1e-12);
    frame(sim);
    EXPECT_FLOAT_EQ(static_cast<float>(sim.frameStep()), FSinterface::getFrameTime());
}

} // namespace
