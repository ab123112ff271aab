#include "services/Simulator.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "services/Flights.h"
#include "services/HostDevice.h"
#include "services/HostEvents.h"
#include "services/HostInstallers.h"
#include "services/HostMenus.h"
#include "services/MenuBarMirror.h"
#include "services/MainWindow.h"
#include "services/PanelVariables.h"
#include "services/SimOptions.h"
#include "services/SimTime.h"
#include "services/SimViews.h"
#include "services/SimulatorMenus.h"
#include "services/TextResources.h"
#include "services/ViewPicture.h"
#include "winsys/UserInput.h"
#include "winsys/WindowApi.h"
#include "world/AircraftCatalog.h"

namespace {

Simulator* instance = nullptr;

constexpr ZHostDateTime kDefaultDateTime{2026, 6, 21, 12, 0, 0};
constexpr double kMinRate = 0.25;
constexpr double kMaxRate = 128;
constexpr const char* kFlightExtension = ".flt";

bool endsWithExtension(const std::string& path) {
    const std::string extension = kFlightExtension;
    return path.size() >= extension.size() &&
           path.compare(path.size() - extension.size(), extension.size(), extension) == 0;
}

// A bare name is a file of the flights folder.
std::string flightPath(const std::string& folder, const std::string& nameOrPath) {
    return nameOrPath.find('/') != std::string::npos ? nameOrPath
                                                     : (std::filesystem::path(folder) / nameOrPath).string();
}

std::string flightsFolderOf(const SimulatorSetup& setup) {
    return !setup.flightsFolder.empty() ? setup.flightsFolder
                                        : (std::filesystem::path(setup.root) / "Flights").string();
}

} // namespace

struct Simulator::Impl {
    explicit Impl(const SimulatorSetup& given)
        : setup(given), flightsFolder(flightsFolderOf(given)), context(given.version),
          world(context, AircraftCatalog::load(given.root)), modules(given.version),
          events(context.wrongForms),
          time(context, SimDate::valid(given.dateTime) ? given.dateTime : kDefaultDateTime),
          resources(context.wrongForms), texts(context, resources), device(context.wrongForms),
          options(context, given.trafficPercent), menus(context.wrongForms, *window.menuAnchor()), views(context) {}

    SimulatorSetup setup;
    std::string flightsFolder;
    SimContext context;
    World world;
    HostModules modules;
    HostEvents events;
    SimTime time;
    TextResources resources;
    ScreenTexts texts;
    HostDevice device;
    SimOptions options;
    PanelVariables panels;
    MainWindow window;
    HostMenus menus; // after the window, whose menu anchor it keeps
    uint64_t menusShown = 0; // the menus' changes as the main window's menu bar shows them
    SimViews views;

    // The views' picture, drawn only when asked for: it costs milliseconds a frame.
    ViewPicture picture;
    bool pictures = false;

    uint32_t reportedUser = 0;    // the user aircraft add-ons were last told of
    std::string userAircraftPath; // what that report carried
    uint64_t frames = 0;
    uint64_t idleTurns = 0;
    double simulatedSeconds = 0;
    double realSeconds = 0;
    std::vector<std::string> errors;
};

Simulator::Simulator(const SimulatorSetup& setup) {
    if (instance != nullptr)
        throw std::logic_error("only one simulator can run at a time");
    instance = this;
    try {
        impl_ = std::make_unique<Impl>(setup);
        if (!SimDate::valid(setup.dateTime))
            reportError("the start date and time do not exist; the simulator starts at its default");
        std::error_code failed;
        std::filesystem::create_directories(impl_->flightsFolder, failed);
        if (failed)
            reportError("cannot create the flights folder " + impl_->flightsFolder + ": " + failed.message());
        const auto& types = impl_->world.catalog().types();
        const std::string title = !setup.userTitle.empty() ? setup.userTitle
                                  : types.empty()          ? ""
                                                           : types.front().title;
        if (title.empty() || !impl_->world.setUser(title, setup.start))
            reportError(title.empty() ? "no aircraft is installed under " + setup.root
                                      : "no installed aircraft has the title \"" + title + "\"");
        applyTraffic();
        installHostModules(*this);
        impl_->modules.install();
        impl_->window.create();
        buildSimulatorMenus(impl_->menus);
        showMenus();
    } catch (...) {
        instance = nullptr;
        throw;
    }
}

// The windows go first, while everything their procedures may reach is still there.
Simulator::~Simulator() {
    impl_->window.destroy();
    instance = nullptr;
}

Simulator* Simulator::current() {
    return instance;
}

