/* The simulator as the add-on module sees it: named host modules, each a table of entry points
 * and data words, and simulation objects behind an operation table. Plain C, so that any host
 * (the stand-in simulator, a test's fake host) can offer it.
 *
 * The host process exports one function, ZHOST_GET_MODULE, that returns a host module by name.
 * The add-on finds it among what is already loaded (dlsym(RTLD_DEFAULT, ...)) and never loads
 * anything itself. A module answers (each operation is given the module itself)
 *   - entry(number): a function by its entry-point number. Numbers differ between host versions,
 *     as the original's ordinals and code offsets do, so the add-on keeps one number per version;
 *   - entryByName(name): a function exported by name (the menu library);
 *   - data(offset): a data word at an offset from the module's base, also per version;
 *   - exported(name): an exported data record.
 * Each answers NULL for what the module does not have (or withholds, for failure tests).
 *
 * Functions of the host are called with the types below (ZHost...Fn); which entry has which type
 * is fixed by the add-on's tables. Text is UTF-8 unless a type says UTF-16. All records that a
 * host and the add-on exchange by address are packed. */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define ZHOST_GET_MODULE "zhostGetModule"

/* ---- modules ---- */

typedef struct ZHostModule ZHostModule;
struct ZHostModule {
    const char* name;        /* "api.dll" */
    uint16_t fileVersion[4]; /* major, minor, build, revision; api.dll's is the host version */
    void* (*entry)(const ZHostModule* module, uint32_t number);
    void* (*entryByName)(const ZHostModule* module, const char* name);
    void* (*data)(const ZHostModule* module, uint32_t offset);
    void* (*exported)(const ZHostModule* module, const char* name);
    void* host; /* the host's own; add-ons leave it alone */
};

typedef const ZHostModule* (*ZHostGetModuleFn)(const char* name);

#pragma pack(push, 1)

/* ---- simulation objects ---- */

/* Position and attitude in the flight data record's own fixed-point formats. */
typedef struct ZHostPosition {
    int64_t latitude;
    int64_t longitude;
    int64_t altitude;
    int32_t pitch;
    int32_t bank;
    uint32_t heading;
} ZHostPosition;

typedef struct ZHostObject ZHostObject;

/* Every operation answers 0 on success, non-zero when the object does not have what is asked.
 * Property and variable ids, unit ids and internal record numbers are the host's and differ
 * between host versions. */
typedef struct ZHostObjectOps {
    uint32_t (*id)(ZHostObject* object);
    int32_t (*getText)(ZHostObject* object, uint32_t property, char* buffer, uint32_t size);
    int32_t (*setText)(ZHostObject* object, uint32_t property, const char* text);
    int32_t (*getDoubles)(ZHostObject* object, uint32_t property, double out[3]);
    int32_t (*getBlock)(ZHostObject* object, uint32_t property, void* out, uint32_t size);
    int32_t (*setBlock)(ZHostObject* object, uint32_t property, const void* in, uint32_t size);
    int32_t (*getVariable)(ZHostObject* object, uint32_t variable, uint32_t unit, double* value, uint32_t index);
    int32_t (*setVariable)(ZHostObject* object, uint32_t variable, uint32_t unit, double value, uint32_t index);
    /* Newer hosts: position and attitude. */
    int32_t (*setPosition)(ZHostObject* object, const ZHostPosition* position);
    /* Older hosts: position, attitude, on-ground flag and 0, inside the position-write word. */
    int32_t (*setPositionOnGround)(ZHostObject* object, const ZHostPosition* position, int32_t onGround,
                                   int32_t zero);
    int32_t (*sendEvent)(ZHostObject* object, uint32_t event, uint32_t value, uint32_t zero);
    /* An internal record of the object (exits, tailhook, wing fold, control sub-records), by
     * the host's record number; NULL when the object has none. */
    void* (*record)(ZHostObject* object, uint32_t number);
} ZHostObjectOps;

struct ZHostObject {
    const ZHostObjectOps* ops;
};

