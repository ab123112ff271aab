#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "modules/HostNumbers.h"
#include "services/Simulator.h"
#include "support/TempDir.h"
#include "winsys/HeadlessScript.h"

// A simulator root with an airplane, a helicopter and a Level-D 767, and a simulator on it that
// the test reaches as an add-on does: through the exported module lookup.
class SimulatorFixture {
public:
    static constexpr const char* kAirplane = "Test Trainer";
    static constexpr const char* kHelicopter = "Test Rotor";
    static constexpr const char* kLevelD = "Level-D Simulations B767-300ER";

    explicit SimulatorFixture(int versionIndex, const std::string& userTitle = kAirplane) {
        win::headless::reset();
        writeAircraft("Trainer", kAirplane, "Airplane");
        writeAircraft("Rotor", kHelicopter, "Helicopter");
        writeAircraft("LVLD767", kLevelD, "Airplane");
        SimulatorSetup setup;
        setup.version = HostVersion::accepted(versionIndex);
        setup.root = dir.path().string();
        setup.flightsFolder = dir.file("Flights");
        setup.userTitle = userTitle;
        sim = std::make_unique<Simulator>(setup);
        v = versionIndex;
    }

    template <typename Fn> Fn entry(const char* module, int role) const {
        const ZHostModule* m = zhostGetModule(module);
        return m != nullptr ? reinterpret_cast<Fn>(m->entry(m, HostNumbers::entry(v, role))) : nullptr;
    }
    template <typename T> T* data(const char* module, int role) const {
        const ZHostModule* m = zhostGetModule(module);
        return m != nullptr ? static_cast<T*>(m->data(m, HostNumbers::data(v, role))) : nullptr;
    }
    ZHostSimState* simState() const {
        const ZHostModule* api = zhostGetModule("api.dll");
        return static_cast<ZHostSimState*>(api->exported(api, "SimState"));
    }
    std::size_t wrongForms() const { return sim->context().wrongForms.count(); }

    TempDir dir;
    std::unique_ptr<Simulator> sim;
    int v = 0;

private:
    void writeAircraft(const std::string& folder, const std::string& title, const std::string& category) {
        const auto path = dir.path() / "SimObjects" / "Airplanes" / folder;
        std::filesystem::create_directories(path);
        std::ofstream(path / "aircraft.cfg") << "[fltsim.0]\ntitle=" << title << "\natc_id=N" << folder.size()
                                             << "\n\n[GENERAL]\ncategory=" << category << "\n";
    }
};

// What add-on handlers of host events were called with, in order.
struct HostCall {
    uint32_t event;
    uintptr_t a;
    std::string text; // system events: the text the data points to (4 bytes in for flights)
};

inline std::vector<HostCall>& hostCalls() {
    static std::vector<HostCall> calls;
    return calls;
}

inline void recordHostCall(uint32_t event, uintptr_t a, uintptr_t b) {
    std::string text;
    if (event == ZHOST_EVENT_SYSTEM && b != 0) {
        const char* data = reinterpret_cast<const char*>(b);
        text = a == ZHOST_SYSTEM_AIRCRAFT_LOADED ? data : data + 4;
    }
    hostCalls().push_back({event, a, text});
}
