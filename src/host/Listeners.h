#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "host/ModuleEvents.h"

// The module's listeners in registration order, and the broadcast over them. The order decides
// who may swallow an event first.
class Listeners {
public:
    void add(IFScallback* listener) { listeners_.push_back(listener); }
    void clear() { listeners_.clear(); }
    std::size_t size() const { return listeners_.size(); }

    // What runs when a listener lets an exception escape, after the error box: it leaves the
    // module inert (the host interface's failure clean-up).
    void setFailureCleanup(std::function<void()> cleanup) { failureCleanup_ = std::move(cleanup); }

    // Calls each listener in order; the first non-zero answer ends the broadcast and is returned,
    // 0 when nobody handled the event. An escaping exception shows "An unexpected error occured!"
    // as a critical error, runs the failure clean-up and gives 0.
    int broadcast(int event, intptr_t a = 0, intptr_t b = 0, intptr_t c = 0) noexcept;

private:
    std::vector<IFScallback*> listeners_;
    std::function<void()> failureCleanup_;
};
