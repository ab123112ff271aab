#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The probe add-on's checks of the state exchange, run one step per frame from inside the
// simulator through FSinterface. Each step writes its outcome as a report line.
class ProbeChecks {
public:
    using Report = std::function<void(const std::string&)>;

    void frame(const Report& report);

    // Saves a flight through the module and loads it again: the host reports the save, but the
    // module must not announce a load of its own.
    static void ownFlight(const Report& report);

private:
    int step_ = 0;
    uint32_t aiId_ = 0;
};
