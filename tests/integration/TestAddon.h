#pragma once

#include <string>

#include "host/ModuleEvents.h"

// A test add-on the simulator loads in place of the module: it starts its own copy of the host
// interface as the module does and listens to its events. TestAddonEntry.cpp holds the loader's
// exports and the steps of loading and unloading; each add-on supplies its object through
// testAddon(). Nothing escapes to the simulator: failures are written on stderr.
class TestAddon : public IFScallback {
public:
    // Begins every failure written on stderr ("recorder add-on").
    virtual const char* name() const = 0;
    // The settings file whose [LOG] section is read when the add-on is loaded.
    virtual std::string settingsFile() const = 0;
    // At DLLStart, before the host interface starts.
    virtual void readSettings() = 0;
    // Every frame of the simulator's main view.
    virtual void frame() = 0;
    // At the simulator's Stop, or at DLLStop when Stop never came.
    virtual void finish() = 0;
    // After a failure in frame or finish: whatever the add-on drives is let go.
    virtual void dropAfterFailure() noexcept = 0;

    int callback(int event, intptr_t a, intptr_t b, intptr_t c) final;
};

TestAddon& testAddon();

// The variable's value, empty when it is not set.
std::string env(const char* name);
// Called from inside a catch block: writes the failure on stderr.
void reportFailure(const char* where) noexcept;
