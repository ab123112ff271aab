#include "run/ScenarioRunner.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "run/AddonList.h"
#include "run/AddonLoader.h"
#include "run/MenuChoice.h"
#include "run/ScenarioError.h"
#include "run/ScenarioLine.h"
#include "services/HostMenus.h"
#include "services/SimViews.h"
#include "winsys/Backend.h"
#include "winsys/Dialogs.h"
#include "winsys/HeadlessScript.h"
#include "winsys/Pixels.h"
#include "winsys/UserInput.h"
#include "winsys/WindowApi.h"

namespace {

namespace script = win::headless;
using Clock = std::chrono::steady_clock;

// Scenario errors are written as they happen, so that they stand where they belong among what the
// simulator and the add-ons write.
void reportScenarioError(std::vector<std::string>& errors, const std::string& error) {
    std::cerr << "zephrel-sim: " << error << '\n';
    errors.push_back(error);
}

// The calendar fields of a point of local time.
win::SYSTEMTIME systemTime(std::chrono::local_time<std::chrono::milliseconds> time) {
    using namespace std::chrono;
    const local_days day = floor<days>(time);
    const year_month_day date(day);
    const hh_mm_ss<milliseconds> clock(time - day);
    win::SYSTEMTIME fields;
    fields.wYear = static_cast<win::WORD>(static_cast<int>(date.year()));
    fields.wMonth = static_cast<win::WORD>(static_cast<unsigned>(date.month()));
    fields.wDayOfWeek = static_cast<win::WORD>(weekday(day).c_encoding());
    fields.wDay = static_cast<win::WORD>(static_cast<unsigned>(date.day()));
    fields.wHour = static_cast<win::WORD>(clock.hours().count());
    fields.wMinute = static_cast<win::WORD>(clock.minutes().count());
    fields.wSecond = static_cast<win::WORD>(clock.seconds().count());
    fields.wMilliseconds = static_cast<win::WORD>(clock.subseconds().count());
    return fields;
}

// What a check of the scenario finds in the simulator: nothing when it holds, else what is wrong.
class ExpectationCheck {
public:
    explicit ExpectationCheck(Simulator& simulator) : simulator_(simulator) {}

