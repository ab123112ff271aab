#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/hostabi.h"

// The add-on modules of the simulator's dll.xml, loaded and started: each enabled module is
// opened (dlopen), gets the panel table in its "Panels" word when it has one, and is started
// with DLLStart. A module that cannot be opened or has no DLLStart is reported and skipped. At
// the end the modules are stopped (DLLStop) in the reverse order, then closed.
class AddonLoader {
public:
    AddonLoader() = default;
    ~AddonLoader();
    AddonLoader(const AddonLoader&) = delete;
    AddonLoader& operator=(const AddonLoader&) = delete;

    void start(const std::string& dllXmlPath, const std::string& root, const ZHostPanels* panels);
    void stop();

    // Names of the modules started, in their order.
    std::vector<std::string> loaded() const;
    // What was reported, also written on stderr.
    const std::vector<std::string>& errors() const { return errors_; }

private:
    struct Module {
        std::string name;
        void* handle;
        void (*stop)();
    };
    void report(const std::string& error);

    std::vector<Module> modules_;
    std::vector<std::string> errors_;
};
