#pragma once

#include "host/HostBinder.h"

// Where each host version keeps what the module binds: entry-point numbers and data offsets, one
// column per version index (10.0.60905.0, 10.0.61355.0, 10.0.61472.0, 10.0.61637.0, 1.0.195.0).
namespace HostEntries {

namespace Sim1 {
constexpr const char* kModule = "sim1.dll";
constexpr PerVersion kUserObject = {101, 201, 301, 401, 501};
constexpr PerVersion kObjectById = {104, 204, 304, 404, 504};
} // namespace Sim1

namespace Traffic {
constexpr const char* kModule = "fs-traffic.dll";
constexpr PerVersion kGetTraffic = {101, 201, 301, 401, 501};
constexpr PerVersion kSetTraffic = {104, 204, 304, 404, 504};
constexpr PerVersion kAiCreator = {107, 207, 307, 407, 507};
} // namespace Traffic

namespace Main {
constexpr const char* kModule = "main.dll";
constexpr PerVersion kGetOptions = {101, 201, 301, 401, 501};
constexpr PerVersion kSetOptions = {104, 204, 304, 404, 504};
constexpr PerVersion kSetDate = {107, 207, 307, 407, 507};
constexpr PerVersion kApplyDateTime = {110, 210, 310, 410, 510};
// The options-block word that setSimOption toggles (a word index, not an offset).
constexpr PerVersion kOptionsWord = {19, 19, 20, 20, 20};
constexpr PerVersion kDateTime = {0x1000, 0x2000, 0x3000, 0x4000, 0x5000};
constexpr PerVersion kAccumulatedTime = {0x1010, 0x2010, 0x3010, 0x4010, 0x5010};
constexpr PerVersion kRateWord = {0x1020, 0x2020, 0x3020, 0x4020, 0x5020};
constexpr PerVersion kFrameTime = {0x1030, 0x2030, 0x3030, 0x4030, 0x5030};
} // namespace Main

namespace Scheduler {
constexpr const char* kModule = "simscheduler.dll";
constexpr PerVersion kSimGroups = {101, 201, 301, 401, 501};
constexpr PerVersion kGetRate = {104, 204, 304, 404, 504};
constexpr PerVersion kSetRate = {107, 207, 307, 407, 507};
} // namespace Scheduler

namespace Api {
constexpr const char* kModule = "api.dll";
constexpr PerVersion kRegisterEvent = {101, 201, 301, 401, 501};
constexpr PerVersion kUnregisterEvent = {104, 204, 304, 404, 504};
constexpr PerVersion kRealFrameTime = {107, 207, 307, 407, 507};
constexpr PerVersion kFolder = {110, 210, 310, 410, 510};
constexpr PerVersion kSetFullScreen = {113, 213, 313, 413, 513};
constexpr PerVersion kDevice = {116, 216, 316, 416, 516};
constexpr PerVersion kTick = {119, 219, 319, 419, 519};
constexpr PerVersion kIdle = {122, 222, 322, 422, 522};
constexpr PerVersion kMenuAnchor = {0x1000, 0x2000, 0x3000, 0x4000, 0x5000};
constexpr PerVersion kHostWord = {0x1010, 0x2010, 0x3010, 0x4010, 0x5010};
constexpr PerVersion kFrameTimeA = {0x1020, 0x2020, 0x3020, 0x4020, 0x5020};
constexpr PerVersion kFrameTimeB = {0x1030, 0x2030, 0x3030, 0x4030, 0x5030};
constexpr const char* kSimState = "SimState";
} // namespace Api

namespace Acontain {
constexpr const char* kModule = "acontain.dll";
constexpr PerVersion kUserAircraft = {101, 201, 301, 401, 501};
constexpr PerVersion kRemoveObject = {104, 204, 304, 404, 504};
constexpr PerVersion kSelectUserAircraft = {107, 207, 307, 407, 507};
} // namespace Acontain

namespace Flight {
constexpr const char* kModule = "flight.dll";
constexpr PerVersion kSaveFlight = {101, 201, 301, 401, 501};
// One entry; its calling form is the older hosts' on version indexes 0 to 2.
constexpr PerVersion kLoadFlight = {104, 204, 304, 404, 504};
} // namespace Flight

namespace Xui {
constexpr const char* kModule = "xuipc.dll";
} // namespace Xui

namespace Window {
constexpr const char* kModule = "window.dll";
constexpr PerVersion kShowText = {101, 201, 301, 401, 501};
constexpr PerVersion kDrawText = {104, 204, 304, 404, 504};
constexpr PerVersion kCameraCreate = {107, 207, 307, 407, 507};
constexpr PerVersion kCameraDestroy = {110, 210, 310, 410, 510};
constexpr PerVersion kCameraRegister = {113, 213, 313, 413, 513};
constexpr PerVersion kCameraUnregister = {116, 216, 316, 416, 516};
constexpr PerVersion kCameraCount = {119, 219, 319, 419, 519};
constexpr PerVersion kCameraGet = {122, 222, 322, 422, 522};
constexpr PerVersion kCameraLock = {125, 225, 325, 425, 525};
constexpr PerVersion kCameraSelect = {128, 228, 328, 428, 528};
constexpr PerVersion kMainView = {0x1000, 0x2000, 0x3000, 0x4000, 0x5000};
constexpr PerVersion kActiveView = {0x1010, 0x2010, 0x3010, 0x4010, 0x5010};
} // namespace Window

namespace G2d {
constexpr const char* kModule = "g2d.dll";
constexpr PerVersion kTextCreate = {101, 201, 301, 401, 501};
constexpr PerVersion kTextFree = {104, 204, 304, 404, 504};
} // namespace G2d

namespace G3d {
constexpr const char* kModule = "g3d.dll";
constexpr PerVersion kGroundElevation = {101, 201, 301, 401, 501};
constexpr PerVersion kPositionQuery = {104, 204, 304, 404, 504};
constexpr PerVersion kObjectMap = {107, 207, 307, 407, 507};
constexpr PerVersion kTowerPosition = {110, 210, 310, 410, 510};
} // namespace G3d

namespace Fe {
constexpr const char* kModule = "fe.dll";
constexpr PerVersion kIdle = {101, 201, 301, 401, 501};
} // namespace Fe

} // namespace HostEntries