/* The host's ordered map of simulation objects, as the tree it keeps: smaller keys to the left. */
typedef struct ZHostMapNode {
    uint32_t key;
    struct ZHostMapNode* left;
    struct ZHostMapNode* right;
    ZHostObject* object;
} ZHostMapNode;

typedef struct ZHostObjectMap {
    ZHostMapNode* root;
} ZHostObjectMap;

/* ---- records exchanged by address ---- */

typedef struct ZHostTrafficSettings {
    uint32_t words[8]; /* two of them are the traffic amounts */
} ZHostTrafficSettings;

/* The words of ZHostTrafficSettings that hold the two traffic amounts (percent, 0..100). */
#define ZHOST_TRAFFIC_AIRLINE_WORD 2
#define ZHOST_TRAFFIC_GENERAL_AVIATION_WORD 5

typedef struct ZHostAiCreator ZHostAiCreator;
typedef struct ZHostAiCreatorOps {
    /* The new object's id, 0 when nothing was created. */
    uint32_t (*create)(ZHostAiCreator* creator, const char* title, const char* tailNumber, int32_t mode,
                       const uint8_t initialState[36]);
} ZHostAiCreatorOps;
struct ZHostAiCreator {
    const ZHostAiCreatorOps* ops;
};

#define ZHOST_OPTIONS_SIZE 100

typedef struct ZHostDateTime {
    uint16_t year;
    uint16_t month;
    uint16_t day;
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
} ZHostDateTime;

/* One entry of the simulation group table: 36 bytes, the group clock (a double) at byte 20 of
 * the entry on older hosts and at byte 28 on newer ones. */
typedef struct ZHostSimGroup {
    const char* name;
    uint8_t fields[28];
} ZHostSimGroup;

typedef struct ZHostSimGroupTable {
    ZHostSimGroup* groups;
    uint32_t count;
    uint32_t rateWords[2]; /* defaults 256 and 1024 */
} ZHostSimGroupTable;

/* api.dll's exported data record "SimState". */
typedef struct ZHostSimState {
    uint8_t pauseRequest;
    uint32_t paused;
    uint32_t positionWrite; /* set to 1 around a position write on older hosts */
} ZHostSimState;

typedef struct ZHostDevice ZHostDevice;
typedef struct ZHostDeviceOps {
    int32_t (*isFullScreen)(ZHostDevice* device);
    void (*beginModal)(ZHostDevice* device);
    void (*endModal)(ZHostDevice* device);
} ZHostDeviceOps;
struct ZHostDevice {
    const ZHostDeviceOps* ops;
    void* drawView; /* the first host version draws into the view stored here */
};

/* The panel function table. An add-on exports a pointer-sized data word "Panels" (null in the
 * file); the host stores the table's address there before it calls the add-on's DLLStart. */
typedef struct ZHostPanels {
    int32_t (*lookupVariable)(const char* name);
    double (*readVariable)(int32_t id);
    void (*writeVariable)(int32_t id, double value);
    void (*triggerKeyEvent)(uint32_t event, uint32_t value);
} ZHostPanels;

/* A 3D view and its current camera, as far as the add-on reaches them. */
typedef struct ZHostCamera {
    uint8_t identifier[16];
    double worldPosition[3];
    float offset[3]; /* from the user aircraft's reference point */
    float angles[3];
    float zoom[2];
    uint32_t motion[6];
} ZHostCamera;

typedef struct ZHostView {
    ZHostCamera* camera; /* NULL: the view has no camera */
    uint32_t flags;      /* top bit: texts drawn over the view */
} ZHostView;

/* Host event 9, a view command of the simulator: a = the command's event number, b = the address
 * of this record. A handler that takes the command over sets `consumed`; the simulator then does
 * not carry it out. */
typedef struct ZHostCommand {
    int32_t value;
    uint32_t consumed;
} ZHostCommand;

typedef struct ZHostCameraDefinition {
    char name[64];
    uint8_t identifier[16];
    uint32_t category;
    uint32_t origin;
    uint32_t cycle;
    uint32_t viewKind[2];
    uint8_t switches[4];
    uint8_t bytes[2];
} ZHostCameraDefinition;

