#pragma once

#include <array>
#include <memory>
#include <set>
#include <string>

#include "modules/HostModule.h"
#include "modules/HostVersion.h"

// The twelve named modules the stand-in simulator publishes, for one host version. The one set
// installed at a time answers the exported lookup function that add-ons find with dlsym.
class HostModules {
public:
    static constexpr std::array<const char*, 12> kNames = {
        "sim1.dll", "fs-traffic.dll", "main.dll", "simscheduler.dll", "api.dll", "acontain.dll",
        "flight.dll", "xuipc.dll", "window.dll", "g2d.dll", "g3d.dll", "fe.dll"};

    explicit HostModules(const HostVersion& version);
    ~HostModules();
    HostModules(const HostModules&) = delete;
    HostModules& operator=(const HostModules&) = delete;

    const HostVersion& version() const { return version_; }

    // The module of that name; it exists for every name of kNames.
    HostModule& module(const std::string& name);
    // What the lookup function answers: null for an unknown or withheld module.
    const ZHostModule* find(const std::string& name) const;
    void withholdModule(const std::string& name) { withheld_.insert(name); }

    // Makes this set the one the exported lookup function answers from (until another is
    // installed or this one is destroyed).
    void install();

private:
    HostVersion version_;
    std::array<std::unique_ptr<HostModule>, kNames.size()> modules_;
    std::set<std::string> withheld_;
};

extern "C" const ZHostModule* zhostGetModule(const char* name);
