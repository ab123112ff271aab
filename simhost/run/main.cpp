// zephrel-sim: runs the stand-in simulator through a scenario, with the add-ons of its dll.xml.

#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "run/ScenarioError.h"
#include "run/ScenarioParser.h"
#include "run/ScenarioRunner.h"
#include "run/TerminalLine.h"
#include "winsys/Backend.h"
#ifdef ZEPHREL_DESKTOP
#include "desktop/DesktopBackend.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: zephrel-sim --scenario FILE [--root DIR] [--appdata DIR] [--host-version X.Y.Z.W]\n"
    "                   [--frames DIR [--frame-every N] [--size WxH]] [--window]\n"
    "  --scenario FILE        the scenario to run (docs/simhost/scenario.md)\n"
    "  --root DIR             the simulator's folder, over the scenario's root\n"
    "  --appdata DIR          the application data folder (Microsoft/FSX/dll.xml), over the scenario's\n"
    "  --host-version X.Y.Z.W the host version to play, over the scenario's\n"
    "  --frames DIR           writes the main window's picture as DIR/frame-NNNNNN.png (an existing folder)\n"
    "  --frame-every N        ... every N frames (default 1)\n"
    "  --size WxH             the main window's client area in pixels (default 1016x715)\n"
    "  --window               shows the simulator in a window on the desktop, in real time (60 frames\n"
    "                         a second unless the scenario sets its frame step); without --scenario\n"
    "                         until the window is closed, with --root required\n"
    "  --help                 this text\n";

struct CommandLine {
    bool help = false;
    bool window = false;
    std::string scenario;
    RunOverrides overrides;
};

struct UsageError {
    std::string what;
};

// A whole number from first to last, or a usage error naming the option.
uint64_t wholeNumber(const std::string& option, const std::string& value, uint64_t first, uint64_t last) {
    uint64_t number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || number < first || number > last)
        throw UsageError{option + " must be a whole number from " + std::to_string(first) + " to " +
                         std::to_string(last) + ", not " + value};
    return number;
}

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    PictureFiles pictures;
    bool picturesAsked = false, pictureOptions = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help") {
            line.help = true;
            continue;
        }
        if (option == "--window") {
            line.window = true;
            continue;
        }
        if (option != "--scenario" && option != "--root" && option != "--appdata" && option != "--host-version" &&
            option != "--frames" && option != "--frame-every" && option != "--size")
            throw UsageError{"unknown argument " + option};
        if (i + 1 == args.size())
            throw UsageError{option + " needs a value"};
        const std::string& value = args[++i];
        if (option == "--scenario") {
            line.scenario = value;
        } else if (option == "--root") {
            line.overrides.root = value;
        } else if (option == "--appdata") {
            line.overrides.appdata = value;
        } else if (option == "--host-version") {
            if (!(line.overrides.hostVersion = HostVersion::parse(value)))
                throw UsageError{"--host-version must be X.Y.Z.W, not " + value};
        } else if (option == "--frames") {
            if (!std::filesystem::is_directory(value))
                throw UsageError{"--frames must name an existing folder, not " + value};
            pictures.folder = value;
            picturesAsked = true;
        } else if (option == "--frame-every") {
            pictures.every = wholeNumber(option, value, 1, 1000000);
            pictureOptions = true;
        } else {
            const std::size_t x = value.find('x');
            if (x == std::string::npos)
                throw UsageError{"--size must be WxH, not " + value};
            pictures.width = static_cast<int>(wholeNumber(option, value.substr(0, x), 16, 8192));
            pictures.height = static_cast<int>(wholeNumber(option, value.substr(x + 1), 16, 8192));
            pictureOptions = true;
        }
    }
    if (pictureOptions && !picturesAsked)
        throw UsageError{"--frame-every and --size go with --frames"};
    if (picturesAsked)
        line.overrides.pictures = pictures;
    if (!line.help && !line.window && line.scenario.empty())
        throw UsageError{"--scenario is required"};
    return line;
}

// The run's progress on the terminal.
class ProgressLine {
public:
    void update(const RunProgress& progress) {
        if (!line_.due())
            return;
        char text[160];
        std::snprintf(text, sizeof text, "%.1f / %.1f s, simulated %.1f s, %llu frames", progress.runSeconds,
                      progress.duration, progress.simulatedSeconds, static_cast<unsigned long long>(progress.frames));
        line_.show(text);
    }
    void clear() { line_.clear(); }

private:
    TerminalLine line_;
};

void printSummary(const RunSummary& summary) {
    std::printf("frames: %llu\n", static_cast<unsigned long long>(summary.frames));
    std::printf("simulated time: %.1f s (run %.1f s)\n", summary.simulatedSeconds, summary.runSeconds);
    std::printf("aircraft seen: %u\n", summary.aircraftSeen);
    std::printf("add-ons loaded: %zu\n", summary.addons.size());
    std::printf("errors shown: %zu\n", summary.errorsShown());
    std::printf("wrong forms: %zu\n", summary.wrongForms);
    std::string keys;
    for (const std::string& key : summary.keysReached)
        keys += (keys.empty() ? "" : ", ") + key;
    std::printf("keys reached: %s\n", keys.empty() ? "none" : keys.c_str());
    if (!summary.scenarioErrors.empty())
        std::printf("scenario errors: %zu\n", summary.scenarioErrors.size());
    if (!summary.loaderErrors.empty())
        std::printf("add-on loader errors: %zu\n", summary.loaderErrors.size());
}

// A window without a scenario stays until the user closes it.
Scenario untilClosed() {
    Scenario scenario;
    scenario.settings.duration = scenario::kMaxTime;
    return scenario;
}

// The desktop backend shows the windows; the run then keeps the clock's pace.
void openWindows(CommandLine& line) {
#ifdef ZEPHREL_DESKTOP
    if (!desktop::openDisplay())
        throw UsageError{"--window needs a display, and none can be opened (is DISPLAY set?)"};
    win::SetBackend(desktop::makeDesktopBackend());
    line.overrides.realTime = true;
#else
    (void)line;
    throw UsageError{"--window needs the desktop backend, which this build does not have (ZEPHREL_GTK=OFF)"};
#endif
}

int run(CommandLine line) {
    if (line.window)
        openWindows(line);
    ScenarioRunner runner(line.scenario.empty() ? untilClosed() : loadScenario(line.scenario), line.overrides);
    ProgressLine progress;
    const RunSummary summary = runner.run([&](const RunProgress& now) { progress.update(now); });
    progress.clear();
    printSummary(summary);
    const int status = summary.succeeded() ? 0 : 1;
    win::SetBackend(nullptr);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const CommandLine line = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
        if (line.help) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        return run(line);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "zephrel-sim: %s\n%s", error.what.c_str(), kUsage);
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zephrel-sim: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "zephrel-sim: unexpected failure\n");
    }
    return 1;
}
