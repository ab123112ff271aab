// window.dll, g2d.dll and xuipc.dll: the message line, texts in views, the views' records and
// camera definitions, text resources and the main window's menus.
#include "services/HostInstallers.h"
#include "services/HostMenus.h"
#include "services/ScreenTexts.h"
#include "services/SimViews.h"
#include "services/TextResources.h"

using namespace HostInstall;

namespace {

void installWindow(HostModule& m, int v, Simulator& simulator) {
    using namespace HostNumbers::Window;
    entry<ZHostShowTextFn>(m, v, ShowText, [](const char* text, int32_t kind, uint32_t ticks) {
        host().texts().showText(text, kind, ticks);
    });
    entry<ZHostDrawTextFn>(m, v, DrawText,
                           [](ZHostView* view, uint32_t resource, uint32_t x, uint32_t y, uint32_t mode) {
                               host().texts().drawText(view, resource, x, y, mode);
                           });
    data(m, v, MainView, simulator.views().mainViewWord());
    data(m, v, ActiveView, simulator.views().activeViewWord());
    entry<ZHostCameraDefinitionCreateFn>(m, v, CameraCreate, [](const ZHostCameraDefinition* definition) {
        return host().views().createDefinition(definition);
    });
    entry<ZHostCameraDefinitionDestroyFn>(m, v, CameraDestroy,
                                          [](void* definition) { host().views().destroyDefinition(definition); });
    entry<ZHostCameraDefinitionRegisterFn>(m, v, CameraRegister, [](void* definition) {
        return host().views().registerDefinition(definition);
    });
    entry<ZHostCameraDefinitionUnregisterFn>(m, v, CameraUnregister, [](void* definition) {
        return host().views().unregisterDefinition(definition);
    });
    entry<ZHostCameraDefinitionCountFn>(m, v, CameraCount, [] { return host().views().definitionCount(); });
    entry<ZHostCameraDefinitionGetFn>(m, v, CameraGet,
                                      [](uint32_t index) { return host().views().definition(index); });
    entry<ZHostCameraLockFn>(m, v, CameraLock, [](int32_t enter) { host().views().lock(enter); });
    entry<ZHostCameraSelectFn>(m, v, CameraSelect, [](ZHostView* view, const uint8_t identifier[16]) {
        return host().views().selectCamera(view, identifier);
    });
}

void installG2d(HostModule& m, int v) {
    using namespace HostNumbers::G2d;
    entry<ZHostTextCreateFn>(m, v, TextCreate,
                             [](const char* text) { return host().textResources().create(text); });
    entry<ZHostTextFreeFn>(m, v, TextFree, [](uint32_t handle) { host().textResources().free(handle); });
}

template <typename Fn> void named(HostModule& m, const char* name, Fn function) {
    m.setNamedEntry(name, reinterpret_cast<void*>(function));
}

void installXuipc(HostModule& m) {
    named<ZHostXuiDynamicMenuCreateFn>(m, "XuiDynamicMenuCreate", [] { return host().menus().create(); });
    named<ZHostXuiElementAddChildFn>(m, "XuiElementAddChild", [](uintptr_t menu, uint32_t value) {
        return host().menus().addChild(menu, value);
    });
    named<ZHostXuiDynamicMenuInvalidateFn>(m, "XuiDynamicMenuInvalidate",
                                           [](uintptr_t bar) { host().menus().invalidate(bar); });
    named<ZHostXuiDynamicMenuAppendItemFn>(
        m, "XuiDynamicMenuAppendItem",
        [](uintptr_t parent, const char* style, const uint16_t* text, uint32_t command, uintptr_t submenu) {
            return host().menus().appendItem(parent, style, text, command, submenu);
        });
    named<ZHostXuiDynamicMenuAppendSeparatorFn>(m, "XuiDynamicMenuAppendSeparator", [](uintptr_t parent) {
        return host().menus().appendSeparator(parent);
    });
    named<ZHostXuiDynamicMenuRemoveItemFn>(
        m, "XuiDynamicMenuRemoveItem",
        [](uintptr_t parent, int32_t position) { return host().menus().removeItem(parent, position); });
    named<ZHostXuiDynamicMenuSetItemEnableFn>(
        m, "XuiDynamicMenuSetItemEnable", [](uintptr_t parent, int32_t position, int32_t enable) {
            return host().menus().setItemEnable(parent, position, enable);
        });
    named<ZHostXuiDynamicMenuSetItemTextFn>(m, "XuiDynamicMenuSetItemText",
                                            [](uintptr_t parent, int32_t position, const uint16_t* text) {
                                                return host().menus().setItemText(parent, position, text);
                                            });
    named<ZHostXuiDynamicMenuSetItemCheckFn>(m, "XuiDynamicMenuSetItemCheck",
                                             [](uintptr_t parent, int32_t position, int32_t check) {
                                                 return host().menus().setItemCheck(parent, position, check);
                                             });
    named<ZHostXuiMenuGetPositionForCommandIdFn>(
        m, "XuiMenuGetPositionForCommandId",
        [](uintptr_t parent, uint32_t command) { return host().menus().positionOf(parent, command); });
}

} // namespace

void installWindowModules(Simulator& simulator) {
    const int v = simulator.context().versionIndex;
    installWindow(simulator.modules().module("window.dll"), v, simulator);
    installG2d(simulator.modules().module("g2d.dll"), v);
    installXuipc(simulator.modules().module("xuipc.dll"));
}
