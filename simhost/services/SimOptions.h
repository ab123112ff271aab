#pragma once

#include <array>
#include <cstdint>

#include "host/hostabi.h"
#include "world/SimContext.h"

// The settings add-ons reach: main.dll's options block (of which the simulator honours the
// crash-detection word), fs-traffic.dll's traffic settings (the airline and general-aviation
// amounts in percent; the other words are the host's own and stay as they are) and api.dll's
// host word.
class SimOptions {
public:
    SimOptions(SimContext& context, uint32_t trafficPercent);
    SimOptions(const SimOptions&) = delete;
    SimOptions& operator=(const SimOptions&) = delete;

    // ---- main.dll ----
    uint8_t* options() { return options_.data(); }
    void setOptions(const uint8_t* options);
    bool crashDetection() const;

    // ---- fs-traffic.dll ----
    static constexpr int kAirlineWord = 2;
    static constexpr int kGeneralAviationWord = 5;
    const ZHostTrafficSettings& traffic() const { return traffic_; }
    // Takes the amounts (at most 100 percent each); changes to the host's own words are wrong forms.
    void setTraffic(const ZHostTrafficSettings& settings);
    void setTrafficPercent(uint32_t airline, uint32_t generalAviation);
    uint32_t airlinePercent() const { return traffic_.words[kAirlineWord]; }
    uint32_t generalAviationPercent() const { return traffic_.words[kGeneralAviationWord]; }

    // ---- api.dll ----
    uint32_t* hostWord() { return &hostWord_; }

private:
    std::size_t crashDetectionOffset() const;

    SimContext& context_;
    std::array<uint8_t, ZHOST_OPTIONS_SIZE> options_{};
    ZHostTrafficSettings traffic_{};
    uint32_t hostWord_ = 0;
};
