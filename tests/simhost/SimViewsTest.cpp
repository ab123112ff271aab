// The simulator's views: opened, closed and made active at run time; their cameras, the camera
// definitions add-ons register through window.dll under the camera manager's lock, and the view
// pass in which an add-on moves a view's camera by writing its record.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "SimulatorFixture.h"
#include "services/OwnCameras.h"
#include "services/SimViews.h"
#include "winsys/HeadlessScript.h"
#include "winsys/Pixels.h"
#include "winsys/WindowApi.h"
#include "world/Aircraft.h"
#include "world/Earth.h"

namespace {

using namespace HostNumbers;

// What a test add-on does in the view pass: the events it sees, and a camera it writes.
struct PassWatcher {
    static inline std::vector<std::pair<uint32_t, ZHostView*>> seen;
    static inline ZHostView* moved = nullptr;
    static inline ZHostCamera written{};

    static void handler(uint32_t event, uintptr_t a, uintptr_t) {
        auto* view = reinterpret_cast<ZHostView*>(a);
        seen.emplace_back(event, view);
        if (event == ZHOST_EVENT_CAMERA_UPDATE && view == moved) {
            std::memcpy(view->camera->worldPosition, written.worldPosition, sizeof written.worldPosition);
            std::memcpy(view->camera->offset, written.offset, sizeof written.offset);
            std::memcpy(view->camera->angles, written.angles, sizeof written.angles);
            view->camera->zoom[0] = view->camera->zoom[1] = written.zoom[0];
            std::fill(std::begin(view->camera->motion), std::end(view->camera->motion), 0u);
        }
    }
};

class SimViewsTest : public ::testing::Test {
protected:
    SimViewsTest() {
        f.sim->setClientSize(300, 240);
        f.sim->createViews();
        PassWatcher::seen.clear();
        PassWatcher::moved = nullptr;
    }

    SimViews& views() { return f.sim->views(); }
    template <typename Fn> Fn window(int role) const { return f.entry<Fn>("window.dll", role); }

