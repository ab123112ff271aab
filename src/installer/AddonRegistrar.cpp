// The library's only exports.
#include "installer/AddonRegistrar.h"

#include <cstdio>
#include <exception>

#include "installer/LaunchActions.h"

namespace {

uint32_t run(const char* action, uint32_t (*body)(MSIHANDLE), MSIHANDLE install) noexcept {
    try {
        return body(install);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "AddonRegistrar: %s: %s\n", action, error.what());
    } catch (...) {
        std::fprintf(stderr, "AddonRegistrar: %s: unexpected failure\n", action);
    }
    return ERROR_FUNCTION_NOT_CALLED;
}

} // namespace

extern "C" __attribute__((visibility("default"))) uint32_t AddLaunchAddon(MSIHANDLE install) {
    return run("AddLaunchAddon", addLaunchAddon, install);
}

extern "C" __attribute__((visibility("default"))) uint32_t RemoveLaunchAddon(MSIHANDLE install) {
    return run("RemoveLaunchAddon", removeLaunchAddon, install);
}
