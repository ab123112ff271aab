#include "services/HostInstallers.h"

void installHostModules(Simulator& simulator) {
    installAircraftModules(simulator);
    installTimeModules(simulator);
    installApiModules(simulator);
    installFlightModule(simulator);
    installWindowModules(simulator);
}
