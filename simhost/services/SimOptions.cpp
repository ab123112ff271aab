#include "services/SimOptions.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr uint32_t kMaxPercent = 100;
// The host's own traffic words (ships, roads, ...) around the two amounts.
constexpr uint32_t kHostTrafficWords[8] = {1, 3, 0, 25, 40, 0, 15, 2};

} // namespace

SimOptions::SimOptions(SimContext& context, uint32_t trafficPercent) : context_(context) {
    const uint32_t crashDetection = 1;
    std::memcpy(options_.data() + crashDetectionOffset(), &crashDetection, sizeof crashDetection);
    std::copy(std::begin(kHostTrafficWords), std::end(kHostTrafficWords), traffic_.words);
    setTrafficPercent(trafficPercent, trafficPercent);
}

void SimOptions::setOptions(const uint8_t* options) {
    if (options == nullptr) {
        context_.wrongForms.report("setOptions without an options block");
        return;
    }
    std::memcpy(options_.data(), options, options_.size());
}

bool SimOptions::crashDetection() const {
    uint32_t word = 0;
    std::memcpy(&word, options_.data() + crashDetectionOffset(), sizeof word);
    return word != 0;
}

void SimOptions::setTraffic(const ZHostTrafficSettings& settings) {
    const ZHostTrafficSettings given = settings;
    for (int i = 0; i < 8; ++i)
        if (i != kAirlineWord && i != kGeneralAviationWord && given.words[i] != traffic_.words[i])
            context_.wrongForms.report("setTraffic changes traffic word " + std::to_string(i) +
                                       ", which is not an amount");
    setTrafficPercent(given.words[kAirlineWord], given.words[kGeneralAviationWord]);
}

void SimOptions::setTrafficPercent(uint32_t airline, uint32_t generalAviation) {
    traffic_.words[kAirlineWord] = std::min(airline, kMaxPercent);
    traffic_.words[kGeneralAviationWord] = std::min(generalAviation, kMaxPercent);
}

// The word at index 19 on the first two host versions, 20 on the others.
std::size_t SimOptions::crashDetectionOffset() const {
    return (context_.versionIndex <= 1 ? 19 : 20) * 4;
}