    // The texts drawn in the last frame the simulator ran are those on the screen now.
    std::optional<std::string> operator()(const scenario::expect::Status& status) const {
        const std::vector<std::string>& drawn = simulator_.drawnTexts();
        const bool holds =
            status.text ? std::find(drawn.begin(), drawn.end(), *status.text) != drawn.end() : drawn.empty();
        if (holds)
            return std::nullopt;
        std::string shown;
        for (const std::string& text : drawn)
            shown += (shown.empty() ? "" : " and ") + quote(text);
        return "status is " + (shown.empty() ? "none" : shown) + ", expected " + described(status.text);
    }
    std::optional<std::string> operator()(const scenario::expect::Message& message) const {
        const std::string& line = simulator_.messageLine().text;
        const std::optional<std::string> shown = line.empty() ? std::nullopt : std::optional(line);
        if (shown == message.text)
            return std::nullopt;
        return "message is " + described(shown) + ", expected " + described(message.text);
    }
    std::optional<std::string> operator()(const scenario::expect::MenuItem& expected) const {
        using enum scenario::expect::MenuItem::State;
        const HostMenus::Item* item = simulator_.menus().find(expected.path);
        const std::string name = "menu item " + quote(expected.path);
        if (item == nullptr)
            return expected.state == Missing ? std::nullopt : std::optional("no " + name);
        // Whether the item is `on` in the pair of states asked about (yes/no), against the wanted one.
        const auto compare = [&](bool on, const char* yes, const char* no, bool wanted) {
            return on == wanted
                       ? std::nullopt
                       : std::optional(name + " is " + (on ? yes : no) + ", expected " + (wanted ? yes : no));
        };
        switch (expected.state) {
        case Enabled:
            return compare(item->enabled, "enabled", "disabled", true);
        case Disabled:
            return compare(item->enabled, "enabled", "disabled", false);
        case Checked:
            return compare(item->checked, "checked", "unchecked", true);
        case Unchecked:
            return compare(item->checked, "checked", "unchecked", false);
        case Missing:
            return name + " is present, expected missing";
        case Present:
            break;
        }
        return std::nullopt;
    }
    std::optional<std::string> operator()(const scenario::expect::AircraftCount& expected) const {
        World& world = simulator_.world();
        const std::size_t others = world.aircraft().size() - (world.user() != nullptr ? 1 : 0);
        if (others == expected.count)
            return std::nullopt;
        return std::to_string(others) + " aircraft besides the user's, expected " +
               std::to_string(expected.count);
    }
    // Headless sounds never end by themselves: the last one started plays until it is stopped.
    std::optional<std::string> operator()(const scenario::expect::Sound& expected) const {
        const auto sounds = script::transcript().all<win::SoundEntry>();
        std::optional<std::string> playing;
        if (!sounds.empty() && !sounds.back().file.empty() && sounds.back().played)
            playing = sounds.back().file;
        if (playing == expected.file)
            return std::nullopt;
        return "sound is " + described(playing) + ", expected " + described(expected.file);
    }
    std::optional<std::string> operator()(const scenario::expect::Camera& expected) const {
        const std::string shown = simulator_.cameraTitle();
        if (shown != expected.title)
            return "camera is " + quote(shown) + ", expected " + quote(expected.title);
        const bool written = simulator_.views().written(simulator_.views().active());
        if (expected.written && *expected.written != written)
            return "camera " + quote(shown) + " was " + (written ? "" : "not ") + "written by an add-on";
        return std::nullopt;
    }
    std::optional<std::string> operator()(const scenario::expect::ViewCount& expected) const {
        const std::size_t open = simulator_.views().count();
        if (open == expected.count)
            return std::nullopt;
        return std::to_string(open) + " views open, expected " + std::to_string(expected.count);
    }
    // The picture as the simulator would draw it now, with the texts of the last frame.
    std::optional<std::string> operator()(const scenario::expect::Pixel& expected) const {
        simulator_.drawPicture();
        const win::ClientPixels* pixels = win::GetClientPixels(simulator_.mainWindow());
        if (pixels == nullptr)
            return std::string("there is no picture (no user aircraft)");
        if (expected.x >= pixels->width || expected.y >= pixels->height)
            return "pixel " + std::to_string(expected.x) + " " + std::to_string(expected.y) + " lies outside the " +
                   std::to_string(pixels->width) + "x" + std::to_string(pixels->height) + " picture";
        const uint8_t* rgb = pixels->rgb.data() + (static_cast<std::size_t>(expected.y) * static_cast<std::size_t>(pixels->width) +
                                                   static_cast<std::size_t>(expected.x)) * 3;
        bool near = true;
        for (std::size_t i = 0; i < 3; ++i)
            near = near && std::abs(int{rgb[i]} - expected.rgb[i]) <= expected.tolerance;
        if (near)
            return std::nullopt;
        const auto colour = [](int r, int g, int b) {
            return std::to_string(r) + " " + std::to_string(g) + " " + std::to_string(b);
        };
        return "pixel " + std::to_string(expected.x) + " " + std::to_string(expected.y) + " is " +
               colour(rgb[0], rgb[1], rgb[2]) + ", expected near " +
               colour(expected.rgb[0], expected.rgb[1], expected.rgb[2]) + " within " +
               std::to_string(expected.tolerance);
    }
    std::optional<std::string> operator()(const scenario::expect::Window& expected) const {
        using enum scenario::expect::Window::State;
        const win::HWND window = win::FindWindow(nullptr, expected.title.c_str());
        const auto state = window == nullptr ? Missing : win::IsWindowVisible(window) ? Shown : Hidden;
        if (state == expected.state)
            return std::nullopt;
        static constexpr const char* kNames[] = {"shown", "hidden", "missing"};
        return "window " + quote(expected.title) + " is " + kNames[state] + ", expected " + kNames[expected.state];
    }
    std::optional<std::string> operator()(const scenario::expect::ControlText& expected) const {
        const win::HWND window = win::FindWindow(nullptr, expected.title.c_str());
        if (window == nullptr)
            return "no window " + quote(expected.title) + " is open";
        const win::HWND control = win::GetDlgItem(window, expected.id);
        if (control == nullptr)
            return "the window " + quote(expected.title) + " has no control " + std::to_string(expected.id);
        const std::string text = win::GetWindowText(control);
        if (text == expected.text)
            return std::nullopt;
        return "control " + std::to_string(expected.id) + " of " + quote(expected.title) + " reads " + quote(text) +
               ", expected " + quote(expected.text);
    }
    std::optional<std::string> operator()(const scenario::expect::Paused& expected) const {
        const bool paused = simulator_.paused();
        if (paused == expected.paused)
            return std::nullopt;
        return std::string("simulation is ") + (paused ? "paused" : "running") + ", expected " +
               (expected.paused ? "paused" : "running");
    }

private:
    static std::string described(const std::optional<std::string>& text) {
        return text ? quote(*text) : "none";
    }

