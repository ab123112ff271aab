#include "FakeHost.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "alerts/HostWindow.h"
#include "host/FSinterface.h"
#include "host/HostEventHandlers.h"
#include "host/HostState.h"
#include "modules/HostNumbers.h"
#include "winsys/HeadlessScript.h"

namespace {

FakeHost* installed = nullptr;
FakeHost& host() { return FakeHost::current(); }

int32_t getText(ZHostObject*, uint32_t property, char* buffer, uint32_t size) {
    HostNumbers::Property p{};
    if (!HostNumbers::propertyOf(host().buildTag, property, p))
        return 1;
    const std::string* text = p == HostNumbers::Property::Title      ? &host().title
                              : p == HostNumbers::Property::Category ? &host().category
                                                                     : nullptr;
    if (text == nullptr)
        return 1;
    std::snprintf(buffer, size, "%s", text->c_str());
    return 0;
}
int32_t getDoubles(ZHostObject*, uint32_t property, double out[3]) {
    HostNumbers::Property p{};
    if (!HostNumbers::propertyOf(host().buildTag, property, p))
        return 1;
    const double* values = p == HostNumbers::Property::ReferencePoint ? host().referencePoint
                           : p == HostNumbers::Property::EyePoint     ? host().eyePoint
                                                                      : nullptr;
    if (values == nullptr)
        return 1;
    std::copy(values, values + 3, out);
    return 0;
}
ZHostObjectOps userOps() {
    ZHostObjectOps ops{};
    ops.getText = getText;
    ops.getDoubles = getDoubles;
    return ops;
}
const ZHostObjectOps kUserOps = userOps();

int32_t isFullScreen(ZHostDevice*) { return host().fullScreen; }
void beginModal(ZHostDevice*) { ++host().beginModal; }
void endModal(ZHostDevice*) { ++host().endModal; }
const ZHostDeviceOps kDeviceOps = {isFullScreen, beginModal, endModal};

ZHostObject* userObject() { return &host().userAircraft; }
void getTraffic(ZHostTrafficSettings* settings) { *settings = host().traffic; }
void setTraffic(const ZHostTrafficSettings* settings) {
    host().traffic = *settings;
    ++host().trafficApplied;
}
uint8_t* getOptions() { return host().options; }
void setOptions(const uint8_t options[ZHOST_OPTIONS_SIZE]) {
    std::memcpy(host().options, options, ZHOST_OPTIONS_SIZE);
    ++host().optionsApplied;
}
ZHostSimGroupTable* simGroups() { return &host().groupTable; }
uint32_t getRate() { return host().rate; }
void setRate(uint32_t rate) { host().rate = rate; }
int32_t registerEvent(uint32_t event, ZHostEventHandler handler) {
    host().registered.push_back({event, handler});
    return 0;
}
int32_t unregisterEvent(uint32_t event, ZHostEventHandler handler) {
    host().unregistered.push_back({event, handler});
    return 0;
}
double currentRealFrameTime() { return host().realFrameTime; }
int32_t folder(uint32_t number, char path[260]) {
    if (number != ZHOST_FOLDER_FLIGHTS)
        return 1;
    std::snprintf(path, 260, "%s", host().flightsFolder.c_str());
    return 0;
}
void setFullScreen(int32_t on) { host().fullScreenCalls.push_back(on); }
ZHostDevice* currentDevice() { return &host().device; }
void tick(uint32_t milliseconds) {
    ++host().ticks;
    host().tickMilliseconds += milliseconds;
}
void apiIdle() { ++host().apiIdles; }
void feIdle() { ++host().feIdles; }
void showText(const char* text, int32_t kind, uint32_t ticks) { host().messageLines.push_back({text, kind, ticks}); }
void drawText(ZHostView* view, uint32_t resource, uint32_t x, uint32_t y, uint32_t mode) {
    host().draws.push_back({view, host().textResources.at(resource - 1), x, y, mode, host().device.drawView});
}
uint32_t textCreate(const char* text) {
    host().textResources.emplace_back(text);
    return static_cast<uint32_t>(host().textResources.size());
}
void textFree(uint32_t resource) { host().freedTexts.push_back(resource); }
int32_t towerPosition(double out[3]) {
    if (host().tower.size() != 3)
        return 1;
    std::copy(host().tower.begin(), host().tower.end(), out);
    return 0;
}

void cameraCall(const std::string& call) {
    host().cameraCalls.push_back(host().cameraLockDepth > 0 ? call : "unlocked " + call);
}
void* cameraCreate(const ZHostCameraDefinition* record) {
    cameraCall(std::string("create ") + record->name);
    return &host().definitions.emplace_back(FakeHost::CameraDefinition{*record, false});
}
void cameraDestroy(void*) { cameraCall("destroy"); }
int32_t cameraRegister(void* definition) {
    auto* d = static_cast<FakeHost::CameraDefinition*>(definition);
    cameraCall(std::string("register ") + d->record.name);
    d->registered = true;
    return 1;
}
int32_t cameraUnregister(void*) {
    cameraCall("unregister");
    return 1;
}
uint32_t cameraCount() {
    cameraCall("count");
    return static_cast<uint32_t>(host().definitions.size());
}
const ZHostCameraDefinition* cameraGet(uint32_t index) {
    cameraCall("get " + std::to_string(index));
    return index < host().definitions.size() ? &host().definitions[index].record : nullptr;
}
void cameraLock(int32_t enter) { host().cameraLockDepth += enter != 0 ? 1 : -1; }
int32_t cameraSelect(ZHostView* view, const uint8_t identifier[16]) {
    cameraCall("select");
    Guid::Bytes bytes;
    std::copy(identifier, identifier + bytes.size(), bytes.begin());
    host().selects.emplace_back(view, bytes);
    return host().selectAnswer;
}

template <typename F> void* address(F* function) { return reinterpret_cast<void*>(function); }

// Entries the tests never call are distinct addresses, so that a number swapped between two
// roles still shows.
char uncalled[32];
void* uncalledEntry(int slot) { return &uncalled[slot]; }

} // namespace

