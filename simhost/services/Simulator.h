#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/hostabi.h"
#include "modules/HostModules.h"
#include "services/ScreenTexts.h"
#include "winsys/Types.h"
#include "world/SimContext.h"
#include "world/World.h"

class HostDevice;
class HostEvents;
class HostMenus;
class MainWindow;
class SimOptions;
class SimViews;
class SimTime;
class TextResources;

struct SimulatorSetup {
    HostVersion version = HostVersion::accepted(3);
    std::string root;          // the simulator's folder (SimObjects/Airplanes/...)
    std::string flightsFolder; // where flights are saved and loaded; created when missing
    std::string userTitle;     // the user aircraft; empty: the first installed aircraft
    StartPosition start;
    uint32_t trafficPercent = 0; // both live-traffic amounts
    double frameStep = 1.0 / 30; // seconds of real time per frame
    ZHostDateTime dateTime{2026, 6, 21, 12, 0, 0};
};

// The stand-in simulator: the world, the host modules it publishes for the version it plays, the
// host events add-ons register for, the main window, time, rate and pause, flights. One exists
// at a time; the host modules' functions reach it through current().
class Simulator {
public:
    explicit Simulator(const SimulatorSetup& setup);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    static Simulator* current();

    SimContext& context();
    World& world();
    HostModules& modules();
    const ZHostPanels* panels() const;
    win::HWND mainWindow() const;

    // After the add-ons have started: the 3D view window (class "FS98CHILD", a child of the main
    // window), so that add-ons see it created; then system event 54, the views ready.
    void createViews();
    win::HWND viewWindow() const;

    // One frame: the host events of a frame around frameStep seconds of real time, the
    // simulation advanced unless paused: by that times the rate, or while an add-on holds the
    // rate word at 0 (the fixed step) by the frame time it set (docs/simhost/time.md).
    void frame();
    uint64_t frames() const;
    double simulatedSeconds() const;
    double realSeconds() const;
    // The main window was closed (WM_CLOSE reached the simulator).
    bool closing() const;

    // ---- what a user does ----
    void setPaused(bool paused);
    bool paused() const;
    // 0.25 .. 128, rounded to the host's fixed point (256 = 1). During the fixed step the rate
    // word stays 0 and the rate is kept for the time after it; rate() answers it all the same.
    void setRate(double rate);
    double rate() const;
    void pressKey(int virtualKey, bool down);
    // A flight file of the flights folder (name with or without ".flt") or a path; false when it
    // cannot be read. The host reports it to add-ons.
    bool loadFlight(const std::string& nameOrPath);
    bool saveFlight(const std::string& nameOrPath, const std::string& title, const std::string& description);
    bool changeUserAircraft(const std::string& title);
    void setTrafficPercent(uint32_t percent);
    void close();
    // The simulator builds its menus again, as when its user changes its key and menu settings:
    // a new menu bar with only its own menus (what add-ons added is gone), announced to add-ons
    // with the menus system event (data 13 on the first host version, 11 on the others).
    void rebuildMenus();

    // ---- the picture ----
    // From the next frame on, the main view is drawn every frame into the main window's client
    // pixels (the picture costs milliseconds; a run that looks at nothing does without).
    void setPictures(bool on);
    // Draws the main view's picture now (with the texts of the last frame); none without a user
    // aircraft.
    void drawPicture();
    // The active view's camera by title: one of the simulator's own (OwnCameras) or a registered
    // definition's; false when the view offers none of that title. "Spot" in a new view.
    bool selectCamera(const std::string& title);
    std::string cameraTitle() const;
    // One of the simulator's view commands (docs/simhost/views.md) for the active view, offered to
    // the add-ons first; false for a number that is none of them.
    bool viewCommand(uint32_t number, int32_t value);
    // Views beside the main view, drawn as insets down the right of the main window; the index
    // is the order opened, the main view 0. False for a view that is not there (or the main
    // view, which stays), or when no more can be opened.
    bool openView();
    bool closeView(std::size_t index);
    bool activateView(std::size_t index);
    // The main window's client area, and with it the picture, in pixels.
    void setClientSize(int width, int height);

    // ---- what can be seen ----
    const MessageLine& messageLine() const;
    // Key presses that reached the simulator's own window procedure ("down 0x41", "up 0x41").
    const std::vector<std::string>& keysReached() const;
    // Menu commands (WM_COMMAND) that reached the simulator's own window procedure.
    const std::vector<uint32_t>& menuCommands() const;
    // Texts add-ons drew into views in the last frame.
    const std::vector<std::string>& drawnTexts() const;
    // Errors of the simulator's own (a flight that cannot be read, ...), also written on stderr.
    const std::vector<std::string>& errors() const;
    // The options block's crash-detection word is set.
    bool crashDetection() const;

    // ---- the services behind the host modules ----
    HostEvents& events();
    SimTime& time();
    ScreenTexts& texts();
    TextResources& textResources();
    HostDevice& device();
    SimOptions& options();
    MainWindow& window();
    SimViews& views();
    // The main window's menus (xuipc.dll's), built with the simulator's own before add-ons start.
    HostMenus& menus();
    const std::string& flightsFolder() const;
    double frameStep() const;
    // The real time of the frames from now on, e.g. one long frame while a dialog is open.
    void setFrameStep(double seconds);
    // api.dll's and fe.dll's idle call: a turn of scenery loading, which moves no time.
    void idle();
    uint64_t idleTurns() const;
    // The traffic settings' amounts into the world's live traffic.
    void applyTraffic();
    void reportError(const std::string& text);

private:
    struct Impl;
    void reportUserAircraft();
    // The menus as they are now in the main window's menu bar, once they changed (at the end of
    // every frame: what add-ons change shows with the frame).
    void showMenus();
    win::RECT viewPlace(std::size_t index) const;
    // Simulated seconds for the world, date and time; realSeconds of the frame (SimTime::advance).
    void advance(double seconds, double realSeconds);

    std::unique_ptr<Impl> impl_;
};
