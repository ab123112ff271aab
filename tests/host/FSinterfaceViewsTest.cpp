// The module's side of the host's views: the view list the passes keep, the camera a listener
// writes, the host's view commands as camera events, and the module's camera definitions.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "FakeHost.h"
#include "host/CameraView.h"
#include "host/FSinterface.h"
#include "host/HostState.h"

namespace {

const char* const kVc = "e6a39dec-944b-464b-8904-877f049ef90a";
const char* const kTower = "3779b7b2-8bd5-45d0-85aa-57f39be5b557";
const char* const kSpot = "d62f42c1-1d8a-4fb6-a03b-9eac8f84d29a";

Guid::Bytes bytesOf(const char* text) { return Guid::parse(text)->toBytes(); }

class FSinterfaceViewsTest : public FakeHostTest {
protected:
    // The host's views 0 .. n-1 with cameras showing `identifier`.
    void giveCameras(FakeHost& h, std::size_t n, const char* identifier = "00000000-0000-0000-0000-000000000001") {
        for (std::size_t i = 0; i < n; ++i) {
            h.views[i].camera = &h.cameras[i];
            const Guid::Bytes id = bytesOf(identifier);
            std::copy(id.begin(), id.end(), h.cameras[i].identifier);
        }
    }
    // One pass over the views given, in that order.
    void pass(FakeHost& h, std::initializer_list<ZHostView*> views) {
        h.raise(ZHOST_EVENT_VIEW_PASS_START);
        for (ZHostView* view : views)
            h.raise(ZHOST_EVENT_CAMERA_UPDATE, reinterpret_cast<uintptr_t>(view));
        h.raise(ZHOST_EVENT_VIEW_PASS_END);
    }
    static Event event(int number, intptr_t a, intptr_t b = 0) { return {number, a, b, {}, {}}; }
    // The events of the view list, camera updates left out.
    std::vector<Event> viewEvents() const {
        std::vector<Event> kept;
        for (const Event& e : events.seen)
            if (e.event == ViewAdded || e.event == ViewRemoved || e.event == ActiveViewChanged)
                kept.push_back(e);
        return kept;
    }
};

TEST_F(FSinterfaceViewsTest, TheViewListFollowsThePassesAndTheActiveView) {
    FakeHost& h = start();
    giveCameras(h, 3);
    ZHostView *v0 = &h.views[0], *v1 = &h.views[1], *v2 = &h.views[2], *noCamera = &h.views[3];
    events.seen.clear();

    pass(h, {v0, noCamera, v1});
    EXPECT_EQ((std::vector<Event>{event(ViewAdded, 0), event(ActiveViewChanged, 0, -1), event(ViewAdded, 1)}),
              viewEvents());
    EXPECT_EQ(2u, hostState().views.size());

    // The active view moves to a view announced in the same pass.
    events.seen.clear();
    h.activeView = v2;
    pass(h, {v0, v1, v2});
    EXPECT_EQ((std::vector<Event>{event(ViewAdded, 2), event(ActiveViewChanged, 2, 0)}), viewEvents());

    // A view before the active one goes: the active index follows without a change event.
    events.seen.clear();
    pass(h, {v1, v2});
    EXPECT_EQ((std::vector<Event>{event(ViewRemoved, 0)}), viewEvents());
    EXPECT_EQ(1, hostState().activeView);
    ASSERT_EQ(2u, hostState().views.size());
    EXPECT_EQ(v1, hostState().views[0].view);

    // The active view goes, with a caption the host drew for it: the change before the removal,
    // and the caption's text freed.
    FSinterface::setViewCaption("Tower", 3, 10, 20, -1);
    const uint32_t caption = hostState().views[1].textResource;
    ASSERT_NE(0u, caption);
    events.seen.clear();
    pass(h, {v1});
    EXPECT_EQ((std::vector<Event>{event(ActiveViewChanged, -1, 1), event(ViewRemoved, 1)}), viewEvents());
    EXPECT_EQ(-1, hostState().activeView);
    EXPECT_EQ(std::vector<uint32_t>{caption}, h.freedTexts);

    // Several views gone in one pass are removed from the last to the first.
    h.activeView = v1;
    pass(h, {v1, v0, v2});
    events.seen.clear();
    pass(h, {v0});
    EXPECT_EQ((std::vector<Event>{event(ViewRemoved, 2), event(ActiveViewChanged, -1, 0), event(ViewRemoved, 0)}),
              viewEvents());
}

TEST_F(FSinterfaceViewsTest, AListenersCameraIsWrittenIntoTheHostCameraOfItsKind) {
    FakeHost& h = start();
    h.referencePoint[0] = 0.25;
    h.referencePoint[1] = -1.5;
    h.referencePoint[2] = 100000.1;
    struct Case {
        const char* identifier;
        int kind;
    };
    for (const Case c : {Case{kVc, 1}, Case{kTower, 2}, Case{kSpot, 3}, Case{"5a1e7c40-014f-4c8a-9d51-0b3e6f21c401", 0}}) {
        SCOPED_TRACE(c.identifier);
        giveCameras(h, 1, c.identifier);
        ZHostCamera& camera = h.cameras[0];
        std::fill(std::begin(camera.motion), std::end(camera.motion), 7u);

        // Nobody answers: the host's camera is left alone.
        bool zeroed = false;
        events.answer = [&](const Event& e) {
            if (e.event != CameraUpdate)
                return 0;
            EXPECT_EQ(0, e.a);
            EXPECT_EQ(c.kind, e.b);
            return 0;
        };
        pass(h, {&h.views[0]});
        EXPECT_EQ(7u, camera.motion[0]);

        // An answer writes it: the eye's place by kind, angles, the zoom twice, no host motion.
        events.answer = [&](const Event& e) {
            if (e.event != CameraUpdate)
                return 0;
            auto& view = *reinterpret_cast<CameraView*>(events.lastC);
            zeroed = view.latitude == 0 && view.x == 0 && view.zoom == 0;
            view = CameraView{0.8, 0.15, 1200.5, 1.5f, 2.0f, 3.0f, 0.1f, -0.2f, 3.0f, 2.5f};
            return 1;
        };
        pass(h, {&h.views[0]});
        EXPECT_TRUE(zeroed);
        if (c.kind == 1) {
            EXPECT_EQ(1.5f - 0.25f, camera.offset[0]);
            EXPECT_EQ(2.0f - -1.5f, camera.offset[1]);
            EXPECT_EQ(3.0f - 100000.1f, camera.offset[2]);
            EXPECT_EQ(0.0, camera.worldPosition[0]);
        } else {
            EXPECT_EQ(0.8, camera.worldPosition[0]);
            EXPECT_EQ(0.15, camera.worldPosition[1]);
            EXPECT_EQ(1200.5, camera.worldPosition[2]);
            EXPECT_EQ(0.0f, camera.offset[0]);
        }
        EXPECT_EQ(0.1f, camera.angles[0]);
        EXPECT_EQ(-0.2f, camera.angles[1]);
        EXPECT_EQ(3.0f, camera.angles[2]);
        EXPECT_EQ(2.5f, camera.zoom[0]);
        EXPECT_EQ(2.5f, camera.zoom[1]);
        for (uint32_t word : camera.motion)
            EXPECT_EQ(0u, word);
        camera = ZHostCamera{};
    }
}

// Every view command of the host with the camera event it becomes.
struct CommandCase {
    uint32_t number;
    int32_t value;
    int event;
    float x, y, z; // the vector, or a float value in x
    int axis;
};

constexpr float kPi = 3.14159265f;
const float kSin30 = 0.5f, kCos30 = 0.8660254f;
const CommandCase kCommandCases[] = {
    {0x103DC, 0, EyeMove, 0, 1, 0, 0},
    {0x103DD, 0, EyeMove, 0, -1, 0, 0},
    {0x103DE, 0, EyeMove, 1, 0, 0, 0},
    {0x103DF, 0, EyeMove, -1, 0, 0, 0},
    {0x103E0, 0, EyeMove, 0, 0, 1, 0},
    {0x103E1, 0, EyeMove, 0, 0, -1, 0},
    {0x103E2, 0, EyeMove, 0, 0, 0, 0},
    {0x1008A, 0, ViewDirection, 0, 0, 1, 0},
    {0x1008B, 0, ViewDirection, 1, 0, 1, 0},
    {0x1008C, 0, ViewDirection, 1, 0, 0, 0},
    {0x1008D, 0, ViewDirection, 1, 0, -1, 0},
    {0x1008E, 0, ViewDirection, 0, 0, -1, 0},
    {0x1008F, 0, ViewDirection, -1, 0, -1, 0},
    {0x10090, 0, ViewDirection, -1, 0, 0, 0},
    {0x10091, 0, ViewDirection, -1, 0, 1, 0},
    {0x10092, 0, ViewDirection, 0, -1, 0, 0},
    {0x10259, 0, ViewDirection, 0, 1, 1, 0},
    {0x1025A, 0, ViewDirection, 1, 1, 1, 0},
    {0x1025B, 0, ViewDirection, 1, 1, 0, 0},
    {0x1025C, 0, ViewDirection, 1, 1, -1, 0},
    {0x1025D, 0, ViewDirection, 0, 1, -1, 0},
    {0x1025E, 0, ViewDirection, -1, 1, -1, 0},
    {0x1025F, 0, ViewDirection, -1, 1, 0, 0},
    {0x10260, 0, ViewDirection, -1, 1, 1, 0},
    {0x10261, 0, ViewDirection, 0, 1, 0, 0},
    {0x10087, 0, PanDirection, 0, 0, -1, 0},
    {0x10088, 0, PanDirection, 0, 0, 1, 0},
    {0x100C6, 0, PanDirection, -1, 0, 0, 0},
    {0x100C7, 0, PanDirection, 1, 0, 0, 0},
    {0x1013E, 0, PanDirection, -1, 0, -1, 0},
    {0x1013F, 0, PanDirection, 1, 0, -1, 0},
    {0x10140, 0, PanDirection, -1, 0, 1, 0},
    {0x10141, 0, PanDirection, 1, 0, 1, 0},
    {0x10151, 0, PanDirection, 0, 1, 0, 0},
    {0x10152, 0, PanDirection, 0, -1, 0, 0},
    {0x10153, 0, PanDirection, 0, 0, 0, 0},
    {0x10370, 0, PanDirection, 0, 0, 1, 0},
    {0x10370, 30, PanDirection, -kSin30, 0, kCos30, 0},
    {0x10370, 270, PanDirection, 1, 0, 0, 0},
    {0x103C7, 8192, PanAxis, kPi / 4, 0, 0, 0},
    {0x103C9, -4096, PanAxis, -kPi / 4, 0, 0, 1},
    {0x103C8, 16384, PanAxis, -kPi, 0, 0, 2},
    {0x1000E, 0, Zoom, 0, 0, 0, 0},
    {0x10077, 0, Zoom, 0.9f, 0, 0, 0},
    {0x10078, 0, Zoom, 1.1111111f, 0, 0, 0},
    {0x10086, 0, Zoom, 1.0108893f, 0, 0, 0},
    {0x100DA, 0, Zoom, 1.0108893f, 0, 0, 0},
    {0x10089, 0, Zoom, 0.9892280f, 0, 0, 0},
    {0x100DB, 0, Zoom, 0.9892280f, 0, 0, 0},
    {0x100B6, 0, Zoom, 0.70710678f, 0, 0, 0},
    {0x100B7, 0, Zoom, 1.4142136f, 0, 0, 0},
};

TEST_F(FSinterfaceViewsTest, EveryViewCommandBecomesItsCameraEventAndAnAnswerConsumesIt) {
    FakeHost& h = start();
    for (const CommandCase& c : kCommandCases)
        for (const bool answered : {false, true}) {
            SCOPED_TRACE(std::to_string(c.number) + " value " + std::to_string(c.value));
            float seen[3] = {-9, -9, -9};
            events.seen.clear();
            events.answer = [&](const Event& e) {
                const auto* values = reinterpret_cast<const float*>(e.a);
                const bool vector = e.event == EyeMove || e.event == ViewDirection || e.event == PanDirection;
                std::copy(values, values + (vector ? 3 : 1), seen);
                return answered ? 1 : 0;
            };
            ZHostCommand command{c.value, 0};
            h.raise(ZHOST_EVENT_COMMAND, c.number, reinterpret_cast<uintptr_t>(&command));
            ASSERT_EQ(1u, events.seen.size());
            EXPECT_EQ(c.event, events.seen[0].event);
            EXPECT_NEAR(c.x, seen[0], 1e-6);
            if (c.event == PanAxis) {
                EXPECT_EQ(c.axis, events.seen[0].b);
            } else if (c.event != Zoom) {
                EXPECT_NEAR(c.y, seen[1], 1e-6);
                EXPECT_NEAR(c.z, seen[2], 1e-6);
            }
            EXPECT_EQ(answered ? 1u : 0u, command.consumed);
        }

    // Not a view command, or a pan to a negative angle: nothing to hear, nothing consumed.
    events.answer = [](const Event&) { return 1; };
    for (const auto& [number, value] : {std::pair<uint32_t, int32_t>{0x10000, 0}, {0x10370, -1}, {0x103E3, 0}}) {
        events.seen.clear();
        ZHostCommand command{value, 0};
        h.raise(ZHOST_EVENT_COMMAND, number, reinterpret_cast<uintptr_t>(&command));
        EXPECT_TRUE(events.seen.empty()) << number;
        EXPECT_EQ(0u, command.consumed);
    }
}

// The module's three definitions as the host got them.
void expectModuleDefinitions(const FakeHost& h) {
    struct Expected {
        const char* name;
        const char* identifier;
        uint32_t cycle, kind0, kind1;
    };
    const Expected expected[] = {
        {"Zephrel VC", kVc, 2, 0, 3}, {"Zephrel Tower", kTower, 6, 3, 1}, {"Zephrel Spot", kSpot, 6, 3, 1}};
    ASSERT_EQ(3u, h.definitions.size());
    for (std::size_t i = 0; i < 3; ++i) {
        const ZHostCameraDefinition& d = h.definitions[i].record;
        EXPECT_STREQ(expected[i].name, d.name);
        EXPECT_EQ(0, std::memcmp(bytesOf(expected[i].identifier).data(), d.identifier, 16));
        // Copied out of the packed record before they are compared.
        const uint32_t fields[] = {d.category, d.origin, d.cycle, d.viewKind[0], d.viewKind[1]};
        EXPECT_EQ((std::vector<uint32_t>{1, 8, expected[i].cycle, expected[i].kind0, expected[i].kind1}),
                  std::vector<uint32_t>(std::begin(fields), std::end(fields)));
        for (uint8_t s : d.switches)
            EXPECT_EQ(1, s);
        EXPECT_EQ(1, d.bytes[0]);
        EXPECT_EQ(1, d.bytes[1]);
        EXPECT_TRUE(h.definitions[i].registered);
    }
    EXPECT_EQ((std::vector<std::string>{"create Zephrel VC", "register Zephrel VC", "create Zephrel Tower",
                                        "register Zephrel Tower", "create Zephrel Spot", "register Zephrel Spot"}),
              h.cameraCalls);
    EXPECT_EQ(0, h.cameraLockDepth);
}

TEST_F(FSinterfaceViewsTest, TheCameraDefinitionsAreRegisteredOnceAtStartOrWhenTheFirstHostHasItsViews) {
    for (int v = 0; v < HostVersion::kAccepted; ++v)
        for (const bool disabled : {false, true}) {
            SCOPED_TRACE("version index " + std::to_string(v) + (disabled ? " without cameras" : ""));
            restart();
            FSinterface::setCamerasDisabled(disabled);
            FakeHost& h = start(v);
            if (v == 0) {
                EXPECT_TRUE(h.cameraCalls.empty());
            }
            for (int twice = 0; twice < 2; ++twice)
                h.raise(ZHOST_EVENT_SYSTEM, ZHOST_SYSTEM_VIEWS_READY);
            if (disabled) {
                EXPECT_TRUE(h.cameraCalls.empty());
            } else {
                expectModuleDefinitions(h);
            }
        }
}

TEST_F(FSinterfaceViewsTest, TheHostsCamerasAreReadAndSelectedInsideTheLock) {
    FakeHost& h = start();
    giveCameras(h, 2, kTower);
    h.cameraCalls.clear();

    EXPECT_EQ(3u, FSinterface::getCameraCount());
    std::string title;
    Guid guid{};
    ASSERT_TRUE(FSinterface::getCamera(1, title, guid));
    EXPECT_EQ("Zephrel Tower", title);
    EXPECT_EQ(kTower, guid.toString());
    EXPECT_FALSE(FSinterface::getCamera(3, title, guid));

    h.activeView = &h.views[1];
    ASSERT_TRUE(FSinterface::getActiveCamera(guid));
    EXPECT_EQ(kTower, guid.toString());

    EXPECT_TRUE(FSinterface::selectModuleCamera(3));
    h.selectAnswer = 0;
    EXPECT_FALSE(FSinterface::selectCamera(*Guid::parse(kVc)));
    EXPECT_FALSE(FSinterface::selectModuleCamera(0));
    const std::vector<std::pair<ZHostView*, Guid::Bytes>> selects = {{&h.views[1], bytesOf(kSpot)},
                                                                      {&h.views[1], bytesOf(kVc)}};
    EXPECT_EQ(selects, h.selects);
    EXPECT_EQ((std::vector<std::string>{"count", "get 1", "get 3", "select", "select"}), h.cameraCalls);
    EXPECT_EQ(0, h.cameraLockDepth);

    h.activeView = nullptr;
    EXPECT_FALSE(FSinterface::getActiveCamera(guid));
    EXPECT_FALSE(FSinterface::selectCamera(*Guid::parse(kVc)));
}

TEST_F(FSinterfaceViewsTest, TheCamerasAskTheHostForTheEyePointAndTheTower) {
    FakeHost& h = start();
    h.eyePoint[0] = -0.4;
    h.eyePoint[1] = 1.2;
    h.eyePoint[2] = 2.5;
    double point[3];
    FSinterface::getUserEyePoint(point);
    EXPECT_EQ(-0.4, point[0]);
    EXPECT_EQ(1.2, point[1]);
    EXPECT_EQ(2.5, point[2]);

    double tower[3];
    EXPECT_FALSE(FSinterface::getTowerPosition(tower));
    h.tower = {47.46, 8.55, 470};
    ASSERT_TRUE(FSinterface::getTowerPosition(tower));
    EXPECT_EQ(h.tower, std::vector<double>(tower, tower + 3));
}

} // namespace
