#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/hostabi.h"
#include "picture/ViewCamera.h"
#include "services/OwnCameraMoves.h"
#include "winsys/Types.h"
#include "world/SimContext.h"

class HostEvents;
class World;
struct OwnCamera;

// The simulator's 3D views: windows of class "FS98CHILD" in the main window, the main view first
// and more opened and closed at run time, one of them active. Each shows a camera: one of the
// simulator's own or one made from a camera definition an add-on registered; and each has the
// host's records add-ons reach: the view record (kept side by side, the main view's first) and
// its camera record, which an add-on may write in the view pass to move the camera.
// docs/simhost/views.md tells how the stand-in reads a written camera record.
class SimViews {
public:
    static constexpr std::size_t kMaxViews = 8;

    explicit SimViews(SimContext& context);
    ~SimViews();
    SimViews(const SimViews&) = delete;
    SimViews& operator=(const SimViews&) = delete;

    // ---- views, by index in the order opened ----
    // The main view (index 0, active at start) is there from the start; its window is made after
    // the add-ons have started.
    void setMainWindow(win::HWND window);
    // One more view, in `window` (created by the caller). False when kMaxViews are open.
    bool add(win::HWND window);
    // The view's window, for the caller to destroy; null for the main view or an index not open.
    win::HWND remove(std::size_t index);
    bool activate(std::size_t index);
    std::size_t count() const { return order_.size(); }
    std::size_t active() const { return active_; }
    win::HWND window(std::size_t index) const;
    ZHostView* record(std::size_t index);
    ZHostView** mainViewWord() { return &mainView_; }
    ZHostView** activeViewWord() { return &activeView_; }

    // ---- cameras ----
    // By title: the simulator's own (without regard to case), then the names of the registered
    // definitions. False when the view offers none of that title.
    bool selectCamera(std::size_t index, std::string_view title);
    std::string cameraTitle(std::size_t index) const;
    // window.dll's camera select: the camera of that identifier in the view; 0 when none.
    int32_t selectCamera(ZHostView* view, const uint8_t identifier[16]);

    // ---- camera definitions (window.dll), each call inside the camera manager's lock; count and get
    // list the simulator's own cameras first ----
    void* createDefinition(const ZHostCameraDefinition* definition);
    void destroyDefinition(void* definition);
    int32_t registerDefinition(void* definition);
    int32_t unregisterDefinition(void* definition);
    uint32_t definitionCount();
    const ZHostCameraDefinition* definition(uint32_t index);
    void lock(int32_t enter);

    // ---- a frame ----
    // The view pass: event 21; for each view its camera update (17) and draw (18) with the view
    // record; event 22.
    void pass(HostEvents& events);
    // One of the simulator's view commands for the active view: offered to the add-ons (host event
    // 9), and unless one takes it over, carried out on the view's own camera. False for a command
    // that is none of the view commands.
    bool command(HostEvents& events, uint32_t number, int32_t value);
    // Where the view looks from in this frame: the camera record an add-on wrote in the pass, or
    // the view's camera placed for the user aircraft and moved by the view commands.
    ViewCamera eye(std::size_t index, const World& world) const;
    // Whether an add-on wrote the view's camera record in the last pass.
    bool written(std::size_t index) const { return index < order_.size() && slot(index).written; }

private:
    struct Definition {
        ZHostCameraDefinition record;
        bool registered = false;
    };
    struct Slot {
        win::HWND window = nullptr;
        ZHostCamera camera{};
        const OwnCamera* own = nullptr;           // the simulator's own camera, or
        const Definition* definition = nullptr;  // one made from a registered definition
        bool written = false;                     // an add-on wrote the camera in this pass
        OwnCameraMoves moves;
    };

    void requireLock(const char* call);
    Definition* find(void* definition);
    void withdraw(Definition& definition);
    Slot& slot(std::size_t index) { return slots_[order_[index]]; }
    const Slot& slot(std::size_t index) const { return slots_[order_[index]]; }
    void showCamera(Slot& slot, const OwnCamera* own, const Definition* definition);

    SimContext& context_;
    std::array<ZHostView, kMaxViews + 1> records_{}; // one more, so the last has one beside it
    std::array<Slot, kMaxViews> slots_{};
    std::vector<std::size_t> order_; // slots of the open views, in the order opened
    std::size_t active_ = 0;
    ZHostView* mainView_ = nullptr;
    ZHostView* activeView_ = nullptr;
    std::vector<std::unique_ptr<Definition>> definitions_;
    std::array<ZHostCameraDefinition, 4> ownRecords_{}; // the simulator's own cameras as definitions
    int lockDepth_ = 0;
};
