#include "ui/LengthUnits.h"

#include <cstring>

namespace {

constexpr LengthUnit kDistances[] = {{"ft", 0.3048}, {"m", 1}, {"km", 1000}, {"nm", 1852}, {"sm", 1610}};
constexpr LengthUnit kHeights[] = {{"m", 1}, {"ft", 0.3048}};

} // namespace

namespace LengthUnits {

std::span<const LengthUnit> distances() {
    return kDistances;
}

std::span<const LengthUnit> heights() {
    return kHeights;
}

std::size_t next(std::span<const LengthUnit> units, std::size_t index) {
    return index + 1 < units.size() ? index + 1 : 0;
}

std::size_t indexOf(std::span<const LengthUnit> units, const char* name) {
    for (std::size_t i = 0; i < units.size(); ++i)
        if (std::strcmp(units[i].name, name) == 0)
            return i;
    return 0;
}

} // namespace LengthUnits
