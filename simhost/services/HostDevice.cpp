#include "services/HostDevice.h"

#include "services/Simulator.h"

namespace {

const ZHostDeviceOps kOps = {
    [](ZHostDevice*) -> int32_t { return Simulator::current()->device().fullScreen() ? 1 : 0; },
    [](ZHostDevice*) { Simulator::current()->device().beginModal(); },
    [](ZHostDevice*) { Simulator::current()->device().endModal(); },
};

} // namespace

HostDevice::HostDevice(WrongForms& wrongForms) : wrongForms_(wrongForms) {
    device_.ops = &kOps;
}

void HostDevice::endModal() {
    if (modalDepth_ == 0) {
        wrongForms_.report("endModal without beginModal");
        return;
    }
    --modalDepth_;
}
