#include "playback/Interpolation.h"

#include <algorithm>
#include <type_traits>

namespace interpolation {
namespace {

// a + trunc((b - a) x f) with the difference taken as a Diff: of the field's own width where it
// wraps, so that positions and angles go the short way round, wider where it must not wrap
// (control positions). With f <= 1 the step never leaves Diff's range.
template <typename Diff, typename T> T stepped(T a, T b, float f) {
    using Bits = std::make_unsigned_t<Diff>;
    const auto difference = static_cast<Diff>(static_cast<Bits>(static_cast<Bits>(b) - static_cast<Bits>(a)));
    const Diff step = scaled(difference, f);
    return static_cast<T>(static_cast<Bits>(static_cast<Bits>(a) + static_cast<Bits>(step)));
}

template <typename T> T blended(T a, T b, float f) { return static_cast<T>(a + (b - a) * f); }

} // namespace

void interpolate(ContData& out, const ContData& b, float f, uint32_t flags, uint32_t nEngines) {
    out.latitude = stepped<int64_t>(out.latitude, b.latitude, f);
    out.longitude = stepped<int64_t>(out.longitude, b.longitude, f);
    out.altitude = stepped<int64_t>(out.altitude, b.altitude, f);
    out.pitch = stepped<int32_t>(out.pitch, b.pitch, f);
    out.bank = stepped<int32_t>(out.bank, b.bank, f);
    out.heading = stepped<int32_t>(out.heading, b.heading, f);
    out.velocityX = blended(out.velocityX, b.velocityX, f);
    out.velocityY = blended(out.velocityY, b.velocityY, f);
    out.velocityZ = blended(out.velocityZ, b.velocityZ, f);
    if (flags & ContGroup::FlightControls) {
        out.elevators = stepped<int32_t>(out.elevators, b.elevators, f);
        out.ailerons = stepped<int32_t>(out.ailerons, b.ailerons, f);
        out.rudder = stepped<int32_t>(out.rudder, b.rudder, f);
    }
    for (uint32_t i = 0; i < std::min<uint32_t>(nEngines, kMaxEngines); ++i) {
        if (flags & ContGroup::Throttles)
            out.throttle[i] = stepped<int32_t>(out.throttle[i], b.throttle[i], f);
        if (flags & ContGroup::Propellers)
            out.prop[i] = stepped<int32_t>(out.prop[i], b.prop[i], f);
        if (flags & ContGroup::Mixtures)
            out.mix[i] = stepped<int32_t>(out.mix[i], b.mix[i], f);
    }
    if (flags & ContGroup::Spoilers)
        out.spoilers = stepped<int32_t>(out.spoilers, b.spoilers, f);
    if (flags & ContGroup::Airspeeds) {
        out.IAS = blended(out.IAS, b.IAS, f);
        out.TAS = blended(out.TAS, b.TAS, f);
    }
    if (flags & ContGroup::MainExit)
        out.mainexit = blended(out.mainexit, b.mainexit, f);
    if (flags & ContGroup::Tailhook)
        out.tailhook = blended(out.tailhook, b.tailhook, f);
    if (flags & ContGroup::WingFold) {
        out.wingfoldL = blended(out.wingfoldL, b.wingfoldL, f);
        out.wingfoldR = blended(out.wingfoldR, b.wingfoldR, f);
    }
    if (flags & ContGroup::Mach)
        out.mach = blended(out.mach, b.mach, f);
    for (std::size_t i = 0; i < std::extent_v<decltype(ContData::extControls)>; ++i) {
        if (flags & ContGroup::ExtendedControls)
            out.extControls[i] = blended(out.extControls[i], b.extControls[i], f);
        if (flags & ContGroup::ExtendedGear)
            out.extGear[i] = blended(out.extGear[i], b.extGear[i], f);
    }
    if (flags & ContGroup::ExtendedFlaps)
        for (std::size_t i = 0; i < std::extent_v<decltype(ContData::extFlaps)>; ++i)
            out.extFlaps[i] = stepped<int32_t>(out.extFlaps[i], b.extFlaps[i], f);
}

} // namespace interpolation
