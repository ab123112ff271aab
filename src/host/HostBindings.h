#pragma once

#include "host/hostabi.h"

class HostBinder;

// Everything the module binds from the simulator at start-up: one entry point or data address per
// operation, null until bound.
struct HostBindings {
    // sim1.dll
    ZHostUserObjectFn userObject = nullptr;
    ZHostObjectByIdFn objectById = nullptr;
    // fs-traffic.dll
    ZHostGetTrafficFn getTraffic = nullptr;
    ZHostSetTrafficFn setTraffic = nullptr;
    ZHostAiCreatorFn aiCreator = nullptr;
    // main.dll
    ZHostGetOptionsFn getOptions = nullptr;
    ZHostSetOptionsFn setOptions = nullptr;
    ZHostSetDateFn setDate = nullptr;
    ZHostApplyDateTimeFn applyDateTime = nullptr;
    uint32_t optionsWordIndex = 0; // the options-block word setSimOption toggles
    ZHostDateTime* dateTime = nullptr;
    uint32_t* accumulatedTime = nullptr;
    uint32_t* rateWord = nullptr;
    double* mainFrameTime = nullptr;
    // simscheduler.dll
    ZHostSimGroupsFn simGroups = nullptr;
    ZHostGetRateFn getRate = nullptr;
    ZHostSetRateFn setRate = nullptr;
    // api.dll
    ZHostRegisterEventFn registerEvent = nullptr;
    ZHostUnregisterEventFn unregisterEvent = nullptr;
    ZHostRealFrameTimeFn realFrameTime = nullptr;
    ZHostFolderFn folder = nullptr;
    ZHostSetFullScreenFn setFullScreen = nullptr;
    ZHostDeviceFn device = nullptr;
    ZHostTickFn tick = nullptr;
    ZHostIdleFn apiIdle = nullptr;
    uintptr_t* menuAnchor = nullptr;
    uint32_t* hostWord = nullptr;
    double* frameTimeA = nullptr;
    double* frameTimeB = nullptr;
    ZHostSimState* simState = nullptr;
    // acontain.dll
    ZHostUserAircraftFn userAircraft = nullptr;
    ZHostRemoveObjectFn removeObject = nullptr;
    ZHostSelectUserAircraftFn selectUserAircraft = nullptr;
    // flight.dll; loadFlight has the older hosts' form on version indexes 0 to 2
    ZHostSaveFlightFn saveFlight = nullptr;
    void* loadFlight = nullptr;
    // xuipc.dll
    ZHostXuiDynamicMenuCreateFn xuiDynamicMenuCreate = nullptr;
    ZHostXuiElementAddChildFn xuiElementAddChild = nullptr;
    ZHostXuiDynamicMenuInvalidateFn xuiDynamicMenuInvalidate = nullptr;
    ZHostXuiDynamicMenuAppendItemFn xuiDynamicMenuAppendItem = nullptr;
    ZHostXuiDynamicMenuAppendSeparatorFn xuiDynamicMenuAppendSeparator = nullptr;
    ZHostXuiDynamicMenuRemoveItemFn xuiDynamicMenuRemoveItem = nullptr;
    ZHostXuiDynamicMenuSetItemEnableFn xuiDynamicMenuSetItemEnable = nullptr;
    ZHostXuiDynamicMenuSetItemTextFn xuiDynamicMenuSetItemText = nullptr;
    ZHostXuiDynamicMenuSetItemCheckFn xuiDynamicMenuSetItemCheck = nullptr;
    ZHostXuiMenuGetPositionForCommandIdFn xuiMenuGetPositionForCommandId = nullptr;
    // window.dll
    ZHostShowTextFn showText = nullptr;
    ZHostDrawTextFn drawText = nullptr;
    ZHostCameraDefinitionCreateFn cameraCreate = nullptr;
    ZHostCameraDefinitionDestroyFn cameraDestroy = nullptr;
    ZHostCameraDefinitionRegisterFn cameraRegister = nullptr;
    ZHostCameraDefinitionUnregisterFn cameraUnregister = nullptr;
    ZHostCameraDefinitionCountFn cameraCount = nullptr;
    ZHostCameraDefinitionGetFn cameraGet = nullptr;
    ZHostCameraLockFn cameraLock = nullptr;
    ZHostCameraSelectFn cameraSelect = nullptr;
    ZHostView** mainView = nullptr;
    ZHostView** activeView = nullptr; // the active view holder
    // g2d.dll
    ZHostTextCreateFn textCreate = nullptr;
    ZHostTextFreeFn textFree = nullptr;
    // g3d.dll
    ZHostGroundElevationFn groundElevation = nullptr;
    ZHostPositionQueryFn positionQuery = nullptr;
    ZHostObjectMapFn objectMap = nullptr;
    ZHostTowerPositionFn towerPosition = nullptr;
    // fe.dll
    ZHostIdleFn feIdle = nullptr;
};

// Binds every item in the start-up order (sim1.dll first, fe.dll last); the binder's failures
// pass through. The binder's version is already checked.
void bindHost(const HostBinder& binder, HostBindings& bindings);
