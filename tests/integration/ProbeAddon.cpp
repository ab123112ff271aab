// A test add-on that the simulator loads after the module. It registers as one more listener of
// the module's events and writes what it sees into a report file, answers the keys it is told to
// handle, and runs state checks through the module's FSinterface from inside the simulator.
//
// Configured by the environment:
//   ZEPHREL_PROBE_REPORT  the report file
//   ZEPHREL_PROBE_KEYS    key codes to handle, e.g. "0x4B,0x104B"
//   ZEPHREL_PROBE_CHECKS  "state" (round trips, flaps and parking brake from second 5 on) and
//                         "ownload" (the module saves and loads a flight of its own at second 3)
//   ZEPHREL_PROBE_CAMERA  a view index: the probe writes a chase camera behind the user aircraft
//                         into that view, standing in for the module's cameras
//   ZEPHREL_PROBE_TAKE    module event numbers of view commands the probe takes over, e.g. "15"
//                         (zooms), so that the simulator does not carry them out
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>
#include <string>

#include "ProbeChecks.h"
#include "host/CameraView.h"
#include "host/FSinterface.h"

namespace {

class Probe : public IFScallback {
public:
    void start() {
        const char* path = std::getenv("ZEPHREL_PROBE_REPORT");
        report_ = path != nullptr ? std::fopen(path, "w") : nullptr;
        std::istringstream keys(env("ZEPHREL_PROBE_KEYS"));
        for (std::string key; std::getline(keys, key, ',');)
            handledKeys_.insert(std::stoi(key, nullptr, 0));
        const std::string checks = env("ZEPHREL_PROBE_CHECKS");
        stateChecks_ = checks.find("state") != std::string::npos;
        ownLoad_ = checks.find("ownload") != std::string::npos;
        const std::string camera = env("ZEPHREL_PROBE_CAMERA");
        cameraView_ = camera.empty() ? -1 : std::stoi(camera);
        std::istringstream taken(env("ZEPHREL_PROBE_TAKE"));
        for (std::string event; std::getline(taken, event, ',');)
            takenCommands_.insert(std::stoi(event));
        line("started");
    }

    void finish() {
        char text[96];
        std::snprintf(text, sizeof text, "frames %llu frametime %.6f %.6f", static_cast<unsigned long long>(frames_),
                      minFrameTime_, maxFrameTime_);
        line(text);
        lineF("cameras written %llu", cameraWrites_);
        line("stopped");
        if (report_ != nullptr)
            std::fclose(report_);
        report_ = nullptr;
    }

    int callback(int event, intptr_t a, intptr_t b, intptr_t c) override {
        switch (event) {
        case Frame:
            if (a == 0)
                onFrame();
            return 0;
        case KeyDown:
        case KeyUp: {
            const bool handled = handledKeys_.count(static_cast<int>(a)) != 0;
            lineF("%s 0x%X %s", event == KeyDown ? "keydown" : "keyup", static_cast<unsigned>(a),
                  handled ? "handled" : "passed");
            return handled ? 1 : 0;
        }
        case FlightLoaded:
            lineF("flightloaded %s", reinterpret_cast<const char*>(a));
            return 0;
        case FlightSaved:
            lineF("flightsaved %s", reinterpret_cast<const char*>(a));
            return 0;
        case AircraftLoaded:
            lineF("aircraftloaded %s|%s", reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b));
            return 0;
        case CameraUpdate:
            return writeCamera(static_cast<int>(a), static_cast<int>(b), *reinterpret_cast<CameraView*>(c));
        case ViewAdded:
        case ViewRemoved:
            lineF("%s %d", event == ViewAdded ? "viewadded" : "viewremoved", static_cast<int>(a));
            return 0;
        case ActiveViewChanged:
            lineF("activeview %d from %d", static_cast<int>(a), static_cast<int>(b));
            return 0;
        case EyeMove:
        case ViewDirection:
        case PanDirection: {
            const auto* v = reinterpret_cast<const float*>(a);
            lineF("viewcommand %d %.3f %.3f %.3f", event, static_cast<double>(v[0]), static_cast<double>(v[1]),
                  static_cast<double>(v[2]));
            return takenCommands_.count(event) != 0 ? 1 : 0;
        }
        case PanAxis:
        case Zoom:
            lineF("viewcommand %d %.6f", event, static_cast<double>(*reinterpret_cast<const float*>(a)));
            return takenCommands_.count(event) != 0 ? 1 : 0;
        case MiddleButton:
            lineF("middlebutton %d", static_cast<int>(a));
            return 0;
        default:
            lineF("event %d", event);
            return 0;
        }
    }

private:
    static std::string env(const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr ? value : "";
    }

