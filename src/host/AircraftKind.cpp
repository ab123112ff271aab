#include "host/AircraftKind.h"

#include "text/AsciiCase.h"

namespace AircraftKind {

bool isHelicopter(std::string_view category) {
    return equalsIgnoringCase(category, "helicopter");
}

bool isLevelD767(std::string_view title) {
    const bool levelD = title.find("Level D") != std::string_view::npos ||
                        title.find("Level-D") != std::string_view::npos ||
                        title.find("LevelD") != std::string_view::npos;
    return levelD && title.find("767") != std::string_view::npos;
}

} // namespace AircraftKind
