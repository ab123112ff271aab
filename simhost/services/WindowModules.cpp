// window.dll, g2d.dll and xuipc.dll: the message line, texts in views, text resources and the
// host menus, of which the simulator has none yet: its menu functions answer as a simulator
// without menus (no menu, no position).
#include "HostInstallers.h"
#include "ScreenTexts.h"
#include "TextResources.h"

using namespace HostInstall;

namespace {

constexpr int32_t kNoMenu = -1;

void installWindow(HostModule& m, int v, Simulator& simulator) {
    using namespace HostNumbers::Window;
    entry<ZHostShowTextFn>(m, v, ShowText, [](const char* text, int32_t kind, uint32_t ticks) {
        host().texts().showText(text, kind, ticks);
    });
    entry<ZHostDrawTextFn>(m, v, DrawText,
                           [](ZHostView* view, uint32_t resource, uint32_t x, uint32_t y, uint32_t mode) {
                               host().texts().drawText(view, resource, x, y, mode);
                           });
    data(m, v, MainView, simulator.texts().mainViewWord());
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
    named<ZHostXuiDynamicMenuCreateFn>(m, "XuiDynamicMenuCreate", [] { return uintptr_t{0}; });
    named<ZHostXuiElementAddChildFn>(m, "XuiElementAddChild", [](uintptr_t, uint32_t) { return kNoMenu; });
    named<ZHostXuiDynamicMenuInvalidateFn>(m, "XuiDynamicMenuInvalidate", [](uintptr_t) {});
    named<ZHostXuiDynamicMenuAppendItemFn>(
        m, "XuiDynamicMenuAppendItem",
        [](uintptr_t, const char*, const uint16_t*, uint32_t, uintptr_t) { return kNoMenu; });
    named<ZHostXuiDynamicMenuAppendSeparatorFn>(m, "XuiDynamicMenuAppendSeparator",
                                                [](uintptr_t) { return kNoMenu; });
    named<ZHostXuiDynamicMenuRemoveItemFn>(m, "XuiDynamicMenuRemoveItem",
                                           [](uintptr_t, int32_t) { return kNoMenu; });
    named<ZHostXuiDynamicMenuSetItemEnableFn>(m, "XuiDynamicMenuSetItemEnable",
                                              [](uintptr_t, int32_t, int32_t) { return kNoMenu; });
    named<ZHostXuiDynamicMenuSetItemTextFn>(m, "XuiDynamicMenuSetItemText",
                                            [](uintptr_t, int32_t, const uint16_t*) { return kNoMenu; });
    named<ZHostXuiDynamicMenuSetItemCheckFn>(m, "XuiDynamicMenuSetItemCheck",
                                             [](uintptr_t, int32_t, int32_t) { return kNoMenu; });
    named<ZHostXuiMenuGetPositionForCommandIdFn>(m, "XuiMenuGetPositionForCommandId",
                                                 [](uintptr_t, uint32_t) { return kNoMenu; });
}

} // namespace

void installWindowModules(Simulator& simulator) {
    const int v = simulator.context().versionIndex;
    installWindow(simulator.modules().module("window.dll"), v, simulator);
    installG2d(simulator.modules().module("g2d.dll"), v);
    installXuipc(simulator.modules().module("xuipc.dll"));
}
