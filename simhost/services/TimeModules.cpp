// main.dll and simscheduler.dll: options, date and time, the rate and the simulation groups.
#include "services/HostInstallers.h"
#include "services/SimOptions.h"
#include "services/SimTime.h"

using namespace HostInstall;

namespace {

void installMain(HostModule& m, int v, Simulator& simulator) {
    using namespace HostNumbers::Main;
    entry<ZHostGetOptionsFn>(m, v, GetOptions, [] { return host().options().options(); });
    entry<ZHostSetOptionsFn>(m, v, SetOptions, [](const uint8_t options[ZHOST_OPTIONS_SIZE]) {
        host().options().setOptions(options);
    });
    entry<ZHostSetDateFn>(m, v, SetDate,
                          [](ZHostDateTime* record, uint16_t year, uint16_t month, uint16_t day) {
                              host().time().setDate(record, year, month, day);
                          });
    entry<ZHostApplyDateTimeFn>(m, v, ApplyDateTime,
                                [](ZHostDateTime* record) { host().time().applyDateTime(record); });
    SimTime& time = simulator.time();
    data(m, v, DateTime, time.dateTimeWord());
    data(m, v, AccumulatedTime, time.accumulatedTimeWord());
    data(m, v, RateWord, time.rateWord());
    data(m, v, FrameTime, time.frameTimeWord());
}

void installScheduler(HostModule& m, int v) {
    using namespace HostNumbers::Scheduler;
    entry<ZHostSimGroupsFn>(m, v, HostNumbers::Scheduler::SimGroups,
                            [] { return host().time().groups().table(); });
    entry<ZHostGetRateFn>(m, v, GetRate, [] { return host().time().rate(); });
    entry<ZHostSetRateFn>(m, v, SetRate, [](uint32_t rate) { host().time().setRate(rate); });
}

} // namespace

void installTimeModules(Simulator& simulator) {
    const int v = simulator.context().versionIndex;
    installMain(simulator.modules().module("main.dll"), v, simulator);
    installScheduler(simulator.modules().module("simscheduler.dll"), v);
}
