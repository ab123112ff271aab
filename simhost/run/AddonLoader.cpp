#include "run/AddonLoader.h"

#include <dlfcn.h>

#include <iostream>

#include "run/AddonList.h"

namespace {

using StartFn = int (*)();
using StopFn = void (*)();

} // namespace

AddonLoader::~AddonLoader() {
    stop();
}

void AddonLoader::report(const std::string& error) {
    std::cerr << "zephrel-sim: " << error << '\n';
    errors_.push_back(error);
}

void AddonLoader::start(const std::string& dllXmlPath, const std::string& root, const ZHostPanels* panels) {
    const AddonList list = AddonList::read(dllXmlPath, root);
    for (const std::string& error : list.errors)
        report(error);
    for (const AddonList::Entry& entry : list.entries) {
        const std::string what = "add-on \"" + entry.name + "\" (" + entry.path + ")";
        void* handle = dlopen(entry.path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            const char* reason = dlerror();
            report(what + " cannot be loaded: " + (reason != nullptr ? reason : "unknown reason"));
            continue;
        }
        const auto startFn = reinterpret_cast<StartFn>(dlsym(handle, "DLLStart"));
        if (startFn == nullptr) {
            report(what + " has no DLLStart; not started");
            dlclose(handle);
            continue;
        }
        // The word is the add-on's; it must hold the table before the add-on starts.
        if (void* word = dlsym(handle, "Panels"))
            *static_cast<const ZHostPanels**>(word) = panels;
        modules_.push_back(Module{entry.name, handle, reinterpret_cast<StopFn>(dlsym(handle, "DLLStop"))});
        // The original host does not act on what DLLStart answers, and neither does this one.
        startFn();
    }
}

void AddonLoader::stop() {
    for (auto module = modules_.rbegin(); module != modules_.rend(); ++module)
        if (module->stop != nullptr)
            module->stop();
    for (auto module = modules_.rbegin(); module != modules_.rend(); ++module)
        dlclose(module->handle);
    modules_.clear();
}

std::vector<std::string> AddonLoader::loaded() const {
    std::vector<std::string> names;
    for (const Module& module : modules_)
        names.push_back(module.name);
    return names;
}
