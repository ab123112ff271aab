#pragma once

#include <memory>
#include <string>

#include "services/Simulator.h"

// The stand-in simulator in this process with the module's host interface started against it, as
// the loader starts it from DLLStart: tests and benchmarks drive module objects from its frames
// without the add-on loader. The simulator's root is the repository's sample root unless given.
// One exists at a time; the program must export the host lookup (ENABLE_EXPORTS).
class ModuleInSimulator {
public:
    explicit ModuleInSimulator(SimulatorSetup setup);
    // Stops the host interface and leaves a fresh host state and window system.
    ~ModuleInSimulator();
    ModuleInSimulator(const ModuleInSimulator&) = delete;
    ModuleInSimulator& operator=(const ModuleInSimulator&) = delete;

    // The repository's sample simulator root.
    static std::string sampleRoot();

    Simulator& sim() { return *sim_; }
    World& world() { return sim_->world(); }

private:
    static void reset();

    std::unique_ptr<Simulator> sim_;
};