/* Internal records of a simulation object (ZHostObjectOps.record). */
typedef struct ZHostControlRecord {
    double values[4]; /* elevator trim, aileron trim, rudder trim, steering tiller */
} ZHostControlRecord;

typedef struct ZHostChainControl {
    double control;
} ZHostChainControl;

typedef struct ZHostChainLink {
    void* next; /* the next link, or the ZHostChainControl at the end */
} ZHostChainLink;

typedef struct ZHostExitRecord {
    float open[4]; /* 0 closed .. 1 open; exit 0 is the main exit */
} ZHostExitRecord;

typedef struct ZHostTailhookRecord {
    float position;
} ZHostTailhookRecord;

typedef struct ZHostWingFoldRecord {
    float left;
    float right;
} ZHostWingFoldRecord;

#pragma pack(pop)

/* ---- host events (api.dll's registerEvent) ---- */

#define ZHOST_EVENT_FRAME 1
#define ZHOST_EVENT_COMMAND 9
#define ZHOST_EVENT_SYSTEM 16
#define ZHOST_EVENT_CAMERA_UPDATE 17
#define ZHOST_EVENT_VIEW_DRAW 18
#define ZHOST_EVENT_VIEW_PASS_START 21
#define ZHOST_EVENT_VIEW_PASS_END 22
#define ZHOST_EVENT_AFTER_FRAME 35
#define ZHOST_EVENT_FIXED_STEP 36

/* System event codes (a) with their data (b). */
#define ZHOST_SYSTEM_FLIGHT_SAVED 38    /* b: record whose text 4 bytes in is the path without ".flt" */
#define ZHOST_SYSTEM_FLIGHT_LOADED 40   /* b: record whose text 4 bytes in is the flight's path */
#define ZHOST_SYSTEM_AIRCRAFT_LOADED 44 /* b: the aircraft.cfg path of the new user aircraft */
#define ZHOST_SYSTEM_VIEWS_READY 54
#define ZHOST_SYSTEM_MENUS_CHANGED 401  /* b: a number; the menus were rebuilt for 13 (first version) or 11 */

/* The folder number of the flights folder (api.dll's folder). */
#define ZHOST_FOLDER_FLIGHTS 5

/* ---- functions, by module ---- */

/* sim1.dll */
typedef ZHostObject* (*ZHostUserObjectFn)(void);
typedef ZHostObject* (*ZHostObjectByIdFn)(uint32_t id);

/* fs-traffic.dll */
typedef void (*ZHostGetTrafficFn)(ZHostTrafficSettings* settings);
typedef void (*ZHostSetTrafficFn)(const ZHostTrafficSettings* settings);
typedef ZHostAiCreator* (*ZHostAiCreatorFn)(void);

/* main.dll */
typedef uint8_t* (*ZHostGetOptionsFn)(void);
typedef void (*ZHostSetOptionsFn)(const uint8_t options[ZHOST_OPTIONS_SIZE]);
typedef void (*ZHostSetDateFn)(ZHostDateTime* record, uint16_t year, uint16_t month, uint16_t day);
typedef void (*ZHostApplyDateTimeFn)(ZHostDateTime* record);

/* simscheduler.dll */
typedef ZHostSimGroupTable* (*ZHostSimGroupsFn)(void);
typedef uint32_t (*ZHostGetRateFn)(void);
typedef void (*ZHostSetRateFn)(uint32_t rate); /* 256 = 1.0 */

/* api.dll. Event handlers get the host event number and two arguments whose meaning depends on
 * the event (a code and a data pointer for system events, a view for view events, ...). */
typedef void (*ZHostEventHandler)(uint32_t event, uintptr_t a, uintptr_t b);
typedef int32_t (*ZHostRegisterEventFn)(uint32_t event, ZHostEventHandler handler);
typedef int32_t (*ZHostUnregisterEventFn)(uint32_t event, ZHostEventHandler handler);
typedef double (*ZHostRealFrameTimeFn)(void);
typedef int32_t (*ZHostFolderFn)(uint32_t number, char path[260]);
typedef void (*ZHostSetFullScreenFn)(int32_t on);
typedef ZHostDevice* (*ZHostDeviceFn)(void);
typedef void (*ZHostTickFn)(uint32_t milliseconds);
typedef void (*ZHostIdleFn)(void);

