#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "common/ZflFile.h"
#include "harness/ModuleInSimulator.h"
#include "recording/Recorder.h"
#include "support/RecordedFile.h"
#include "support/TempDir.h"
#include "support/TempLog.h"

// A recorder driven from frames of the stand-in simulator, with the Trainer as the user aircraft.
// Each frame lasts 1/16 s of real time: 625 ticks of the recording clock at normal rate.
class RecorderFixture : public TempLogTest {
protected:
    static constexpr double kFrameSeconds = 0.0625;
    static constexpr uint32_t kFrameTicks = 625;
    static constexpr const char* kGlider = "Glider ASK 21";

    void SetUp() override {
        TempLogTest::SetUp();
        general.tempDirectory = dir.path().string();
        SimulatorSetup setup;
        setup.root = makeRoot();
        setup.userTitle = "Trainer 152 Aerobat";
        setup.flightsFolder = dir.file("Flights");
        setup.frameStep = kFrameSeconds;
        module = std::make_unique<ModuleInSimulator>(setup);
        // The host reports each frame's length in the frame after it; the first frame only primes that.
        sim().frame();
    }
    void TearDown() override {
        module.reset();
        TempLogTest::TearDown();
    }

    Simulator& sim() { return module->sim(); }
    World& world() { return module->world(); }
    uint32_t userId() { return world().user()->id(); }

    // One frame. A state character forces what the user aircraft reports: 'G' on the ground with
    // the engine off, 'g' on the ground running, 'A' in the air running.
    void step(Recorder& recorder, char state = 0, const Recorder::AircraftSet* playing = nullptr) {
        sim().frame();
        if (state != 0) {
            Aircraft& user = *world().user();
            user.setQuantity(HostNumbers::Quantity::OnGround, 0, state == 'G' || state == 'g' ? 1 : 0);
            user.setQuantity(HostNumbers::Quantity::EngineRunning, 1, state == 'g' || state == 'A' ? 1 : 0);
        }
        recorder.frame(playing);
    }
    void run(Recorder& recorder, int frames, const Recorder::AircraftSet* playing = nullptr) {
        for (int i = 0; i < frames; ++i)
            step(recorder, 0, playing);
    }
    // A frame of that many seconds of real time, then the frame in which the host reports it.
    void longFrame(Recorder& recorder, double seconds) {
        sim().setFrameStep(seconds);
        step(recorder);
        sim().setFrameStep(kFrameSeconds);
        step(recorder);
    }

    // The clock after frames 1, 2, ... of a recording started at `start`.
    static std::vector<uint32_t> clocksAt(std::vector<uint32_t> frames, uint32_t start = 0) {
        for (uint32_t& frame : frames)
            frame = start + frame * kFrameTicks;
        return frames;
    }

    using Track = RecordedTrack;
    using Recording = RecordedFile;
    static Recording readRecording(const std::string& path) { return readRecordedFile(path); }

    // How many of the two temporary files are on disk.
    int tempFilesOnDisk() const {
        return static_cast<int>(std::filesystem::exists(dir.file("Zephrel.tmp1"))) +
               static_cast<int>(std::filesystem::exists(dir.file("Zephrel.tmp2")));
    }

    TempDir dir;
    GeneralSettings general;
    RecordingSettings recording;
    std::unique_ptr<ModuleInSimulator> module;

private:
    // The sample aircraft and a glider: no engines, no retractable gear, but spoilers.
    std::string makeRoot() const {
        const std::filesystem::path root = dir.path() / "root";
        std::filesystem::copy(ModuleInSimulator::sampleRoot(), root,
                              std::filesystem::copy_options::recursive);
        const std::filesystem::path glider = root / "SimObjects" / "Airplanes" / "Glider_ASK21";
        std::filesystem::create_directories(glider);
        std::ofstream(glider / "aircraft.cfg")
            << "[fltsim.0]\ntitle=" << kGlider
            << "\natc_id=D-ZASK\n[GENERAL]\ncategory=Airplane\nspoilers=1\n"
               "[GeneralEngineData]\nengines=0\nprop_and_mixture=1\n"
               "[flaps.0]\npositions=2\n[gear]\nretractable=0\n";
        return root.string();
    }
};
