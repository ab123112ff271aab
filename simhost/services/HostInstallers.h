#pragma once

#include "modules/HostModule.h"
#include "modules/HostNumbers.h"
#include "services/Simulator.h"

// The functions and data words of the twelve host modules, installed at the numbers of the
// version the simulator plays (docs/host/numbers.md). Every function reaches the simulator
// through Simulator::current().
void installAircraftModules(Simulator& simulator); // sim1.dll, fs-traffic.dll, acontain.dll, g3d.dll
void installTimeModules(Simulator& simulator);     // main.dll, simscheduler.dll
void installApiModules(Simulator& simulator);      // api.dll, fe.dll
void installFlightModule(Simulator& simulator);    // flight.dll
void installWindowModules(Simulator& simulator);   // window.dll, g2d.dll, xuipc.dll
void installHostModules(Simulator& simulator);     // all of them

namespace HostInstall {

inline Simulator& host() {
    return *Simulator::current();
}

// `Fn` is the function's ZHost...Fn type, so that a lambda given for it has the host's form.
template <typename Fn> void entry(HostModule& module, int versionIndex, int role, Fn function) {
    module.setEntry(HostNumbers::entry(versionIndex, role), reinterpret_cast<void*>(function));
}

inline void data(HostModule& module, int versionIndex, int role, void* word) {
    module.setData(HostNumbers::data(versionIndex, role), word);
}

inline void wrongForm(const std::string& what) {
    host().context().wrongForms.report(what);
}

} // namespace HostInstall
