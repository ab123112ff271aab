#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "modules/HostVersion.h"
#include "run/PictureFiles.h"
#include "run/Scenario.h"
#include "services/Simulator.h"

// What the command line sets over the scenario's own settings.
struct RunOverrides {
    std::optional<std::string> root;
    std::optional<std::string> appdata;
    std::optional<HostVersion> hostVersion;
    // Pictures of the main window written while the run goes on.
    std::optional<PictureFiles> pictures;
    // Frames at the pace of the clock, with the window system's message loop between them (a
    // desktop shows the windows and takes the user's input there); 60 a second unless the
    // scenario sets the frame step.
    bool realTime = false;
};

// Where a run is, after each frame.
struct RunProgress {
    double runSeconds = 0;
    double duration = 0;
    double simulatedSeconds = 0;
    uint64_t frames = 0;
};

struct RunSummary {
    uint64_t frames = 0;
    double runSeconds = 0;
    double simulatedSeconds = 0;
    uint32_t aircraftSeen = 0;
    std::vector<std::string> addons; // started
    std::size_t errorBoxes = 0;      // message boxes with the error icon
    std::vector<std::string> simulatorErrors;
    // Actions that could not be taken, failures of the window system's script, answers left over.
    std::vector<std::string> scenarioErrors;
    std::vector<std::string> loaderErrors;
    // Calls add-ons made in a form the host version does not take.
    std::size_t wrongForms = 0;
    // Key presses that reached the simulator's own window procedure.
    std::vector<std::string> keysReached;

    std::size_t errorsShown() const { return errorBoxes + simulatorErrors.size(); }
    bool succeeded() const { return scenarioErrors.empty() && loaderErrors.empty(); }
};

// One run of the simulator as a scenario describes it: the simulator made from the settings,
// the add-ons of its dll.xml started, frames of the fixed step until the duration is over or the
// main window closes, each action taken in the first frame at or after its time; then the
// add-ons stopped and the simulator gone. The run time is frames times the frame step, whatever
// pause and rate do to the simulated time, and a headless run takes no longer than the machine
// needs; a real-time run takes each frame step on the clock.
class ScenarioRunner {
public:
    explicit ScenarioRunner(Scenario scenario, RunOverrides overrides = {});

    // Throws ScenarioError when neither the scenario nor the command line names the root.
    SimulatorSetup setup() const;
    // Where dll.xml is looked for; empty: no add-ons.
    std::string appdata() const;

    RunSummary run(const std::function<void(const RunProgress&)>& progress = {});

private:
    Scenario scenario_;
    RunOverrides overrides_;
};
