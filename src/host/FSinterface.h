#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/FlightData.h"
#include "host/AircraftList.h"
#include "host/ModuleEvents.h"
#include "host/hostabi.h"
#include "system/Guid.h"

// What the module knows of an aircraft the simulator simulates.
struct AcftData {
    std::string title;
    float staticCGtoGround = 0; // feet
    std::string tailNumber;
    uint8_t nEngines = 0;
    bool hasFlaps = false;
    bool hasRetractableGear = false;
    bool hasSpoilers = false;
    bool hasPropAndMixture = false;
};

// The module's one door to the simulator. Everything is static: there is one simulator per
// process. Host-changing operations do nothing once the module is stopping.
class FSinterface {
public:
    // ---- start-up and shutdown ----
    // The start-up sequence run from DLLStart with the panel table the host stored into the
    // module's "Panels" word; throws ZephrelException.
    static void init(const ZHostPanels* panels);
    // DLLStop: sets the stopping flag, broadcasts Stop, frees the texts and unregisters the
    // handlers.
    static void stop();
    // After a failed start-up or an escaping listener exception: the shutdown steps without the
    // stopping flag, the module's menu items disabled and the listener list cleared.
    static void failureCleanup();
    // Process attach: hooks the window of class "FS98MAIN"; detach puts its procedure back.
    static void hookMainWindow();
    static void unhookMainWindow();
    static bool isStopping();

    // ---- listeners ----
    static void addCallback(IFScallback* listener);
    static int callback(int event, intptr_t a = 0, intptr_t b = 0, intptr_t c = 0);

    // ---- simulation control ----
    static bool isPaused();
    static void setPaused(bool paused);
    static float getSimRate();
    static void setSimRate(float rate);
    static float getFrameTime();
    static void setTraffic(bool on);
    static void setSimOption(bool on);
    static void setModal(bool modal);
    static bool isFullScreen();
    static void setFullScreen(bool fullScreen);
    static void clearHostWord();
    static std::string getFlightsFolder();
    static bool isOnlineContactsOpen();
    // The fixed step of video rendering: from a frameTime >= 0 (seconds) on, every simulator
    // frame advances simulation time by exactly frameTime (0: frames are drawn without the
    // simulation advancing) and is followed by trunc(1000 x frameTime x factor) idle turns for
    // the host's scenery loading; with realTime the frames are also held back to the running
    // average of their real durations. A negative frameTime gives the host its own timing back.
    static void setFixedFrameTime(double frameTime, double factor, bool realTime);

    // ---- texts ----
    static void showText(const std::string& text, float seconds, bool highlight);
    static void setStatusText(const std::string& text, uint32_t x, uint32_t y);
    static void setViewCaption(const std::string& text, float seconds, uint32_t x, uint32_t y, int viewIndex);
    static void setHideTexts(bool hide);

    // ---- aircraft state ----
    static void readData(uint32_t id, uint32_t contFlags, uint32_t discFlags, ContData* cont, DiscData* disc);
    static void writeData(uint32_t id, const ContData* cont, const DiscData* disc, const DataFormat* fmt,
                          bool moveGearLegs);
    static bool getOnGround();
    static bool getEngineRunning();
    static void getLLAPBH(uint32_t id, double lla[3], float pbh[3]);
    static void getVelXYZ(uint32_t id, double v[3]);
    static uint16_t getSpoilers();
    static void setSpoilers(uint16_t spoilers);
    static float getHeight();
    static double getGroundAlt();
    static double getMagVar();
    static ZHostDateTime getDateTime();
    static void setDateTime(const ZHostDateTime& dateTime);
    // Ground elevation in metres at a position in radians, or in the record's raw formats.
    static double getGroundElevation(double latitude, double longitude);
    static double getGroundElevationRaw(int64_t latitude, int64_t longitude);
    // The user aircraft's reference point: where the host's camera offsets start, in metres from
    // the point eye points are given from, along the aircraft's axes (right, up, forward).
    static void getUserRefPoint(double point[3]);
    // The user aircraft's default cockpit eye point, measured as the camera offsets of a
    // virtual-cockpit camera are (metres right, up, forward).
    static void getUserEyePoint(double point[3]);
    // The simulator's own tower position for the user aircraft: latitude and longitude in degrees,
    // altitude in metres; false when it has none.
    static bool getTowerPosition(double lla[3]);
    static bool isLevelD767();
    static bool isHelicopter();

    // ---- aircraft objects ----
    static uint32_t getUserAcftID();
    static uint32_t getNextAcftID(uint32_t id);
    static uint32_t getPrevAcftID(uint32_t id);
    // Whether the simulator still simulates an aircraft of that id.
    static bool isAircraft(uint32_t id);
    static void getAcftData(uint32_t id, AcftData& data);
    static uint32_t createAicraft(const std::string& title, const std::string& tailNumber);
    static void removeAircraft(uint32_t id);
    static void setRegistration(uint32_t id, const std::string& text);
    static void setUserAircraft(const std::string& title);
    static bool saveFlight(const std::string& path, const std::string& title, const std::string& description);
    static bool loadFlight(const std::string& path);
    static std::size_t getAircraftList(const std::string& root, std::vector<InstalledAircraft>& list);
    // The simulator's folder, the one that holds "SimObjects": found from the folder of the user
    // aircraft the host reported last; empty before it reported one.
    static std::string getSimulatorRoot();

    // ---- views and cameras ----
    // The cursor relative to the main window's client area: x from −1 (left) to 1 (right), y from
    // 1 (top) to −1 (bottom); beyond those outside it.
    static void getMousePos(float& x, float& y);
    // On: the 3D views hand mouse moves and the wheel to the listeners (with the cross cursor)
    // until it is off again. The cursor is moved to (x, y) either way.
    static void setMouseCapture(bool on, float x, float y);
    // The first accepted host version offers its own default views beside the module's cameras.
    static bool offersDefaultViews();
    // Set before start-up: the module then gives the host no camera definitions.
    static void setCamerasDisabled(bool disabled);
    // The host's camera definitions, the module's among them; false for an index beyond them.
    static uint32_t getCameraCount();
    static bool getCamera(uint32_t index, std::string& title, Guid& guid);
    // The camera the active view shows; false when there is no active view.
    static bool getActiveCamera(Guid& guid);
    // Has the active view show the camera of that identifier; false when it offers none.
    static bool selectCamera(const Guid& guid);
    // Has the active view show the module's camera of that kind (1 VC, 2 tower, 3 spot).
    static bool selectModuleCamera(int kind);

    // ---- host menus ----
    // The module's items, kept in the order of adding and shown in the host's menu bar once
    // initMenu has built it there (the host interface builds it again when the host rebuilds its
    // menus). Ids are unique; 0 is for separators, which need a parent (0 = the menu bar).
    static void addMenuItem(uint32_t parent, bool isPopup, const std::string& text, uint32_t id, bool enabled);
    static void delMenuItem(uint32_t id);
    static void enableMenuItem(uint32_t id, bool enabled);
    static void checkMenuItem(uint32_t id, bool checked);
    static void updateMenuItem(uint32_t id, const std::string& text);
    static void initMenu();
};