    Simulator& simulator_;
};

// Takes one action of the scenario in the simulator; what cannot be done is a scenario error of
// the action's line.
class ActionPerformer {
public:
    ActionPerformer(Simulator& simulator, const ScenarioAction& action, std::vector<std::string>& errors)
        : simulator_(simulator), line_(action.line), source_(action.source), errors_(errors) {}

    void operator()(const scenario::Key& key) {
        if (key.stroke != scenario::Key::Up)
            simulator_.pressKey(key.virtualKey, true);
        if (key.stroke != scenario::Key::Down)
            simulator_.pressKey(key.virtualKey, false);
    }
    void operator()(const scenario::Menu& menu) {
        if (const auto error = chooseMenuItem(simulator_, menu.path))
            fail(*error);
    }
    void operator()(const scenario::Pause& pause) { simulator_.setPaused(pause.on); }
    void operator()(const scenario::Rate& rate) { simulator_.setRate(rate.rate); }
    void operator()(const scenario::LoadFlight& load) {
        if (!simulator_.loadFlight(load.name))
            fail("flight \"" + load.name + "\" could not be loaded");
    }
    void operator()(const scenario::SaveFlight& save) {
        if (!simulator_.saveFlight(save.name, save.title, save.description))
            fail("flight \"" + save.name + "\" could not be saved");
    }
    void operator()(const scenario::ChangeAircraft& change) {
        if (!simulator_.changeUserAircraft(change.title))
            fail("no installed aircraft has the title \"" + change.title + "\"");
    }
    void operator()(const scenario::Traffic& traffic) { simulator_.setTrafficPercent(traffic.percent); }
    void operator()(const scenario::Fly& fly) {
        if (Aircraft* user = simulator_.world().user())
            user->fly(fly.order);
        else
            fail("there is no user aircraft to fly");
    }
    void operator()(const scenario::Camera& camera) {
        if (!simulator_.selectCamera(camera.title))
            fail("the active view has no camera \"" + camera.title + "\"");
    }
    void operator()(const scenario::View& view) {
        using enum scenario::View::Kind;
        const std::string name = "view " + std::to_string(view.index);
        if (view.kind == Open && !simulator_.openView())
            fail("no more views can be opened");
        else if (view.kind == Close && !simulator_.closeView(view.index))
            fail(view.index == 0 ? "the main view cannot be closed" : "there is no " + name + " to close");
        else if (view.kind == Activate && !simulator_.activateView(view.index))
            fail("there is no " + name);
    }
    void operator()(const scenario::ViewCommand& command) {
        if (!simulator_.viewCommand(command.number, command.value))
            fail("view command " + std::to_string(command.number) + " is none of the simulator's");
    }
    void operator()(const scenario::Mouse& mouse) {
        using enum scenario::Mouse::Kind;
        const win::HWND window = simulator_.views().window(mouse.index);
        if (window == nullptr)
            fail("there is no view " + std::to_string(mouse.index));
        else if (mouse.kind == Move)
            win::moveMouse(window, {mouse.x, mouse.y});
        else if (mouse.kind == Wheel)
            win::turnWheel(window, mouse.delta);
        else
            win::pressMiddleButton(window, mouse.down);
    }
    void operator()(const scenario::Close&) { simulator_.close(); }
    void operator()(const scenario::Crash&) { std::raise(SIGKILL); }
    void operator()(const scenario::RebuildMenus&) { simulator_.rebuildMenus(); }
    // Answers and dialog steps that nothing uses by the end are named by their line.
    void operator()(const scenario::AnswerMessageBox& box) {
        script::answerMessageBox(box.answer, box.match, unusedOrigin());
    }
    void operator()(const scenario::AnswerFileDialog& file) {
        script::answerFileDialog(file.paths, file.title, unusedOrigin());
    }
    void operator()(const scenario::AnswerFolderBrowser& folder) {
        script::answerFolderBrowser(folder.path, folder.title, unusedOrigin());
    }
    void operator()(const scenario::ScriptDialog& dialog) {
        if (dialog.templateId != 0)
            script::scriptDialog(dialog.templateId, dialog.steps, unusedOrigin());
        else
            script::scriptDialog(dialog.title, dialog.steps, unusedOrigin());
    }
    void operator()(const scenario::Expect& expectation) {
        if (const auto error = std::visit(ExpectationCheck(simulator_), expectation.check))
            fail(*error);
    }
    void operator()(const scenario::Perform& perform) {
        win::HWND window = win::FindWindow(nullptr, perform.windowTitle.c_str());
        if (window == nullptr)
            return fail("no window \"" + perform.windowTitle + "\" is open");
        for (std::size_t i = 0; i < perform.steps.size(); ++i)
            if (!script::perform(window, perform.steps[i]))
                return fail("step " + std::to_string(i + 1) + " in the window \"" + perform.windowTitle +
                            "\" could not be taken");
    }

private:
    void fail(const std::string& what) { reportScenarioError(errors_, ScenarioError(line_, what).what()); }
    std::string unusedOrigin() const { return ScenarioError(line_, "never used: " + source_).what(); }