    SimulatorFixture f{3};
};

TEST_F(SimViewsTest, ViewsOpenAsInsetsCloseAndTakeTurnsBeingActive) {
    ASSERT_EQ(1u, views().count());
    ZHostView** mainWord = f.data<ZHostView*>("window.dll", Window::MainView);
    ZHostView** active = f.data<ZHostView*>("window.dll", Window::ActiveView);
    ASSERT_TRUE(mainWord != nullptr && active != nullptr);
    ZHostView* main = *mainWord;
    EXPECT_EQ(views().record(0), main);
    EXPECT_EQ(main, *active);
    ASSERT_TRUE(f.sim->openView());
    ASSERT_TRUE(f.sim->openView());
    ASSERT_EQ(3u, views().count());
    // A view window of the simulator's view class, in the main window, a third of its size.
    const win::HWND inset = views().window(2);
    EXPECT_EQ(f.sim->mainWindow(), win::GetParent(inset));
    EXPECT_EQ("FS98CHILD", win::GetClassName(inset));
    win::RECT place{};
    win::GetClientRect(inset, &place);
    EXPECT_EQ(100, place.right);
    EXPECT_EQ(80, place.bottom);

    ASSERT_TRUE(f.sim->activateView(2));
    EXPECT_EQ(views().record(2), *active);
    EXPECT_FALSE(f.sim->activateView(3));
    EXPECT_FALSE(f.sim->closeView(0)) << "the main view stays";
    ASSERT_TRUE(f.sim->closeView(1));
    EXPECT_FALSE(win::IsWindow(views().window(5)));
    EXPECT_EQ(2u, views().count());
    EXPECT_EQ(1u, views().active()) << "the active view keeps being active under its new index";
    EXPECT_EQ(inset, views().window(1));
    ASSERT_TRUE(f.sim->closeView(1));
    EXPECT_FALSE(win::IsWindow(inset));
    EXPECT_EQ(main, *active) << "the main view takes over";
    for (std::size_t i = 0; i < SimViews::kMaxViews - 1; ++i)
        ASSERT_TRUE(f.sim->openView());
    EXPECT_FALSE(f.sim->openView()) << "no more than " << SimViews::kMaxViews;
}

TEST_F(SimViewsTest, AddOnsRegisterCameraDefinitionsInsideTheLockAndSelectThemByIdentifier) {
    const auto lock = window<ZHostCameraLockFn>(Window::CameraLock);
    const auto create = window<ZHostCameraDefinitionCreateFn>(Window::CameraCreate);
    const auto registerIt = window<ZHostCameraDefinitionRegisterFn>(Window::CameraRegister);
    const auto unregister = window<ZHostCameraDefinitionUnregisterFn>(Window::CameraUnregister);
    const auto destroy = window<ZHostCameraDefinitionDestroyFn>(Window::CameraDestroy);
    const auto count = window<ZHostCameraDefinitionCountFn>(Window::CameraCount);
    const auto get = window<ZHostCameraDefinitionGetFn>(Window::CameraGet);
    const auto select = window<ZHostCameraSelectFn>(Window::CameraSelect);
    ZHostCameraDefinition record{};
    std::strcpy(record.name, "Zephrel Tower");
    std::memset(record.identifier, 0x37, sizeof record.identifier);
    record.viewKind[0] = 3;

    lock(1);
    void* definition = create(&record);
    ASSERT_NE(nullptr, definition);
    EXPECT_EQ(4u, count()) << "the simulator's own four; created, not yet registered";
    EXPECT_STREQ("Cockpit", get(0)->name);
    EXPECT_EQ(0, std::memcmp(OwnCameras::find("Spot")->id.data(), get(3)->identifier, 16));
    EXPECT_EQ(1, registerIt(definition));
    EXPECT_EQ(0, registerIt(definition));
    ASSERT_EQ(5u, count());
    EXPECT_STREQ("Zephrel Tower", get(4)->name);
    EXPECT_EQ(nullptr, get(5));
    ZHostView* main = views().record(0);
    EXPECT_EQ(1, select(main, record.identifier));
    lock(0);
    EXPECT_EQ(0u, f.wrongForms());
    EXPECT_EQ("Zephrel Tower", f.sim->cameraTitle());
    EXPECT_EQ(0, std::memcmp(record.identifier, main->camera->identifier, 16));
    // The simulator's own cameras are there to select too, by title or identifier.
    ASSERT_TRUE(f.sim->selectCamera("cockpit"));
    lock(1);
    EXPECT_EQ(1, select(main, OwnCameras::find("Tower")->id.data()));
    EXPECT_EQ(0, select(main, std::array<uint8_t, 16>{}.data()));
    EXPECT_EQ(1, select(main, record.identifier));
    // Unregistered, the definition's camera gives way to the simulator's spot camera.
    EXPECT_EQ(1, unregister(definition));
    EXPECT_EQ("Spot", f.sim->cameraTitle());
    EXPECT_FALSE(f.sim->selectCamera("Zephrel Tower"));
    destroy(definition);
    lock(0);
    EXPECT_EQ(0u, f.wrongForms());
    // Outside the lock every call is a wrong form (and still done); so is leaving it twice.
    EXPECT_EQ(4u, count());
    lock(0);
    EXPECT_EQ(2u, f.wrongForms());
}

TEST_F(SimViewsTest, TheViewPassReportsEveryViewAndACameraAnAddOnWritesIsWhereTheViewLooksFrom) {
    ASSERT_TRUE(f.sim->openView());
    const auto registerEvent = f.entry<ZHostRegisterEventFn>("api.dll", Api::RegisterEvent);
    for (const int event : {ZHOST_EVENT_VIEW_PASS_START, ZHOST_EVENT_CAMERA_UPDATE, ZHOST_EVENT_VIEW_DRAW,
                            ZHOST_EVENT_VIEW_PASS_END})
        registerEvent(static_cast<uint32_t>(event), &PassWatcher::handler);
    ZHostView* main = views().record(0);
    ZHostView* inset = views().record(1);
    f.sim->frame();
    using Seen = std::pair<uint32_t, ZHostView*>;
    EXPECT_EQ((std::vector<Seen>{{21u, nullptr},
                                 {17u, main},
                                 {18u, main},
                                 {17u, inset},
                                 {18u, inset},
                                 {22u, nullptr}}),
              PassWatcher::seen);

    // Untouched, a view looks through its own camera; written, from where the record says: a
    // world position (radians, metres) with absolute angles (pitch down, bank, heading)...
    const Aircraft& user = *f.sim->world().user();
    const ViewCamera spot = OwnCameras::eyeFor(ViewKind::Spot, user);
    EXPECT_DOUBLE_EQ(spot.latitude, views().eye(1, f.sim->world()).latitude);
    PassWatcher::moved = inset;
    PassWatcher::written.worldPosition[0] = Earth::radians(47.5);
    PassWatcher::written.worldPosition[1] = Earth::radians(8.6);
    PassWatcher::written.worldPosition[2] = 900;
    PassWatcher::written.angles[0] = static_cast<float>(Earth::radians(10)); // nose down
    PassWatcher::written.angles[2] = static_cast<float>(Earth::radians(90));
    PassWatcher::written.zoom[0] = 2;
    f.sim->frame();
    ViewCamera eye = views().eye(1, f.sim->world());
    EXPECT_NEAR(47.5, eye.latitude, 1e-9);
    EXPECT_NEAR(8.6, eye.longitude, 1e-9);
    EXPECT_DOUBLE_EQ(900, eye.altitude);
    EXPECT_NEAR(-10, eye.pitch, 1e-5);
    EXPECT_NEAR(90, eye.heading, 1e-5);
    EXPECT_DOUBLE_EQ(2, eye.zoom);
    // ... or, for a cockpit camera, an offset along the aircraft's axes and angles on top of its.
    ASSERT_TRUE(f.sim->activateView(1));
    ASSERT_TRUE(f.sim->selectCamera("Virtual Cockpit"));
    PassWatcher::written.offset[2] = 3; // forward
    PassWatcher::written.angles[0] = 0;
    f.sim->frame();
    eye = views().eye(1, f.sim->world());
    const ViewCamera at = OwnCameras::atAircraft(user);
    EXPECT_NEAR(3, Earth::distance(at.latitude, at.longitude, eye.latitude, eye.longitude), 0.05);
    EXPECT_NEAR(at.heading + 90, eye.heading, 1e-5);
    // The next frame without a write: its own camera again.
    PassWatcher::moved = nullptr;
    f.sim->frame();
    EXPECT_DOUBLE_EQ(OwnCameras::eyeFor(ViewKind::VirtualCockpit, user).latitude,
                     views().eye(1, f.sim->world()).latitude);
}

// An add-on that takes over the view commands it is told to.
struct CommandTaker {
    static inline std::vector<uint32_t> offered;
    static inline uint32_t taken = 0;
    static void handler(uint32_t, uintptr_t number, uintptr_t command) {
        offered.push_back(static_cast<uint32_t>(number));
        if (number == taken)
            reinterpret_cast<ZHostCommand*>(command)->consumed = 1;
    }
};

TEST_F(SimViewsTest, ViewCommandKeysMoveTheActiveViewsOwnCameraUnlessAnAddOnTakesThemOver) {
    f.entry<ZHostRegisterEventFn>("api.dll", Api::RegisterEvent)(ZHOST_EVENT_COMMAND, &CommandTaker::handler);
    CommandTaker::offered.clear();
    const Aircraft& user = *f.sim->world().user();
    const ViewCamera spot = OwnCameras::eyeFor(ViewKind::Spot, user);
    const auto press = [&](int key, bool shift, bool ctrl) {
        win::setKeyDown(0x10, shift);
        win::setKeyDown(0x11, ctrl);
        f.sim->pressKey(key, true);
        f.sim->pressKey(key, false);
        win::setKeyDown(0x10, false);
        win::setKeyDown(0x11, false);
    };
    const auto eye = [&] { return views().eye(0, f.sim->world()); };

    // Shift+numpad 6 looks right; numpad + zooms in by a factor of the square root of 2, twice.
    press(0x66, true, false);
    EXPECT_NEAR(spot.heading + 90, eye().heading, 1e-9);
    press(0x6B, false, false);
    press(0x6B, false, false);
    EXPECT_NEAR(2 * spot.zoom, eye().zoom, 1e-9);
    // Ctrl+Enter moves the eye forward by a quarter metre.
    const ViewCamera before = eye();
    press(0x0D, false, true);
    const double along = Earth::distance(before.latitude, before.longitude, eye().latitude, eye().longitude);
    EXPECT_NEAR(0.25, std::hypot(along, eye().altitude - before.altitude), 1e-3);
    EXPECT_EQ((std::vector<uint32_t>{0x1008C, 0x100B7, 0x100B7, 0x103E0}), CommandTaker::offered);

    // Taken over by an add-on, the zoom stays; Backspace (zoom back to 1) is not.
    CommandTaker::taken = 0x100B7;
    press(0x6B, false, false);
    EXPECT_NEAR(2 * spot.zoom, eye().zoom, 1e-9);
    press(0x08, false, false);
    EXPECT_NEAR(spot.zoom, eye().zoom, 1e-9);
    // A new camera starts where its own would be; a key that is no view command is not offered.
    ASSERT_TRUE(f.sim->selectCamera("Spot"));
    EXPECT_NEAR(spot.heading, eye().heading, 1e-9);
    CommandTaker::offered.clear();
    press('Q', true, true);
    EXPECT_TRUE(CommandTaker::offered.empty());
    EXPECT_FALSE(f.sim->viewCommand(0x10000, 0));
    EXPECT_TRUE(f.sim->viewCommand(0x10370, 180)); // the pan to an angle, from the hat switch
    EXPECT_NEAR(spot.heading + 180, eye().heading, 1e-9);
    // The joystick's heading axis half over turns the look 90° to the left; its tilt axis banks.
    EXPECT_TRUE(f.sim->viewCommand(0x103C8, 8192));
    EXPECT_NEAR(spot.heading - 90, eye().heading, 1e-9);
    EXPECT_TRUE(f.sim->viewCommand(0x103C9, -16384));
    EXPECT_NEAR(spot.bank - 180, eye().bank, 1e-9);
}

TEST_F(SimViewsTest, AnInsetViewIsDrawnOverTheMainView) {
    f.sim->setPictures(true);
    f.sim->frame();
    const std::vector<uint8_t> alone = win::GetClientPixels(f.sim->mainWindow())->rgb;
    ASSERT_TRUE(f.sim->openView());
    ASSERT_TRUE(f.sim->activateView(1));
    ASSERT_TRUE(f.sim->selectCamera("Tower"));
    f.sim->frame();
    const std::vector<uint8_t>& both = win::GetClientPixels(f.sim->mainWindow())->rgb;
    const auto differs = [&](int x, int y) {
        const std::size_t at = static_cast<std::size_t>(y * 300 + x) * 3;
        return std::memcmp(&alone[at], &both[at], 3) != 0;
    };
    EXPECT_TRUE(differs(292 - 1, 8 + 1)) << "the inset's edge, at the top right";
    EXPECT_FALSE(differs(20, 200)) << "the main view outside the inset";
}

} // namespace
