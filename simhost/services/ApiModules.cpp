// api.dll and fe.dll: host events, frame timing and the fixed step, folders, the device, the
// pause state.
#include <algorithm>
#include <cstring>

#include "services/HostDevice.h"
#include "services/HostEvents.h"
#include "services/HostInstallers.h"
#include "services/MainWindow.h"
#include "services/SimOptions.h"
#include "services/SimTime.h"

using namespace HostInstall;

namespace {

constexpr uint32_t kPathSize = 260;

int32_t folder(uint32_t number, char path[kPathSize]) {
    if (path == nullptr) {
        wrongForm("folder without a path buffer");
        return 1;
    }
    if (number != ZHOST_FOLDER_FLIGHTS)
        return 1;
    const std::string& flights = host().flightsFolder();
    const std::size_t length = std::min<std::size_t>(flights.size(), kPathSize - 1);
    std::memcpy(path, flights.data(), length);
    path[length] = '\0';
    return 0;
}

void installApi(HostModule& m, int v, Simulator& simulator) {
    using namespace HostNumbers::Api;
    entry<ZHostRegisterEventFn>(m, v, RegisterEvent, [](uint32_t event, ZHostEventHandler handler) {
        return host().events().add(event, handler);
    });
    entry<ZHostUnregisterEventFn>(m, v, UnregisterEvent, [](uint32_t event, ZHostEventHandler handler) {
        return host().events().remove(event, handler);
    });
    entry<ZHostRealFrameTimeFn>(m, v, RealFrameTime, [] { return host().frameStep(); });
    entry<ZHostFolderFn>(m, v, Folder, &folder);
    entry<ZHostSetFullScreenFn>(m, v, SetFullScreen,
                                [](int32_t on) { host().device().setFullScreen(on != 0); });
    entry<ZHostDeviceFn>(m, v, Device, [] { return host().device().abi(); });
    // The number moves nothing here (the idle turns do not move time), but 0 is no tick at all.
    entry<ZHostTickFn>(m, v, Tick, [](uint32_t ticks) {
        if (ticks == 0)
            wrongForm("tick(0): no ticks make a second");
    });
    entry<ZHostIdleFn>(m, v, Idle, [] { host().idle(); });
    data(m, v, MenuAnchor, simulator.window().menuAnchor());
    data(m, v, HostWord, simulator.options().hostWord());
    data(m, v, FrameTimeA, simulator.time().frameTimeA());
    data(m, v, FrameTimeB, simulator.time().frameTimeB());
    m.setExported("SimState", &simulator.context().simState);
}

void installFe(HostModule& m, int v) {
    entry<ZHostIdleFn>(m, v, HostNumbers::Fe::Idle, [] { host().idle(); });
}

} // namespace

void installApiModules(Simulator& simulator) {
    const int v = simulator.context().versionIndex;
    installApi(simulator.modules().module("api.dll"), v, simulator);
    installFe(simulator.modules().module("fe.dll"), v);
}
