#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/hostabi.h"
#include "modules/HostVersion.h"

// Calls an add-on made in a form the host version does not take (a wrong set-position form, a
// wrong unit, a draw mode of another version, ...): counted, and logged on stderr.
class WrongForms {
public:
    void report(const std::string& what);
    std::size_t count() const { return reports_.size(); }
    const std::vector<std::string>& reports() const { return reports_; }

private:
    std::vector<std::string> reports_;
};

// What every part of the simulator needs to know of the host it plays.
struct SimContext {
    explicit SimContext(const HostVersion& hostVersion)
        : version(hostVersion), versionIndex(hostVersion.index().value_or(HostVersion::kAccepted - 1)),
          buildTag(versionIndex + 1) {}

    HostVersion version;
    int versionIndex; // an unaccepted version plays as the newest
    int buildTag;
    WrongForms wrongForms;
    ZHostSimState simState{}; // api.dll's exported "SimState"

    bool olderHost() const { return versionIndex <= 2; }
    bool firstHost() const { return versionIndex == 0; }
};