FakeHost::FakeHost(const HostVersion& version) : modules(version), buildTag(version.index().value_or(3) + 1) {
    userAircraft.ops = &kUserOps;
    device.ops = &kDeviceOps;
    publish(buildTag - 1);
    modules.install();
    installed = this;
}

FakeHost::~FakeHost() {
    if (installed == this)
        installed = nullptr;
}

FakeHost& FakeHost::current() { return *installed; }

void FakeHost::publish(int versionIndex) {
    namespace N = HostNumbers;
    const auto entries = [&](const char* module, std::initializer_list<void*> functions) {
        int role = 0;
        for (void* f : functions)
            modules.module(module).setEntry(N::entry(versionIndex, role++), f);
    };
    const auto words = [&](const char* module, std::initializer_list<void*> items) {
        int role = 0;
        for (void* item : items)
            modules.module(module).setData(N::data(versionIndex, role++), item);
    };
    entries("sim1.dll", {address(userObject), uncalledEntry(0)});
    entries("fs-traffic.dll", {address(getTraffic), address(setTraffic), uncalledEntry(1)});
    entries("main.dll", {address(getOptions), address(setOptions), uncalledEntry(2), uncalledEntry(3)});
    words("main.dll", {&dateTime, &accumulatedTime, &rateWord, &mainFrameTime});
    entries("simscheduler.dll", {address(simGroups), address(getRate), address(setRate)});
    entries("api.dll",
            {address(registerEvent), address(unregisterEvent), address(currentRealFrameTime), address(folder),
             address(setFullScreen), address(currentDevice), address(tick), address(apiIdle)});
    words("api.dll", {&menuAnchor, &hostWord, &frameTimeA, &frameTimeB});
    modules.module("api.dll").setExported("SimState", &simState);
    entries("acontain.dll", {uncalledEntry(4), uncalledEntry(5), uncalledEntry(6)});
    entries("flight.dll", {uncalledEntry(7), uncalledEntry(8)});
    int slot = 9;
    for (const char* name : kXuiNames)
        modules.module("xuipc.dll").setNamedEntry(name, uncalledEntry(slot++));
    entries("window.dll", {address(showText), address(drawText), address(cameraCreate), address(cameraDestroy),
                           address(cameraRegister), address(cameraUnregister), address(cameraCount), address(cameraGet),
                           address(cameraLock), address(cameraSelect)});
    words("window.dll", {&mainView, &activeView});
    entries("g2d.dll", {address(textCreate), address(textFree)});
    entries("g3d.dll", {uncalledEntry(19), uncalledEntry(20), uncalledEntry(21), address(towerPosition)});
    entries("fe.dll", {address(feIdle)});
    groupTable.rateWords[0] = 256;
    groupTable.rateWords[1] = 1024;
}

void* FakeHost::entry(const std::string& module, int role) {
    return modules.module(module).entry(HostNumbers::entry(buildTag - 1, role));
}

void* FakeHost::data(const std::string& module, int role) {
    return modules.module(module).data(HostNumbers::data(buildTag - 1, role));
}

void* FakeHost::named(const std::string& name) { return modules.module("xuipc.dll").namedEntry(name); }

void FakeHost::raise(uint32_t event, uintptr_t a, uintptr_t b) {
    std::vector<Registration> active = registered;
    for (const Registration& gone : unregistered)
        std::erase(active, gone);
    for (const Registration& r : active)
        if (r.event == event)
            r.handler(event, a, b);
}

void FakeHost::addGroup(const char* name, double clock) {
    groups.push_back(ZHostSimGroup{name, {}});
    groupTable.groups = groups.data();
    groupTable.count = static_cast<uint32_t>(groups.size());
    setGroupClock(groups.size() - 1, clock);
}

void FakeHost::setGroupClock(std::size_t group, double clock) {
    // Byte 20 of the entry on the older hosts, 28 on the newer; the name takes the first 8.
    const std::size_t at = buildTag <= 3 ? 12 : 20;
    std::memcpy(groups[group].fields + at, &clock, sizeof clock);
}

int FakeHostTest::EventLog::callback(int event, intptr_t a, intptr_t b, intptr_t c) {
    lastC = c;
    Event e{event, a, b, {}, {}};
    if (event == FlightLoaded || event == FlightSaved || event == AircraftLoaded)
        e.textA = reinterpret_cast<const char*>(a);
    if (event == AircraftLoaded)
        e.textB = reinterpret_cast<const char*>(b);
    seen.push_back(e);
    return answer ? answer(e) : 0;
}

void FakeHostTest::SetUp() {
    TempLogTest::SetUp();
    restart();
}

void FakeHostTest::TearDown() {
    FSinterface::unhookMainWindow();
    restart();
    TempLogTest::TearDown();
}

void FakeHostTest::restart() {
    hostState() = HostState();
    host.reset();
    events.seen.clear();
    HostEventHandlers::setClock(nullptr);
    HostWindow::setModalHook(nullptr);
    win::headless::reset();
}

FakeHost& FakeHostTest::start(int versionIndex) {
    host.emplace(HostVersion::accepted(versionIndex));
    FSinterface::addCallback(&events);
    FSinterface::init(&panels);
    return *host;
}

std::vector<int> FakeHostTest::eventNumbers() const {
    std::vector<int> numbers;
    for (const Event& e : events.seen)
        numbers.push_back(e.event);
    return numbers;
}