SimContext& Simulator::context() {
    return impl_->context;
}
World& Simulator::world() {
    return impl_->world;
}
HostModules& Simulator::modules() {
    return impl_->modules;
}
const ZHostPanels* Simulator::panels() const {
    return impl_->panels.abi();
}
win::HWND Simulator::mainWindow() const {
    return impl_->window.hwnd();
}
void Simulator::createViews() {
    impl_->views.setMainWindow(impl_->window.createView());
    // Add-ons of the first host version wait for this before they register camera definitions.
    impl_->events.fire(ZHOST_EVENT_SYSTEM, ZHOST_SYSTEM_VIEWS_READY, 0);
}
win::HWND Simulator::viewWindow() const {
    return impl_->window.view();
}

void Simulator::frame() {
    Impl& s = *impl_;
    ++s.frames;
    s.texts.beginFrame();
    reportUserAircraft();
    s.context.simState.paused = s.context.simState.pauseRequest;
    s.time.beginFrame(s.setup.frameStep);
    s.events.fire(ZHOST_EVENT_FIXED_STEP);
    s.events.fire(ZHOST_EVENT_FRAME);
    const bool running = !paused();
    advance(running ? s.time.frameSeconds(s.setup.frameStep) : 0, running ? s.setup.frameStep : 0);
    s.texts.passTime(s.setup.frameStep);
    s.views.pass(s.events);
    // Otherwise the picture is drawn when someone looks at the window (WM_PAINT before a capture).
    if (s.pictures)
        drawPicture();
    else
        win::InvalidateRect(s.window.hwnd(), nullptr, false);
    s.events.fire(ZHOST_EVENT_AFTER_FRAME);
    showMenus();
    s.realSeconds += s.setup.frameStep;
}

void Simulator::showMenus() {
    Impl& s = *impl_;
    if (s.menus.changes() == s.menusShown)
        return;
    mirrorMenuBar(s.menus, s.window.hwnd());
    s.menusShown = s.menus.changes();
}

void Simulator::setPictures(bool on) {
    impl_->pictures = on;
}

void Simulator::drawPicture() {
    Impl& s = *impl_;
    if (s.world.user() == nullptr)
        return;
    std::vector<ViewShot> shots;
    for (std::size_t index = 0; index < s.views.count(); ++index)
        shots.push_back({s.views.eye(index, s.world), viewPlace(index), s.views.record(index)});
    s.picture.draw(s.window.hwnd(), shots, s.world, s.texts.drawnTextPlaces(), s.texts.messageLine());
}

// The main view fills the client area; the others are insets a third of its size down its right.
win::RECT Simulator::viewPlace(std::size_t index) const {
    win::RECT client{};
    win::GetClientRect(impl_->window.hwnd(), &client);
    if (index == 0)
        return client;
    constexpr int kMargin = 8;
    const int width = client.right / 3, height = client.bottom / 3;
    const int top = kMargin + static_cast<int>(index - 1) * (height + kMargin);
    return {client.right - width - kMargin, top, client.right - kMargin, top + height};
}

bool Simulator::openView() {
    Impl& s = *impl_;
    const win::HWND window = s.window.openView(viewPlace(s.views.count()));
    if (s.views.add(window))
        return true;
    s.window.closeView(window);
    return false;
}

bool Simulator::closeView(std::size_t index) {
    const win::HWND window = impl_->views.remove(index);
    if (window == nullptr)
        return false;
    impl_->window.closeView(window);
    return true;
}

bool Simulator::activateView(std::size_t index) {
    return impl_->views.activate(index);
}

bool Simulator::selectCamera(const std::string& title) {
    return impl_->views.selectCamera(impl_->views.active(), title);
}

bool Simulator::viewCommand(uint32_t number, int32_t value) {
    return impl_->views.command(impl_->events, number, value);
}

std::string Simulator::cameraTitle() const {
    return impl_->views.cameraTitle(impl_->views.active());
}

void Simulator::setClientSize(int width, int height) {
    impl_->window.setClientSize(width, height);
}

// A new user aircraft (another object than the one last reported) is reported with the path of
// its aircraft.cfg; on newer hosts its kind also chooses its simulation group.
void Simulator::reportUserAircraft() {
    Impl& s = *impl_;
    const Aircraft* user = s.world.user();
    if (user == nullptr || user->id() == s.reportedUser)
        return;
    s.reportedUser = user->id();
    s.time.groups().setUserCategory(user->type().category);
    s.userAircraftPath = (std::filesystem::path(user->type().folder) / "aircraft.cfg").string();
    s.events.fire(ZHOST_EVENT_SYSTEM, ZHOST_SYSTEM_AIRCRAFT_LOADED,
                  reinterpret_cast<uintptr_t>(s.userAircraftPath.c_str()));
}

