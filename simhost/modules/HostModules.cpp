#include "modules/HostModules.h"

#include <stdexcept>

namespace {
HostModules* installed = nullptr;
} // namespace

HostModules::HostModules(const HostVersion& version) : version_(version) {
    const uint16_t fileVersion[4] = {version.parts[0], version.parts[1], version.parts[2], version.parts[3]};
    for (std::size_t i = 0; i < kNames.size(); ++i)
        modules_[i] = std::make_unique<HostModule>(kNames[i], fileVersion);
}

HostModules::~HostModules() {
    if (installed == this)
        installed = nullptr;
}

HostModule& HostModules::module(const std::string& name) {
    for (const auto& m : modules_)
        if (m->name() == name)
            return *m;
    throw std::invalid_argument("the simulator has no module " + name);
}

const ZHostModule* HostModules::find(const std::string& name) const {
    if (withheld_.count(name) != 0)
        return nullptr;
    for (const auto& m : modules_)
        if (m->name() == name)
            return m->abi();
    return nullptr;
}

void HostModules::install() { installed = this; }

extern "C" __attribute__((visibility("default"))) const ZHostModule* zhostGetModule(const char* name) {
    return installed != nullptr && name != nullptr ? installed->find(name) : nullptr;
}
