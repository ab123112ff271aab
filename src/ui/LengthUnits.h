#pragma once

#include <cstddef>
#include <span>

// The units a length field of the camera dialogs can show, cycled by the button beside it; the
// values themselves stay in metres.
struct LengthUnit {
    const char* name;
    double metres;
};

namespace LengthUnits {

// "ft", "m", "km", "nm", "sm", in the order the button cycles them.
std::span<const LengthUnit> distances();
// "m", "ft".
std::span<const LengthUnit> heights();
// The unit after `index`, round to the first.
std::size_t next(std::span<const LengthUnit> units, std::size_t index);
// The index of the unit of that name; 0 when there is none.
std::size_t indexOf(std::span<const LengthUnit> units, const char* name);

} // namespace LengthUnits
