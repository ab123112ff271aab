#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>

#include "TestAddon.h"
#include "common/Log.h"
#include "host/FSinterface.h"
#include "host/HostState.h"
#include "settings/Settings.h"

#define ZEPHREL_EXPORT __attribute__((visibility("default")))

// The host stores its panel function table here before it calls DLLStart.
extern "C" {
ZEPHREL_EXPORT ZHostPanels* Panels = nullptr;
}

std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

void reportFailure(const char* where) noexcept {
    try {
        throw;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s: %s\n", testAddon().name(), where, e.what());
    } catch (...) {
        std::fprintf(stderr, "%s: %s: unexpected failure\n", testAddon().name(), where);
    }
}

int TestAddon::callback(int event, intptr_t a, intptr_t, intptr_t) {
    try {
        if (event == Frame && a == 0)
            frame();
        else if (event == Stop)
            finish();
    } catch (...) {
        reportFailure(event == Stop ? "at Stop" : "in a frame");
        dropAfterFailure();
    }
    return 0;
}

namespace {

// The folder of the add-on file, which keeps its log as the module's folder keeps the module's.
std::string addonFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&addonFolder), &info) == 0 || info.dli_fname == nullptr)
        return {};
    return std::filesystem::path(info.dli_fname).parent_path().string();
}

__attribute__((constructor)) void processAttach() {
    try {
        const std::string folder = addonFolder();
        hostState().moduleFolder = folder;
        Log::setFolder(folder);
        LogSettings logSettings;
        readLogSettings(testAddon().settingsFile(), logSettings);
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
        testAddon().readSettings();
        FSinterface::addCallback(&testAddon());
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
        testAddon().finish();
    } catch (...) {
        reportFailure("DLLStop");
    }
}
