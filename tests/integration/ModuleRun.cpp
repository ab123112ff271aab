#include "ModuleRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "common/Ticks.h"
#include "common/ZflFile.h"

SimRun runModule(const std::string& ini, const std::string& scenario) {
    SimRun::Options options;
    options.probe = false;
    options.moduleIni = ini;
    options.scenarioActions = kModuleRunSettings + scenario;
    return SimRun(options);
}

void expectCleanRun(const SimRun& run) {
    EXPECT_EQ(0, run.exitCode()) << run.output();
    EXPECT_NE(std::string::npos, run.output().find("errors shown: 0\n")) << run.output();
    EXPECT_EQ(std::string::npos, run.output().find("scenario errors")) << run.output();
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

RecordingSpan recordingSpan(const std::string& path) {
    ZflFile file;
    file.open(path, ZflFile::Read);
    RecordingSpan span;
    span.tracks = file.getNTracks();
    span.markers = file.getNMarkers();
    if (span.tracks > 0) {
        span.first = static_cast<double>(file.getStartTime(0)) / kTicksPerSecond;
        span.last = static_cast<double>(file.getEndTime(0)) / kTicksPerSecond;
    }
    return span;
}
