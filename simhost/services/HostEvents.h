#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/hostabi.h"
#include "world/SimContext.h"

// The handlers add-ons registered with api.dll, per host event number, called in registration
// order. A handler may register or unregister handlers while an event is fired: one removed
// meanwhile is not called any more, one added meanwhile waits for the next firing.
class HostEvents {
public:
    explicit HostEvents(WrongForms& wrongForms) : wrongForms_(wrongForms) {}

    // 0 on success, as api.dll answers.
    int32_t add(uint32_t event, ZHostEventHandler handler);
    // Removes the earliest registration of that handler for that event; non-zero when there is none.
    int32_t remove(uint32_t event, ZHostEventHandler handler);
    void fire(uint32_t event, uintptr_t a = 0, uintptr_t b = 0);
    std::size_t count(uint32_t event) const;

private:
    struct Registration {
        uint32_t event;
        ZHostEventHandler handler;
        uint64_t serial; // tells a registration apart from a later one of the same handler
    };
    bool registered(uint64_t serial) const;

    WrongForms& wrongForms_;
    std::vector<Registration> registrations_;
    uint64_t nextSerial_ = 1;
};
