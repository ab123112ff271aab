#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/ModuleEvents.h"
#include "host/hostabi.h"
#include "modules/HostModules.h"
#include "support/TempLog.h"
#include "system/Guid.h"

// xuipc.dll's entries, which the module finds by name.
inline constexpr const char* kXuiNames[] = {"XuiDynamicMenuCreate",          "XuiElementAddChild",
                                            "XuiDynamicMenuInvalidate",      "XuiDynamicMenuAppendItem",
                                            "XuiDynamicMenuAppendSeparator", "XuiDynamicMenuRemoveItem",
                                            "XuiDynamicMenuSetItemEnable",   "XuiDynamicMenuSetItemText",
                                            "XuiDynamicMenuSetItemCheck",    "XuiMenuGetPositionForCommandId"};

// A host for the binding tests: the stand-in simulator's twelve modules at one version, every item
// the module binds published at the number the host's own numbering (HostNumbers) gives its role,
// so the module's tables are checked against an independent computation. Its functions record
// what the module asks for; its data words are plain members. One exists at a time.
class FakeHost {
public:
    explicit FakeHost(const HostVersion& version);
    ~FakeHost();
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    static FakeHost& current();

    // What the host publishes for a role of a module's entries, data words or named entries.
    void* entry(const std::string& module, int role);
    void* data(const std::string& module, int role);
    void* named(const std::string& name);

    // Calls the handlers registered (and not unregistered) for the event, in registration order.
    void raise(uint32_t event, uintptr_t a = 0, uintptr_t b = 0);

    struct Registration {
        uint32_t event;
        ZHostEventHandler handler;
        bool operator==(const Registration&) const = default;
    };
    struct MessageLine {
        std::string text;
        int32_t kind;
        uint32_t ticks;
        bool operator==(const MessageLine&) const = default;
    };
    struct Draw {
        ZHostView* view;
        std::string text;
        uint32_t x, y, mode;
        void* deviceView; // what the device held at the call
        bool operator==(const Draw&) const = default;
    };

    HostModules modules;
    int buildTag;

    // api.dll
    std::vector<Registration> registered, unregistered;
    ZHostSimState simState{};
    double realFrameTime = 0;
    std::string flightsFolder = "C:\\Flights";
    std::vector<int32_t> fullScreenCalls;
    ZHostDevice device{};
    int32_t fullScreen = 0;
    int beginModal = 0, endModal = 0;
    uint32_t ticks = 0, tickMilliseconds = 0, apiIdles = 0, feIdles = 0;
    uintptr_t menuAnchor = 0;
    uint32_t hostWord = 7;
    double frameTimeA = 0, frameTimeB = 0;
    // main.dll, simscheduler.dll, fs-traffic.dll
    uint8_t options[ZHOST_OPTIONS_SIZE] = {};
    int optionsApplied = 0;
    ZHostDateTime dateTime{};
    uint32_t accumulatedTime = 0, rateWord = 0;
    double mainFrameTime = 0;
    uint32_t rate = 256;
    ZHostTrafficSettings traffic{};
    int trafficApplied = 0;
    ZHostSimGroupTable groupTable{};
    std::vector<ZHostSimGroup> groups;
    // sim1.dll: the user aircraft and its texts
    ZHostObject userAircraft{};
    std::string title = "Cessna 172", category = "Airplane";
    double referencePoint[3] = {0, 0, 0};
    double eyePoint[3] = {0, 0, 0};
    // g3d.dll: the tower position it answers, none when empty
    std::vector<double> tower;
    // window.dll, g2d.dll: views, cameras and texts. A view shows a camera once a test gives it one.
    ZHostView views[4] = {};
    ZHostCamera cameras[4] = {};
    ZHostView* mainView = &views[0];
    ZHostView* activeView = &views[0];
    struct CameraDefinition {
        ZHostCameraDefinition record;
        bool registered = false;
    };
    std::deque<CameraDefinition> definitions; // created, by the host or the module
    // The camera calls as "create NAME", "register NAME", "count", "get N", "select": each made
    // outside the camera manager's lock begins with "unlocked ".
    std::vector<std::string> cameraCalls;
    int cameraLockDepth = 0;
    std::vector<std::pair<ZHostView*, Guid::Bytes>> selects;
    int32_t selectAnswer = 1;
    std::vector<MessageLine> messageLines;
    std::vector<Draw> draws;
    std::vector<std::string> textResources; // resource n is element n - 1
    std::vector<uint32_t> freedTexts;

    // Adds a simulation group (the name must outlive the host) whose clock, at the host version's
    // byte, reads `clock`.
    void addGroup(const char* name, double clock);
    void setGroupClock(std::size_t group, double clock);

private:
    void publish(int versionIndex);
};

// A module started against a fake host, with a fresh host state and window system in each test.
// `events` hears every module event; its answer decides whether the event was handled.
class FakeHostTest : public TempLogTest {
protected:
    struct Event {
        int event;
        intptr_t a, b;
        std::string textA, textB; // for the events whose a and b are texts
        bool operator==(const Event&) const = default;
    };
    class EventLog : public IFScallback {
    public:
        int callback(int event, intptr_t a, intptr_t b, intptr_t c) override;
        std::vector<Event> seen;
        intptr_t lastC = 0; // the c of the event being answered (a pointer for some events)
        std::function<int(const Event&)> answer;
    };

    void SetUp() override;
    void TearDown() override;
    // The host at a version index, the module started against it with `events` listening.
    FakeHost& start(int versionIndex = 3);
    // A fresh module and window system, for tests that run through several hosts.
    void restart();
    std::vector<int> eventNumbers() const;

    std::optional<FakeHost> host;
    ZHostPanels panels{};
    EventLog events;
};