    Simulator& simulator_;
    int line_;
    std::string source_;
    std::vector<std::string>& errors_;
};

// When the next frame of a real-time run is due: one frame step after the last, on the clock. A run
// that fell behind (a modal dialog, a slow machine) goes on from now instead of catching up in a
// burst.
class RealTimePace {
public:
    explicit RealTimePace(double step)
        : step_(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(step))) {}

    Clock::time_point nextFrame() {
        const Clock::time_point now = Clock::now();
        due_ += step_;
        if (now - due_ > kMostBehind)
            due_ = now;
        return due_;
    }

private:
    static constexpr std::chrono::milliseconds kMostBehind{250};
    Clock::duration step_;
    Clock::time_point due_ = Clock::now();
};

// Where the window system's records stand, so that a run counts only its own.
struct ScriptMark {
    std::size_t transcript = script::transcript().entries().size();
    std::size_t failures = script::failures().size();
    std::size_t queuedAnswers = script::queuedAnswers();
};

void collectScriptResults(const ScriptMark& mark, RunSummary& summary) {
    const auto& entries = script::transcript().entries();
    for (std::size_t i = mark.transcript; i < entries.size(); ++i)
        if (const auto* box = std::get_if<win::MessageBoxEntry>(&entries[i]))
            if ((box->type & win::MB_ICONMASK) == win::MB_ICONERROR)
                ++summary.errorBoxes;
    const auto& failures = script::failures();
    for (std::size_t i = mark.failures; i < failures.size(); ++i)
        reportScenarioError(summary.scenarioErrors, "window system: " + failures[i]);
    for (const std::string& unused : script::unusedAnswerOrigins(mark.queuedAnswers))
        reportScenarioError(summary.scenarioErrors, unused);
}

} // namespace

ScenarioRunner::ScenarioRunner(Scenario scenario, RunOverrides overrides)
    : scenario_(std::move(scenario)), overrides_(std::move(overrides)) {}

