// Fuzzes the scenario parser: every input is either a scenario whose actions are in time order
// within the run, each from a line the input has, or refused with "scenario line N: " naming
// such a line.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "run/ScenarioError.h"
#include "run/ScenarioParser.h"

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "inconsistent: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    try {
        const Scenario scenario = parseScenario(text, "/base");
        double previous = 0;
        for (const ScenarioAction& action : scenario.actions) {
            require(action.line >= 1 && action.line <= lines,
                    "an action from a line the input does not have");
            require(action.time >= previous, "actions out of time order");
            require(action.time <= scenario.settings.duration, "an action after the end of the run");
            previous = action.time;
        }
        require(scenario.actions.size() <= scenario::kMaxActions, "more actions than the limit");
    } catch (const ScenarioError& e) {
        require(e.line() >= 1 && e.line() <= lines, "an error on a line the input does not have");
        const std::string prefix = "scenario line " + std::to_string(e.line()) + ": ";
        require(std::string_view(e.what()).starts_with(prefix), "an error without its line");
    }
    return 0;
}
