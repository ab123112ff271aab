#include "host/HostBindings.h"

#include "host/HostBinder.h"
#include "host/HostEntries.h"

namespace {

using namespace HostEntries;

void bindSim1(const HostBinder& binder, HostBindings& b) {
    const ZHostModule& m = binder.module(Sim1::kModule);
    b.userObject = binder.function<ZHostUserObjectFn>(m, Sim1::kUserObject);
    b.objectById = binder.function<ZHostObjectByIdFn>(m, Sim1::kObjectById);
}

void bindTraffic(const HostBinder& binder, HostBindings& b) {
    const ZHostModule& m = binder.module(Traffic::kModule);
    b.getTraffic = binder.function<ZHostGetTrafficFn>(m, Traffic::kGetTraffic);
    b.setTraffic = binder.function<ZHostSetTrafficFn>(m, Traffic::kSetTraffic);
    b.aiCreator = binder.function<ZHostAiCreatorFn>(m, Traffic::kAiCreator);
}

void bindMain(const HostBinder& binder, HostBindings& b) {
    const ZHostModule& m = binder.module(Main::kModule);
    b.getOptions = binder.function<ZHostGetOptionsFn>(m, Main::kGetOptions);
    b.setOptions = binder.function<ZHostSetOptionsFn>(m, Main::kSetOptions);
    b.setDate = binder.function<ZHostSetDateFn>(m, Main::kSetDate);
    b.applyDateTime = binder.function<ZHostApplyDateTimeFn>(m, Main::kApplyDateTime);
    b.optionsWordIndex = Main::kOptionsWord[static_cast<std::size_t>(binder.versionIndex())];
    b.dateTime = binder.word<ZHostDateTime>(m, Main::kDateTime);
    b.accumulatedTime = binder.word<uint32_t>(m, Main::kAccumulatedTime);
    b.rateWord = binder.word<uint32_t>(m, Main::kRateWord);
    b.mainFrameTime = binder.word<double>(m, Main::kFrameTime);
}

void bindScheduler(const HostBinder& binder, HostBindings& b) {
    const ZHostModule& m = binder.module(Scheduler::kModule);
    b.simGroups = binder.function<ZHostSimGroupsFn>(m, Scheduler::kSimGroups);
    b.getRate = binder.function<ZHostGetRateFn>(m, Scheduler::kGetRate);
    b.setRate = binder.function<ZHostSetRateFn>(m, Scheduler::kSetRate);
}

void bindApi(const HostBinder& binder, HostBindings& b) {
    const ZHostModule& m = binder.module(Api::kModule);
    b.registerEvent = binder.function<ZHostRegisterEventFn>(m, Api::kRegisterEvent);
    b.unregisterEvent = binder.function<ZHostUnregisterEventFn>(m, Api::kUnregisterEvent);
    b.realFrameTime = binder.function<ZHostRealFrameTimeFn>(m, Api::kRealFrameTime);
    b.folder = binder.function<ZHostFolderFn>(m, Api::kFolder);
    b.setFullScreen = binder.function<ZHostSetFullScreenFn>(m, Api::kSetFullScreen);
    b.device = binder.function<ZHostDeviceFn>(m, Api::kDevice);
    b.tick = binder.function<ZHostTickFn>(m, Api::kTick);
    b.apiIdle = binder.function<ZHostIdleFn>(m, Api::kIdle);
    b.menuAnchor = binder.word<uintptr_t>(m, Api::kMenuAnchor);
    b.hostWord = binder.word<uint32_t>(m, Api::kHostWord);
    b.frameTimeA = binder.word<double>(m, Api::kFrameTimeA);
    b.frameTimeB = binder.word<double>(m, Api::kFrameTimeB);
    b.simState = static_cast<ZHostSimState*>(binder.exported(m, Api::kSimState));
}

void bindAcontain(const HostBinder& binder, HostBindings& b) {
    const ZHostModule& m = binder.module(Acontain::kModule);
    b.userAircraft = binder.function<ZHostUserAircraftFn>(m, Acontain::kUserAircraft);
    b.removeObject = binder.function<ZHostRemoveObjectFn>(m, Acontain::kRemoveObject);
    b.selectUserAircraft = binder.function<ZHostSelectUserAircraftFn>(m, Acontain::kSelectUserAircraft);
}

void bindFlight(const HostBinder& binder, HostBindings& b) {
    const ZHostModule& m = binder.module(Flight::kModule);
    b.saveFlight = binder.function<ZHostSaveFlightFn>(m, Flight::kSaveFlight);
    b.loadFlight = binder.entry(m, Flight::kLoadFlight);
}

void bindXui(const HostBinder& binder, HostBindings& b) {
    const ZHostModule& m = binder.module(Xui::kModule);
    b.xuiDynamicMenuCreate = binder.function<ZHostXuiDynamicMenuCreateFn>(m, "XuiDynamicMenuCreate");
    b.xuiElementAddChild = binder.function<ZHostXuiElementAddChildFn>(m, "XuiElementAddChild");
    b.xuiDynamicMenuInvalidate = binder.function<ZHostXuiDynamicMenuInvalidateFn>(m, "XuiDynamicMenuInvalidate");
    b.xuiDynamicMenuAppendItem = binder.function<ZHostXuiDynamicMenuAppendItemFn>(m, "XuiDynamicMenuAppendItem");
    b.xuiDynamicMenuAppendSeparator =
        binder.function<ZHostXuiDynamicMenuAppendSeparatorFn>(m, "XuiDynamicMenuAppendSeparator");
    b.xuiDynamicMenuRemoveItem = binder.function<ZHostXuiDynamicMenuRemoveItemFn>(m, "XuiDynamicMenuRemoveItem");
    b.xuiDynamicMenuSetItemEnable =
        binder.function<ZHostXuiDynamicMenuSetItemEnableFn>(m, "XuiDynamicMenuSetItemEnable");
    b.xuiDynamicMenuSetItemText = binder.function<ZHostXuiDynamicMenuSetItemTextFn>(m, "XuiDynamicMenuSetItemText");
    b.xuiDynamicMenuSetItemCheck = binder.function<ZHostXuiDynamicMenuSetItemCheckFn>(m, "XuiDynamicMenuSetItemCheck");
    b.xuiMenuGetPositionForCommandId =
        binder.function<ZHostXuiMenuGetPositionForCommandIdFn>(m, "XuiMenuGetPositionForCommandId");
}

void bindWindow(const HostBinder& binder, HostBindings& b) {
    const ZHostModule& m = binder.module(Window::kModule);
    b.showText = binder.function<ZHostShowTextFn>(m, Window::kShowText);
    b.drawText = binder.function<ZHostDrawTextFn>(m, Window::kDrawText);
    b.cameraCreate = binder.function<ZHostCameraDefinitionCreateFn>(m, Window::kCameraCreate);
    b.cameraDestroy = binder.function<ZHostCameraDefinitionDestroyFn>(m, Window::kCameraDestroy);
    b.cameraRegister = binder.function<ZHostCameraDefinitionRegisterFn>(m, Window::kCameraRegister);
    b.cameraUnregister = binder.function<ZHostCameraDefinitionUnregisterFn>(m, Window::kCameraUnregister);
    b.cameraCount = binder.function<ZHostCameraDefinitionCountFn>(m, Window::kCameraCount);
    b.cameraGet = binder.function<ZHostCameraDefinitionGetFn>(m, Window::kCameraGet);
    b.cameraLock = binder.function<ZHostCameraLockFn>(m, Window::kCameraLock);
    b.cameraSelect = binder.function<ZHostCameraSelectFn>(m, Window::kCameraSelect);
    b.mainView = binder.word<ZHostView*>(m, Window::kMainView);
    b.activeView = binder.word<ZHostView*>(m, Window::kActiveView);
}

void bindG2d(const HostBinder& binder, HostBindings& b) {
    const ZHostModule& m = binder.module(G2d::kModule);
    b.textCreate = binder.function<ZHostTextCreateFn>(m, G2d::kTextCreate);
    b.textFree = binder.function<ZHostTextFreeFn>(m, G2d::kTextFree);
}

void bindG3d(const HostBinder& binder, HostBindings& b) {
    const ZHostModule& m = binder.module(G3d::kModule);
    b.groundElevation = binder.function<ZHostGroundElevationFn>(m, G3d::kGroundElevation);
    b.positionQuery = binder.function<ZHostPositionQueryFn>(m, G3d::kPositionQuery);
    b.objectMap = binder.function<ZHostObjectMapFn>(m, G3d::kObjectMap);
    b.towerPosition = binder.function<ZHostTowerPositionFn>(m, G3d::kTowerPosition);
}

void bindFe(const HostBinder& binder, HostBindings& b) {
    b.feIdle = binder.function<ZHostIdleFn>(binder.module(Fe::kModule), Fe::kIdle);
}

} // namespace

void bindHost(const HostBinder& binder, HostBindings& bindings) {
    bindSim1(binder, bindings);
    bindTraffic(binder, bindings);
    bindMain(binder, bindings);
    bindScheduler(binder, bindings);
    bindApi(binder, bindings);
    bindAcontain(binder, bindings);
    bindFlight(binder, bindings);
    bindXui(binder, bindings);
    bindWindow(binder, bindings);
    bindG2d(binder, bindings);
    bindG3d(binder, bindings);
    bindFe(binder, bindings);
}
