#pragma once

#include <string>
#include <utility>
#include <vector>

#include "support/TempDir.h"

// One run of zephrel-sim in a folder of its own: the module (and the probe, when asked) or another
// add-on copied into a module folder, a dll.xml that lists them, a flights folder and the
// scenario; then what the run left: its output, the module's log and the probe's report.
class SimRun {
public:
    struct Options {
        std::string hostVersion = "10.0.61637.0";
        bool probe = true;           // the visible module and the probe; else the shipped module
        std::string probeKeys;       // ZEPHREL_PROBE_KEYS
        std::string probeChecks;     // ZEPHREL_PROBE_CHECKS
        std::string scenarioActions; // settings and actions after the run's own; "%RUN%" as below
        std::string addon;           // an add-on loaded in place of the module and the probe
        std::vector<std::pair<std::string, std::string>> environment; // more variables for the run
        std::string simRoot;         // the simulator's folder; empty: data/sim-root
        // The module's Zephrel.ini; "%RUN%" stands for the run's folder. Empty: the temporary files
        // in the run's folder "temp".
        std::string moduleIni;
        std::string simArguments; // more of zephrel-sim's command line; "%RUN%" as above
    };

    explicit SimRun(const Options& options);

    int exitCode() const { return exitCode_; }
    const std::string& output() const { return output_; }
    std::string log() const;
    std::vector<std::string> report() const;
    std::string flightsFolder() const { return folder_.file("flights"); }
    // A file or folder of the run's folder.
    std::string file(const std::string& name) const { return folder_.file(name); }

private:
    TempDir folder_;
    int exitCode_ = -1;
    std::string output_;
};

// The lines of `lines` that start with `prefix`.
std::vector<std::string> linesStartingWith(const std::vector<std::string>& lines, const std::string& prefix);