/* acontain.dll */
typedef ZHostObject* (*ZHostUserAircraftFn)(void);
typedef void (*ZHostRemoveObjectFn)(uint32_t id, int32_t zero);
typedef void (*ZHostSelectUserAircraftFn)(const char* title);

/* flight.dll; both answer 0 on success */
typedef int32_t (*ZHostSaveFlightFn)(const char* path, const char* title, const char* description);
typedef int32_t (*ZHostLoadFlightFn)(const char* path, int32_t zero, int32_t zero2); /* newer hosts */
typedef int32_t (*ZHostLoadFlightOldFn)(const char* path, int32_t zero);             /* older hosts */

/* xuipc.dll, by name. Menu handles are the host's; positions count from 0, -1 is the last. */
typedef uintptr_t (*ZHostXuiDynamicMenuCreateFn)(void);
typedef int32_t (*ZHostXuiElementAddChildFn)(uintptr_t menu, uint32_t value);
typedef void (*ZHostXuiDynamicMenuInvalidateFn)(uintptr_t menuBar);
typedef int32_t (*ZHostXuiDynamicMenuAppendItemFn)(uintptr_t parent, const char* style, const uint16_t* text,
                                                    uint32_t command, uintptr_t submenu);
typedef int32_t (*ZHostXuiDynamicMenuAppendSeparatorFn)(uintptr_t parent);
typedef int32_t (*ZHostXuiDynamicMenuRemoveItemFn)(uintptr_t parent, int32_t position);
typedef int32_t (*ZHostXuiDynamicMenuSetItemEnableFn)(uintptr_t parent, int32_t position, int32_t enable);
typedef int32_t (*ZHostXuiDynamicMenuSetItemTextFn)(uintptr_t parent, int32_t position, const uint16_t* text);
typedef int32_t (*ZHostXuiDynamicMenuSetItemCheckFn)(uintptr_t parent, int32_t position, int32_t check);
typedef int32_t (*ZHostXuiMenuGetPositionForCommandIdFn)(uintptr_t parent, uint32_t command);

/* window.dll */
typedef void (*ZHostShowTextFn)(const char* text, int32_t kind, uint32_t ticks);
typedef void (*ZHostDrawTextFn)(ZHostView* view, uint32_t textResource, uint32_t x, uint32_t y, uint32_t mode);
typedef void* (*ZHostCameraDefinitionCreateFn)(const ZHostCameraDefinition* definition);
typedef void (*ZHostCameraDefinitionDestroyFn)(void* definition);
typedef int32_t (*ZHostCameraDefinitionRegisterFn)(void* definition);
typedef int32_t (*ZHostCameraDefinitionUnregisterFn)(void* definition);
typedef uint32_t (*ZHostCameraDefinitionCountFn)(void);
typedef const ZHostCameraDefinition* (*ZHostCameraDefinitionGetFn)(uint32_t index);
typedef void (*ZHostCameraLockFn)(int32_t enter);
typedef int32_t (*ZHostCameraSelectFn)(ZHostView* view, const uint8_t identifier[16]);

/* g2d.dll */
typedef uint32_t (*ZHostTextCreateFn)(const char* text);
typedef void (*ZHostTextFreeFn)(uint32_t textResource);

/* g3d.dll */
typedef double (*ZHostGroundElevationFn)(int64_t latitude, int64_t longitude);
typedef void (*ZHostPositionQueryFn)(uint32_t id, double* latitudeDegrees, double* longitudeDegrees);
typedef ZHostObjectMap* (*ZHostObjectMapFn)(void);
/* The control tower nearest the user aircraft: latitude and longitude in degrees, altitude in
 * metres above mean sea level; non-zero when the host knows none. */
typedef int32_t (*ZHostTowerPositionFn)(double out[3]);

#ifdef __cplusplus
}
#endif
