// The module's camera definitions in the host, and the host's camera operations the module's
// cameras use. Every call into the host's camera manager is made inside its lock.

#include "host/CameraDefinitions.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "host/FSinterface.h"
#include "host/HostState.h"

namespace {

struct Definition {
    const char* name;
    const char* identifier;
    uint32_t cycle;
    uint32_t viewKind[2];
};

// In the order of their kinds, 1 to 3.
constexpr Definition kDefinitions[] = {
    {"Zephrel VC", "e6a39dec-944b-464b-8904-877f049ef90a", 2, {0, 3}},
    {"Zephrel Tower", "3779b7b2-8bd5-45d0-85aa-57f39be5b557", 6, {3, 1}},
    {"Zephrel Spot", "d62f42c1-1d8a-4fb6-a03b-9eac8f84d29a", 6, {3, 1}},
};
constexpr uint32_t kCategory = 1;
constexpr uint32_t kOrigin = 8;

const std::array<Guid::Bytes, 3>& identifiers() {
    static const std::array<Guid::Bytes, 3> bytes = [] {
        std::array<Guid::Bytes, 3> made{};
        for (std::size_t i = 0; i < made.size(); ++i)
            made[i] = Guid::parse(kDefinitions[i].identifier)->toBytes();
        return made;
    }();
    return bytes;
}

ZHostCameraDefinition recordOf(const Definition& d, const Guid::Bytes& identifier) {
    ZHostCameraDefinition record{};
    std::strncpy(record.name, d.name, sizeof record.name - 1);
    std::copy(identifier.begin(), identifier.end(), record.identifier);
    record.category = kCategory;
    record.origin = kOrigin;
    record.cycle = d.cycle;
    record.viewKind[0] = d.viewKind[0];
    record.viewKind[1] = d.viewKind[1];
    std::fill(std::begin(record.switches), std::end(record.switches), uint8_t{1});
    std::fill(std::begin(record.bytes), std::end(record.bytes), uint8_t{1});
    return record;
}

// One call into the host's camera manager, inside its lock.
template <typename Call> auto locked(const HostBindings& b, Call call) {
    struct Lock {
        const HostBindings& b;
        explicit Lock(const HostBindings& bindings) : b(bindings) { b.cameraLock(1); }
        ~Lock() { b.cameraLock(0); }
    } lock(b);
    return call();
}

ZHostView* activeView(const HostState& s) {
    return s.bound.activeView != nullptr ? *s.bound.activeView : nullptr;
}

} // namespace

namespace CameraDefinitions {

int kindOf(const uint8_t identifier[16]) {
    const auto& ids = identifiers();
    for (std::size_t i = 0; i < ids.size(); ++i)
        if (std::memcmp(ids[i].data(), identifier, ids[i].size()) == 0)
            return static_cast<int>(i) + 1;
    return kOther;
}

const Guid::Bytes& identifier(int kind) {
    return identifiers().at(static_cast<std::size_t>(kind - 1));
}

void registerAll() {
    HostState& s = hostState();
    if (s.camerasDisabled || s.cameraDefinitionsRegistered)
        return;
    s.cameraDefinitionsRegistered = true;
    for (std::size_t i = 0; i < std::size(kDefinitions); ++i) {
        const ZHostCameraDefinition record = recordOf(kDefinitions[i], identifiers()[i]);
        void* made = locked(s.bound, [&] { return s.bound.cameraCreate(&record); });
        if (made != nullptr)
            locked(s.bound, [&] { return s.bound.cameraRegister(made); });
    }
}

} // namespace CameraDefinitions

bool FSinterface::offersDefaultViews() {
    return hostState().firstHost();
}

void FSinterface::setCamerasDisabled(bool disabled) {
    hostState().camerasDisabled = disabled;
}

uint32_t FSinterface::getCameraCount() {
    const HostState& s = hostState();
    return locked(s.bound, [&] { return s.bound.cameraCount(); });
}

bool FSinterface::getCamera(uint32_t index, std::string& title, Guid& guid) {
    const HostState& s = hostState();
    const ZHostCameraDefinition* d = locked(s.bound, [&] { return s.bound.cameraGet(index); });
    if (d == nullptr)
        return false;
    title.assign(d->name, strnlen(d->name, sizeof d->name));
    Guid::Bytes bytes;
    std::copy(std::begin(d->identifier), std::end(d->identifier), bytes.begin());
    guid = Guid::fromBytes(bytes);
    return true;
}

bool FSinterface::getActiveCamera(Guid& guid) {
    const ZHostView* view = activeView(hostState());
    if (view == nullptr || view->camera == nullptr)
        return false;
    Guid::Bytes bytes;
    std::copy(std::begin(view->camera->identifier), std::end(view->camera->identifier), bytes.begin());
    guid = Guid::fromBytes(bytes);
    return true;
}

bool FSinterface::selectCamera(const Guid& guid) {
    const HostState& s = hostState();
    ZHostView* view = activeView(s);
    if (s.stopping || view == nullptr)
        return false;
    const Guid::Bytes bytes = guid.toBytes();
    return locked(s.bound, [&] { return s.bound.cameraSelect(view, bytes.data()); }) != 0;
}

bool FSinterface::selectModuleCamera(int kind) {
    if (kind < CameraDefinitions::kVirtualCockpit || kind > CameraDefinitions::kSpot)
        return false;
    return selectCamera(Guid::fromBytes(CameraDefinitions::identifier(kind)));
}
