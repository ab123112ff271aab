// zephrel-install: runs one of AddonRegistrar's custom actions the way an installer runs it, with
// the installer properties from the command line, and reports the properties it ends with.

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <stdexcept>

#include "installer/AddonRegistrar.h"
#include "installer/InstallCommand.h"
#include "installer/InstallerSession.h"

namespace fs = std::filesystem;

namespace {

fs::path programFolder() {
    return fs::read_symlink("/proc/self/exe").parent_path();
}

InstallDefaults defaults() {
    const char* appData = std::getenv("APPDATA");
    return InstallDefaults{appData != nullptr ? appData : "",
                           {programFolder().string(), ZEPHREL_BUILD_MODULE_DIR}};
}

// The actions' library lies beside this program, in the build as where it is installed.
CustomAction loadAction(const std::string& action) {
    const std::string library = (programFolder() / "AddonRegistrar.so").string();
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        throw std::runtime_error("cannot load " + library + ": " + dlerror());
    const auto entry = reinterpret_cast<CustomAction>(dlsym(handle, action.c_str()));
    if (entry == nullptr)
        throw std::runtime_error(library + " has no " + action);
    return entry;
}

int run(const InstallCommand& command) {
    const CustomAction action = loadAction(command.action);
    InstallerSession session;
    for (const auto& [name, value] : command.properties)
        session.setProperty(name, value);
    const uint32_t result = action(session.handle());
    std::printf("%s: %u\n", command.action.c_str(), result);
    for (const auto& [name, value] : session.properties())
        std::printf("  %s=%s\n", name.c_str(), value.c_str());
    return result == ERROR_SUCCESS ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const InstallCommand command =
            parseInstallCommand(std::vector<std::string>(argv + 1, argv + argc), defaults());
        if (command.help) {
            std::fputs(kInstallUsage, stdout);
            return 0;
        }
        return run(command);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "zephrel-install: %s\n%s", error.what.c_str(), kInstallUsage);
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zephrel-install: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "zephrel-install: unexpected failure\n");
    }
    return 1;
}
