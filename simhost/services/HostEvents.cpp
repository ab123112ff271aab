#include "services/HostEvents.h"

#include <algorithm>
#include <iterator>
#include <string>

int32_t HostEvents::add(uint32_t event, ZHostEventHandler handler) {
    if (handler == nullptr) {
        wrongForms_.report("registerEvent(" + std::to_string(event) + ") without a handler");
        return 1;
    }
    registrations_.push_back({event, handler, nextSerial_++});
    return 0;
}

int32_t HostEvents::remove(uint32_t event, ZHostEventHandler handler) {
    const auto found = std::find_if(registrations_.begin(), registrations_.end(), [&](const Registration& r) {
        return r.event == event && r.handler == handler;
    });
    if (found == registrations_.end()) {
        wrongForms_.report("unregisterEvent(" + std::to_string(event) +
                           ") of a handler that is not registered");
        return 1;
    }
    registrations_.erase(found);
    return 0;
}

void HostEvents::fire(uint32_t event, uintptr_t a, uintptr_t b) {
    std::vector<Registration> due;
    std::copy_if(registrations_.begin(), registrations_.end(), std::back_inserter(due),
                 [&](const Registration& r) { return r.event == event; });
    for (const Registration& r : due)
        if (registered(r.serial))
            r.handler(event, a, b);
}

std::size_t HostEvents::count(uint32_t event) const {
    return static_cast<std::size_t>(std::count_if(registrations_.begin(), registrations_.end(),
                                                  [&](const Registration& r) { return r.event == event; }));
}

bool HostEvents::registered(uint64_t serial) const {
    return std::any_of(registrations_.begin(), registrations_.end(),
                       [&](const Registration& r) { return r.serial == serial; });
}
