#include "world/AircraftType.h"

#include "world/Earth.h"

namespace {

// What an aircraft.cfg without geometry gets: the usual size of its kind, in metres.
struct Size {
    double span;
    double length;
};

Size usualSize(const AircraftType& type) {
    if (type.category == "Helicopter")
        return {10.2, 12.0};
    if (type.engines <= 1)
        return {11.0, 8.2};
    if (type.engines == 2)
        return {34.0, 38.0};
    return {64.0, 70.0};
}

} // namespace

double AircraftType::spanMetres() const {
    return wingSpan > 0 ? wingSpan * Earth::kMetresPerFoot : usualSize(*this).span;
}

double AircraftType::lengthMetres() const {
    return length > 0 ? length * Earth::kMetresPerFoot : usualSize(*this).length;
}

void AircraftType::eyeMetres(double& right, double& up, double& forward) const {
    if (eyeForward != 0 || eyeRight != 0 || eyeUp != 0) {
        right = eyeRight * Earth::kMetresPerFoot;
        up = eyeUp * Earth::kMetresPerFoot;
        forward = eyeForward * Earth::kMetresPerFoot;
        return;
    }
    right = 0;
    up = 0.05 * lengthMetres() + 0.5;
    forward = 0.3 * lengthMetres();
}
