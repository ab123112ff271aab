#include "SimRun.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string withRunFolder(std::string text, const std::string& folder) {
    const std::string mark = "%RUN%";
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + folder.size()))
        text.replace(at, mark.size(), folder);
    return text;
}

std::string addon(const std::string& name, const std::string& path) {
    return "  <Launch.Addon>\n    <Name>" + name + "</Name>\n    <Disabled>False</Disabled>\n    <Path>" + path +
           "</Path>\n  </Launch.Addon>\n";
}

} // namespace

SimRun::SimRun(const Options& options) {
    const fs::path module = folder_.path() / "module";
    const fs::path fsx = folder_.path() / "appdata" / "Microsoft" / "FSX";
    fs::create_directories(module);
    fs::create_directories(fsx);
    fs::create_directories(flightsFolder());

    // A copy per run, so that each run's module folder (and log) is its own.
    std::string addons;
    if (!options.addon.empty()) {
        const fs::path copy = module / fs::path(options.addon).filename();
        fs::copy_file(options.addon, copy);
        addons = addon("Add-on", copy.string());
    } else {
        fs::copy_file(options.probe ? ZEPHREL_VISIBLE_MODULE : ZEPHREL_MODULE, module / "Zephrel_FSX.so");
        addons = addon("Zephrel", (module / "Zephrel_FSX.so").string());
        if (options.probe) {
            fs::copy_file(ZEPHREL_PROBE, module / "ZephrelProbe.so");
            addons += addon("Probe", (module / "ZephrelProbe.so").string());
        }
    }
    writeFile((fsx / "dll.xml").string(), "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n"
                                         "<SimBase.Document Type=\"Launch\" version=\"1,0\">\n" +
                                             addons + "</SimBase.Document>\n");

    // The module's temporary files stay in the run's folder, apart from those of runs beside it.
    fs::create_directories(folder_.path() / "temp");
    const std::string ini = options.moduleIni.empty() ? "[SETTINGS]\nTempDirectory=%RUN%/temp\n" : options.moduleIni;
    writeFile((module / "Zephrel.ini").string(), withRunFolder(ini, folder_.path().string()));

    const std::string scenario = folder_.file("run.scn");
    const std::string root = options.simRoot.empty() ? ZEPHREL_SIM_ROOT : options.simRoot;
    writeFile(scenario, "host-version " + options.hostVersion + "\nroot \"" + root + "\"\nappdata \"" +
                            folder_.file("appdata") + "\"\nflights \"" + flightsFolder() + "\"\n" +
                            withRunFolder(options.scenarioActions, folder_.path().string()));

    const std::string outputFile = folder_.file("output.txt");
    std::string environment;
    for (const auto& [name, value] : options.environment)
        environment += name + "='" + value + "' ";
    const std::string command = environment + "ZEPHREL_PROBE_REPORT='" + folder_.file("report.txt") +
                                "' ZEPHREL_PROBE_KEYS='" + options.probeKeys + "' ZEPHREL_PROBE_CHECKS='" +
                                options.probeChecks + "' '" + ZEPHREL_SIM + "' --scenario '" + scenario + "' " +
                                withRunFolder(options.simArguments, folder_.path().string()) + " >'" + outputFile + "' 2>&1";
    const int status = std::system(command.c_str());
    // A run the shell saw killed by a signal reads as the shell reports it: 128 + the signal.
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
    output_ = readFile(outputFile);
}

std::string SimRun::log() const { return readFile(folder_.file("module/Zephrel.log")); }

std::vector<std::string> SimRun::report() const {
    std::istringstream in(readFile(folder_.file("report.txt")));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> linesStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (line.rfind(prefix, 0) == 0)
            found.push_back(line);
    return found;
}
