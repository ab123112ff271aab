// flight.dll: saving and loading the flight, in the calling form of the host version.
#include "services/Flights.h"
#include "services/HostInstallers.h"

using namespace HostInstall;

namespace {

int32_t loadFlight(const char* path, bool zeroArguments) {
    if (path == nullptr) {
        wrongForm("loadFlight without a path");
        return 1;
    }
    if (!zeroArguments)
        wrongForm("loadFlight with arguments other than 0 after the path");
    return Flights::load(host(), path);
}

} // namespace

void installFlightModule(Simulator& simulator) {
    using namespace HostNumbers::Flight;
    const int v = simulator.context().versionIndex;
    HostModule& m = simulator.modules().module("flight.dll");
    entry<ZHostSaveFlightFn>(m, v, SaveFlight,
                             [](const char* path, const char* title, const char* description) {
                                 if (path == nullptr) {
                                     wrongForm("saveFlight without a path");
                                     return 1;
                                 }
                                 return Flights::save(host(), path, title != nullptr ? title : "",
                                                      description != nullptr ? description : "");
                             });
    if (simulator.context().olderHost())
        entry<ZHostLoadFlightOldFn>(
            m, v, LoadFlight, [](const char* path, int32_t zero) { return loadFlight(path, zero == 0); });
    else
        entry<ZHostLoadFlightFn>(m, v, LoadFlight, [](const char* path, int32_t zero, int32_t zero2) {
            return loadFlight(path, zero == 0 && zero2 == 0);
        });
}
