// The module's start-up against the host, its shutdown and the broadcast of its events.

#include <string>

#include "alerts/HostWindow.h"
#include "common/Log.h"
#include "common/ZephrelException.h"
#include "host/CameraDefinitions.h"
#include "host/FSinterface.h"
#include "host/HostBinder.h"
#include "host/HostEventHandlers.h"
#include "host/HostMenuHooks.h"
#include "host/HostState.h"
#include "host/HostTexts.h"
#include "host/ViewHooks.h"

namespace {


struct HandlerRegistration {
    uint32_t event;
    ZHostEventHandler handler;
};

// In registration order, which is also the order of unregistration. Host event 1 has two
// handlers: the frame first, the text refresh after it.
constexpr HandlerRegistration kHandlers[] = {
    {ZHOST_EVENT_SYSTEM, HostEventHandlers::systemEvent},
    {ZHOST_EVENT_FRAME, HostEventHandlers::frame},
    {ZHOST_EVENT_AFTER_FRAME, HostEventHandlers::afterFrame},
    {ZHOST_EVENT_VIEW_DRAW, HostEventHandlers::viewDraw},
    {ZHOST_EVENT_FRAME, HostEventHandlers::textRefresh},
    {ZHOST_EVENT_CAMERA_UPDATE, ViewHooks::cameraUpdate},
    {ZHOST_EVENT_VIEW_PASS_START, ViewHooks::viewPassStart},
    {ZHOST_EVENT_VIEW_PASS_END, ViewHooks::viewPassEnd},
    {ZHOST_EVENT_COMMAND, ViewHooks::viewCommand},
    {ZHOST_EVENT_FIXED_STEP, HostEventHandlers::fixedStep},
};

void logLifecycle(const std::string& line) { Log::log(line, Log::kAllCategories, false); }

void registerHandlers(HostState& s) {
    for (const HandlerRegistration& r : kHandlers)
        s.bound.registerEvent(r.event, r.handler);
    s.handlersRegistered = true;
}

// The shutdown steps of DLLStop after the stopping flag: Stop, the texts freed, the handlers
// unregistered.
void shutdown(HostState& s) {
    FSinterface::callback(Stop);
    HostTexts::freeAll();
    if (s.handlersRegistered)
        for (const HandlerRegistration& r : kHandlers)
            s.bound.unregisterEvent(r.event, r.handler);
    s.handlersRegistered = false;
}

// The failure clean-up may be reached again from inside itself, when a listener also fails at Stop.
bool cleaningUp = false;

} // namespace

void FSinterface::init(const ZHostPanels* panels) {
    HostState& s = hostState();
    HostBinder binder(HostBinder::findLookup());
    const ZHostModule& api = binder.module("api.dll");
    s.versionIndex = binder.checkVersion(api);
    s.buildTag = s.versionIndex + 1;
    logLifecycle("FSX Version: " + HostBinder::versionText(api.fileVersion));

    if (panels == nullptr)
        throw ZephrelException(ErrorCode::InitializationFailed, ZephrelException::DisablesModule, "FSinterface::init", __LINE__,
                               "Panels pointer is NULL");
    s.panels = panels;

    bindHost(binder, s.bound);
    logLifecycle("DLL functions imported");
    HostWindow::setModalHook([](bool open) { FSinterface::setModal(open); });

    registerHandlers(s);
    logLifecycle("Callbacks registered");

    // The first host version has its views ready only when it says so (system event 54).
    if (!s.firstHost())
        CameraDefinitions::registerAll();
    callback(Start);
    logLifecycle("Initialization finished");
}

void FSinterface::stop() {
    HostState& s = hostState();
    s.stopping = true;
    shutdown(s);
}

void FSinterface::failureCleanup() {
    if (cleaningUp)
        return;
    cleaningUp = true;
    HostState& s = hostState();
    shutdown(s);
    HostMenuHooks::disableItems();
    s.listeners.clear();
    cleaningUp = false;
}

bool FSinterface::isStopping() { return hostState().stopping; }

void FSinterface::addCallback(IFScallback* listener) {
    HostState& s = hostState();
    // A listener that lets an exception escape leaves the whole module inert.
    s.listeners.setFailureCleanup(&FSinterface::failureCleanup);
    s.listeners.add(listener);
}

int FSinterface::callback(int event, intptr_t a, intptr_t b, intptr_t c) {
    return hostState().listeners.broadcast(event, a, b, c);
}
