#include "AircraftKind.h"

#include <algorithm>

namespace AircraftKind {

bool isHelicopter(std::string_view category) {
    constexpr std::string_view kHelicopter = "helicopter";
    return category.size() == kHelicopter.size() &&
           std::equal(category.begin(), category.end(), kHelicopter.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
           });
}

bool isLevelD767(std::string_view title) {
    const bool levelD = title.find("Level D") != std::string_view::npos ||
                        title.find("Level-D") != std::string_view::npos ||
                        title.find("LevelD") != std::string_view::npos;
    return levelD && title.find("767") != std::string_view::npos;
}

} // namespace AircraftKind