void Simulator::advance(double seconds, double realSeconds) {
    if (seconds > 0)
        impl_->world.step(seconds);
    impl_->time.advance(seconds, realSeconds);
    impl_->simulatedSeconds += seconds;
}

void Simulator::idle() {
    ++impl_->idleTurns;
}

uint64_t Simulator::idleTurns() const {
    return impl_->idleTurns;
}

uint64_t Simulator::frames() const {
    return impl_->frames;
}
double Simulator::simulatedSeconds() const {
    return impl_->simulatedSeconds;
}
double Simulator::realSeconds() const {
    return impl_->realSeconds;
}
bool Simulator::closing() const {
    return impl_->window.closing();
}

void Simulator::setPaused(bool paused) {
    impl_->context.simState.pauseRequest = paused ? 1 : 0;
    impl_->context.simState.paused = paused ? 1 : 0;
}

bool Simulator::paused() const {
    return impl_->context.simState.paused != 0;
}

void Simulator::setRate(double rate) {
    const double clamped = std::clamp(rate, kMinRate, kMaxRate);
    impl_->time.setRate(static_cast<uint32_t>(std::trunc(clamped * SimTime::kUnitRate + 0.5)));
}

double Simulator::rate() const {
    return impl_->time.rate() / static_cast<double>(SimTime::kUnitRate);
}

void Simulator::pressKey(int virtualKey, bool down) {
    win::sendKey(mainWindow(), virtualKey, down);
}

bool Simulator::loadFlight(const std::string& nameOrPath) {
    std::string path = flightPath(impl_->flightsFolder, nameOrPath);
    if (!endsWithExtension(path))
        path += kFlightExtension;
    return Flights::load(*this, path) == 0;
}

bool Simulator::saveFlight(const std::string& nameOrPath, const std::string& title,
                           const std::string& description) {
    std::string path = flightPath(impl_->flightsFolder, nameOrPath);
    if (endsWithExtension(path))
        path.resize(path.size() - std::string(kFlightExtension).size());
    return Flights::save(*this, path, title, description) == 0;
}

bool Simulator::changeUserAircraft(const std::string& title) {
    if (impl_->world.setUser(title))
        return true;
    reportError("no installed aircraft has the title \"" + title + "\"");
    return false;
}

void Simulator::setTrafficPercent(uint32_t percent) {
    impl_->options.setTrafficPercent(percent, percent);
    applyTraffic();
}

void Simulator::applyTraffic() {
    impl_->world.setTrafficAmounts(impl_->options.airlinePercent(), impl_->options.generalAviationPercent());
}

void Simulator::rebuildMenus() {
    buildSimulatorMenus(impl_->menus);
    impl_->events.fire(ZHOST_EVENT_SYSTEM, ZHOST_SYSTEM_MENUS_CHANGED, impl_->context.firstHost() ? 13 : 11);
}

void Simulator::close() {
    win::SendMessage(mainWindow(), win::WM_CLOSE, 0, 0);
}

const MessageLine& Simulator::messageLine() const {
    return impl_->texts.messageLine();
}
const std::vector<std::string>& Simulator::keysReached() const {
    return impl_->window.keysReached();
}
const std::vector<uint32_t>& Simulator::menuCommands() const {
    return impl_->window.menuCommands();
}
const std::vector<std::string>& Simulator::drawnTexts() const {
    return impl_->texts.drawnTexts();
}
const std::vector<std::string>& Simulator::errors() const {
    return impl_->errors;
}
bool Simulator::crashDetection() const {
    return impl_->options.crashDetection();
}

HostEvents& Simulator::events() {
    return impl_->events;
}
SimTime& Simulator::time() {
    return impl_->time;
}
ScreenTexts& Simulator::texts() {
    return impl_->texts;
}
TextResources& Simulator::textResources() {
    return impl_->resources;
}
HostDevice& Simulator::device() {
    return impl_->device;
}
SimOptions& Simulator::options() {
    return impl_->options;
}
MainWindow& Simulator::window() {
    return impl_->window;
}
SimViews& Simulator::views() {
    return impl_->views;
}
HostMenus& Simulator::menus() {
    return impl_->menus;
}
const std::string& Simulator::flightsFolder() const {
    return impl_->flightsFolder;
}
double Simulator::frameStep() const {
    return impl_->setup.frameStep;
}
void Simulator::setFrameStep(double seconds) {
    impl_->setup.frameStep = seconds;
}

void Simulator::reportError(const std::string& text) {
    impl_->errors.push_back(text);
    std::cerr << "zephrel-sim: " << text << '\n';
}