    void onFrame() {
        ++frames_;
        const double frameTime = FSinterface::getFrameTime();
        if (frames_ > 1) {
            minFrameTime_ = std::min(minFrameTime_, frameTime);
            maxFrameTime_ = std::max(maxFrameTime_, frameTime);
        }
        if (!FSinterface::isPaused())
            seconds_ += frameTime;
        if (ownLoad_ && seconds_ >= 3 && !ownLoadDone_) {
            ownLoadDone_ = true;
            ProbeChecks::ownFlight([this](const std::string& text) { line(text); });
        }
        if (stateChecks_ && seconds_ >= 5)
            checks_.frame([this](const std::string& text) { line(text); });
    }

    // A chase camera: off the user aircraft's left side and a little above it, looking at it, so
    // that it shows side on, nose to the left, larger than the simulator's own cameras show it.
    int writeCamera(int view, int kind, CameraView& camera) {
        if (view != cameraView_)
            return 0;
        constexpr double kAside = 25, kUp = 3, kEarthRadius = 6371000, kQuarterTurn = 1.5707963267948966;
        double lla[3];
        float pbh[3];
        FSinterface::getLLAPBH(FSinterface::getUserAcftID(), lla, pbh);
        const double heading = pbh[2] + kQuarterTurn; // looking right, from the left
        camera.latitude = lla[0] - kAside * std::cos(heading) / kEarthRadius;
        camera.longitude = lla[1] - kAside * std::sin(heading) / (kEarthRadius * std::cos(lla[0]));
        camera.altitude = lla[2] + kUp;
        camera.pitch = static_cast<float>(std::atan2(kUp, kAside)); // nose down
        camera.heading = static_cast<float>(heading);
        camera.zoom = 2.5f; // closer than the simulator's own spot camera ever shows it
        if (cameraWrites_++ == 0)
            lineF("camera written into view %d of kind %d", view, kind);
        return 1;
    }

    void line(const std::string& text) {
        if (report_ == nullptr)
            return;
        std::fprintf(report_, "%s\n", text.c_str());
        std::fflush(report_);
    }

    __attribute__((format(printf, 2, 3))) void lineF(const char* format, ...) {
        char text[600];
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
        line(text);
    }

    std::FILE* report_ = nullptr;
    std::set<int> handledKeys_;
    bool stateChecks_ = false;
    bool ownLoad_ = false;
    bool ownLoadDone_ = false;
    int cameraView_ = -1;
    std::set<int> takenCommands_;
    unsigned long long cameraWrites_ = 0;
    unsigned long long frames_ = 0;
    double seconds_ = 0;
    double minFrameTime_ = 1e9;
    double maxFrameTime_ = -1e9;
    ProbeChecks checks_;
};

Probe probe;

} // namespace

extern "C" __attribute__((visibility("default"))) int DLLStart() {
    try {
        probe.start();
        FSinterface::addCallback(&probe);
    } catch (...) {
        std::fprintf(stderr, "probe: start failed\n");
    }
    return 0;
}

extern "C" __attribute__((visibility("default"))) void DLLStop() { probe.finish(); }
