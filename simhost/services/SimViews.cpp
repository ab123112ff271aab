#include "services/SimViews.h"

#include <algorithm>
#include <cstring>

#include "services/HostEvents.h"
#include "services/OwnCameras.h"
#include "text/AsciiCase.h"
#include "world/Earth.h"
#include "world/World.h"

namespace {

// A camera the host moves by itself has its motion words set; an add-on that writes the camera
// record clears them.
constexpr uint32_t kHostMoves = 1;

const OwnCamera& spotCamera() {
    return *OwnCameras::find("Spot");
}

double degreesOf(float radians) {
    return Earth::degrees(static_cast<double>(radians));
}

} // namespace

// The main view is there from the start; its window comes once the add-ons have started.
SimViews::SimViews(SimContext& context) : context_(context) {
    for (std::size_t i = 0; i < ownRecords_.size(); ++i) {
        const OwnCamera& own = OwnCameras::all()[i];
        std::strncpy(ownRecords_[i].name, own.title, sizeof ownRecords_[i].name - 1);
        std::copy(own.id.begin(), own.id.end(), ownRecords_[i].identifier);
        ownRecords_[i].viewKind[0] = OwnCameras::inCockpit(own.kind) ? 0 : 3;
    }
    showCamera(slots_[0], &spotCamera(), nullptr);
    records_[0].camera = &slots_[0].camera;
    order_.push_back(0);
    mainView_ = activeView_ = &records_[0];
}

SimViews::~SimViews() = default;

// ---- views ----

void SimViews::setMainWindow(win::HWND window) {
    slots_[0].window = window;
}

bool SimViews::add(win::HWND window) {
    // Slot 0 is the main view's for good.
    const auto free = std::find_if(slots_.begin() + 1, slots_.end(), [](const Slot& s) { return s.window == nullptr; });
    if (free == slots_.end() || window == nullptr)
        return false;
    *free = Slot{};
    free->window = window;
    showCamera(*free, &spotCamera(), nullptr);
    const auto index = static_cast<std::size_t>(free - slots_.begin());
    records_[index].camera = &free->camera;
    order_.push_back(index);
    return true;
}

win::HWND SimViews::remove(std::size_t index) {
    if (index == 0 || index >= order_.size())
        return nullptr;
    Slot& gone = slot(index);
    const win::HWND window = gone.window;
    records_[order_[index]] = ZHostView{};
    gone = Slot{};
    order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(index));
    if (active_ == index)
        activate(0);
    else if (active_ > index)
        activate(active_ - 1);
    return window;
}

bool SimViews::activate(std::size_t index) {
    if (index >= order_.size())
        return false;
    active_ = index;
    activeView_ = &records_[order_[index]];
    return true;
}

win::HWND SimViews::window(std::size_t index) const {
    return index < order_.size() ? slot(index).window : nullptr;
}

ZHostView* SimViews::record(std::size_t index) {
    return index < order_.size() ? &records_[order_[index]] : nullptr;
}

// ---- cameras ----

void SimViews::showCamera(Slot& shown, const OwnCamera* own, const Definition* definition) {
    shown.own = own;
    shown.definition = definition;
    shown.camera = ZHostCamera{};
    shown.moves = OwnCameraMoves{};
    const uint8_t* identifier = own != nullptr ? own->id.data() : definition->record.identifier;
    std::copy(identifier, identifier + sizeof shown.camera.identifier, shown.camera.identifier);
}

bool SimViews::selectCamera(std::size_t index, std::string_view title) {
    if (index >= order_.size())
        return false;
    if (const OwnCamera* own = OwnCameras::find(title)) {
        showCamera(slot(index), own, nullptr);
        return true;
    }
    for (const auto& definition : definitions_)
        if (definition->registered && title == definition->record.name) {
            showCamera(slot(index), nullptr, definition.get());
            return true;
        }
    return false;
}

std::string SimViews::cameraTitle(std::size_t index) const {
    if (index >= order_.size())
        return {};
    const Slot& shown = slot(index);
    return shown.own != nullptr ? shown.own->title : shown.definition->record.name;
}

int32_t SimViews::selectCamera(ZHostView* view, const uint8_t identifier[16]) {
    requireLock("camera select");
    const auto at = std::find_if(order_.begin(), order_.end(), [&](std::size_t s) { return &records_[s] == view; });
    if (at == order_.end() || identifier == nullptr)
        return 0;
    Slot& shown = slots_[*at];
    for (const OwnCamera& own : OwnCameras::all())
        if (std::equal(own.id.begin(), own.id.end(), identifier)) {
            showCamera(shown, &own, nullptr);
            return 1;
        }
    for (const auto& definition : definitions_)
        if (definition->registered && std::memcmp(definition->record.identifier, identifier, 16) == 0) {
            showCamera(shown, nullptr, definition.get());
            return 1;
        }
    return 0;
}

// ---- camera definitions ----

// The call is made all the same: the original would carry it out, or crash.
void SimViews::requireLock(const char* call) {
    if (lockDepth_ == 0)
        context_.wrongForms.report(std::string(call) + " without the camera manager's lock");
}

SimViews::Definition* SimViews::find(void* definition) {
    for (const auto& d : definitions_)
        if (d.get() == definition)
            return d.get();
    return nullptr;
}

