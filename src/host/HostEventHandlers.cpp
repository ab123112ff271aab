#include "host/HostEventHandlers.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "host/AircraftKind.h"
#include "host/CameraDefinitions.h"
#include "host/FSinterface.h"
#include "host/HostMenuHooks.h"
#include "host/HostProperties.h"
#include "host/HostState.h"

namespace {

constexpr uint32_t kTextsDrawnBit = 0x80000000u;
constexpr std::size_t kPropertyTextSize = 256;
// The path of a flight event sits 4 bytes into its record.
constexpr uintptr_t kFlightPathOffset = 4;
// The host's accumulated time counts 18 ticks per second.
constexpr double kHostTicksPerSecond = 18;
constexpr uint32_t kTickMilliseconds = 1000;
// The frame-duration estimate keeps 0.899 of itself and takes 0.1 of the last frame: the weights
// add to 0.999, so the estimate slowly leans towards shorter frames.
constexpr double kEstimateKept = 0.899;
constexpr double kEstimateTaken = 0.1;

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

HostEventHandlers::Clock highResolutionClock = steadySeconds;

intptr_t textArgument(const std::string& text) { return reinterpret_cast<intptr_t>(text.c_str()); }

// The notification is cleared before it is broadcast, so that one a listener causes in the
// meantime waits for the next frame.
void deliver(bool& pending, const std::string& text, int event) {
    if (!pending)
        return;
    pending = false;
    const std::string delivered = text;
    FSinterface::callback(event, textArgument(delivered));
}

std::string propertyText(ZHostObject* object, const HostProperties::PerTag& property, int buildTag) {
    char buffer[kPropertyTextSize] = {};
    if (object->ops->getText(object, HostProperties::of(property, buildTag), buffer, kPropertyTextSize) != 0)
        return {};
    buffer[kPropertyTextSize - 1] = '\0';
    return buffer;
}

void announceAircraft(HostState& s) {
    if (!s.aircraftLoadedPending)
        return;
    s.aircraftLoadedPending = false;
    std::string title, category;
    if (ZHostObject* user = s.bound.userObject(); user != nullptr) {
        category = propertyText(user, HostProperties::kCategory, s.buildTag);
        title = propertyText(user, HostProperties::kTitle, s.buildTag);
    }
    s.helicopter = AircraftKind::isHelicopter(category);
    s.levelD767 = AircraftKind::isLevelD767(title);
    const std::string folder = s.aircraftFolder;
    FSinterface::callback(AircraftLoaded, textArgument(title), textArgument(folder));
}

// One step of the host's own time while the module drives the frames.
void hostStep(const HostBindings& b) {
    b.tick(kTickMilliseconds);
    b.apiIdle();
    b.feIdle();
}

std::string folderOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

void drawText(const HostState& s, ZHostView* view, uint32_t textResource, uint32_t x, uint32_t y, uint32_t mode) {
    if (s.firstHost())
        s.bound.device()->drawView = view;
    s.bound.drawText(view, textResource, x, y, mode);
}

} // namespace

