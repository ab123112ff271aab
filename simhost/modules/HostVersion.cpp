#include "modules/HostVersion.h"

#include <charconv>

namespace {

constexpr std::array<std::array<uint16_t, 4>, HostVersion::kAccepted> kAcceptedVersions = {{
    {10, 0, 60905, 0},
    {10, 0, 61355, 0},
    {10, 0, 61472, 0},
    {10, 0, 61637, 0},
    {1, 0, 195, 0},
}};

} // namespace

HostVersion HostVersion::accepted(int index) { return HostVersion{kAcceptedVersions.at(static_cast<std::size_t>(index))}; }

std::optional<HostVersion> HostVersion::parse(std::string_view text) {
    HostVersion version;
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    for (std::size_t i = 0; i < 4; ++i) {
        if (i > 0) {
            if (at == end || *at != '.')
                return std::nullopt;
            ++at;
        }
        const auto [next, error] = std::from_chars(at, end, version.parts[i]);
        if (error != std::errc() || next == at)
            return std::nullopt;
        at = next;
    }
    if (at != end)
        return std::nullopt;
    return version;
}

std::optional<int> HostVersion::index() const {
    for (int i = 0; i < kAccepted; ++i)
        if (parts == kAcceptedVersions[static_cast<std::size_t>(i)])
            return i;
    return std::nullopt;
}

bool HostVersion::older() const {
    const auto i = index();
    return i.has_value() && *i <= 2;
}

std::string HostVersion::text() const {
    return std::to_string(parts[0]) + "." + std::to_string(parts[1]) + "." + std::to_string(parts[2]) + "." +
           std::to_string(parts[3]);
}