void* SimViews::createDefinition(const ZHostCameraDefinition* record) {
    requireLock("camera definition create");
    if (record == nullptr)
        return nullptr;
    definitions_.push_back(std::make_unique<Definition>(Definition{*record, false}));
    definitions_.back()->record.name[sizeof record->name - 1] = '\0';
    return definitions_.back().get();
}

void SimViews::destroyDefinition(void* definition) {
    requireLock("camera definition destroy");
    if (Definition* d = find(definition))
        withdraw(*d);
    std::erase_if(definitions_, [&](const auto& d) { return d.get() == definition; });
}

int32_t SimViews::registerDefinition(void* definition) {
    requireLock("camera definition register");
    Definition* d = find(definition);
    if (d == nullptr || d->registered)
        return 0;
    d->registered = true;
    return 1;
}

int32_t SimViews::unregisterDefinition(void* definition) {
    requireLock("camera definition unregister");
    Definition* d = find(definition);
    if (d == nullptr || !d->registered)
        return 0;
    withdraw(*d);
    return 1;
}

// A view showing the camera goes back to the simulator's spot camera.
void SimViews::withdraw(Definition& definition) {
    definition.registered = false;
    for (Slot& s : slots_)
        if (s.definition == &definition)
            showCamera(s, &spotCamera(), nullptr);
}

// The simulator's own cameras first, then the registered ones.
uint32_t SimViews::definitionCount() {
    requireLock("camera definition count");
    return static_cast<uint32_t>(ownRecords_.size()) +
           static_cast<uint32_t>(std::count_if(definitions_.begin(), definitions_.end(),
                                               [](const auto& d) { return d->registered; }));
}

const ZHostCameraDefinition* SimViews::definition(uint32_t index) {
    requireLock("camera definition get");
    if (index < ownRecords_.size())
        return &ownRecords_[index];
    index -= static_cast<uint32_t>(ownRecords_.size());
    for (const auto& d : definitions_)
        if (d->registered && index-- == 0)
            return &d->record;
    return nullptr;
}

void SimViews::lock(int32_t enter) {
    if (enter != 0) {
        ++lockDepth_;
    } else if (lockDepth_ == 0) {
        context_.wrongForms.report("camera manager left without being entered");
    } else {
        --lockDepth_;
    }
}

// ---- a frame ----

void SimViews::pass(HostEvents& events) {
    events.fire(ZHOST_EVENT_VIEW_PASS_START);
    for (std::size_t index = 0; index < order_.size(); ++index) {
        Slot& shown = slot(index);
        ZHostView* view = record(index);
        std::fill(std::begin(shown.camera.motion), std::end(shown.camera.motion), kHostMoves);
        events.fire(ZHOST_EVENT_CAMERA_UPDATE, reinterpret_cast<uintptr_t>(view));
        shown.written = std::all_of(std::begin(shown.camera.motion), std::end(shown.camera.motion),
                                    [](uint32_t word) { return word == 0; });
        events.fire(ZHOST_EVENT_VIEW_DRAW, reinterpret_cast<uintptr_t>(view));
    }
    events.fire(ZHOST_EVENT_VIEW_PASS_END);
}

bool SimViews::command(HostEvents& events, uint32_t number, int32_t value) {
    OwnCameraMoves moved = slot(active_).moves;
    if (!moved.apply(number, value))
        return false;
    ZHostCommand offered{value, 0};
    events.fire(ZHOST_EVENT_COMMAND, number, reinterpret_cast<uintptr_t>(&offered));
    if (offered.consumed == 0)
        slot(active_).moves = moved;
    return true;
}

ViewCamera SimViews::eye(std::size_t index, const World& world) const {
    const Aircraft* user = const_cast<World&>(world).user();
    if (index >= order_.size() || user == nullptr)
        return {};
    const Slot& shown = slot(index);
    const bool cockpit = shown.own != nullptr ? OwnCameras::inCockpit(shown.own->kind)
                                              : shown.definition->record.viewKind[0] == 0;
    if (!shown.written) {
        ViewCamera own = OwnCameras::eyeFor(shown.own != nullptr ? shown.own->kind : ViewKind::Spot, *user);
        shown.moves.onto(own);
        return own;
    }
    const ZHostCamera& c = shown.camera;
    ViewCamera eye;
    if (cockpit) {
        // From the aircraft's reference point along its axes, looking as the aircraft does and
        // turned by the angles on top.
        eye = OwnCameras::atAircraft(*user);
        OwnCameras::moveAlongAxes(eye, c.offset[0], c.offset[1], c.offset[2]);
        eye.heading += degreesOf(c.angles[2]);
        eye.pitch -= degreesOf(c.angles[0]);
        eye.bank -= degreesOf(c.angles[1]);
    } else {
        eye.latitude = Earth::degrees(c.worldPosition[0]);
        eye.longitude = Earth::degrees(c.worldPosition[1]);
        eye.altitude = c.worldPosition[2];
        eye.heading = degreesOf(c.angles[2]);
        eye.pitch = -degreesOf(c.angles[0]);
        eye.bank = -degreesOf(c.angles[1]);
    }
    eye.zoom = c.zoom[0] > 0 ? c.zoom[0] : 1;
    return eye;
}
