// A test add-on the simulator loads in place of the module, so that a flight can be recorded
// before the module's controller exists. It starts its own copy of the host interface as the
// module does and drives a Recorder from the Frame event: started in the first frame, one
// recording step every frame, written at Stop.
//
// Configured by the environment:
//   ZEPHREL_RECORDER_INI  the settings file: [SETTINGS] (MaxAircraft, TempDirectory), [RECORDING]
//                         and [LOG], read as the module reads them
//   ZEPHREL_RECORDER_OUT  the recording file written at Stop
// Nothing escapes to the simulator: a failure is written on stderr ("recorder add-on: ...") and
// ends the recording without a file.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include "FSinterface.h"
#include "HostState.h"
#include "Log.h"
#include "Recorder.h"
#include "Settings.h"

#define ZEPHREL_EXPORT __attribute__((visibility("default")))

// The host stores its panel function table here before it calls DLLStart.
extern "C" {
ZEPHREL_EXPORT ZHostPanels* Panels = nullptr;
}

namespace {

std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The folder of the add-on file, which keeps its log as the module's folder keeps the module's.
std::string addonFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&addonFolder), &info) == 0 || info.dli_fname == nullptr)
        return {};
    return std::filesystem::path(info.dli_fname).parent_path().string();
}

// Called from inside a catch block.
void reportFailure(const char* where) noexcept {
    try {
        throw;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "recorder add-on: %s: %s\n", where, e.what());
    } catch (...) {
        std::fprintf(stderr, "recorder add-on: %s: unexpected failure\n", where);
    }
}

class RecorderAddon : public IFScallback {
public:
    void readSettings() {
        const std::string settingsFile = env("ZEPHREL_RECORDER_INI");
        readGeneralSettings(settingsFile, general_);
        readRecordingSettings(settingsFile, RecordingBlock::Recording, recording_);
        outputFile_ = env("ZEPHREL_RECORDER_OUT");
    }

    int callback(int event, intptr_t a, intptr_t, intptr_t) override {
        try {
            if (event == Frame && a == 0)
                frame();
            else if (event == Stop)
                finish();
        } catch (...) {
            reportFailure(event == Stop ? "writing the recording" : "recording a frame");
            recorder_.reset();
        }
        return 0;
    }

    // At Stop, or at DLLStop when Stop never came.
    void finish() {
        if (recorder_ == nullptr || !recorder_->isRunning())
            return;
        recorder_->stop(outputFile_);
        recorder_.reset();
    }

private:
    void frame() {
        if (!started_) {
            started_ = true;
            recorder_ = std::make_unique<Recorder>(&general_, &recording_);
            recorder_->start(0, 0);
        }
        if (recorder_ != nullptr)
            recorder_->frame(nullptr);
    }

    std::string outputFile_;
    GeneralSettings general_;
    RecordingSettings recording_;
    std::unique_ptr<Recorder> recorder_;
    bool started_ = false;
};

RecorderAddon addon;

__attribute__((constructor)) void processAttach() {
    try {
        const std::string folder = addonFolder();
        hostState().moduleFolder = folder;
        Log::setFolder(folder);
        LogSettings logSettings;
        readLogSettings(env("ZEPHREL_RECORDER_INI"), logSettings);
        Log::setLogFlags(logSettings.flags);
        FSinterface::hookMainWindow();
    } catch (...) {
        reportFailure("process attach");
    }
}

__attribute__((destructor)) void processDetach() {
    try {
        FSinterface::unhookMainWindow();
    } catch (...) {
        reportFailure("process detach");
    }
    Log::closeLog();
}

} // namespace

extern "C" ZEPHREL_EXPORT int DLLStart() {
    try {
        addon.readSettings();
        FSinterface::addCallback(&addon);
        FSinterface::init(Panels);
    } catch (...) {
        reportFailure("DLLStart");
        try {
            FSinterface::failureCleanup();
        } catch (...) {
            reportFailure("the failure clean-up");
        }
    }
    return 0;
}

extern "C" ZEPHREL_EXPORT void DLLStop() {
    try {
        FSinterface::stop();
        addon.finish();
    } catch (...) {
        reportFailure("DLLStop");
    }
}
