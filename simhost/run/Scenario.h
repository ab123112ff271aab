#pragma once

#include <chrono>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "host/hostabi.h"
#include "modules/HostVersion.h"
#include "winsys/HeadlessScript.h"
#include "world/Aircraft.h"

// A run of the stand-in simulator as a scenario file describes it (docs/simhost/scenario.md):
// the settings the simulator starts with and the actions taken at their times.

struct ScenarioSettings {
    std::optional<HostVersion> hostVersion;
    std::optional<std::string> root;
    std::optional<std::string> appdata;
    std::optional<std::string> flightsFolder;
    std::optional<std::string> userTitle;
    std::optional<StartPosition> start;
    std::optional<uint32_t> trafficPercent;
    std::optional<double> frameStep;
    std::optional<ZHostDateTime> dateTime;
    // The window system's local time at run time 0; it runs with the run time.
    std::optional<std::chrono::local_time<std::chrono::milliseconds>> localTime;
    double duration = 60; // seconds of the run
};

namespace scenario {

struct Key {
    enum Stroke { Down, Up, Press };
    Stroke stroke = Press;
    int virtualKey = 0;
};
// A menu item by the texts from the menu bar down, joined by '/'.
struct Menu {
    std::string path;
};
struct Pause {
    bool on = true;
};
struct Rate {
    double rate = 1;
};
struct LoadFlight {
    std::string name;
};
struct SaveFlight {
    std::string name;
    std::string title;
    std::string description;
};
struct ChangeAircraft {
    std::string title;
};
struct Traffic {
    uint32_t percent = 0;
};
struct Fly {
    ManoeuvreOrder order;
};
// The active view's camera, by title: one of the simulator's own or a registered definition's.
struct Camera {
    std::string title;
};
// A view opened (as an inset), closed or made active; by index in the order opened, 0 the main view.
struct View {
    enum Kind { Open, Close, Activate };
    Kind kind = Open;
    std::size_t index = 0;
};
// One of the simulator's view commands for the active view, as its keys give them.
struct ViewCommand {
    uint32_t number = 0;
    int32_t value = 0;
};
// The mouse over view `index`: moved to a point of its client area, its wheel turned by `delta`,
// or its middle button pressed or let go.
struct Mouse {
    enum Kind { Move, Wheel, Middle };
    Kind kind = Move;
    std::size_t index = 0;
    int x = 0;
    int y = 0;
    int delta = 0;
    bool down = false;
};
struct Close {};
// The simulator process is killed (SIGKILL) as a crash ends it: nothing is stopped or saved.
struct Crash {};
// The simulator builds its menus again (Simulator::rebuildMenus).
struct RebuildMenus {};
struct AnswerMessageBox {
    int answer = 0;
    win::headless::MessageBoxMatch match;
};
// No paths: cancel.
struct AnswerFileDialog {
    std::vector<std::string> paths;
    std::string title;
};
// An empty path: cancel.
struct AnswerFolderBrowser {
    std::string path;
    std::string title;
};
// The steps for a modal dialog to come, by template id or (id 0) by title.
struct ScriptDialog {
    uint16_t templateId = 0;
    std::string title;
    std::vector<win::headless::Step> steps;
};
// Steps taken at once in an open window, found by its title.
struct Perform {
    std::string windowTitle;
    std::vector<win::headless::Step> steps;
};

// What a check expects the run to show; one that fails is a scenario error.
namespace expect {
// Among the texts add-ons drew into the views; none: no text drawn.
struct Status {
    std::optional<std::string> text;
};
// The message line; none: the line is empty.
struct Message {
    std::optional<std::string> text;
};
struct MenuItem {
    enum State { Enabled, Disabled, Checked, Unchecked, Missing, Present };
    std::string path;
    State state = Present;
};
// Aircraft in the world other than the user's.
struct AircraftCount {
    uint32_t count = 0;
};
// The sound an add-on started last and has not stopped; none: no sound plays.
struct Sound {
    std::optional<std::string> file;
};
struct Paused {
    bool paused = false;
};
// The active view's camera, by title; and whether an add-on wrote it in the last frame's pass.
struct Camera {
    std::string title;
    std::optional<bool> written;
};
// Views open, the main view among them.
struct ViewCount {
    std::size_t count = 0;
};
// A top-level window (a tool window, a modeless dialog) by its title: shown, hidden, or not there.
struct Window {
    enum State { Shown, Hidden, Missing };
    std::string title;
    State state = Shown;
};
// The text of a control of the window with that title, exactly.
struct ControlText {
    std::string title;
    int id = 0;
    std::string text;
};
// A pixel of the main view's picture as drawn now, each of its components within `tolerance`.
struct Pixel {
    int x = 0;
    int y = 0;
    std::array<int, 3> rgb{};
    int tolerance = 0;
};
} // namespace expect
struct Expect {
    std::variant<expect::Status, expect::Message, expect::MenuItem, expect::AircraftCount, expect::Sound,
                 expect::Paused, expect::Camera, expect::ViewCount, expect::Pixel, expect::Window,
                 expect::ControlText>
        check;
};

using Action = std::variant<Key, Menu, Pause, Rate, LoadFlight, SaveFlight, ChangeAircraft, Traffic, Fly,
                            Camera, View, ViewCommand, Mouse, Close, Crash, RebuildMenus, AnswerMessageBox, AnswerFileDialog, AnswerFolderBrowser,
                            ScriptDialog, Perform, Expect>;

} // namespace scenario

struct ScenarioAction {
    double time = 0;    // seconds of the run
    int line = 0;       // where the scenario has it
    std::string source; // and how: the line without its comment
    scenario::Action action;
};

struct Scenario {
    ScenarioSettings settings;
    std::vector<ScenarioAction> actions; // in time order; actions of the same time in file order
};
