#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SimRun.h"

// Runs of the shipped module in zephrel-sim as a user drives it, and what they leave.

// Steps of 1/8 s are exact in binary, so that the clocks and the names from the local time are
// whole numbers of steps.
inline const std::string kModuleRunSettings = "user-aircraft \"Trainer 152 Aerobat\"\n"
                                              "frame-step 0.125\n";

// The module with its Zephrel.ini ("%RUN%" the run's folder) and the scenario's settings and actions.
SimRun runModule(const std::string& ini, const std::string& scenario);

// Exit code 0, no error box, no scenario error (so every expectation of the scenario held).
void expectCleanRun(const SimRun& run);

std::vector<std::string> filesIn(const std::string& folder);

struct RecordingSpan {
    uint32_t tracks = 0;
    uint32_t markers = 0;
    double first = 0; // track 0's first and last time, in seconds
    double last = 0;
};
RecordingSpan recordingSpan(const std::string& path);
