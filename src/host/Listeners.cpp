#include "host/Listeners.h"

#include "alerts/ShowError.h"
#include "common/ZephrelException.h"

int Listeners::broadcast(int event, intptr_t a, intptr_t b, intptr_t c) noexcept {
    try {
        // A listener may register another while handling; indexes stay valid where iterators would not.
        for (std::size_t i = 0; i < listeners_.size(); ++i)
            if (const int handled = listeners_[i]->callback(event, a, b, c); handled != 0)
                return handled;
        return 0;
    } catch (...) {
        // The listener's own failure is already in the log (exceptions log themselves).
    }
    showError("An unexpected error occured!", ZephrelException::DisablesModule);
    if (failureCleanup_) {
        try {
            failureCleanup_();
        } catch (...) {
            // The module is being made inert; there is nothing left to report to.
        }
    }
    listeners_.clear();
    return 0;
}
