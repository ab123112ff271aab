#include "harness/ModuleInSimulator.h"

#include "alerts/HostWindow.h"
#include "host/FSinterface.h"
#include "host/HostEventHandlers.h"
#include "host/HostState.h"
#include "winsys/HeadlessScript.h"

ModuleInSimulator::ModuleInSimulator(SimulatorSetup setup) {
    reset();
    if (setup.root.empty())
        setup.root = sampleRoot();
    sim_ = std::make_unique<Simulator>(setup);
    FSinterface::hookMainWindow();
    FSinterface::init(sim_->panels());
    sim_->createViews();
}

ModuleInSimulator::~ModuleInSimulator() {
    FSinterface::stop();
    FSinterface::unhookMainWindow();
    sim_.reset();
    reset();
}

std::string ModuleInSimulator::sampleRoot() {
    return ZEPHREL_SAMPLE_SIM_ROOT;
}

void ModuleInSimulator::reset() {
    hostState() = HostState();
    HostEventHandlers::setClock(nullptr);
    HostWindow::setModalHook(nullptr);
    win::headless::reset();
}
