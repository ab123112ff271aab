// A test add-on that the simulator loads after the module. It registers as one more listener of
// the module's events and writes what it sees into a report file, answers the keys it is told to
// handle, and runs state checks through the module's FSinterface from inside the simulator.
//
// Configured by the environment:
//   ZEPHREL_PROBE_REPORT  the report file
//   ZEPHREL_PROBE_KEYS    key codes to handle, e.g. "0x4B,0x104B"
//   ZEPHREL_PROBE_CHECKS  "state" (round trips, flaps and parking brake from second 5 on) and
//                         "ownload" (the module saves and loads a flight of its own at second 3)
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>
#include <string>

#include "ProbeChecks.h"
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
        line("started");
    }

    void finish() {
        char text[96];
        std::snprintf(text, sizeof text, "frames %llu frametime %.6f %.6f", static_cast<unsigned long long>(frames_),
                      minFrameTime_, maxFrameTime_);
        line(text);
        line("stopped");
        if (report_ != nullptr)
            std::fclose(report_);
        report_ = nullptr;
    }

    int callback(int event, intptr_t a, intptr_t b, intptr_t) override {
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
