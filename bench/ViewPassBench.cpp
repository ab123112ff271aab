// The module's side of the simulator's views inside frames of the stand-in simulator in this
// process, with four 3D views open (the main view on the module's "Zephrel VC" camera, the others
// on the simulator's spot camera) and a listener standing in for the camera manager: it writes a
// camera into every view and takes over the simulator's zooms.
//
// BM_ViewPass: per frame the module's view pass (host events 21, 17 for each view, 22) and one view
// command (a zoom, host event 9), in microseconds, against the aim of 10 microseconds and against
// an anchor: FSinterface::getLLAPBH of the user aircraft once per view, the host call a camera that
// follows the aircraft makes anyway. Both are timed over batches of 100 (a frame is far shorter
// than the clock's own cost), in pairs, the order alternating; reported: the median frame, its
// ratio to the aim and the median ratio frame/anchor. The calls of operator new in the
// timed frames are counted: once the views are known a frame must not allocate.

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/CountingNew.h"
#include "bench/ScratchRun.h"
#include "harness/ModuleInSimulator.h"
#include "host/CameraView.h"
#include "host/FSinterface.h"
#include "host/ViewHooks.h"
#include "services/SimViews.h"

namespace {

constexpr std::size_t kViews = 4;
constexpr double kAimMicroseconds = 10;
constexpr uint64_t kFramePairs = 2000;
constexpr int kBatch = 100;
constexpr uint32_t kZoomIn = 0x100B7;

std::string folder() {
    static const std::string path = zbench::scratchFolder("zephrel-viewpass-bench-");
    return path;
}

// What the camera manager will do in the pass: a camera for every view, the zooms its own.
class CameraStandIn : public IFScallback {
public:
    int callback(int event, intptr_t, intptr_t b, intptr_t c) override {
        if (event == CameraUpdate) {
            auto& view = *reinterpret_cast<CameraView*>(c);
            view.latitude = 0.8283;
            view.longitude = 0.1493;
            view.altitude = 520 + static_cast<double>(b);
            view.x = 0.4f;
            view.y = 1.1f;
            view.z = 1.6f;
            view.heading = 1.2f;
            view.zoom = 1;
            return 1;
        }
        return event == Zoom ? 1 : 0;
    }
};

void BM_ViewPass(benchmark::State& state) {
    zbench::guarded(state, [&] {
        SimulatorSetup setup;
        setup.userTitle = "Trainer 152 Aerobat";
        setup.flightsFolder = folder() + "/Flights";
        ModuleInSimulator module(setup);
        Simulator& sim = module.sim();
        sim.createViews();
        for (std::size_t i = 1; i < kViews; ++i)
            if (!sim.openView())
                throw std::runtime_error("no view " + std::to_string(i));
        if (!sim.selectCamera("Zephrel VC"))
            throw std::runtime_error("the module's camera definitions are not there");
        CameraStandIn cameras;
        FSinterface::addCallback(&cameras);
        sim.frame(); // the module learns the views
        std::vector<uintptr_t> views;
        for (std::size_t i = 0; i < kViews; ++i)
            views.push_back(reinterpret_cast<uintptr_t>(sim.views().record(i)));
        const uint32_t user = FSinterface::getUserAcftID();

        uint64_t allocations = 0;
        uint32_t consumed = 0;
        const auto frame = [&] {
            const uint64_t before = zbench::newCalls();
            for (int i = 0; i < kBatch; ++i) {
                ViewHooks::viewPassStart(ZHOST_EVENT_VIEW_PASS_START, 0, 0);
                for (const uintptr_t view : views)
                    ViewHooks::cameraUpdate(ZHOST_EVENT_CAMERA_UPDATE, view, 0);
                ViewHooks::viewPassEnd(ZHOST_EVENT_VIEW_PASS_END, 0, 0);
                ZHostCommand command{0, 0};
                ViewHooks::viewCommand(ZHOST_EVENT_COMMAND, kZoomIn, reinterpret_cast<uintptr_t>(&command));
                consumed += command.consumed;
            }
            allocations += zbench::newCalls() - before;
        };
        double lla[3];
        float pbh[3];
        const auto anchor = [&] {
            for (int i = 0; i < kBatch; ++i)
                for (std::size_t v = 0; v < kViews; ++v) {
                    FSinterface::getLLAPBH(user, lla, pbh);
                    benchmark::DoNotOptimize(lla);
                    benchmark::DoNotOptimize(pbh);
                }
        };

        std::vector<double> frames, anchors, ratios;
        frames.reserve(kFramePairs);
        anchors.reserve(kFramePairs);
        ratios.reserve(kFramePairs);
        bool frameFirst = true;
        for (auto _ : state) {
            double f = 0, a = 0;
            if (frameFirst) {
                f = zbench::timed(frame);
                a = zbench::timed(anchor);
            } else {
                a = zbench::timed(anchor);
                f = zbench::timed(frame);
            }
            frameFirst = !frameFirst;
            state.SetIterationTime(f / kBatch);
            frames.push_back(f / kBatch);
            anchors.push_back(a / kBatch);
            ratios.push_back(f / a);
        }
        if (consumed != state.iterations() * kBatch)
            state.SkipWithError("a zoom reached the simulator");
        if (sim.views().record(0)->camera->motion[0] != 0)
            state.SkipWithError("the camera written was not the host's");
        state.counters["frame_us"] = zbench::median(frames) * 1e6;
        state.counters["anchor_us"] = zbench::median(anchors) * 1e6;
        state.counters["aim_ratio"] = state.counters["frame_us"] / kAimMicroseconds;
        state.counters["ratio"] = zbench::median(ratios);
        state.counters["allocs_per_frame"] =
            static_cast<double>(allocations) / static_cast<double>(state.iterations() * kBatch);
    });
}
BENCHMARK(BM_ViewPass)->UseManualTime()->Iterations(kFramePairs)->Repetitions(3)->Unit(benchmark::kMicrosecond);

bool summarise(const zbench::Reporter& reporter) {
    if (!reporter.ran("BM_ViewPass"))
        return true;
    const auto c = [&](const char* name) { return reporter.counter("BM_ViewPass", name); };
    std::printf("the view pass of %zu views and one view command: %.2f us a frame (anchor %.2f us); allocations "
                "per frame %.3f\n",
                kViews, c("frame_us"), c("anchor_us"), c("allocs_per_frame"));
    std::printf("ratio frame/aim: %.3f  (aim 1 or less: %.0f us)\n", c("aim_ratio"), kAimMicroseconds);
    reporter.printRatio("BM_ViewPass", "frame/getLLAPBH per view", "the module's pass over the host call alone");
    if (c("allocs_per_frame") != 0) {
        std::printf("FAILED: the view pass called operator new once the views were known\n");
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    return zbench::runInScratchFolder(argc, argv, "ViewPassBench", folder(), summarise);
}
