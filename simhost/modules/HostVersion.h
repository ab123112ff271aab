#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The host version the stand-in simulator plays: the four-part file version of its "api.dll".
// Five versions are the ones the add-on accepts; any other can be played to see it refused.
struct HostVersion {
    std::array<uint16_t, 4> parts{};

    static constexpr int kAccepted = 5;
    // The accepted versions in their order (version index 0 to 4).
    static HostVersion accepted(int index);
    // "X.Y.Z.W", each part 0..65535; nullopt for anything else.
    static std::optional<HostVersion> parse(std::string_view text);

    // The version index 0..4, or nullopt when this is not an accepted version.
    std::optional<int> index() const;
    // Indexes 0 to 2 are the older hosts; an unaccepted version behaves as the newest.
    bool older() const;
    std::string text() const;

    bool operator==(const HostVersion&) const = default;
};