SimulatorSetup ScenarioRunner::setup() const {
    const ScenarioSettings& settings = scenario_.settings;
    SimulatorSetup setup;
    const auto root = overrides_.root ? overrides_.root : settings.root;
    if (!root)
        throw ScenarioError(0, "no simulator root: the scenario needs a root line, or give --root");
    setup.root = *root;
    setup.flightsFolder =
        settings.flightsFolder.value_or((std::filesystem::path(*root) / "Flights").string());
    if (const auto version = overrides_.hostVersion ? overrides_.hostVersion : settings.hostVersion)
        setup.version = *version;
    setup.userTitle = settings.userTitle.value_or(setup.userTitle);
    setup.start = settings.start.value_or(setup.start);
    setup.trafficPercent = settings.trafficPercent.value_or(setup.trafficPercent);
    // On the screen 60 frames a second, the pace a user expects of a simulator.
    setup.frameStep = settings.frameStep.value_or(overrides_.realTime ? 1.0 / 60 : setup.frameStep);
    setup.dateTime = settings.dateTime.value_or(setup.dateTime);
    return setup;
}

std::string ScenarioRunner::appdata() const {
    return overrides_.appdata.value_or(scenario_.settings.appdata.value_or(std::string()));
}

RunSummary ScenarioRunner::run(const std::function<void(const RunProgress&)>& progress) {
    const SimulatorSetup simulatorSetup = setup();
    const std::string appdataFolder = appdata();
    // Add-ons find the user's application data the way they do on the original platform.
    if (!appdataFolder.empty())
        setenv("APPDATA", appdataFolder.c_str(), 1);

    const ScriptMark mark;
    RunSummary summary;
    {
        Simulator simulator(simulatorSetup);
        // Nothing can be flown or recorded without one; the simulator has said why there is none.
        if (simulator.world().user() == nullptr)
            throw ScenarioError(0, "the run cannot start without a user aircraft");
        AddonLoader addons;
        if (!appdataFolder.empty())
            addons.start(AddonList::dllXmlPath(appdataFolder), simulatorSetup.root, simulator.panels());
        summary.addons = addons.loaded();
        summary.loaderErrors = addons.errors();
        simulator.createViews();
        const std::optional<PictureFiles>& pictures = overrides_.pictures;
        if (pictures && pictures->width && pictures->height)
            simulator.setClientSize(*pictures->width, *pictures->height);

        const double step = simulatorSetup.frameStep;
        const double duration = scenario_.settings.duration;
        // Times that should fall on a frame must not miss it by rounding.
        const double tolerance = step * 1e-6;
        std::size_t next = 0;
        const auto& localTime = scenario_.settings.localTime;
        RealTimePace pace(step);
        for (uint64_t frame = 0;; ++frame) {
            const double now = static_cast<double>(frame) * step;
            // What the actions of this time and the frame read as the local time.
            if (localTime) {
                using namespace std::chrono;
                const milliseconds runTime = round<milliseconds>(std::chrono::duration<double>(now));
                script::setLocalTime(systemTime(*localTime + runTime));
            }
            for (; next < scenario_.actions.size() && scenario_.actions[next].time <= now + tolerance;
                 ++next) {
                const ScenarioAction& action = scenario_.actions[next];
                std::visit(ActionPerformer(simulator, action, summary.scenarioErrors), action.action);
            }
            if (simulator.closing() || now + tolerance >= duration) {
                summary.frames = frame;
                summary.runSeconds = now;
                break;
            }
            // Only the frames whose picture is written are drawn: a picture costs milliseconds.
            const bool pictureDue = pictures && (frame + 1) % pictures->every == 0;
            simulator.setPictures(pictureDue);
            simulator.frame();
            if (pictureDue && !writeClientPng(simulator.mainWindow(), pictures->pathFor(frame + 1)))
                summary.scenarioErrors.push_back("the picture " + pictures->pathFor(frame + 1) + " cannot be written");
            if (progress)
                progress(RunProgress{now + step, duration, simulator.simulatedSeconds(), frame + 1});
            if (overrides_.realTime)
                win::CurrentBackend().runMessageLoop(pace.nextFrame());
        }
        addons.stop();
        if (localTime)
            script::setLocalTime(std::nullopt);
        summary.simulatedSeconds = simulator.simulatedSeconds();
        summary.aircraftSeen = simulator.world().aircraftSeen();
        summary.simulatorErrors = simulator.errors();
        summary.wrongForms = simulator.context().wrongForms.count();
        summary.keysReached = simulator.keysReached();
    }
    collectScriptResults(mark, summary);
    return summary;
}