namespace HostEventHandlers {

void setClock(Clock clock) { highResolutionClock = clock != nullptr ? clock : steadySeconds; }

void frame(uint32_t, uintptr_t, uintptr_t) {
    HostState& s = hostState();
    if (s.stopping)
        return;
    deliver(s.flightSavedPending, s.flightSavedPath, FlightSaved);
    deliver(s.flightLoadedPending, s.flightLoadedPath, FlightLoaded);
    announceAircraft(s);
    s.frameClock.measure(s.bound.simGroups(), s.olderHost(), s.helicopter, FSinterface::isPaused());
    HostMenuHooks::checkMenu();
    FSinterface::callback(Frame, 0);
}

void afterFrame(uint32_t, uintptr_t, uintptr_t) {
    HostState& s = hostState();
    if (s.stopping)
        return;
    if (s.fixedStep)
        for (uint32_t i = 0; i < s.ticksPerFrame; ++i)
            hostStep(s.bound);
    FSinterface::callback(Frame, 1);
    if (s.fixedStep && s.realTimePacing && !FSinterface::isPaused()) {
        double elapsed = highResolutionClock() - s.frameStart;
        while (elapsed < s.frameEstimate) {
            hostStep(s.bound);
            elapsed = highResolutionClock() - s.frameStart;
        }
        s.frameEstimate = kEstimateKept * s.frameEstimate + kEstimateTaken * elapsed;
    }
}

void fixedStep(uint32_t, uintptr_t, uintptr_t) {
    HostState& s = hostState();
    if (s.stopping)
        return;
    if (s.fixedStep && !FSinterface::isPaused()) {
        const double adjustment = -kHostTicksPerSecond * *s.bound.frameTimeA + kHostTicksPerSecond * s.fixedFrameTime;
        *s.bound.accumulatedTime += static_cast<uint32_t>(static_cast<int64_t>(adjustment));
        *s.bound.frameTimeA = s.fixedFrameTime;
        *s.bound.frameTimeB = s.fixedFrameTime;
    }
    s.frameStart = highResolutionClock();
}

void systemEvent(uint32_t, uintptr_t code, uintptr_t data) {
    HostState& s = hostState();
    if (s.stopping)
        return;
    const bool hasText = data != 0;
    switch (code) {
    case ZHOST_SYSTEM_FLIGHT_SAVED:
        if (hasText) {
            s.flightSavedPath = std::string(reinterpret_cast<const char*>(data + kFlightPathOffset)) + ".flt";
            s.flightSavedPending = true;
        }
        break;
    case ZHOST_SYSTEM_FLIGHT_LOADED:
        // The module's own loadFlight is not news to its listeners.
        if (hasText && !s.loadingFlight) {
            s.flightLoadedPath = reinterpret_cast<const char*>(data + kFlightPathOffset);
            s.flightLoadedPending = true;
        }
        break;
    case ZHOST_SYSTEM_AIRCRAFT_LOADED:
        if (hasText) {
            s.aircraftFolder = folderOf(reinterpret_cast<const char*>(data));
            s.aircraftLoadedPending = true;
        }
        break;
    case ZHOST_SYSTEM_VIEWS_READY:
        if (s.firstHost())
            CameraDefinitions::registerAll();
        break;
    case ZHOST_SYSTEM_MENUS_CHANGED:
        if (data == (s.firstHost() ? 13u : 11u))
            HostMenuHooks::rebuildMenu();
        break;
    default:
        break;
    }
}

void viewDraw(uint32_t, uintptr_t viewArgument, uintptr_t) {
    HostState& s = hostState();
    if (s.stopping)
        return;
    ZHostView* view = reinterpret_cast<ZHostView*>(viewArgument);
    if (view == *s.bound.mainView && s.statusTextResource != 0)
        drawText(s, view, s.statusTextResource, s.statusX, s.statusY, s.olderHost() ? 7 : 9);
    const auto entry =
        std::find_if(s.views.begin(), s.views.end(), [view](const HostViewEntry& e) { return e.view == view; });
    if (entry == s.views.end())
        return;
    entry->seen = 1;
    if (entry->captionTime <= 0 || entry->caption.empty())
        return;
    entry->captionTime = std::max(0.0f, entry->captionTime - FSinterface::getFrameTime());
    if (!(s.hideTexts && !FSinterface::isPaused()))
        drawText(s, view, entry->textResource, entry->captionX, entry->captionY, s.olderHost() ? 13 : 15);
}

void textRefresh(uint32_t, uintptr_t, uintptr_t) { refreshTexts(); }

void refreshTexts() {
    HostState& s = hostState();
    if (s.stopping || s.bound.mainView == nullptr || *s.bound.mainView == nullptr)
        return;
    ZHostView* mainView = *s.bound.mainView;
    if (s.statusTextResource != 0)
        mainView[0].flags |= kTextsDrawnBit;
    if (s.hideTexts && !FSinterface::isPaused()) {
        mainView[0].flags &= ~kTextsDrawnBit;
        mainView[1].flags &= ~kTextsDrawnBit;
    }
}

} // namespace HostEventHandlers
