// The module's start-up against a host, its shutdown and its failure clean-up.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "FakeHost.h"
#include "host/FSinterface.h"
#include "host/HostEventHandlers.h"
#include "host/HostState.h"
#include "host/ViewHooks.h"
#include "modules/HostNumbers.h"
#include "support/Errors.h"
#include "support/ShownMessageBoxes.h"

namespace {

using Registration = FakeHost::Registration;

// The handlers in the order the start-up registers them (host event number, handler).
const std::vector<Registration> kHandlers = {
    {16, HostEventHandlers::systemEvent}, {1, HostEventHandlers::frame},       {35, HostEventHandlers::afterFrame},
    {18, HostEventHandlers::viewDraw},    {1, HostEventHandlers::textRefresh}, {17, ViewHooks::cameraUpdate},
    {21, ViewHooks::viewPassStart},       {22, ViewHooks::viewPassEnd},        {9, ViewHooks::viewCommand},
    {36, HostEventHandlers::fixedStep},
};

// Each module with the number of its entries and data words (docs/host/numbers.md).
struct ModuleItems {
    const char* name;
    int entries;
    int words;
};
const ModuleItems kModules[] = {{"sim1.dll", 2, 0},         {"fs-traffic.dll", 3, 0}, {"main.dll", 4, 4},
                                {"simscheduler.dll", 3, 0}, {"api.dll", 8, 4},        {"acontain.dll", 3, 0},
                                {"flight.dll", 2, 0},       {"xuipc.dll", 0, 0},      {"window.dll", 10, 2},
                                {"g2d.dll", 2, 0},          {"g3d.dll", 4, 0},        {"fe.dll", 1, 0}};

template <typename T> const void* address(T pointer) { return reinterpret_cast<const void*>(pointer); }

class FSinterfaceStartupTest : public FakeHostTest {
protected:
    // init against a host that lacks what `withhold` takes away (or without the panel table) fails
    // with `text` and leaves nothing registered.
    void expectRefused(const std::function<void(FakeHost&)>& withhold, const std::string& text,
                       bool withPanels = true) {
        restart();
        host.emplace(HostVersion::accepted(2));
        withhold(*host);
        const auto e = thrown([&] { FSinterface::init(withPanels ? &panels : nullptr); });
        ASSERT_TRUE(e.has_value()) << text;
        EXPECT_EQ(ErrorCode::InitializationFailed, e->code);
        EXPECT_EQ(3u, e->severity);
        EXPECT_EQ("FSinterface::init", e->function);
        EXPECT_NE(std::string::npos, e->logText.find(text)) << e->logText;
        EXPECT_TRUE(host->registered.empty());
        EXPECT_EQ(std::string::npos, logText().find("DLL functions imported"));
    }
};

TEST_F(FSinterfaceStartupTest, StartsInOrderAtEveryAcceptedVersion) {
    for (int v = 0; v < HostVersion::kAccepted; ++v) {
        restart();
        Log::closeLog();
        events.answer = [&](const Event&) {
            // Start comes after the handlers are in place and before the last log line.
            EXPECT_EQ(kHandlers, host->registered);
            EXPECT_EQ(std::string::npos, logText().find("Initialization finished"));
            return 0;
        };
        start(v);
        const std::string log = logText();
        const std::vector<std::string> lines = {"FSX Version: " + HostVersion::accepted(v).text() + "\n",
                                                "DLL functions imported\n", "Callbacks registered\n",
                                                "Initialization finished\n"};
        std::size_t at = 0;
        for (const std::string& line : lines) {
            at = log.find(line, at);
            EXPECT_NE(std::string::npos, at) << line << " in order in\n" << log;
        }
        EXPECT_EQ(std::vector<int>{Start}, eventNumbers());
        EXPECT_EQ(v, hostState().versionIndex);
        EXPECT_EQ(v + 1, hostState().buildTag);
        EXPECT_EQ(&panels, hostState().panels);
    }
}

TEST_F(FSinterfaceStartupTest, BindsEveryItemAtTheHostsNumberForItsRole) {
    for (int v = 0; v < HostVersion::kAccepted; ++v) {
        restart();
        FakeHost& h = start(v);
        const HostBindings& b = hostState().bound;
        // Each module's items in the order of their roles.
        const auto expectRoles = [&](const char* module, const std::vector<const void*>& bound, bool words = false) {
            for (std::size_t role = 0; role < bound.size(); ++role) {
                const void* published =
                    words ? h.data(module, static_cast<int>(role)) : h.entry(module, static_cast<int>(role));
                EXPECT_EQ(published, bound[role]) << module << " role " << role << " at version index " << v;
            }
        };
        expectRoles("sim1.dll", {address(b.userObject), address(b.objectById)});
        expectRoles("fs-traffic.dll", {address(b.getTraffic), address(b.setTraffic), address(b.aiCreator)});
        expectRoles("main.dll",
                    {address(b.getOptions), address(b.setOptions), address(b.setDate), address(b.applyDateTime)});
        expectRoles("main.dll", {b.dateTime, b.accumulatedTime, b.rateWord, b.mainFrameTime}, true);
        expectRoles("simscheduler.dll", {address(b.simGroups), address(b.getRate), address(b.setRate)});
        expectRoles("api.dll",
                    {address(b.registerEvent), address(b.unregisterEvent), address(b.realFrameTime), address(b.folder),
                     address(b.setFullScreen), address(b.device), address(b.tick), address(b.apiIdle)});
        expectRoles("api.dll", {b.menuAnchor, b.hostWord, b.frameTimeA, b.frameTimeB}, true);
        expectRoles("acontain.dll", {address(b.userAircraft), address(b.removeObject), address(b.selectUserAircraft)});
        expectRoles("flight.dll", {address(b.saveFlight), b.loadFlight});
        expectRoles("window.dll", {address(b.showText), address(b.drawText), address(b.cameraCreate),
                                   address(b.cameraDestroy), address(b.cameraRegister), address(b.cameraUnregister),
                                   address(b.cameraCount), address(b.cameraGet), address(b.cameraLock),
                                   address(b.cameraSelect)});
        expectRoles("window.dll", {b.mainView, b.activeView}, true);
        expectRoles("g2d.dll", {address(b.textCreate), address(b.textFree)});
        expectRoles("g3d.dll", {address(b.groundElevation), address(b.positionQuery), address(b.objectMap),
                                address(b.towerPosition)});
        expectRoles("fe.dll", {address(b.feIdle)});
        const std::vector<const void*> xui = {
            address(b.xuiDynamicMenuCreate),          address(b.xuiElementAddChild),
            address(b.xuiDynamicMenuInvalidate),      address(b.xuiDynamicMenuAppendItem),
            address(b.xuiDynamicMenuAppendSeparator), address(b.xuiDynamicMenuRemoveItem),
            address(b.xuiDynamicMenuSetItemEnable),   address(b.xuiDynamicMenuSetItemText),
            address(b.xuiDynamicMenuSetItemCheck),    address(b.xuiMenuGetPositionForCommandId)};
        for (std::size_t i = 0; i < xui.size(); ++i)
            EXPECT_EQ(h.named(kXuiNames[i]), xui[i]) << kXuiNames[i];
        EXPECT_EQ(&h.simState, b.simState);
        EXPECT_EQ(v < 2 ? 19u : 20u, b.optionsWordIndex);
    }
}

TEST_F(FSinterfaceStartupTest, RefusesTheNeighboursOfEveryAcceptedVersion) {
    for (int v = 0; v < HostVersion::kAccepted; ++v)
        for (std::size_t part = 0; part < 4; ++part)
            for (int step : {-1, 1}) {
                HostVersion neighbour = HostVersion::accepted(v);
                if (neighbour.parts[part] == 0 && step < 0)
                    continue;
                neighbour.parts[part] = static_cast<uint16_t>(neighbour.parts[part] + step);
                restart();
                host.emplace(neighbour);
                const auto e = thrown([&] { FSinterface::init(&panels); });
                ASSERT_TRUE(e.has_value()) << neighbour.text();
                EXPECT_EQ(ErrorCode::NotCompatible, e->code);
                EXPECT_EQ(3u, e->severity);
                EXPECT_EQ(0u, e->logText.rfind("Critical Error: Unsupported FS version " + neighbour.text() + " [", 0))
                    << e->logText;
                EXPECT_TRUE(host->registered.empty());
                EXPECT_EQ(std::string::npos, logText().find("FSX Version: "));
            }
}

TEST_F(FSinterfaceStartupTest, EveryMissingPieceStopsTheStartWithItsText) {
    expectRefused([](FakeHost&) {}, "Panels pointer is NULL", false);
    EXPECT_NE(std::string::npos, logText().find("FSX Version: " + HostVersion::accepted(2).text()));

    for (const ModuleItems& m : kModules) {
        const std::string name = m.name;
        expectRefused([&](FakeHost& h) { h.modules.withholdModule(name); }, "Module handle is NULL");
        for (int role = 0; role < m.entries; ++role)
            expectRefused([&](FakeHost& h) { h.modules.module(name).withholdEntry(HostNumbers::entry(2, role)); },
                          "Function pointer is NULL");
        for (int role = 0; role < m.words; ++role)
            expectRefused([&](FakeHost& h) { h.modules.module(name).withholdData(HostNumbers::data(2, role)); },
                          "Global pointer is NULL");
    }
    for (const char* xui : kXuiNames)
        expectRefused([&](FakeHost& h) { h.modules.module("xuipc.dll").withholdNamedEntry(xui); },
                      "Function pointer is NULL");
    expectRefused([](FakeHost& h) { h.modules.module("api.dll").withholdExported("SimState"); },
                  "Global pointer is NULL");
}

TEST_F(FSinterfaceStartupTest, StopUnregistersInRegistrationOrderAndLeavesTheModuleInert) {
    FakeHost& h = start();
    FSinterface::setStatusText("REC", 1, 2);
    FSinterface::stop();
    EXPECT_TRUE(FSinterface::isStopping());
    EXPECT_EQ((std::vector<int>{Start, Stop}), eventNumbers());
    EXPECT_EQ(kHandlers, h.unregistered);
    EXPECT_EQ(std::vector<uint32_t>{1}, h.freedTexts);
    EXPECT_EQ(0u, hostState().statusTextResource);
}

TEST_F(FSinterfaceStartupTest, AListenerFailureDisablesTheModule) {
    FakeHost& h = start();
    events.answer = [](const Event& e) -> int {
        if (e.event == Frame)
            throw std::runtime_error("broken");
        return 0;
    };
    h.raise(ZHOST_EVENT_FRAME);
    EXPECT_EQ(1u, shownMessageBoxes().size());
    EXPECT_EQ((std::vector<int>{Start, Frame, Stop}), eventNumbers());
    EXPECT_EQ(kHandlers, h.unregistered);
    EXPECT_EQ(0u, hostState().listeners.size());
    EXPECT_FALSE(FSinterface::isStopping());
}

TEST_F(FSinterfaceStartupTest, TheCleanUpAfterAFailedStartSilencesTheListeners) {
    host.emplace(HostVersion::accepted(1));
    FSinterface::addCallback(&events);
    EXPECT_TRUE(thrown([&] { FSinterface::init(nullptr); }).has_value());
    FSinterface::failureCleanup();
    EXPECT_EQ(std::vector<int>{Stop}, eventNumbers());
    EXPECT_TRUE(host->unregistered.empty());
    EXPECT_EQ(0, FSinterface::callback(Frame));
    EXPECT_EQ(std::vector<int>{Stop}, eventNumbers());
    EXPECT_FALSE(FSinterface::isStopping());
}

} // namespace
