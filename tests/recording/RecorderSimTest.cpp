// The recorder over frames of the stand-in simulator: real aircraft, traffic, pause and rate.

#include <gtest/gtest.h>

#include "ModuleInSimulator.h"
#include "Recorder.h"
#include "TempDir.h"
#include "TempLog.h"
#include "ZflFile.h"

namespace {

class RecorderSimTest : public TempLogTest {
protected:
    void SetUp() override {
        TempLogTest::SetUp();
        general.tempDirectory = dir.path().string();
        SimulatorSetup setup;
        setup.userTitle = "Trainer 152 Aerobat";
        setup.flightsFolder = dir.file("Flights");
        module = std::make_unique<ModuleInSimulator>(setup);
    }
    void TearDown() override {
        module.reset();
        TempLogTest::TearDown();
    }
    void run(Recorder& recorder, int frames) {
        for (int i = 0; i < frames; ++i) {
            module->sim().frame();
            recorder.frame(nullptr);
        }
    }

    TempDir dir;
    GeneralSettings general;
    RecordingSettings recording;
    std::unique_ptr<ModuleInSimulator> module;
};

TEST_F(RecorderSimTest, RecordsTheUserAircraftAtItsInterval) {
    Recorder recorder(&general, &recording);
    recorder.start(0, 0);
    run(recorder, 300); // ten seconds
    recorder.stop(dir.file("out.zfl"));
    ZflFile zfl;
    zfl.open(dir.file("out.zfl"), ZflFile::Read);
    ASSERT_EQ(1u, zfl.getNTracks());
    EXPECT_EQ(40u, zfl.getTrackInfo(0).nCont);
}

} // namespace
